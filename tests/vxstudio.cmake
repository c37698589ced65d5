# The desktop host's test drives the window classes of vxstudiocore.
if(TARGET tst_vxstudio AND TARGET vxstudiocore)
    target_link_libraries(tst_vxstudio PRIVATE vxstudiocore)
endif()
