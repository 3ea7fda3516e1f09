cmake_minimum_required(VERSION 3.25)
# Checks the symbols the plug-in module exports: the seven plain functions and the members of the
# class pair, and nothing of the plug-in's inner workings.
# Usage: cmake -DMODULE=path/to/sdmweaver.so -P CheckExports.cmake
#        cmake -DMODULE=path/to/sdmweaver.dll -DOBJDUMP=x86_64-w64-mingw32-objdump
#              -DDEFINITION=plugin/WorkstationExports.def -P ...
# (a MinGW-built module: the names of its module definition file, read from its export table)
if(MODULE MATCHES "\\.dll$")
    include(${CMAKE_CURRENT_LIST_DIR}/ListPeExports.cmake)
else()
    find_program(NM NAMES nm llvm-nm REQUIRED)
    execute_process(COMMAND ${NM} -D --defined-only ${MODULE}
                    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "nm failed on ${MODULE}")
    endif()
    set(found "")
    string(REPLACE "\n" ";" lines "${listing}")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[0-9a-fA-F]* +[A-Za-z] +([^ ]+)$")
            list(APPEND found ${CMAKE_MATCH_1})
        endif()
    endforeach()
endif()

set(required
    createPlugin getPluginName getPluginVersion getPluginDescription getAuthor getHelpFile
    getGUIScript
    _ZN19ZMTKPluginInterfaceC1Ev _ZN19ZMTKPluginInterfaceC2Ev
    _ZN19ZMTKPluginInterfaceC1ERKS_ _ZN19ZMTKPluginInterfaceC2ERKS_
    _ZN19ZMTKPluginInterfaceD0Ev _ZN19ZMTKPluginInterfaceD1Ev _ZN19ZMTKPluginInterfaceD2Ev
    _ZN19ZMTKPluginInterfaceaSERKS_ _ZTV19ZMTKPluginInterface
    _ZN9SdmWeaverC1Ev _ZN9SdmWeaverC2Ev
    _ZN9SdmWeaverD0Ev _ZN9SdmWeaverD1Ev _ZN9SdmWeaverD2Ev
    _ZN9SdmWeaver7executeEv _ZN9SdmWeaver10initPluginEv)
# Besides those, only the class pair's own virtual table and type information may appear.
set(allowed ${required} _ZTV9SdmWeaver _ZTI9SdmWeaver _ZTS9SdmWeaver
    _ZTI19ZMTKPluginInterface _ZTS19ZMTKPluginInterface)
if(MODULE MATCHES "\\.dll$")
    # A MinGW-built module exports what its module definition file names instead: the seven
    # functions, and the class pair's members under the names Microsoft's compiler gives them.
    include(${CMAKE_CURRENT_LIST_DIR}/../support/ModuleDefinitionNames.cmake)
    module_definition_names(${DEFINITION} required)
    set(allowed ${required})
endif()

foreach(name IN LISTS found)
    if(NOT name IN_LIST allowed AND NOT name MATCHES "^(_init|_fini|__bss_start|_edata|_end)$")
        message(SEND_ERROR "unexpected export: ${name}")
    endif()
endforeach()
foreach(name IN LISTS required)
    if(NOT name IN_LIST found)
        message(SEND_ERROR "missing export: ${name}")
    endif()
endforeach()
