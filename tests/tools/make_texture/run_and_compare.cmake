# Runs GENERATOR with OUTPUT as its argument and fails unless OUTPUT equals EXPECTED byte for byte.
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_texture failed with ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${EXPECTED}
                RESULT_VARIABLE different)
if(NOT different EQUAL 0)
  message(FATAL_ERROR "${OUTPUT} differs from ${EXPECTED}: regenerate the asset")
endif()
