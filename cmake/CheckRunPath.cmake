# Run as a script after linking: cmake -DBINARY=<file> -P CheckRunPath.cmake
# A binary of the program folder may look for its libraries only beside itself.
execute_process(COMMAND readelf -d ${BINARY} OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "readelf could not read ${BINARY}")
endif()
string(REGEX MATCHALL "\\((RPATH|RUNPATH)\\)[^\n]*\\[[^]\n]*\\]" entries "${dynamic}")
if(NOT entries)
  message(FATAL_ERROR "${BINARY} has no run path; it must be $ORIGIN")
endif()
foreach(entry ${entries})
  string(REGEX REPLACE ".*\\[([^]]*)\\]" "\\1" path "${entry}")
  if(NOT path STREQUAL "$ORIGIN")
    message(FATAL_ERROR "${BINARY} has the run path '${path}'; it must be $ORIGIN alone, "
                        "or a copy of the program folder links the libraries of another folder")
  endif()
endforeach()
