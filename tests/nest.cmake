# SPDX-License-Identifier: LGPL-2.1-or-later
# The nesting library is not among every test's libraries: only its own test links it.
if(TARGET tst_nest AND TARGET vxnest)
    target_link_libraries(tst_nest PRIVATE vxnest)
endif()
