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
