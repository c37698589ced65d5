# SPDX-License-Identifier: LGPL-2.1-or-later
# tst_vxcutlocale runs the built vxcut with its translations.
if(TARGET tst_vxcutlocale AND TARGET vxcut)
    add_dependencies(tst_vxcutlocale vxcut vx_tool_translations)
endif()
