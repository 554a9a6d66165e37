# Fresh working corpus from the seeds, then 30 s of fuzzing.
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS})
execute_process(COMMAND ${MAKE_CORPUS} ${CORPUS} RESULT_VARIABLE seeded)
if(NOT seeded EQUAL 0)
  message(FATAL_ERROR "could not write the seed corpus")
endif()
execute_process(COMMAND ${FUZZER} -max_total_time=30 -rss_limit_mb=1024 -max_len=4096 ${CORPUS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the level fuzz target failed (${result})")
endif()
