# The DLLs a Windows module imports, read with objdump -p, and whether each is part of Windows
# itself: what the release package promises of its plug-in.

# The imported DLLs of MODULE into `result`.
function(module_imports objdump module result)
    execute_process(COMMAND ${objdump} -p ${module} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${objdump} cannot read ${module}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${headers}")
    list(TRANSFORM lines REPLACE "^DLL Name: " "")
    set(${result} "${lines}" PARENT_SCOPE)
endfunction()

# The imports of `module` that are not Windows' own DLLs, into `result` (empty when none).
function(imports_beyond_windows objdump module result)
    module_imports(${objdump} ${module} imports)
    set(foreign "")
    foreach(name IN LISTS imports)
        string(TOLOWER "${name}" lower)
        if(NOT lower MATCHES "^(kernel32|msvcrt|ntdll|user32|advapi32|shell32|ole32|ucrtbase)\\.dll$"
           AND NOT lower MATCHES "^api-ms-win-.*\\.dll$")
            list(APPEND foreign ${name})
        endif()
    endforeach()
    set(${result} "${foreign}" PARENT_SCOPE)
endfunction()
