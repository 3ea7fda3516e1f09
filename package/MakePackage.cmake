cmake_minimum_required(VERSION 3.25)
# The release package sdmweaver-<version>-win64.zip in OUTPUT_DIR: one folder of that name holding
# the plug-in module (stripped of its symbol table), INSTALL.txt and SHA256SUMS, with the zip's own
# SHA-256 sum beside it (<zip>.sha256). Refuses a module that imports a DLL Windows does not
# provide. The zip is the same for the same module: fixed times, fixed order.
#   cmake -DMODULE=sdmweaver.dll -DVERSION=0.8.4.2 -DOBJDUMP=... -DSTRIP=... -DOUTPUT_DIR=...
#         -P MakePackage.cmake
include(${CMAKE_CURRENT_LIST_DIR}/ModuleImports.cmake)

set(name sdmweaver-${VERSION}-win64)
set(staging ${OUTPUT_DIR}/package-staging)
set(folder ${staging}/${name})
file(REMOVE_RECURSE ${staging})
file(MAKE_DIRECTORY ${folder})

file(COPY_FILE ${MODULE} ${folder}/sdmweaver.dll)
if(STRIP)
    execute_process(COMMAND ${STRIP} --strip-unneeded ${folder}/sdmweaver.dll RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${STRIP} failed on the packaged module")
    endif()
endif()
imports_beyond_windows(${OBJDUMP} ${folder}/sdmweaver.dll foreign)
if(foreign)
    message(FATAL_ERROR "${MODULE} imports ${foreign}, which Windows does not provide: link it "
                        "statically")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/INSTALL.txt.in ${folder}/INSTALL.txt @ONLY
               NEWLINE_STYLE CRLF)
set(sums "")
foreach(file sdmweaver.dll INSTALL.txt)
    file(SHA256 ${folder}/${file} sum)
    string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE ${folder}/SHA256SUMS "${sums}")

set(zip ${OUTPUT_DIR}/${name}.zip)
file(REMOVE ${zip})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip "--mtime=2016-01-01 00:00:00 UTC"
            ${name}/sdmweaver.dll ${name}/INSTALL.txt ${name}/SHA256SUMS
    WORKING_DIRECTORY ${staging}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot write ${zip}")
endif()
file(SHA256 ${zip} sum)
file(WRITE ${zip}.sha256 "${sum}  ${name}.zip\n")
message(STATUS "${zip}\n   SHA-256 ${sum}")
