# SPDX-License-Identifier: LGPL-2.1-or-later
# Every source file names its licence at the top; a file added without the
# line fails here (scripts/spdx.sh adds it). It reads git's file list, so it
# runs in a checkout only, not from a source tarball.
if(EXISTS ${CMAKE_SOURCE_DIR}/.git)
    find_program(VX_BASH bash)
    find_program(VX_GIT git)
    if(VX_BASH AND VX_GIT)
        add_test(NAME licence_lines COMMAND ${VX_BASH} ${CMAKE_SOURCE_DIR}/scripts/spdx.sh --check)
    endif()
endif()
