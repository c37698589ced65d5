# SPDX-License-Identifier: LGPL-2.1-or-later
# tst_cloudserver floods the vxcloud program itself.
if(TARGET tst_cloudserver AND TARGET vxcloud)
    add_dependencies(tst_cloudserver vxcloud)
endif()
