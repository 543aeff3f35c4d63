# SPDX-License-Identifier: Zlib
# Runs doxygen on the reference's Doxyfile (cmake -P, from docs/CMakeLists.txt). The warnings go to
# a log file, which is shown here: the build fails on the first one, and the stamp that spares
# the next build another run is only written after a clean one.
file(REMOVE_RECURSE ${HTML})
file(REMOVE ${STAMP})
execute_process(COMMAND ${DOXYGEN} ${DOXYFILE} RESULT_VARIABLE result TIMEOUT 300)
set(warnings "")
if(EXISTS ${WARNINGS})
  file(READ ${WARNINGS} warnings)
endif()
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "doxygen failed (${result}); every public member, parameter and return value of the "
                      "engine's headers needs a comment:\n${warnings}")
endif()
file(TOUCH ${STAMP})
