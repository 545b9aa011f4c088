# No GoogleTest is packaged for MinGW: build Debian's sources with the project's own toolchain.
set(KICKMARK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
set(INSTALL_GTEST OFF CACHE BOOL "GoogleTest is built for this project's tests only")
add_subdirectory(${KICKMARK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/_gtest EXCLUDE_FROM_ALL)
