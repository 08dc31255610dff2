# Cross-compiling Quince for 64-bit Windows with clang instead of g++, on the
# same MinGW-w64 headers, import libraries and libstdc++ as the g++ build.
# It exists to keep the code free of GNU-only constructs and of warnings that
# only one of the two compilers reports.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUINCE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${QUINCE_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${QUINCE_MINGW_PREFIX})
set(CMAKE_RC_COMPILER  ${QUINCE_MINGW_PREFIX}-windres)

# Debian names the MinGW gcc directory "12-posix", which clang's driver does
# not recognise as a version, so it finds neither libstdc++'s headers nor
# libgcc. Ask the posix g++ where they are and pass them explicitly.
execute_process(
  COMMAND ${QUINCE_MINGW_PREFIX}-g++-posix -print-libgcc-file-name
  OUTPUT_VARIABLE _quince_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE _quince_rc)
if(NOT _quince_rc EQUAL 0 OR NOT EXISTS "${_quince_libgcc}")
  message(FATAL_ERROR "${QUINCE_MINGW_PREFIX}-g++-posix not found: the clang build uses its libstdc++")
endif()
get_filename_component(_quince_gccdir "${_quince_libgcc}" DIRECTORY)
set(_quince_cxxinc "${_quince_gccdir}/include/c++")
set(CMAKE_CXX_FLAGS_INIT
  "-nostdinc++ -isystem ${_quince_cxxinc} -isystem ${_quince_cxxinc}/${QUINCE_MINGW_PREFIX} -isystem ${_quince_cxxinc}/backward")
# libstdc++ of the posix thread model needs winpthread; -pthread makes the
# driver put it inside its group of runtime libraries, where g++ has it.
# lld rather than GNU ld: clang's type-name strings differ in size from
# libstdc++'s, and GNU ld reports every such COMDAT pair on each link.
# The link step also sees the compile-only flags above; -Qunused-arguments
# keeps it from warning about them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${_quince_gccdir} -pthread -Qunused-arguments")

set(CMAKE_FIND_ROOT_PATH /usr/${QUINCE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
