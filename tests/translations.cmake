# SPDX-License-Identifier: LGPL-2.1-or-later
# The translation check reads the list of translated tools and libraries, their languages
# and source folders from translations/CMakeLists.txt, and runs lupdate.
if(TARGET tst_tooltranslations)
    set(sources)
    set(catalogues ${VX_TRANSLATED_TOOLS} ${VX_TRANSLATED_LIBRARIES})
    foreach(tool ${catalogues})
        string(REPLACE ";" "|" dirs "${VX_TOOL_TR_SOURCES_${tool}}")
        list(APPEND sources "${tool}=${dirs}")
    endforeach()
    set(uses)
    foreach(tool ${VX_TRANSLATED_TOOLS})
        string(REPLACE ";" "|" libs "${VX_TOOL_USES_${tool}}")
        list(APPEND uses "${tool}=${libs}")
    endforeach()
    string(REPLACE ";" "," uses "${uses}")
    string(REPLACE ";" "," tools "${VX_TRANSLATED_TOOLS}")
    string(REPLACE ";" "," catalogues "${catalogues}")
    string(REPLACE ";" "," langs "${VX_TOOL_LANGUAGES}")
    # A ";" would not survive the compiler's command line intact.
    string(REPLACE ";" "," sources "${sources}")
    target_compile_definitions(tst_tooltranslations PRIVATE
        VX_LUPDATE="$<TARGET_FILE:Qt5::lupdate>"
        VX_TRANSLATED_TOOLS="${tools}"
        VX_TRANSLATED_CATALOGUES="${catalogues}"
        VX_TOOL_USES="${uses}"
        VX_TOOL_LANGUAGES="${langs}"
        VX_TOOL_TR_SOURCES="${sources}")
    foreach(tool ${VX_TRANSLATED_TOOLS})
        if(TARGET ${tool})
            add_dependencies(tst_tooltranslations ${tool})
        endif()
    endforeach()
    add_dependencies(tst_tooltranslations vx_tool_translations)
endif()
