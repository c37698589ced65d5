# SPDX-License-Identifier: LGPL-2.1-or-later
# tst_shopapi drives the built `vxcut serve` in its own process.
if(TARGET tst_shopapi AND TARGET vxcut)
    add_dependencies(tst_shopapi vxcut)
endif()
