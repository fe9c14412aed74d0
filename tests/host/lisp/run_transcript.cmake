# Runs a LISP transcript test: zhost runs the .lsp file as a script and what it prints must be the .expected
# file beside it; a .dxf file of the same name beside it is the drawing it runs in. -DZHOST=program -DLSP=file.lsp
# -DWORKDIR=folder -DACTUAL=where the differing transcript goes
string(REGEX REPLACE "\\.lsp$" ".dxf" drawing ${LSP})
set(drawing_argument)
if(EXISTS ${drawing})
    set(drawing_argument ${drawing})
endif()
execute_process(COMMAND ${ZHOST} ${drawing_argument} --script ${LSP} OUTPUT_VARIABLE actual ERROR_VARIABLE errors
                RESULT_VARIABLE status WORKING_DIRECTORY ${WORKDIR})
string(REGEX REPLACE "\\.lsp$" ".expected" expected_file ${LSP})
file(READ ${expected_file} expected)
if(NOT actual STREQUAL expected)
    file(WRITE ${ACTUAL} "${actual}")
    message(FATAL_ERROR "${LSP}: the transcript differs from ${expected_file} (written to ${ACTUAL})\n"
                        "${errors}")
endif()
# A transcript may end where its script stops, as a LISP error in a command stops a script.
string(FIND "${expected}" "*** the script stops" stops)
if(NOT status EQUAL 0 AND stops EQUAL -1)
    message(FATAL_ERROR "${LSP}: zhost ended with ${status}\n${errors}")
endif()
