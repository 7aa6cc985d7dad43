# The usual hardening of a Release build, as distributions build their programs: the C
# library's checked string and memory functions (_FORTIFY_SOURCE=2, which needs the
# optimiser), the stack protector, and relocations made read-only once every symbol is
# bound at start-up (full RELRO and BIND_NOW). Each flag is used only where the compiler
# or the linker takes it, so a build never fails for want of one. Not on Windows, whose
# linker has none of them, nor under the sanitizers or the fuzzers, which instrument the
# same functions their own way. A _FORTIFY_SOURCE of the caller's own (CXXFLAGS) is kept.

include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckLinkerFlag)

function(boxpaint_hardening)
  if(WIN32 OR BOXPAINT_SANITIZE OR BOXPAINT_FUZZ)
    return()
  endif()
  set(release $<CONFIG:Release>)
  string(TOUPPER "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_RELEASE}" flags)
  if(NOT flags MATCHES "_FORTIFY_SOURCE" AND "${CMAKE_CXX_FLAGS_RELEASE}" MATCHES "-O[1-3sg]")
    # glibc defines __USE_FORTIFY_LEVEL where it has the checked functions.
    set(CMAKE_REQUIRED_FLAGS "-O2 -D_FORTIFY_SOURCE=2")
    check_cxx_source_compiles("#include <cstring>
                               #if !defined(__USE_FORTIFY_LEVEL) || __USE_FORTIFY_LEVEL < 2
                               #error no checked functions
                               #endif
                               int main() { return 0; }" BOXPAINT_HAS_FORTIFY_SOURCE)
    if(BOXPAINT_HAS_FORTIFY_SOURCE)
      add_compile_definitions($<${release}:_FORTIFY_SOURCE=2>)
    endif()
  endif()
  check_cxx_compiler_flag(-fstack-protector-strong BOXPAINT_HAS_STACK_PROTECTOR)
  if(BOXPAINT_HAS_STACK_PROTECTOR)
    add_compile_options($<${release}:-fstack-protector-strong>)
  endif()
  check_linker_flag(CXX "-Wl,-z,relro,-z,now" BOXPAINT_HAS_BIND_NOW)
  if(BOXPAINT_HAS_BIND_NOW)
    add_link_options($<${release}:-Wl,-z,relro,-z,now>)
  endif()
endfunction()
