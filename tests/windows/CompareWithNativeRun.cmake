cmake_minimum_required(VERSION 3.25)
# The example study run by a native build of this tree (NATIVE_BUILD) into RUN_DIR/native, and
# compared with the Windows run in RUN_DIR/windows (RunWindowsExample.cmake), or RUN_DIR/RUN_NAME:
# the logs hold the same lines, the study folder written as "{study}/" in each (Z:\...\ there,
# /.../ here); the design matrices are the same files but for line ends, CR LF on Windows and LF
# natively. Without a native build the comparison is skipped ("SKIPPED:").
#   cmake -DNATIVE_BUILD=build/debug -DEXAMPLES=... -DRUN_DIR=... [-DRUN_NAME=windows]
#         -P CompareWithNativeRun.cmake
include(${CMAKE_CURRENT_LIST_DIR}/ExampleRuns.cmake)
if(NOT DEFINED RUN_NAME)
    set(RUN_NAME windows)
endif()

set(program ${NATIVE_BUILD}/sdmweaver)
set(generator ${NATIVE_BUILD}/examples/sdmweaver_example_generator)
foreach(file ${program} ${generator} ${NATIVE_BUILD}/sdmweaver.so)
    if(NOT EXISTS ${file})
        message("SKIPPED: no native build to compare with (${file} is missing); build one with "
                "cmake --workflow --preset debug, or set SDMWEAVER_NATIVE_BUILD_DIR")
        return()
    endif()
endforeach()

file(REMOVE_RECURSE ${RUN_DIR}/native)
run_example(native "" ${program} ${generator})

# The log with the study folder, as this run names it, written as "{study}/".
function(generic_log name result)
    file(READ ${RUN_DIR}/${name}.log log)
    if(NOT log MATCHES "Generating SDM\\(s\\) from: ([^\n]*)study\\.txt\n")
        message(FATAL_ERROR "The ${name} log does not name the file list:\n${log}")
    endif()
    string(REPLACE "${CMAKE_MATCH_1}" "{study}/" log "${log}")
    set(${result} "${log}" PARENT_SCOPE)
endfunction()

generic_log(${RUN_NAME} windowsLog)
generic_log(native nativeLog)
if(NOT windowsLog STREQUAL nativeLog)
    file(WRITE ${RUN_DIR}/${RUN_NAME}-generic.log "${windowsLog}")
    file(WRITE ${RUN_DIR}/native-generic.log "${nativeLog}")
    find_program(DIFF diff)
    if(DIFF)
        execute_process(COMMAND ${DIFF} -u native-generic.log ${RUN_NAME}-generic.log
                        WORKING_DIRECTORY ${RUN_DIR} OUTPUT_VARIABLE difference)
    endif()
    message("${difference}")
    message(FATAL_ERROR "The logs differ (${RUN_DIR}/native-generic.log, ${RUN_NAME}-generic.log); "
                        "is the native build in ${NATIVE_BUILD} up to date?")
endif()

written_design_matrices("${nativeLog}" names)
written_design_matrices("${windowsLog}" windowsNames)
if(NOT names STREQUAL windowsNames)
    message(FATAL_ERROR "Different design matrices written: ${names} natively, ${windowsNames} on Windows")
endif()
set(failed FALSE)
foreach(name IN LISTS names)
    file_bytes(${RUN_DIR}/native/${name} native)
    file_bytes(${RUN_DIR}/${RUN_NAME}/${name} windows)
    string(FIND "${native}" "0d " carriageReturn)
    if(NOT carriageReturn EQUAL -1)
        message(SEND_ERROR "${name}: the native file holds a carriage return")
        set(failed TRUE)
    endif()
    string(REPLACE "0a " "0d 0a " expected "${native}")
    if(NOT windows STREQUAL expected)
        message(SEND_ERROR "${name}: the Windows file differs from the native one beyond its CR LF "
                           "line ends (${RUN_DIR}/${RUN_NAME}/${name}, ${RUN_DIR}/native/${name})")
        set(failed TRUE)
    endif()
endforeach()
if(failed)
    return()
endif()
list(LENGTH names count)
message(STATUS "The same log lines; ${count} design matrices the same but for CR LF line ends")
