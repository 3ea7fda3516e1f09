# Reads every #include "..." of the product folders under SOURCE_DIR and fails on one that
# points up or sideways: a folder may include its own headers and those of the folders it builds
# on, below it in the table, and nothing else.
#   cmake -DSOURCE_DIR=<tree> -P CheckLayout.cmake
cmake_minimum_required(VERSION 3.25)

# folder | the folders it may include besides itself
set(layers
    "abi|"
    "text|"
    "paths|"
    "response|"
    "formats|paths text"
    "host|abi text"
    "designmatrix|abi host paths response text"
    "batch|abi designmatrix host paths response text"
    "plugin|abi batch designmatrix host paths response text"
    "plot|formats paths text"
    "headless|abi formats paths response"
    "bids|abi formats paths response text"
    "headless/program|abi batch bids designmatrix formats headless host paths plot response text"
)

set(folders "")
foreach(layer IN LISTS layers)
    string(REPLACE "|" ";" parts "${layer}")
    list(GET parts 0 folder)
    list(LENGTH parts count)
    set(allowed "")
    if(count GREATER 1)
        list(GET parts 1 allowed)
        separate_arguments(allowed UNIX_COMMAND "${allowed}")
    endif()
    list(APPEND folders ${folder})
    set(allowed_${folder} ${folder} ${allowed})
endforeach()

# The folder a path belongs to: the longest folder of the table that holds it.
function(folder_of path result)
    set(found "")
    foreach(folder IN LISTS folders)
        string(LENGTH "${folder}" length)
        string(LENGTH "${found}" found_length)
        if(path MATCHES "^${folder}/" AND length GREATER found_length)
            set(found ${folder})
        endif()
    endforeach()
    set(${result} "${found}" PARENT_SCOPE)
endfunction()

set(violations "")
set(checked 0)
foreach(folder IN LISTS folders)
    file(GLOB sources RELATIVE ${SOURCE_DIR}
         ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(source IN LISTS sources)
        math(EXPR checked "${checked} + 1")
        file(STRINGS ${SOURCE_DIR}/${source} lines)
        set(number 0)
        foreach(line IN LISTS lines)
            math(EXPR number "${number} + 1")
            if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
                continue()
            endif()
            set(included ${CMAKE_MATCH_1})
            folder_of(${included} target)
            if(target STREQUAL "")
                string(APPEND violations
                       "${source}:${number}: includes \"${included}\", which is no product "
                       "folder's header\n")
            elseif(NOT target IN_LIST allowed_${folder})
                string(APPEND violations
                       "${source}:${number}: includes \"${included}\" of ${target}/, which "
                       "${folder}/ may not include (it may include: ${allowed_${folder}})\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(NOT violations STREQUAL "")
    message(FATAL_ERROR "Includes against the layers:\n${violations}")
endif()
message(STATUS "Includes follow the layers in ${checked} files")
