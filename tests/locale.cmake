# SPDX-License-Identifier: LGPL-2.1-or-later
# tst_locale under other system locales. The "bare" copy runs from a folder
# without translations/, as a host installed without its .qm files would.
if(TARGET tst_locale)
    set(VX_LOCALE_BARE_DIR ${CMAKE_BINARY_DIR}/locale-bare)
    add_custom_command(TARGET tst_locale POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VX_LOCALE_BARE_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tst_locale> ${VX_LOCALE_BARE_DIR}/
        VERBATIM)

    foreach(locale zh_CN ja_JP de_DE)
        add_test(NAME tst_locale_${locale} COMMAND tst_locale)
        set_tests_properties(tst_locale_${locale} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${locale}.UTF-8;LC_ALL=${locale}.UTF-8"
            TIMEOUT 60)
        add_test(NAME tst_locale_${locale}_missing
            COMMAND ${VX_LOCALE_BARE_DIR}/$<TARGET_FILE_NAME:tst_locale>)
        set_tests_properties(tst_locale_${locale}_missing PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${locale}.UTF-8;LC_ALL=${locale}.UTF-8;VX_EXPECT_TRANSLATIONS=0"
            TIMEOUT 60)
    endforeach()
endif()
