# Rebuilds ChengYu.dat and ChengYu.db from the same packages into WORK and
# compares them byte for byte with the ones in BUILT.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${NODE} ${SCRIPT} --node-modules ${NODE_MODULES} --explanations ${EXPLANATIONS}
          --jieba ${JIEBA} --poetry ${POETRY} --out ${WORK}/chengyu-idioms.tsv
  RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "extract-idioms.mjs failed: ${errors}")
endif()
execute_process(
  COMMAND ${TOOL} --table ${WORK}/chengyu-idioms.tsv --dat ${WORK}/ChengYu.dat --db ${WORK}/ChengYu.db
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lexomir-build-chengyu failed: ${errors}")
endif()
foreach(file ChengYu.dat ChengYu.db)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BUILT}/${file} ${WORK}/${file}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${file}: a second build from the same inputs differs")
  endif()
endforeach()
