# The example files are what rigel-make-example writes: regenerate them and compare byte for byte.
# Arguments: GENERATOR (the program), SOURCE (the repository), OUT (a scratch folder).
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${GENERATOR}" -o "${OUT}/track_2km.kof" --project "${OUT}/track_2km.spw"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "rigel-make-example failed: ${result}")
endif()
foreach(name track_2km.kof track_2km.spw)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}"
                            "${SOURCE}/examples/${name}" RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
        message(FATAL_ERROR "examples/${name} is not what rigel-make-example writes")
    endif()
endforeach()
