# SPDX-License-Identifier: LGPL-2.1-or-later
# The install and package tests drive cmake, cpack and the installed tools;
# they need to know where those live and how the tree was configured.
set(VX_INSTALLED_TOOLS)
foreach(tool vxcut vxsim vxcloud vxstudio)
    if(TARGET ${tool})
        list(APPEND VX_INSTALLED_TOOLS ${tool})
    endif()
endforeach()
string(REPLACE ";" "," VX_INSTALLED_TOOLS "${VX_INSTALLED_TOOLS}")
foreach(t tst_install tst_package)
    if(TARGET ${t})
        target_compile_definitions(${t} PRIVATE
            VX_BUILD_DIR="${CMAKE_BINARY_DIR}"
            VX_CMAKE_COMMAND="${CMAKE_COMMAND}"
            VX_CPACK_COMMAND="${CMAKE_CPACK_COMMAND}"
            VX_GENERATOR="${CMAKE_GENERATOR}"
            VX_INSTALL_LIBDIR="${CMAKE_INSTALL_LIBDIR}"
            VX_INSTALL_BINDIR="${CMAKE_INSTALL_BINDIR}"
            VX_INSTALLED_TOOLS="${VX_INSTALLED_TOOLS}"
            # A consumer of a sanitized library must be sanitized too, or the
            # runtime is not first in the load order and aborts.
            VX_CONSUMER_FLAGS="$<$<BOOL:${VX_SANITIZE}>:-fsanitize=address,undefined>")
        # Installing needs every target built, not just the test's own.
        foreach(tool vxcut vxsim vxcloud vxstudio VX-KTR450PROCam vx_translations)
            if(TARGET ${tool})
                add_dependencies(${t} ${tool})
            endif()
        endforeach()
        # Both are heavy; running them side by side on two cores only slows both.
        # `ctest -L install` runs them alone.
        set_tests_properties(${t} PROPERTIES TIMEOUT 240 RESOURCE_LOCK vx_install LABELS install)
    endif()
endforeach()
