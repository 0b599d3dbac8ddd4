# tarvek FILE as a user runs it, on the offscreen platform: it writes the same target as
# tarvek-cli and ends without a window. Settings go to a scratch home.

function(run_tarvek out_rc out_stdout)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen HOME=${WORK}/home
            XDG_CONFIG_HOME=${WORK}/home/config XDG_RUNTIME_DIR=${WORK}/runtime ${TARVEK} ${ARGN}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr
    TIMEOUT 30)
  set(${out_rc} "${rc}" PARENT_SCOPE)
  set(${out_stdout} "${stdout}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home ${WORK}/runtime)
file(CHMOD ${WORK}/runtime PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(COPY_FILE ${SAMPLE} ${WORK}/by-gui.wdq)
file(COPY_FILE ${SAMPLE} ${WORK}/by-cli.wdq)

run_tarvek(rc stdout by-gui.wdq)
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "tarvek by-gui.wdq ended with ${rc}")
endif()
execute_process(COMMAND ${CLI} by-cli.wdq WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "tarvek-cli by-cli.wdq ended with ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/by-gui.c3d ${WORK}/by-cli.c3d
                RESULT_VARIABLE rc)
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "tarvek and tarvek-cli wrote different targets")
endif()

run_tarvek(rc stdout --version)
if(NOT rc STREQUAL "0" OR NOT stdout MATCHES "^tarvek 1\\.0\\.0\\.2\n$")
  message(FATAL_ERROR "tarvek --version: ${rc} '${stdout}'")
endif()
run_tarvek(rc stdout --no-such-option)
if(NOT rc STREQUAL "2")
  message(FATAL_ERROR "tarvek --no-such-option ended with ${rc}, not 2")
endif()
