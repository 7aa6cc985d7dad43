# Helpers that give every boxpaint target the same warnings, include rules and tests.

# -Wall -Wextra on boxpaint's own targets, as errors only when BOXPAINT_WERROR asks: a
# user's build never fails on a warning that a newer compiler brings.
function(boxpaint_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(BOXPAINT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# boxpaint_program_runtime(<target>)
#
# Links the C++ run-time into the program <target> where the linker takes it: a run then
# starts without resolving that shared library's symbols, about a millisecond, a tenth of
# the run on a small model, and the program needs no particular version of the library
# where it is installed. Not under the sanitizers or the fuzzers, whose run-time expects
# the shared one; a Windows build links everything already.
include(CheckLinkerFlag)
function(boxpaint_program_runtime target)
  if(NOT BOXPAINT_STATIC_CXX_RUNTIME OR WIN32 OR BOXPAINT_SANITIZE OR BOXPAINT_FUZZ)
    return()
  endif()
  check_linker_flag(CXX "-static-libstdc++;-static-libgcc" BOXPAINT_LINKS_STATIC_CXX_RUNTIME)
  if(BOXPAINT_LINKS_STATIC_CXX_RUNTIME)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()

# boxpaint_library(<layer> SOURCES <files...> [DEPENDS <libraries...>])
#
# The library boxpaint_<layer> of the current folder. Its headers are reached as
# "<layer>/name.h" through an include folder of its own that holds one link, named after
# the layer, to the source folder. A target sees the include folders of the libraries it
# links and no others, so an include that goes the wrong way between layers finds no
# header and fails to build.
#
# With FOLDER <path> (for example runtime/records), the library is the part of a layer
# kept in that sub-folder of the current folder, reached as "<path>/name.h": a layer's
# parts are kept apart from one another in the same way.
function(boxpaint_library layer)
  cmake_parse_arguments(ARG "" "FOLDER" "SOURCES;DEPENDS" ${ARGN})
  set(target boxpaint_${layer})
  set(folder ${layer})
  set(source ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARG_FOLDER)
    set(folder ${ARG_FOLDER})
    get_filename_component(part ${ARG_FOLDER} NAME)
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${part})
    list(TRANSFORM ARG_SOURCES PREPEND ${part}/)
  endif()
  add_library(${target} STATIC ${ARG_SOURCES})
  set(root ${PROJECT_BINARY_DIR}/include/${layer})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${source} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  boxpaint_warnings(${target})
endfunction()

# boxpaint_unit_tests(<name> SOURCES <files...> DEPENDS <libraries...>)
#
# A GoogleTest program of unit tests, registered with CTest (boxpaint_register_tests).
function(boxpaint_unit_tests name)
  if(NOT BOXPAINT_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main)
  boxpaint_warnings(${name})
  boxpaint_register_tests(${name})
endfunction()

# boxpaint_register_tests(<target>)
#
# Registers the GoogleTest program <target> with CTest: test by test, or in a cross build
# as one test, run once through the emulator (Wine), since starting the emulator for
# every test case would cost a second each.
function(boxpaint_register_tests target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  else()
    # Each build tree gives its tests a scratch folder of its own, so that two trees tested
    # at once on one machine never write each other's files.
    set(scratch ${PROJECT_BINARY_DIR}/test-scratch)
    file(MAKE_DIRECTORY ${scratch})
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "TEST_TMPDIR=${scratch}/")
  endif()
endfunction()

# boxpaint_benchmark(<name> SOURCES <files...> DEPENDS <libraries...>)
#
# A Google Benchmark program; built only with BOXPAINT_BENCHMARKS.
function(boxpaint_benchmark name)
  if(NOT BOXPAINT_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark
                                        benchmark::benchmark_main)
  boxpaint_warnings(${name})
endfunction()
