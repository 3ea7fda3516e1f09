# The two libraries the BIDS commands use, both from Debian: zlib (zlib1g-dev; for MinGW
# libz-mingw-w64-dev) for .nii.gz, and nlohmann-json (nlohmann-json3-dev) for JSON sidecars.
# Gives the targets ZLIB::ZLIB and nlohmann_json::nlohmann_json, for every folder (the tests too).

if(CMAKE_CROSSCOMPILING AND WIN32)
    # Linked in, like the compiler's runtime: no zlib1.dll beside the programs.
    set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED GLOBAL)

if(NOT TARGET nlohmann_json::nlohmann_json)
    find_package(nlohmann_json 3.2 QUIET GLOBAL)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json AND CMAKE_CROSSCOMPILING)
    # Header-only, but the host's package lives outside the cross compiler's root, and its folder
    # (/usr/include) must not reach the cross compiler: the headers are copied into the build.
    find_path(SDMWEAVER_NLOHMANN_JSON_DIR nlohmann/json.hpp
              PATHS /usr/include /usr/local/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(SDMWEAVER_NLOHMANN_JSON_DIR)
        set(copy ${PROJECT_BINARY_DIR}/third-party/include)
        file(COPY ${SDMWEAVER_NLOHMANN_JSON_DIR}/nlohmann DESTINATION ${copy})
        add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
        set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
            INTERFACE_INCLUDE_DIRECTORIES ${copy}
            INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${copy})
    endif()
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
    message(FATAL_ERROR "nlohmann-json not found: install Debian's nlohmann-json3-dev")
endif()
