# SPDX-License-Identifier: LGPL-2.1-or-later
# The host library's tests link it; each runs its class against the real
# plugin and, where a machine is needed, the simulator in-process.
foreach(t tst_devicesession tst_jobrunner tst_linkmessage tst_recordvalue tst_profile tst_plotremainder tst_sheetrun)
    if(TARGET ${t} AND TARGET vxhost)
        target_link_libraries(${t} PRIVATE vxhost)
    endif()
endforeach()
