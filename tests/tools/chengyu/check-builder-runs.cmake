# Runs lexomir-build-chengyu on a fixture it writes itself: twice on the same
# input (the outputs must agree byte for byte), and once on an input with a
# bad row (the tool must fail and leave no output behind).
# -DTOOL=<lexomir-build-chengyu> -DWORK=<scratch folder>
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(header "ChengYu\tPinYin\tDianGu\tChuChu\tLiZi\n")
file(WRITE ${WORK}/good.tsv
  "# usable\t4\n${header}"
  "百战不殆\tbǎi zhàn bù dài\t每战必胜，从不失败。\t\t\n"
  "爱屋及乌\tài wū jí wū\t爱一个人，连带关心与他有关的人或物。\t《尚书大传·大战篇》\t\n"
  "朝三暮四\tzhāo sān mù sì\t原指以诈术欺人。\\r\\n后比喻反复无常。\t《庄子·齐物论》\t\n"
  "阿鼻地狱\tā bí dì yù\t佛教所说最深的地狱。\t\t\n")

foreach(run first second)
  file(MAKE_DIRECTORY ${WORK}/${run})
  execute_process(
    COMMAND ${TOOL} --table ${WORK}/good.tsv --dat ${WORK}/${run}/ChengYu.dat
            --db ${WORK}/${run}/ChengYu.db --expected-count 4
    RESULT_VARIABLE status OUTPUT_VARIABLE summary ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "run ${run} failed (${status}): ${errors}")
  endif()
  # Later runs start later: a timestamp in either file would show.
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
endforeach()
foreach(file ChengYu.dat ChengYu.db)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/first/${file} ${WORK}/second/${file}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${file} differs between two runs on the same input")
  endif()
endforeach()
file(SIZE ${WORK}/first/ChengYu.dat size)
if(NOT size EQUAL 140)
  message(FATAL_ERROR "ChengYu.dat is ${size} bytes for 4 records")
endif()
if(NOT summary MATCHES "with a source \\(ChuChu\\)\t2")
  message(FATAL_ERROR "summary does not count the sources: ${summary}")
endif()

file(READ ${WORK}/good.tsv good)
string(REPLACE "阿鼻地狱\tā bí dì yù" "阿鼻地狱\tā bí dì" bad "${good}")
file(WRITE ${WORK}/bad.tsv "${bad}")
file(MAKE_DIRECTORY ${WORK}/bad)
execute_process(
  COMMAND ${TOOL} --table ${WORK}/bad.tsv --dat ${WORK}/bad/ChengYu.dat
          --db ${WORK}/bad/ChengYu.db --expected-count 4
  RESULT_VARIABLE status ERROR_VARIABLE errors)
if(status EQUAL 0)
  message(FATAL_ERROR "a row with a missing syllable was accepted")
endif()
if(NOT errors MATCHES "阿鼻地狱" OR EXISTS ${WORK}/bad/ChengYu.dat OR EXISTS ${WORK}/bad/ChengYu.db)
  message(FATAL_ERROR "bad input: expected a message naming the row and no output; got: ${errors}")
endif()
