# tst_vxcut runs the built vxcut program.
if(TARGET tst_vxcut AND TARGET vxcut)
    add_dependencies(tst_vxcut vxcut)
endif()
