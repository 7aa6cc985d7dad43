# Installs the build BUILD under WORK/prefix, then configures, builds and runs the
# project CONSUMER against it with find_package(boxpaint), and checks what it prints.
#   cmake -DBUILD=build -DWORK=/tmp/w -DCONSUMER=src/library/package/consumer \
#         [-DCOMPILER=c++] [-DFLAGS=...] -P src/library/package/package_test.cmake
file(REMOVE_RECURSE ${WORK})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/prefix --component Development)
set(compiler)
if(COMPILER)
  set(compiler -DCMAKE_CXX_COMPILER=${COMPILER})
endif()
run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/build -DCMAKE_PREFIX_PATH=${WORK}/prefix
    ${compiler} "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK}/build)
run(${WORK}/build/consumer)
# Elevation fastest: the block takes the top two layers of the first column.
set(expected " 2.718E+00\n 2.718E+00\n 1.000E+00\n 1.000E+00\n 1.000E+00\n 1.000E+00\n")
string(FIND "${output}" "${expected}" at)
if(at EQUAL -1 OR NOT output MATCHES "^boxpaint [0-9]+\\.[0-9]+\\.[0-9]+\n")
  message(FATAL_ERROR "the consumer printed:\n${output}")
endif()
message(STATUS "the installed library works:\n${output}")
