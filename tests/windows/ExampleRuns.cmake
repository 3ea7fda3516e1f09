# What the Windows example tests share: running the example study into RUN_DIR/<name> with its
# log in RUN_DIR/<name>.log, the design matrices a run names in its log, and a file's bytes.

# Runs examples/RunExample.cmake (programs through `emulator` when not empty); stops the test
# when the run fails.
function(run_example name emulator program generator)
    execute_process(
        COMMAND ${CMAKE_COMMAND} "-DEMULATOR=${emulator}" -DPROGRAM=${program}
                -DGENERATOR=${generator} -DSOURCE=${EXAMPLES} -DSTUDY=${RUN_DIR}/${name}
                -DLOG=${RUN_DIR}/${name}.log -P ${EXAMPLES}/RunExample.cmake
        OUTPUT_VARIABLE output
        ERROR_VARIABLE output
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "The ${name} example run failed (${status}):\n${output}")
    endif()
    if(NOT output MATCHES "sdmweaver: 2 design matrices saved by the host, 0 step\\(s\\) refused; exit status 0")
        message(FATAL_ERROR "The ${name} example run did not save both design matrices:\n${output}")
    endif()
endfunction()

# The design matrices a run wrote, as its log names them: the host's ("New SDM name: ") and the
# merged ones ("New filename: "), into `result`. Each kind must be there.
function(written_design_matrices log result)
    string(REGEX MATCHALL "New SDM name: [^\n]+" saved "${log}")
    string(REGEX MATCHALL "New filename: [^\n]+" merged "${log}")
    if(NOT saved OR NOT merged)
        message(FATAL_ERROR "The log names no saved or no merged design matrix:\n${log}")
    endif()
    set(names "")
    foreach(line IN LISTS saved merged)
        string(REGEX REPLACE "^New (SDM name|filename): " "" name "${line}")
        list(APPEND names "${name}")
    endforeach()
    set(${result} "${names}" PARENT_SCOPE)
endfunction()

# The bytes of a file as two hex digits and a blank each ("0d 0a " is a CR LF), into `result`:
# file(READ) without HEX drops carriage returns. A search for "xx " can only match whole bytes.
function(file_bytes path result)
    file(READ ${path} hex HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
    set(${result} "${bytes}" PARENT_SCOPE)
endfunction()
