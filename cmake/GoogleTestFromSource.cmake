# GoogleTest built from source, for a cross build or a Windows machine without a GoogleTest
# package. In a cross build the sources that Debian's libgtest-dev and libgmock-dev ship are
# built with the cross compiler, like the project itself. Nothing is downloaded. Provides the
# same targets as find_package(GTest): GTest::gtest, GTest::gtest_main, GTest::gmock and
# GTest::gmock_main. Its headers count as system headers, so the project's warnings stay off them.
set(SDMWEAVER_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources built for cross builds")
if(NOT EXISTS ${SDMWEAVER_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${SDMWEAVER_GOOGLETEST_SOURCE_DIR}: install "
                        "Debian's libgtest-dev and libgmock-dev, or set "
                        "SDMWEAVER_GOOGLETEST_SOURCE_DIR.")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# With Microsoft's compiler: the C runtime the project chose, not GoogleTest's own choice.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${SDMWEAVER_GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest
                 EXCLUDE_FROM_ALL SYSTEM)
