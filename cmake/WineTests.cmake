# Windows programs run under Wine, in a prefix of the build directory's own so that no test
# touches the user's ~/.wine. The prefix is made here, at configure time: made by the first
# program that runs, it would outlast test discovery's timeout.
find_program(KICKMARK_WINE wine REQUIRED)
find_program(KICKMARK_WINESERVER wineserver REQUIRED)
find_program(KICKMARK_WINEBOOT wineboot REQUIRED)

set(KICKMARK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# mscoree and mshtml off: a new prefix would otherwise offer to download Mono and Gecko.
set(wine_environment
  WINEPREFIX=${KICKMARK_WINEPREFIX}
  WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml=
)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${wine_environment} ${KICKMARK_WINE})

if(NOT EXISTS ${KICKMARK_WINEPREFIX}/system.reg)
  message(STATUS "Creating the Wine prefix ${KICKMARK_WINEPREFIX}")
  # Output goes to a file, not a pipe: the wineserver that wineboot starts would hold a pipe
  # open, and with it this step, until the server exits.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_environment} ${KICKMARK_WINEBOOT} -i
    COMMAND_ERROR_IS_FATAL ANY
    INPUT_FILE /dev/null
    OUTPUT_FILE ${CMAKE_BINARY_DIR}/wineprefix.log
    ERROR_FILE ${CMAKE_BINARY_DIR}/wineprefix.log
  )
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_environment} ${KICKMARK_WINESERVER} -w
    COMMAND_ERROR_IS_FATAL ANY
  )
endif()

# Every Wine start costs about 2.4 s unless a wineserver is already up. The first test starts
# one that stays, the last stops it, and GoogleTest's tests require the pair. A server that
# test discovery left behind refuses a second one, and goes about 3 s after its last program:
# wait for that, but not for ever, since a persistent one (left by an interrupted run) never
# goes and serves as well. Tests run, only slower, whichever server they get; the setup fails
# only when Wine itself does. Output must not reach ctest: a server holding ctest's pipe would
# keep ctest waiting for ever.
function(kickmark_share_one_wineserver)
  set(server \"${KICKMARK_WINESERVER}\")
  add_test(NAME wineserver-start
    COMMAND ${CMAKE_COMMAND} -E env ${wine_environment} sh -c
      "(timeout 10 ${server} -w; ${server} -p; \"${KICKMARK_WINE}\" cmd /c exit) </dev/null >/dev/null 2>&1"
  )
  # Nothing to stop is no failure: the server may never have become the persistent one.
  add_test(NAME wineserver-stop
    COMMAND ${CMAKE_COMMAND} -E env ${wine_environment} sh -c "${server} -k 2>/dev/null; true"
  )
  set_tests_properties(wineserver-start PROPERTIES FIXTURES_SETUP wineserver)
  set_tests_properties(wineserver-stop PROPERTIES FIXTURES_CLEANUP wineserver)

  # Discovered tests exist only once ctest reads a directory's test files; a file read after
  # the discovery's own marks them through the list that each discovery leaves.
  set(pending ${CMAKE_SOURCE_DIR})
  while(pending)
    list(POP_FRONT pending directory)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${subdirectories})
    get_property(includes DIRECTORY ${directory} PROPERTY TEST_INCLUDE_FILES)
    if(includes)
      get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
      string(MD5 key ${directory})
      set(script ${CMAKE_BINARY_DIR}/wineserver-fixture/${key}.cmake)
      file(WRITE ${script} "foreach(list IN ITEMS ${targets})\n"
        "  if(\${list}_TESTS)\n"
        "    set_tests_properties(\${\${list}_TESTS} PROPERTIES FIXTURES_REQUIRED wineserver)\n"
        "  endif()\n"
        "endforeach()\n")
      set_property(DIRECTORY ${directory} APPEND PROPERTY TEST_INCLUDE_FILES ${script})
    endif()
  endwhile()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kickmark_share_one_wineserver)
