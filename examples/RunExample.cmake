# Runs the example study: lays it out afresh in STUDY (the committed text files from SOURCE and
# the documents GENERATOR writes), runs PROGRAM there on the file list, and lists the design
# matrices written. The list names its files relative to that folder, where the program runs.
# With -DPLOT=DIR the run also draws its design matrices into DIR (relative to STUDY) with --plot.
#   cmake -DPROGRAM=... -DGENERATOR=... -DSOURCE=... -DSTUDY=... [-DPLOT=DIR] -P RunExample.cmake
# Optional: -DEMULATOR=... runs both programs through it (a cross build's programs under Wine);
# -DLOG=file keeps the log (the program's standard output) in that file too.

set(study_files
    study.txt
    faces_volumes.prt
    faces_msec.prt
    run1_3DMC.sdm
    run1_HR.rtc
    run1_RVT.sdm
    run2_3DMC.rtc
    run2_HR.sdm
    run2_RVT.rtc)

foreach(variable PROGRAM GENERATOR SOURCE STUDY)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "RunExample.cmake needs -D${variable}=...")
    endif()
endforeach()

file(REMOVE_RECURSE "${STUDY}")
file(MAKE_DIRECTORY "${STUDY}")
foreach(name IN LISTS study_files)
    file(COPY "${SOURCE}/${name}" DESTINATION "${STUDY}")
endforeach()
execute_process(COMMAND ${EMULATOR} "${GENERATOR}" "${STUDY}" RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
    message(FATAL_ERROR "The example documents could not be generated.")
endif()

set(arguments --list study.txt --vmr anatomy.vmr --skip-first)
if(DEFINED PLOT AND NOT PLOT STREQUAL "")
    list(APPEND arguments --plot "${PLOT}")
endif()
list(JOIN arguments " " shown)
message(STATUS "Running: sdmweaver ${shown} (in ${STUDY})")
# The log (standard output) and the rest (standard error) are shown one after the other, so that
# neither breaks into the other's lines.
execute_process(
    COMMAND ${EMULATOR} "${PROGRAM}" ${arguments}
    WORKING_DIRECTORY "${STUDY}"
    OUTPUT_VARIABLE log
    ERROR_VARIABLE messages
    RESULT_VARIABLE status)
if(DEFINED LOG)
    file(WRITE "${LOG}" "${log}")
endif()
message(STATUS "The log:")
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo_append "${log}")
message(STATUS "Dialogs, messages and host notes:")
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo_append "${messages}")

file(GLOB written RELATIVE "${STUDY}" "${STUDY}/*.sdm")
list(REMOVE_ITEM written ${study_files})
list(LENGTH written count)
message(STATUS "Design matrices written in ${STUDY}: ${count}")
foreach(name IN LISTS written)
    message(STATUS "  ${name}")
endforeach()
if(DEFINED PLOT AND NOT PLOT STREQUAL "")
    file(GLOB pictures RELATIVE "${STUDY}" "${STUDY}/${PLOT}/*.svg")
    list(LENGTH pictures count)
    message(STATUS "Pictures of the design matrices in ${STUDY}/${PLOT}: ${count}")
    foreach(name IN LISTS pictures)
        message(STATUS "  ${name}")
    endforeach()
endif()
if(NOT status EQUAL 0)
    message(FATAL_ERROR "sdmweaver ended with exit status ${status}.")
endif()
