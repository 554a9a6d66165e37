# The two-player fuzz target: multiplayer.ini and castle-attack halves, built
# like the level target from the pure sources plus the two-player rules and
# settings parser, run for 10 s by ctest.

# multiplayer_settings_file.cpp comes with the pure sources.
set(multi_fuzz_sources ${CMAKE_CURRENT_SOURCE_DIR}/multi_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/src/modes/multi/castle_run.cpp
  ${CMAKE_SOURCE_DIR}/src/modes/multi/two_player.cpp)
foreach(source ${TAVRELO_SIM_SOURCES})
  get_filename_component(absolute ${source} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
  list(APPEND multi_fuzz_sources ${absolute})
endforeach()

set(multi_fuzz_binary ${CMAKE_CURRENT_BINARY_DIR}/multi_fuzz)
add_custom_command(OUTPUT ${multi_fuzz_binary}
  COMMAND ${TAVRELO_CLANGXX} -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined
    -fno-sanitize-recover=all -I${CMAKE_SOURCE_DIR}/src ${multi_fuzz_sources} -o ${multi_fuzz_binary}
  DEPENDS ${multi_fuzz_sources}
  COMMENT "Building the two-player fuzz target with clang++"
  VERBATIM)
add_custom_target(multi_fuzz ALL DEPENDS ${multi_fuzz_binary})

add_executable(multi_fuzz_corpus multi_make_corpus.cpp)
target_link_libraries(multi_fuzz_corpus PRIVATE tavrelo_files)

add_test(NAME multi_fuzz COMMAND ${CMAKE_COMMAND}
  -DFUZZER=${multi_fuzz_binary} -DCORPUS=${CMAKE_CURRENT_BINARY_DIR}/multi_corpus
  -DMAKE_CORPUS=$<TARGET_FILE:multi_fuzz_corpus> -DFUZZ_SECONDS=10
  -P ${CMAKE_CURRENT_SOURCE_DIR}/run_fuzz.cmake)
set_tests_properties(multi_fuzz PROPERTIES TIMEOUT 120)
