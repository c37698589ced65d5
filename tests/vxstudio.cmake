# SPDX-License-Identifier: LGPL-2.1-or-later
# The desktop host's test drives the window classes of vxstudiocore.
if(TARGET tst_vxstudio AND TARGET vxstudiocore)
    target_link_libraries(tst_vxstudio PRIVATE vxstudiocore vxtoolcommon)
    add_dependencies(tst_vxstudio vx_tool_translations)
endif()

# The window's labels come from the plugin's translations: run it under the
# other languages the plugin ships, and under the source language.
if(TARGET tst_vxstudio)
    foreach(lang ja_JP zh_CN)
        add_test(NAME tst_vxstudio_${lang} COMMAND tst_vxstudio)
        set_tests_properties(tst_vxstudio_${lang} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${lang}.UTF-8;LC_ALL=${lang}.UTF-8"
            TIMEOUT 300)
    endforeach()
endif()
