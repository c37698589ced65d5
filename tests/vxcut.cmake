# SPDX-License-Identifier: LGPL-2.1-or-later
# tst_vxcut runs the built vxcut program in its own process, and links its
# code for the exit-code table it holds --help and the README against.
if(TARGET tst_vxcut AND TARGET vxcut)
    add_dependencies(tst_vxcut vxcut)
    target_link_libraries(tst_vxcut PRIVATE vxcutcore)
endif()
