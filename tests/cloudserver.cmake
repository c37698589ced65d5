# tst_cloudserver floods the vxcloud program itself.
if(TARGET tst_cloudserver AND TARGET vxcloud)
    add_dependencies(tst_cloudserver vxcloud)
endif()
