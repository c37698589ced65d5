# SPDX-License-Identifier: LGPL-2.1-or-later
# The fuzz targets' harnesses replayed over their seed corpora (and any crash
# input kept there) with the ordinary compiler, as part of the test suite.
# A fuzz build instruments the library for libFuzzer; replays belong to the
# ordinary and sanitized builds only.
if(VX_FUZZ)
    return()
endif()
foreach(target fuzz_receive fuzz_decode fuzz_plot fuzz_cloud fuzz_svg fuzz_dxf fuzz_http)
    set(harness ${CMAKE_SOURCE_DIR}/fuzz/${target}.cpp)
    if(NOT EXISTS ${harness})
        continue()
    endif()
    if(target STREQUAL "fuzz_plot" AND NOT TARGET vxplot)
        continue()
    endif()
    if(target MATCHES "fuzz_(svg|dxf)" AND NOT TARGET vxplotio)
        continue()
    endif()
    add_executable(replay_${target} ${harness} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(replay_${target} PRIVATE vxdevice Qt5::Core Qt5::Network)
    if(target STREQUAL "fuzz_plot")
        target_link_libraries(replay_${target} PRIVATE vxplot)
    endif()
    if(target MATCHES "fuzz_(svg|dxf)")
        target_link_libraries(replay_${target} PRIVATE vxplotio)
    endif()
    add_test(NAME replay_${target} COMMAND replay_${target} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target})
    set_tests_properties(replay_${target} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=en_US.UTF-8;LC_ALL=en_US.UTF-8;QT_LOGGING_RULES=*.debug=false"
        TIMEOUT 300)
endforeach()
