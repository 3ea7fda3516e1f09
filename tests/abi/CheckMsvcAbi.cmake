cmake_minimum_required(VERSION 3.25)
# The class pair and the exports as Microsoft's compiler lays them out, which is what the
# workstation expects: the plug-in's class pair and exported functions are compiled with Clang for
# the x86_64-pc-windows-msvc target and the object files are read with llvm-readobj.
#   CHECK=vtable   SdmWeaver's virtual table has exactly three slots: the (deleting) destructor,
#                  execute, initPlugin; ZMTKPluginInterface's has the same three, two of them pure.
#   CHECK=exports  The export directives carry the seven plain names (getGUIScript as a second
#                  name of getHelpFile) and the decorated names of the class pair's members, and
#                  nothing else.
#   CHECK=definition  The module definition file of the MinGW build (DEFINITION) names exactly what
#                  the export directives name.
# Usage: cmake -DCHECK=vtable|exports|definition -DCLANG=clang++ -DREADOBJ=llvm-readobj
#              -DSOURCE_DIR=<project> -DWORK_DIR=<scratch folder> [-DDEFINITION=<.def>]
#              -P CheckMsvcAbi.cmake

set(target x86_64-pc-windows-msvc)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# Compiles one source for the Microsoft target into WORK_DIR/<name>.obj.
function(compile_for_msvc source name)
    execute_process(
        COMMAND ${CLANG} --target=${target} -std=c++20 -DSDMWEAVER_BUILDING_PLUGIN
                -I${SOURCE_DIR} -isystem ${SOURCE_DIR}/tests/abi/msvc-include
                -c ${source} -o ${WORK_DIR}/${name}.obj
        RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cannot compile ${source} for ${target}:\n${errors}")
    endif()
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/../support/ReadObject.cmake)

# The slots of a virtual table: the names its relocations point at, in order, one per 8 bytes
# from the table's symbol to the end of its section (the run-time type locator before it is not a
# slot). Fails when a slot holds no address.
function(virtual_table_slots object table result)
    read_object(${object} --symbols symbols)
    set(current "")
    set(offset "")
    foreach(line IN LISTS symbols)
        if(line MATCHES "^ *Name: (.*)$")
            set(current "${CMAKE_MATCH_1}")
        elseif(current STREQUAL table AND line MATCHES "^ *Value: ([0-9]+)$")
            set(offset ${CMAKE_MATCH_1})
        elseif(current STREQUAL table AND line MATCHES "^ *Section: .* \\(([0-9]+)\\)$")
            set(section ${CMAKE_MATCH_1})
            break()
        endif()
    endforeach()
    if(offset STREQUAL "" OR NOT DEFINED section)
        message(FATAL_ERROR "no virtual table ${table} in ${object}")
    endif()

    read_object(${object} --sections sections)
    set(number "")
    foreach(line IN LISTS sections)
        if(line MATCHES "^ *Number: ([0-9]+)$")
            set(number ${CMAKE_MATCH_1})
        elseif(number STREQUAL section AND line MATCHES "^ *RawDataSize: ([0-9]+)$")
            set(size ${CMAKE_MATCH_1})
            break()
        endif()
    endforeach()

    read_object(${object} --relocations relocations)
    set(inSection FALSE)
    set(targets "")
    foreach(line IN LISTS relocations)
        if(line MATCHES "^ *Section \\(([0-9]+)\\) ")
            set(inSection FALSE)
            if(CMAKE_MATCH_1 STREQUAL section)
                set(inSection TRUE)
            endif()
        elseif(inSection AND line MATCHES "^ *(0x[0-9A-Fa-f]+) IMAGE_REL_AMD64_ADDR64 ([^ ]+) ")
            math(EXPR at "${CMAKE_MATCH_1}")
            set(targets_${at} ${CMAKE_MATCH_2})
        endif()
    endforeach()

    set(slots "")
    math(EXPR last "${size} - 8")
    foreach(at RANGE ${offset} ${last} 8)
        if(NOT DEFINED targets_${at})
            message(FATAL_ERROR "${table}: the slot at byte ${at} holds no address")
        endif()
        list(APPEND slots ${targets_${at}})
    endforeach()
    set(${result} "${slots}" PARENT_SCOPE)
endfunction()

function(expect_slots object table)
    virtual_table_slots(${object} ${table} slots)
    list(LENGTH slots count)
    list(LENGTH ARGN expectedCount)
    set(ok TRUE)
    if(NOT count EQUAL expectedCount)
        set(ok FALSE)
    else()
        foreach(index RANGE 0 ${count})
            if(index EQUAL count)
                break()
            endif()
            list(GET slots ${index} actual)
            list(GET ARGN ${index} pattern)
            if(NOT actual MATCHES "^${pattern}$")
                set(ok FALSE)
            endif()
        endforeach()
    endif()
    string(REPLACE ";" "\n  " shown "${slots}")
    if(NOT ok)
        string(REPLACE ";" "\n  " wanted "${ARGN}")
        message(SEND_ERROR "${table} holds ${count} slots:\n  ${shown}\n"
                           "where the workstation expects ${expectedCount}:\n  ${wanted}")
    else()
        message(STATUS "${table}:\n  ${shown}")
    endif()
endfunction()

compile_for_msvc(${SOURCE_DIR}/plugin/ZMTKPluginInterface.cpp ZMTKPluginInterface)
compile_for_msvc(${SOURCE_DIR}/tests/abi/SdmWeaverMembers.cpp SdmWeaver)
compile_for_msvc(${SOURCE_DIR}/plugin/PluginExports.cpp PluginExports)

if(CHECK STREQUAL "vtable")
    # ??_G: the scalar deleting destructor (_E, the vector deleting one, where the compiler uses
    # it): one slot for destroying and freeing, where the Itanium layout has two.
    set(pattern "\\?\\?_[GE]")
    expect_slots(${WORK_DIR}/SdmWeaver.obj "??_7SdmWeaver@@6B@"
        "${pattern}SdmWeaver@@UEAAPEAXI@Z"
        "\\?execute@SdmWeaver@@UEAA_NXZ"
        "\\?initPlugin@SdmWeaver@@UEAA_NXZ")
    expect_slots(${WORK_DIR}/ZMTKPluginInterface.obj "??_7ZMTKPluginInterface@@6B@"
        "${pattern}ZMTKPluginInterface@@UEAAPEAXI@Z"
        "_purecall"
        "_purecall")

elseif(CHECK STREQUAL "exports" OR CHECK STREQUAL "definition")
    set(exports "")
    set(aliases "")
    foreach(object ZMTKPluginInterface SdmWeaver PluginExports)
        read_object(${WORK_DIR}/${object}.obj --coff-directives directives)
        foreach(line IN LISTS directives)
            string(REGEX MATCHALL "/EXPORT:(\"[^\"]+\"|[^ ]+)" found "${line}")
            foreach(directive IN LISTS found)
                string(REGEX REPLACE "^/EXPORT:\"?([^\",]+)\"?(,DATA)?$" "\\1" name "${directive}")
                if(name MATCHES "^([^=]+)=(.+)$")
                    list(APPEND aliases ${name})
                    set(name ${CMAKE_MATCH_1})
                endif()
                list(APPEND exports ${name})
            endforeach()
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES exports)
endif()

if(CHECK STREQUAL "definition")
    include(${SOURCE_DIR}/tests/support/ModuleDefinitionNames.cmake)
    module_definition_names(${DEFINITION} named)
    list(SORT named)
    list(SORT exports)
    if(NOT named STREQUAL exports)
        set(missing ${exports})
        list(REMOVE_ITEM missing ${named})
        set(extra ${named})
        list(REMOVE_ITEM extra ${exports})
        message(SEND_ERROR "${DEFINITION} does not name what Microsoft's compiler exports:\n"
                           "  not named: ${missing}\n  named beyond it: ${extra}")
    endif()
    string(REPLACE ";" "\n  " shown "${named}")
    message(STATUS "named alike:\n  ${shown}")

elseif(CHECK STREQUAL "exports")
    set(plain createPlugin getPluginName getPluginVersion getPluginDescription getAuthor
        getHelpFile getGUIScript)
    set(decorated
        "??0ZMTKPluginInterface@@QEAA@XZ"                # default constructor
        "??0ZMTKPluginInterface@@QEAA@AEBV0@@Z"          # copy constructor
        "??4ZMTKPluginInterface@@QEAAAEAV0@AEBV0@@Z"     # copy assignment
        "??1ZMTKPluginInterface@@UEAA@XZ"                # virtual destructor
        "??_7ZMTKPluginInterface@@6B@"                   # virtual table
        "??0SdmWeaver@@QEAA@XZ"                          # default constructor
        "??1SdmWeaver@@UEAA@XZ"                          # virtual destructor
        "?execute@SdmWeaver@@UEAA_NXZ"
        "?initPlugin@SdmWeaver@@UEAA_NXZ")
    foreach(name IN LISTS plain decorated)
        if(NOT name IN_LIST exports)
            message(SEND_ERROR "missing export: ${name}")
        endif()
    endforeach()
    if(NOT "getGUIScript=getHelpFile" IN_LIST aliases)
        message(SEND_ERROR "getGUIScript is not exported as a second name of getHelpFile: "
                           "${aliases}")
    endif()
    # Members the compiler adds for an exported class (SdmWeaver's implicit copy operations) are
    # still the class pair's; nothing else may leave the module.
    foreach(name IN LISTS exports)
        if(NOT name IN_LIST plain AND NOT name MATCHES "^\\?.*(ZMTKPluginInterface|SdmWeaver)@@")
            message(SEND_ERROR "unexpected export: ${name}")
        endif()
    endforeach()
    string(REPLACE ";" "\n  " shown "${exports}")
    message(STATUS "exports:\n  ${shown}")

elseif(NOT CHECK STREQUAL "vtable")
    message(FATAL_ERROR "CHECK must be vtable, exports or definition")
endif()
