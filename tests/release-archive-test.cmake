# Makes the release archive as a release is made, then checks what a player unpacks: the
# module, the stand-in host, the report program and the install text of this version, nothing
# else, loose at the top.
execute_process(COMMAND ${CPACK} --config CPackConfig.cmake
  WORKING_DIRECTORY ${BINARY_DIR}
  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()

set(archive ${BINARY_DIR}/kickmark-${VERSION}-win64.zip)
set(unpacked ${BINARY_DIR}/release-archive-test)
file(REMOVE_RECURSE ${unpacked})
file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${unpacked})
file(GLOB_RECURSE entries RELATIVE ${unpacked} ${unpacked}/*)
list(SORT entries)
if(NOT entries STREQUAL
   "INSTALL.txt;kickmark-host.exe;kickmark-report.exe;kickmark-watch.cmd;kickmark.dll;pluginsdk.dll")
  message(FATAL_ERROR "${archive} holds: ${entries}")
endif()

file(READ ${unpacked}/kickmark-watch.cmd watch)
# The watcher, started with the two paths a player edits once.
foreach(expected "kickmark-report.exe\" --watch --keep" "set \"SHOTS=" "set \"KEEP=")
  string(FIND "${watch}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "kickmark-watch.cmd lacks \"${expected}\":\n${watch}")
  endif()
endforeach()

file(READ ${unpacked}/INSTALL.txt text)
# It must say which hosts load this build, how to build for the others, and the routine after
# each practice.
foreach(expected "Kickmark ${VERSION} " "built with MinGW-w64" "it will not load there"
                 "cmake --preset msvc" "kickmark-host --demo" "After each practice"
                 "kickmark-watch.cmd" "kickmark_save")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "INSTALL.txt lacks \"${expected}\":\n${text}")
  endif()
endforeach()
string(FIND "${text}" "plugin load" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "INSTALL.txt tells players to load this build into a host that cannot")
endif()
# Windows line ends, for every text editor a player may have and for cmd.exe; file(READ) drops
# the CRs.
foreach(name INSTALL.txt kickmark-watch.cmd)
  file(READ ${unpacked}/${name} bytes HEX)
  string(REGEX MATCHALL ".." bytes "${bytes}")
  list(JOIN bytes " " bytes)
  string(REPLACE "0d 0a" "CRLF" bytes "${bytes}")
  if(bytes MATCHES "0a" OR NOT bytes MATCHES "CRLF")
    message(FATAL_ERROR "${name} has a line not ended by CRLF")
  endif()
endforeach()
file(REMOVE_RECURSE ${unpacked})
