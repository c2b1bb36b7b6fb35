# SPDX-FileCopyrightText: 2026 The Kippwerk authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs one fuzz target on a scratch copy of its seed corpus and reports the executions.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB seeds ${CORPUS}/*)
file(COPY ${seeds} DESTINATION ${WORK}/corpus)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -max_len=512 ${OPTIONS} -print_final_stats=1
          -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX MATCH "stat::number_of_executed_units: *[0-9]+" runs "${err}")
message("${FUZZER}: ${runs}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzzer failed (${rc}):\n${err}")
endif()
