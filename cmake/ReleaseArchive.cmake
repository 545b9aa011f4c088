# "cpack" makes the archive a player downloads: the module, the stand-in host that loads it
# (with its pluginsdk.dll), the report program, the command file that starts it watching, and
# how to use them, nothing else.
configure_file(${CMAKE_CURRENT_LIST_DIR}/INSTALL.txt.in ${CMAKE_BINARY_DIR}/INSTALL.txt
  NEWLINE_STYLE CRLF)
install(TARGETS kickmark LIBRARY DESTINATION . COMPONENT player)
install(TARGETS kickmark-report kickmark-host pluginsdk RUNTIME DESTINATION . COMPONENT player
  ARCHIVE DESTINATION lib COMPONENT sdk)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kickmark-watch.cmd ${CMAKE_BINARY_DIR}/kickmark-watch.cmd
  NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/INSTALL.txt ${CMAKE_BINARY_DIR}/kickmark-watch.cmd DESTINATION .
  COMPONENT player)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME kickmark)
set(CPACK_PACKAGE_FILE_NAME kickmark-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Symbols of the statically linked runtime would triple the download; exports stay.
set(CPACK_STRIP_FILES ON)
# Only the player's files, whatever else the build installs.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL player)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
include(CPack)

if(KICKMARK_BUILD_TESTS)
  add_test(NAME release-archive
    COMMAND ${CMAKE_COMMAND} -D CPACK=${CMAKE_CPACK_COMMAND} -D BINARY_DIR=${CMAKE_BINARY_DIR}
      -D VERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/tests/release-archive-test.cmake
  )
endif()
