# GoogleTest for a cross build: Debian ships its sources only for the host, so the build
# compiles them from /usr/src/googletest with the cross compiler; their own build names them
# GTest::gtest and GTest::gtest_main.
set(RUPETA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
if(NOT EXISTS ${RUPETA_GOOGLETEST_SOURCE}/googletest/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${RUPETA_GOOGLETEST_SOURCE} "
                        "(Debian package googletest or libgtest-dev)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${RUPETA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                 SYSTEM)
