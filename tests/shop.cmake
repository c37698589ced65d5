# SPDX-License-Identifier: LGPL-2.1-or-later
# The shop floor's tests link its library (and through it Qt SQL).
if(TARGET tst_shopqueue AND TARGET vxshop)
    target_link_libraries(tst_shopqueue PRIVATE vxshop)
endif()
# The stations against simulated machines in the test's own process.
if(TARGET tst_shopfloor AND TARGET vxshop)
    target_link_libraries(tst_shopfloor PRIVATE vxshop)
endif()
