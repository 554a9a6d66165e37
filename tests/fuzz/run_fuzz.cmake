# Fresh working corpus from the seeds, then FUZZ_SECONDS (30 unless given) of
# fuzzing. MAKE_CORPUS writes the seeds, asked for CORPUS_FORMAT when one is
# given. FINAL_STATS prints libFuzzer's closing figures.
if(NOT DEFINED FUZZ_SECONDS)
  set(FUZZ_SECONDS 30)
endif()
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS})
execute_process(COMMAND ${MAKE_CORPUS} ${CORPUS_FORMAT} ${CORPUS} RESULT_VARIABLE seeded)
if(NOT seeded EQUAL 0)
  message(FATAL_ERROR "could not write the seed corpus")
endif()
set(extra "")
if(FINAL_STATS)
  set(extra -print_final_stats=1)
endif()
execute_process(COMMAND ${FUZZER} -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=1024 -max_len=4096 ${extra} ${CORPUS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the fuzz target ${FUZZER} failed (${result})")
endif()
