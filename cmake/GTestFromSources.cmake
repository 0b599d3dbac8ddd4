# Serves find_package(GTest) from Debian's googletest sources, built inside this build
# with its toolchain: a cross build cannot link the host's prebuilt libgtest.
set(TARVEK_GTEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources to build with the project")

macro(tarvek_provide_gtest method package)
  if("${package}" STREQUAL "GTest" AND NOT TARGET GTest::gtest)
    if(NOT EXISTS "${TARVEK_GTEST_SOURCES}/CMakeLists.txt")
      message(FATAL_ERROR "GoogleTest sources not found in ${TARVEK_GTEST_SOURCES} (Debian package googletest)")
    endif()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_SHARED_LIBS OFF)
    add_subdirectory("${TARVEK_GTEST_SOURCES}" "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL)
    # GoogleTest has its own warning flags; ours, with -Werror, are for our code.
    set_property(TARGET gtest gtest_main PROPERTY COMPILE_OPTIONS "")
    set(GTest_FOUND TRUE)
  endif()
endmacro()

cmake_language(SET_DEPENDENCY_PROVIDER tarvek_provide_gtest SUPPORTED_METHODS FIND_PACKAGE)
