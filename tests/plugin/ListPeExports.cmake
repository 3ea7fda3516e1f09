# The names in the export table of a Windows module (MODULE), read with objdump -p (OBJDUMP), into
# the list "found". Part of CheckExports.cmake.
if(NOT OBJDUMP)
    find_program(OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
endif()
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${MODULE}")
endif()
# The names follow the heading "[Ordinal/Name Pointer] Table", one "[ index] name" a line, up to
# the next empty line.
set(found "")
set(inNames FALSE)
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*\\[Ordinal/Name Pointer\\] Table")
        set(inNames TRUE)
    elseif(inNames AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] ([^ ]+)$")
        list(APPEND found ${CMAKE_MATCH_1})
    elseif(inNames)
        set(inNames FALSE)
    endif()
endforeach()
