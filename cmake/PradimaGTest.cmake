# Native builds use Debian's GoogleTest; cross builds compile it from its sources.
if(CMAKE_CROSSCOMPILING)
  set(PRADIMA_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
      "GoogleTest's sources, compiled for the target in cross builds")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${PRADIMA_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Warnings in GoogleTest's own code are not ours to fix.
  set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)
