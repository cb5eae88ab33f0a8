# Runs one scenario script in a fresh working directory; fails when the tool does. A tool built for
# another system runs through EMULATOR (Wine for the Windows build).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${EMULATOR} ${TOOL} ${SCRIPT} WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "scenario failed (${result})")
endif()
