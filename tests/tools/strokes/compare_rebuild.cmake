# Reruns lexomir-build-strokes on TABLE and DICTIONARY into WORK_DIR and
# compares the file with EXPECTED byte for byte.
foreach(name TOOL TABLE DICTIONARY EXPECTED WORK_DIR)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "compare_rebuild.cmake needs -D ${name}=...")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${TOOL} --input ${TABLE} --dictionary ${DICTIONARY} --out ${WORK_DIR}/Strokes.db
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lexomir-build-strokes failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/Strokes.db ${EXPECTED}
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "a rebuild from ${TABLE} differs from ${EXPECTED}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
