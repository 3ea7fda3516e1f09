cmake_minimum_required(VERSION 3.25)
# The example study run by the workstation's host under Wine (EMULATOR) into
# RUN_DIR/workstation, with the same arguments as the sdmweaver program; then compared with the
# same study run by a native build of this tree (NATIVE_BUILD): the same log lines, and the same
# design matrices but for their CR LF line ends. Without a native build the comparison is skipped.
#   cmake -DEMULATOR=... -DPROGRAM=WorkstationHost.exe -DGENERATOR=... -DNATIVE_BUILD=...
#         -DEXAMPLES=... -DRUN_DIR=... -P RunWorkstationExample.cmake
set(windows_tests ${CMAKE_CURRENT_LIST_DIR}/../windows)
include(${windows_tests}/ExampleRuns.cmake)

file(REMOVE_RECURSE ${RUN_DIR})
run_example(workstation "${EMULATOR}" ${PROGRAM} ${GENERATOR})
set(RUN_NAME workstation)
include(${windows_tests}/CompareWithNativeRun.cmake)
