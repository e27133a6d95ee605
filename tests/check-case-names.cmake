# Lists the cases of every GoogleTest program and fails on a parametrised
# case known only by its row number ("Table/Suite.Case/3"): when such a case
# fails, its output names the row by its raw bytes, not by what it is.
# usage: cmake -DPROGRAMS=<file with one program per line> -P check-case-names.cmake
if(NOT PROGRAMS OR NOT EXISTS "${PROGRAMS}")
  message(FATAL_ERROR "usage: cmake -DPROGRAMS=<list file> -P check-case-names.cmake")
endif()

file(STRINGS "${PROGRAMS}" programs)
set(unnamed)
foreach(program IN LISTS programs)
  execute_process(COMMAND "${program}" --gtest_list_tests
                  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${program} --gtest_list_tests failed (${result}): ${errors}")
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  set(suite "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^([^ ].*\\.)$")
      set(suite "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  ([^ ]+/[0-9]+)( |$)")
      list(APPEND unnamed "${suite}${CMAKE_MATCH_1}")
    endif()
  endforeach()
endforeach()

list(LENGTH programs count)
if(unnamed)
  list(JOIN unnamed "\n  " shown)
  message(FATAL_ERROR "parametrised cases without a name for their row "
                      "(give INSTANTIATE_TEST_SUITE_P a name generator):\n  ${shown}")
endif()
message(STATUS "every parametrised case of ${count} programs names its row")
