# tst_vxcut runs the built vxcut program; tst_vxcut_values links its code.
if(TARGET tst_vxcut AND TARGET vxcut)
    add_dependencies(tst_vxcut vxcut)
endif()
if(TARGET tst_vxcut_values AND TARGET vxcutcore)
    target_link_libraries(tst_vxcut_values PRIVATE vxcutcore)
endif()
