# Installs the build into a scratch prefix, builds tests/install/project against it with CMake
# (find_package) and with pkg-config, and runs both programs. Fails on the first step that fails.

function(step)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
    endif()
    set(STEP_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# Through the CMake package.
step(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/install/project -B ${WORK_DIR}/cmake-build
     -G ${CMAKE_GENERATOR} -DCMAKE_PREFIX_PATH=${prefix})
step(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
step(${WORK_DIR}/cmake-build/rigel-host)
if(NOT STEP_OUTPUT STREQUAL "5 centre points, 1 repeat: 0 1 2 3 4\n")
    message(FATAL_ERROR "the host built with CMake printed: ${STEP_OUTPUT}")
endif()

# Through pkg-config.
find_program(PKG_CONFIG pkg-config REQUIRED)
file(GLOB pcdir LIST_DIRECTORIES true ${prefix}/lib*/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "${pcdir}")
step(${PKG_CONFIG} --cflags --libs rigel)
string(STRIP "${STEP_OUTPUT}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
step(c++ -std=c++20 ${SOURCE_DIR}/tests/install/project/Host.cpp ${flags}
     -o ${WORK_DIR}/pc-host)
file(GLOB libdir LIST_DIRECTORIES true ${prefix}/lib*)
set(ENV{LD_LIBRARY_PATH} "${libdir}")
step(${WORK_DIR}/pc-host)
if(NOT STEP_OUTPUT STREQUAL "5 centre points, 1 repeat: 0 1 2 3 4\n")
    message(FATAL_ERROR "the host built with pkg-config printed: ${STEP_OUTPUT}")
endif()
message(STATUS "installed package: built and ran with CMake and with pkg-config")
