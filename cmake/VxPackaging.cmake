# SPDX-License-Identifier: LGPL-2.1-or-later
# Install tree, CMake package and the Debian packages.
#
#   <libdir>/libvxdevice.so.1*               libvxdevice1     the device library
#   <libdir>/vxdevice/plugins/               libvxdevice1     the plugin module
#   <libdir>/vxdevice/translations/          libvxdevice1     the plugin's .qm files
#                                            (+ the tools')   the model class and the tools
#                                                             read <program dir>/translations
#   <libdir>/vxdevice/{vxcut,vxsim,vxcloud}  vxdevice-tools   the programs, beside plugins/
#   <libdir>/vxdevice/vxstudio               vxstudio         and translations/
#   <bindir>/<program>                       (same)           relative symlinks to the above
#                                                             (applicationDirPath() resolves them)
#   <mandir>/man1/<program>.1.gz             (same)           from the program's --help
#   <datadir>/bash-completion/completions/vxcut   vxdevice-tools
#   <datadir>/applications/vxstudio.desktop, icons/  vxstudio
#   <includedir>/vxdevice/...                libvxdevice-dev  public headers, folders kept
#   <libdir>/cmake/vxdevice/, <libdir>/libvxdevice.so   libvxdevice-dev
#   <datadir>/vxdevice/samples/sample.plt,
#   <docdir>/libvxdevice-dev/examples/       libvxdevice-dev  the example host
#
# <libdir> is lib/<multiarch triplet> on Debian (see the top-level list), so
# the packages can be co-installed for two architectures.
#
# Why CPack components and not a debian/ folder: cpack packs the tree this
# build already made, so `make test` checks the packages of the very binaries
# it tested, in seconds; dpkg-buildpackage would build everything a second
# time from a clean tree (minutes on CI's two cores). The Debian parts that
# matter still come from Debian's tools: dpkg-shlibdeps computes Depends,
# the shlibs file is generated, lintian checks the result.
include(CMakePackageConfigHelpers)

# Installing (and cpack) takes what is built instead of building every test
# first; the install and package tests depend on what they install.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(VX_INSTALL_PKGDIR ${CMAKE_INSTALL_LIBDIR}/vxdevice)
set(VX_INSTALL_PLUGINDIR ${VX_INSTALL_PKGDIR}/plugins)
set(VX_INSTALL_TRANSLATIONSDIR ${VX_INSTALL_PKGDIR}/translations)
set(VX_INSTALL_SAMPLESDIR ${CMAKE_INSTALL_DATADIR}/vxdevice/samples)
set(VX_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/vxdevice)
set(VX_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/vxdevice)
set(VX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc)

# Component -> Debian package. The programs go in the package named after
# them; a program not listed here is not installed.
set(VX_PACKAGE_lib libvxdevice1)
set(VX_PACKAGE_dev libvxdevice-dev)
set(VX_PACKAGE_tools vxdevice-tools)
set(VX_PACKAGE_studio vxstudio)
set(VX_TOOL_COMPONENT_vxcut tools)
set(VX_TOOL_COMPONENT_vxsim tools)
set(VX_TOOL_COMPONENT_vxcloud tools)
set(VX_TOOL_COMPONENT_vxstudio studio)
# The NAME line of each manual page (what `apropos` finds).
set(VX_TOOL_SUMMARY_vxcut "drive a conveyor-belt flatbed cutting plotter from the command line")
set(VX_TOOL_SUMMARY_vxsim "simulated conveyor-belt flatbed cutting plotter")
set(VX_TOOL_SUMMARY_vxcloud "local stand-in for the cutting plotter's cloud service")
set(VX_TOOL_SUMMARY_vxstudio "desktop host for a conveyor-belt flatbed cutting plotter")

# RPATHs relative to each file, so the tree works under any prefix.
file(RELATIVE_PATH VX_PKG_TO_LIB ${CMAKE_INSTALL_FULL_LIBDIR}/vxdevice ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH VX_PLUGIN_TO_LIB ${CMAKE_INSTALL_FULL_LIBDIR}/vxdevice/plugins ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH VX_BIN_TO_PKG ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/vxdevice)

set_target_properties(vxdevice PROPERTIES INSTALL_RPATH "")
set_target_properties(VX-KTR450PROCam PROPERTIES INSTALL_RPATH "$ORIGIN/${VX_PLUGIN_TO_LIB}")

install(TARGETS vxdevice EXPORT vxdeviceTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT lib NAMELINK_COMPONENT dev
    INCLUDES DESTINATION ${VX_INSTALL_INCLUDEDIR})
install(TARGETS VX-KTR450PROCam LIBRARY DESTINATION ${VX_INSTALL_PLUGINDIR} COMPONENT lib)
install(FILES ${VX_QM_FILES} DESTINATION ${VX_INSTALL_TRANSLATIONSDIR} COMPONENT lib)
install(FILES tools/samples/sample.plt DESTINATION ${VX_INSTALL_SAMPLESDIR} COMPONENT dev)
install(FILES examples/CMakeLists.txt examples/vxexample.cpp
    DESTINATION ${VX_INSTALL_DOCDIR}/${VX_PACKAGE_dev}/examples COMPONENT dev)

# Only what a host includes; VXCommonInterface.h is public because hosts cast
# to it for the remote channel; it pulls in the frame cutter and the
# heartbeat rule and the plot frame stream, and names the cloud client
# without including it.
install(FILES interface/VXDeviceInterface.h interface/vxdevice_global.h
    DESTINATION ${VX_INSTALL_INCLUDEDIR}/interface COMPONENT dev)
install(FILES property/VXDeviceProperty.h property/VXFrame.h property/EditorDescription.h
    property/RecordAnswer.h property/HeartbeatPeriod.h
    DESTINATION ${VX_INSTALL_INCLUDEDIR}/property COMPONENT dev)
install(FILES link/VXCommonInterface.h link/FrameCutter.h link/FrameStream.h
    DESTINATION ${VX_INSTALL_INCLUDEDIR}/link COMPONENT dev)
install(FILES cloud/NimbraCloud.h DESTINATION ${VX_INSTALL_INCLUDEDIR}/cloud COMPONENT dev)

# Manual pages from each program's own --help (help2man), so the two cannot
# say different things. Run in the C locale: the pages are the English
# source texts whatever the build machine's language.
find_program(VX_HELP2MAN help2man)
find_program(VX_GZIP gzip)
if(NOT VX_HELP2MAN)
    message(STATUS "help2man not found: no manual pages (scripts/deps.sh installs it)")
endif()
set(VX_MAN_DIR ${CMAKE_BINARY_DIR}/man)
# Translated pages need the language's locale on the build machine (help2man
# runs the program under it); scripts/deps.sh generates them.
set(VX_MAN_LANGUAGES)
set(VX_MAN_SUBDIR_ja_JP ja)
set(VX_MAN_SUBDIR_zh_CN zh_CN)
set(VX_TOOL_SUMMARY_vxcut_zh_CN "从命令行驱动传送带式平板切割绘图仪")
set(VX_TOOL_SUMMARY_vxsim_zh_CN "模拟的传送带式平板切割绘图仪")
set(VX_TOOL_SUMMARY_vxcloud_zh_CN "切割绘图仪云服务的本地替身")
set(VX_TOOL_SUMMARY_vxstudio_zh_CN "传送带式平板切割绘图仪的桌面主机程序")
set(VX_TOOL_SUMMARY_vxcut_ja_JP "コンベア式フラットベッド・カッティングプロッタをコマンドラインから操作する")
set(VX_TOOL_SUMMARY_vxsim_ja_JP "シミュレートされたコンベア式フラットベッド・カッティングプロッタ")
set(VX_TOOL_SUMMARY_vxcloud_ja_JP "カッティングプロッタのクラウドサービスのローカル代替")
set(VX_TOOL_SUMMARY_vxstudio_ja_JP "コンベア式フラットベッド・カッティングプロッタのデスクトップ用ホスト")
find_program(VX_LOCALE_COMMAND locale)
if(VX_HELP2MAN AND VX_LOCALE_COMMAND)
    execute_process(COMMAND ${VX_LOCALE_COMMAND} -a OUTPUT_VARIABLE vx_locales ERROR_QUIET)
    string(TOLOWER "${vx_locales}" vx_locales)
    foreach(lang ${VX_TOOL_LANGUAGES})
        string(TOLOWER "${lang}.utf8" want)
        if(vx_locales MATCHES "(^|\n)${want}(\n|$)")
            list(APPEND VX_MAN_LANGUAGES ${lang})
            set(VX_MAN_LOCALE_${lang} ${lang}.UTF-8)
        else()
            message(STATUS "No ${lang}.UTF-8 locale: no ${lang} manual pages (scripts/deps.sh generates it)")
        endif()
    endforeach()
endif()

if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    set(VX_BINDIR_AT_INSTALL "${CMAKE_INSTALL_BINDIR}")
else()
    set(VX_BINDIR_AT_INSTALL "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
endif()
set(VX_PACKAGE_FILES)
foreach(tool vxcut vxsim vxcloud vxstudio)
    if(NOT TARGET ${tool})
        continue()
    endif()
    set(component ${VX_TOOL_COMPONENT_${tool}})
    set_target_properties(${tool} PROPERTIES INSTALL_RPATH "$ORIGIN/${VX_PKG_TO_LIB}")
    install(TARGETS ${tool} RUNTIME DESTINATION ${VX_INSTALL_PKGDIR} COMPONENT ${component})
    # The tool's own translations, beside the plugin's.
    if(VX_TOOL_QM_${tool})
        add_dependencies(${tool} vx_tool_translations)
        install(FILES ${VX_TOOL_QM_${tool}} DESTINATION ${VX_INSTALL_TRANSLATIONSDIR} COMPONENT ${component})
    endif()
    # CMAKE_INSTALL_PREFIX is read at install time: cpack installs under /usr.
    # The REMOVE also replaces a real binary a tool's own rules put there.
    install(CODE "
        set(_link \"\$ENV{DESTDIR}${VX_BINDIR_AT_INSTALL}/${tool}\")
        message(STATUS \"Installing: \${_link} -> ${VX_BIN_TO_PKG}/${tool}\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${VX_BINDIR_AT_INSTALL}\")
        file(REMOVE \"\${_link}\")
        file(CREATE_LINK \"${VX_BIN_TO_PKG}/${tool}\" \"\${_link}\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_link}\")" COMPONENT ${component})
    if(VX_HELP2MAN AND VX_GZIP)
        # ASan's leak report would turn a sanitized --help into a failure.
        add_custom_command(OUTPUT ${VX_MAN_DIR}/${tool}.1.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${VX_MAN_DIR}
            COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 LANG=C.UTF-8 LANGUAGE= QT_QPA_PLATFORM=offscreen
                    ASAN_OPTIONS=detect_leaks=0
                    ${VX_HELP2MAN} --no-info --section=1 --version-string=${PROJECT_VERSION}
                    "--name=${VX_TOOL_SUMMARY_${tool}}" --output=${VX_MAN_DIR}/${tool}.1
                    $<TARGET_FILE:${tool}>
            COMMAND ${VX_GZIP} -9nf ${VX_MAN_DIR}/${tool}.1
            DEPENDS ${tool} $<TARGET_FILE:${tool}>
            COMMENT "Manual page for ${tool}"
            VERBATIM)
        list(APPEND VX_PACKAGE_FILES ${VX_MAN_DIR}/${tool}.1.gz)
        install(FILES ${VX_MAN_DIR}/${tool}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
        # The same page in each language the tool speaks, from its --help in
        # that locale; help2man translates its own headings. man finds it
        # under the language's folder (ja_JP.UTF-8 looks in ja, zh_CN.UTF-8
        # in zh_CN).
        foreach(lang ${VX_MAN_LANGUAGES})
            set(page ${VX_MAN_DIR}/${lang}/${tool}.1)
            add_custom_command(OUTPUT ${page}.gz
                COMMAND ${CMAKE_COMMAND} -E make_directory ${VX_MAN_DIR}/${lang}
                # Found on PATH, the program shows its bare name in the usage
                # line, which help2man leaves as it is when the line is not in
                # the language it expects.
                COMMAND ${CMAKE_COMMAND} -E env LANGUAGE= QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
                        "PATH=$<TARGET_FILE_DIR:${tool}>:$ENV{PATH}"
                        ${VX_HELP2MAN} --no-info --section=1 --version-string=${PROJECT_VERSION}
                        --locale=${VX_MAN_LOCALE_${lang}} --name=VX_MAN_NAME
                        --output=${page} ${tool}
                COMMAND ${CMAKE_COMMAND} -DPAGE=${page} -DMARKER=VX_MAN_NAME
                        "-DNAME=${VX_TOOL_SUMMARY_${tool}_${lang}}" -P ${CMAKE_SOURCE_DIR}/cmake/VxManName.cmake
                COMMAND ${VX_GZIP} -9nf ${page}
                DEPENDS ${tool} $<TARGET_FILE:${tool}> vx_tool_translations
                COMMENT "Manual page for ${tool} (${lang})"
                VERBATIM)
            list(APPEND VX_PACKAGE_FILES ${page}.gz)
            install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${VX_MAN_SUBDIR_${lang}}/man1
                    COMPONENT ${component})
        endforeach()
    endif()
endforeach()

if(TARGET vxcut)
    install(FILES packaging/vxcut.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME vxcut COMPONENT tools)
endif()
if(TARGET vxstudio)
    install(FILES packaging/vxstudio.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT studio)
    install(FILES packaging/vxstudio.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT studio)
endif()

# Every package carries the copyright file and the changelog Debian wants.
if(VX_GZIP)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
        COMMAND ${VX_GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
    list(APPEND VX_PACKAGE_FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
endif()
foreach(component lib dev tools studio)
    install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${VX_INSTALL_DOCDIR}/${VX_PACKAGE_${component}} COMPONENT ${component})
endforeach()
add_custom_target(vx_package_files ALL DEPENDS ${VX_PACKAGE_FILES})
# The tests are defined before this file is read; they install these too.
set(vx_man_dirs)
foreach(lang ${VX_MAN_LANGUAGES})
    list(APPEND vx_man_dirs ${VX_MAN_SUBDIR_${lang}})
endforeach()
string(REPLACE ";" "," vx_man_dirs "${vx_man_dirs}")
foreach(t tst_install tst_package)
    if(TARGET ${t})
        add_dependencies(${t} vx_package_files)
        target_compile_definitions(${t} PRIVATE VX_MAN_LANGUAGE_DIRS="${vx_man_dirs}")
    endif()
endforeach()

install(EXPORT vxdeviceTargets NAMESPACE vxdevice:: DESTINATION ${VX_INSTALL_CMAKEDIR} COMPONENT dev)
configure_package_config_file(cmake/vxdeviceConfig.cmake.in
    ${CMAKE_BINARY_DIR}/cmake/vxdeviceConfig.cmake
    INSTALL_DESTINATION ${VX_INSTALL_CMAKEDIR}
    PATH_VARS VX_INSTALL_PKGDIR VX_INSTALL_PLUGINDIR VX_INSTALL_TRANSLATIONSDIR
              VX_INSTALL_SAMPLESDIR VX_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/cmake/vxdeviceConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/cmake/vxdeviceConfig.cmake
              ${CMAKE_BINARY_DIR}/cmake/vxdeviceConfigVersion.cmake
    DESTINATION ${VX_INSTALL_CMAKEDIR} COMPONENT dev)

# `cd build && cpack` makes the four packages; `apt install ./*.deb`.
set(CPACK_PACKAGE_NAME vxdevice)
set(CPACK_PACKAGE_VENDOR "vxdevice developers")
# The Maintainer field: whoever builds packages for others sets their own.
set(VX_PACKAGE_CONTACT "vxdevice developers <vxdevice-devel@example.org>" CACHE STRING
    "Maintainer of the Debian packages (Name <address>)")
set(CPACK_PACKAGE_CONTACT "${VX_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libvxdevice.so.1 is ours: dpkg-shlibdeps finds it in the build tree, and
# the dependency on libvxdevice1 comes from the component graph below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_COMPONENTS_ALL lib dev)
foreach(component tools studio)
    foreach(tool vxcut vxsim vxcloud vxstudio)
        if(TARGET ${tool} AND VX_TOOL_COMPONENT_${tool} STREQUAL component)
            list(APPEND CPACK_COMPONENTS_ALL ${component})
            break()
        endif()
    endforeach()
endforeach()
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    string(TOUPPER ${component} C)
    set(CPACK_DEBIAN_${C}_PACKAGE_NAME ${VX_PACKAGE_${component}})
endforeach()

# cpack (3.25) has no Multi-Arch field; the line rides on the one before it.
# "same": the library, plugin and .qm files of two architectures live in
# their own lib/<triplet>/ folders and can be installed side by side.
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION "libs\nMulti-Arch: same")
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION "libdevel\nMulti-Arch: same")
# The shlibs file: what a package linking libvxdevice.so.1 depends on. The
# plugin module has no SONAME and is not in it (cpack says so).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# dpkg's ldconfig trigger, which lintian requires of a shared library
# package. cpack still writes postinst/postrm calling ldconfig too (lintian
# warns); replacing them would cost two empty scripts lintian warns about.
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/triggers)
string(CONCAT CPACK_COMPONENT_LIB_DESCRIPTION
    "device plugin for a conveyor-belt flatbed cutting plotter\n"
    "The shared library and Qt plugin module a host cutting application loads to\n"
    "drive the plotter over TCP or USB: settings with their editors, plot jobs\n"
    "with progress, the cloud registration and remote channel. The setting\n"
    "labels come in Chinese, English and Japanese.")

set(CPACK_COMPONENT_DEV_DEPENDS lib)
# find_package(vxdevice) looks up Qt's CMake packages; no binary here links
# anything, so dpkg-shlibdeps has nothing to compute for this one.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qtbase5-dev")
string(CONCAT CPACK_COMPONENT_DEV_DESCRIPTION
    "device plugin for a cutting plotter - development files\n"
    "Headers, the CMake package (find_package(vxdevice)) and an example host for\n"
    "building a host application against libvxdevice1.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION electronics)
set(CPACK_COMPONENT_TOOLS_DEPENDS lib)
string(CONCAT CPACK_COMPONENT_TOOLS_DESCRIPTION
    "command-line host, machine simulator and cloud stand-in for a cutting plotter\n"
    "vxcut drives a conveyor-belt flatbed cutting plotter through its device\n"
    "plugin: cut plot files, read and write settings, jog the carriage, and\n"
    "serve a shop's machines with job queues and a web page. vxsim\n"
    "simulates the machine over TCP or a pseudo-terminal; vxcloud stands in for\n"
    "its cloud service on the local host.")

set(CPACK_DEBIAN_STUDIO_PACKAGE_SECTION electronics)
set(CPACK_COMPONENT_STUDIO_DEPENDS lib)
# The setting labels are Chinese and Japanese; without a CJK font Qt draws
# them as empty boxes.
# Qt's own texts (the parsers' "Usage:" and "Options:", the standard dialogs'
# buttons) in the operator's language come from Debian's Qt translations.
set(CPACK_DEBIAN_STUDIO_PACKAGE_RECOMMENDS "fonts-noto-cjk, qttranslations5-l10n")
set(CPACK_DEBIAN_TOOLS_PACKAGE_RECOMMENDS "qttranslations5-l10n")
# `vxcut serve` keeps its queue through Qt SQL's SQLite driver, a plugin Qt
# loads at run time: dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "libqt5sql5-sqlite")
string(CONCAT CPACK_COMPONENT_STUDIO_DESCRIPTION
    "desktop host for a conveyor-belt flatbed cutting plotter\n"
    "A window to connect to the plotter, change its settings, jog the carriage\n"
    "and cut plot files with a preview and progress, through the device plugin\n"
    "in libvxdevice1.")

include(CPack)
