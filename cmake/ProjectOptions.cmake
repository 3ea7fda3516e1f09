# Warnings are errors everywhere; sanitizers come from the preset through SDMWEAVER_SANITIZE.
option(SDMWEAVER_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

function(sdmweaver_set_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
            -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference
            -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough -Werror)
        # GCC 12 reports these two inside its own standard headers once they are inlined at -O2
        # and above (std::string concatenation, istreambuf_iterator): the debug build keeps them.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            target_compile_options(${target} PRIVATE
                $<$<NOT:$<CONFIG:Debug>>:-Wno-null-dereference -Wno-restrict>)
        endif()
    endif()
endfunction()

if(SDMWEAVER_SANITIZE)
    if(MSVC)
        add_compile_options(/fsanitize=address)
    else()
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    endif()
endif()

# For host programs: a host reaches the class pair through the module it loaded, not by linking it; the sanitizer's
# virtual-call check would need the class's type information at link time.
function(sdmweaver_host_side target)
    if(SDMWEAVER_SANITIZE AND NOT MSVC)
        target_compile_options(${target} PRIVATE -fno-sanitize=vptr)
    endif()
endfunction()
