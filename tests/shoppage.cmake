# SPDX-License-Identifier: LGPL-2.1-or-later
# The shop page in a headless Chromium against the real `vxcut serve`
# program; the machines are simulators in the test's own process.
if(TARGET tst_shoppage AND TARGET vxcut)
    add_dependencies(tst_shoppage vxcut)
endif()
