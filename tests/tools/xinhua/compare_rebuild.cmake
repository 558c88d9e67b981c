# Reruns lexomir-build-xinhua on TABLE into WORK_DIR and compares both files
# with those in EXPECTED_DIR byte for byte.
foreach(name TOOL TABLE STROKE_ORDER EXPECTED_DIR WORK_DIR)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "compare_rebuild.cmake needs -D ${name}=...")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${TOOL} --input ${TABLE} --out-dir ${WORK_DIR}
                        --stroke-order ${STROKE_ORDER}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lexomir-build-xinhua failed (${status})")
endif()
foreach(file XinHua.dat XinHua.db)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${file} ${EXPECTED_DIR}/${file}
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${file}: a rebuild from ${TABLE} differs from ${EXPECTED_DIR}/${file}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
