cmake_minimum_required(VERSION 3.25)
# The example study run by the Windows programs under Wine (EMULATOR), into RUN_DIR/windows.
# Checks that the program imports the host module under the workstation's name, that the run
# saves and merges its design matrices, and that every one of them has CR LF line ends only.
#   cmake -DEMULATOR=... -DPROGRAM=sdmweaver.exe -DGENERATOR=... -DOBJDUMP=... -DEXAMPLES=...
#         -DRUN_DIR=... -P RunWindowsExample.cmake
include(${CMAKE_CURRENT_LIST_DIR}/ExampleRuns.cmake)

# The host operations reach the process as the module "ZemlarTK.exe", which the plug-in looks up.
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${PROGRAM}")
endif()
if(NOT headers MATCHES "DLL Name: ZemlarTK\\.exe")
    message(FATAL_ERROR "${PROGRAM} does not import the host module ZemlarTK.exe")
endif()

file(REMOVE_RECURSE ${RUN_DIR})
run_example(windows "${EMULATOR}" ${PROGRAM} ${GENERATOR})

file(READ ${RUN_DIR}/windows.log log)
written_design_matrices("${log}" names)
set(failed FALSE)
foreach(name IN LISTS names)
    file_bytes(${RUN_DIR}/windows/${name} bytes)
    string(REPLACE "0d 0a " "" rest "${bytes}")
    string(FIND "${rest}" "0a " lineFeed)
    string(FIND "${rest}" "0d " carriageReturn)
    if(bytes STREQUAL rest)
        message(SEND_ERROR "${name}: no CR LF line end")
        set(failed TRUE)
    elseif(NOT lineFeed EQUAL -1 OR NOT carriageReturn EQUAL -1)
        message(SEND_ERROR "${name}: a line end other than CR LF")
        set(failed TRUE)
    endif()
endforeach()
if(failed)
    return()
endif()
list(LENGTH names count)
message(STATUS "${count} design matrices written under Wine, every line ended by CR LF")
