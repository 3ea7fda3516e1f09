cmake_minimum_required(VERSION 3.25)
# The class pair's virtual tables as GCC lays them out, read from the relocations of the object
# files (llvm-objdump -r): each table's slots, from its first slot on (after the offset to the top
# and the type information that GCC puts before it).
#   CHECK=linux  COMPILER=g++: the platform's own ABI, which hosts built with GCC or Clang share:
#                SdmWeaver's table holds both destructors, then execute and initPlugin.
#   CHECK=mingw  COMPILER=x86_64-w64-mingw32-g++: what the workstation calls comes first, in the
#                shape Microsoft's compiler gives it: the scalar deleting destructor, execute and
#                initPlugin (pure in the interface's table); GCC's own destructors come after.
# Usage: cmake -DCHECK=linux|mingw -DCOMPILER=... -DOBJDUMP=llvm-objdump -DSOURCE_DIR=<project>
#              -DWORK_DIR=<scratch folder> -P CheckGccVirtualTables.cmake

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# Compiles one source into WORK_DIR/<name>.o, each function in a section of its own so that every
# slot's relocation names its function.
function(compile source name)
    execute_process(
        COMMAND ${COMPILER} -std=c++20 -fPIC -ffunction-sections -fdata-sections
                -DSDMWEAVER_BUILDING_PLUGIN -I${SOURCE_DIR} -c ${source} -o ${WORK_DIR}/${name}.o
        RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${COMPILER} cannot compile ${source}:\n${errors}")
    endif()
endfunction()

# The slots of the table `table` in `object`: the function each one holds, "(empty)" for none.
function(table_slots object table result)
    execute_process(COMMAND ${OBJDUMP} -r ${object} OUTPUT_VARIABLE report RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${OBJDUMP} -r failed on ${object}")
    endif()
    string(REPLACE "\n" ";" lines "${report}")
    set(inTable FALSE)
    set(last -1)
    foreach(line IN LISTS lines)
        if(line MATCHES "^RELOCATION RECORDS FOR \\[(.*)\\]:$")
            set(inTable FALSE)
            if(CMAKE_MATCH_1 MATCHES "[.$]${table}$")
                set(inTable TRUE)
            endif()
        elseif(inTable AND line MATCHES "^([0-9a-f]+) +[A-Z0-9_]+ +([^ ]+)")
            math(EXPR offset "0x${CMAKE_MATCH_1}")
            string(REGEX REPLACE "^\\.text\\$" "" target "${CMAKE_MATCH_2}")
            # GCC's two entries before the first slot: the offset to the top, the type information.
            math(EXPR slot "(${offset} - 16) / 8")
            if(slot GREATER_EQUAL 0)
                set(slot_${slot} ${target})
                if(slot GREATER last)
                    set(last ${slot})
                endif()
            endif()
        endif()
    endforeach()
    if(last EQUAL -1)
        message(FATAL_ERROR "no virtual table ${table} in ${object}")
    endif()
    set(slots "")
    foreach(slot RANGE ${last})
        if(DEFINED slot_${slot})
            list(APPEND slots ${slot_${slot}})
        else()
            list(APPEND slots "(empty)")
        endif()
    endforeach()
    set(${result} "${slots}" PARENT_SCOPE)
endfunction()

# The table's first slots must match the patterns given, in order; later slots may be anything.
function(expect_first_slots object table)
    table_slots(${object} ${table} slots)
    list(LENGTH slots count)
    list(LENGTH ARGN expectedCount)
    set(ok TRUE)
    if(count LESS expectedCount)
        set(ok FALSE)
    else()
        math(EXPR lastExpected "${expectedCount} - 1")
        foreach(index RANGE ${lastExpected})
            list(GET slots ${index} actual)
            list(GET ARGN ${index} pattern)
            if(NOT actual MATCHES "^${pattern}$")
                set(ok FALSE)
            endif()
        endforeach()
    endif()
    string(REPLACE ";" "\n  " shown "${slots}")
    if(ok)
        message(STATUS "${table}:\n  ${shown}")
    else()
        string(REPLACE ";" "\n  " wanted "${ARGN}")
        message(SEND_ERROR "${table} holds ${count} slots:\n  ${shown}\n"
                           "where its first ${expectedCount} must be:\n  ${wanted}")
    endif()
endfunction()

compile(${SOURCE_DIR}/tests/abi/SdmWeaverMembers.cpp SdmWeaver)
if(CHECK STREQUAL "linux")
    expect_first_slots(${WORK_DIR}/SdmWeaver.o _ZTV9SdmWeaver
        "_ZN9SdmWeaverD[12]Ev" "_ZN9SdmWeaverD0Ev" "_ZN9SdmWeaver7executeEv"
        "_ZN9SdmWeaver10initPluginEv")
    table_slots(${WORK_DIR}/SdmWeaver.o _ZTV9SdmWeaver slots)
    list(LENGTH slots count)
    if(NOT count EQUAL 4)
        message(SEND_ERROR "_ZTV9SdmWeaver holds ${count} slots, not 4")
    endif()
elseif(CHECK STREQUAL "mingw")
    # The interface's table lives with its first non-inline virtual member, the deleting slot.
    compile(${SOURCE_DIR}/plugin/WorkstationAbi.cpp WorkstationAbi)
    set(deleting "_ZN19ZMTKPluginInterface24scalarDeletingDestructorEj")
    expect_first_slots(${WORK_DIR}/SdmWeaver.o _ZTV9SdmWeaver
        ${deleting} "_ZN9SdmWeaver7executeEv" "_ZN9SdmWeaver10initPluginEv"
        "_ZN9SdmWeaverD[12]Ev" "_ZN9SdmWeaverD0Ev")
    expect_first_slots(${WORK_DIR}/WorkstationAbi.o _ZTV19ZMTKPluginInterface
        ${deleting} "__cxa_pure_virtual" "__cxa_pure_virtual")
else()
    message(FATAL_ERROR "CHECK must be linux or mingw")
endif()
