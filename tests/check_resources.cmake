# SPDX-FileCopyrightText: 2026 The Kippwerk authors
# SPDX-License-Identifier: GPL-3.0-or-later

file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${RESGEN} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "resgen failed: ${rc}")
endif()
foreach(f circuit.gif circuit@2x.gif circuit@3x.gif monoflop.gif monoflop@2x.gif monoflop@3x.gif
          kippwerk.ico kippwerk-large.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${f} ${SOURCE}/${f} RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "resources/${f} differs from the generator's output; run resgen and commit")
  endif()
endforeach()
