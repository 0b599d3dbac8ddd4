# Runs the Windows programs of a cross build under Wine, in a prefix of this build
# folder, so that tests (and their discovery) work from ctest as on Windows.
if(DEFINED TARVEK_BUILD_TESTS AND NOT TARVEK_BUILD_TESTS)
  return()
endif()
find_program(TARVEK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
find_program(TARVEK_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT TARVEK_WINE OR NOT TARVEK_WINESERVER)
  message(FATAL_ERROR "Wine is needed to run the Windows programs (Debian package wine64)")
endif()

set(TARVEK_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
# No Mono or Gecko: their installers would ask questions, and nothing here needs them.
set(TARVEK_WINE_ENV WINEPREFIX=${TARVEK_WINEPREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${TARVEK_WINE_ENV} sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh
    ${TARVEK_WINESERVER} ${TARVEK_WINE})

# Making a prefix takes seconds, longer than test discovery may take: do it once here.
if(NOT EXISTS "${TARVEK_WINEPREFIX}/system.reg")
  message(STATUS "Creating the Wine prefix ${TARVEK_WINEPREFIX}")
  file(MAKE_DIRECTORY "${TARVEK_WINEPREFIX}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${TARVEK_WINE_ENV} ${TARVEK_WINE} wineboot --init
                  OUTPUT_FILE "${TARVEK_WINEPREFIX}.log" ERROR_FILE "${TARVEK_WINEPREFIX}.log"
                  RESULT_VARIABLE nResult)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${TARVEK_WINE_ENV} ${TARVEK_WINESERVER} -w)
  if(NOT nResult EQUAL 0 OR NOT EXISTS "${TARVEK_WINEPREFIX}/system.reg")
    message(FATAL_ERROR "Could not create the Wine prefix; see ${TARVEK_WINEPREFIX}.log")
  endif()
endif()
