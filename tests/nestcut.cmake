# SPDX-License-Identifier: LGPL-2.1-or-later
# The nest cut in windows is the host library's (which brings the nesting library).
if(TARGET tst_nestcut AND TARGET vxhost)
    target_link_libraries(tst_nestcut PRIVATE vxhost)
endif()
