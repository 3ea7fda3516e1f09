cmake_minimum_required(VERSION 3.25)
# An import library made from a module's own export table, as one is made for a DLL that comes
# without one: every name the module exports, those outside its executable sections as DATA (they
# get no call thunk). The module definition file written on the way is kept beside the library.
#   cmake -DMODULE=sdmweaver.dll -DREADOBJ=llvm-readobj -DDLLTOOL=llvm-dlltool
#         -DLIBRARY=sdmweaver.lib -P ImportLibraryFromModule.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../support/ReadObject.cmake)

# The address ranges of the executable sections, as "first;end" pairs.
read_object(${MODULE} --sections sections)
set(code "")
foreach(line IN LISTS sections)
    if(line MATCHES "^ *VirtualSize: (0x[0-9A-F]+)$")
        math(EXPR size "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^ *VirtualAddress: (0x[0-9A-F]+)$")
        math(EXPR first "${CMAKE_MATCH_1}")
    elseif(line MATCHES "IMAGE_SCN_MEM_EXECUTE")
        math(EXPR end "${first} + ${size}")
        list(APPEND code ${first} ${end})
    endif()
endforeach()

read_object(${MODULE} --coff-exports exports)
get_filename_component(moduleName ${MODULE} NAME)
set(definition "LIBRARY ${moduleName}\nEXPORTS\n")
set(count 0)
foreach(line IN LISTS exports)
    if(line MATCHES "^ *Name: (.+)$")
        set(name "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^ *RVA: (0x[0-9A-F]+)$")
        math(EXPR address "${CMAKE_MATCH_1}")
        set(kind " DATA")
        set(pairs ${code})
        while(pairs)
            list(POP_FRONT pairs first end)
            if(address GREATER_EQUAL first AND address LESS end)
                set(kind "")
            endif()
        endwhile()
        string(APPEND definition "    \"${name}\"${kind}\n")
        math(EXPR count "${count} + 1")
    endif()
endforeach()
if(count EQUAL 0)
    message(FATAL_ERROR "${MODULE} exports nothing")
endif()

get_filename_component(stem ${LIBRARY} NAME_WE)
get_filename_component(folder ${LIBRARY} DIRECTORY)
file(WRITE ${folder}/${stem}.def "${definition}")
execute_process(COMMAND ${DLLTOOL} -m i386:x86-64 -d ${folder}/${stem}.def -D ${moduleName}
                        -l ${LIBRARY}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot make ${LIBRARY} from ${MODULE}:\n${errors}")
endif()
