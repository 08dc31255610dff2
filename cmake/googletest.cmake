# GoogleTest for the tests: built from a source tree (Debian ships one in
# /usr/src/googletest; elsewhere pass -DGTEST_SOURCE_DIR=...) with whatever
# compiler this tree uses, so the cross build gets Windows gtest libraries.
# Without sources, an installed GoogleTest package is used if there is one.
set(GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
if(EXISTS "${GTEST_SOURCE_DIR}/CMakeLists.txt")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory("${GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/_googletest" EXCLUDE_FROM_ALL)
else()
  find_package(GTest CONFIG)
  if(NOT GTest_FOUND)
    message(FATAL_ERROR "GoogleTest not found: set GTEST_SOURCE_DIR to its sources, or configure with -DQUINCE_TESTS=OFF")
  endif()
endif()
include(GoogleTest)
