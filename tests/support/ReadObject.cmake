# The lines of llvm-readobj's report (`option`, e.g. --sections) on an object or module, as a CMake
# list in `result`: square brackets become parentheses and semicolons commas, so that a line stays
# one element. Needs READOBJ.
function(read_object object option result)
    execute_process(COMMAND ${READOBJ} ${option} ${object}
                    OUTPUT_VARIABLE report RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "llvm-readobj ${option} failed on ${object}:\n${errors}")
    endif()
    string(REPLACE "[" "(" report "${report}")
    string(REPLACE "]" ")" report "${report}")
    string(REPLACE ";" "," report "${report}")
    string(REPLACE "\n" ";" report "${report}")
    set(${result} "${report}" PARENT_SCOPE)
endfunction()
