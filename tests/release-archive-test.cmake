# Makes the release archive as a release is made, then checks what a player unpacks: the
# module, the report program and the install text of this version, nothing else, loose at the
# top.
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
if(NOT entries STREQUAL "INSTALL.txt;kickmark-report.exe;kickmark.dll")
  message(FATAL_ERROR "${archive} holds: ${entries}")
endif()

file(READ ${unpacked}/INSTALL.txt text)
foreach(expected "Kickmark ${VERSION} " "plugin load kickmark" "After each practice"
    "kickmark-report --keep")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "INSTALL.txt lacks \"${expected}\":\n${text}")
  endif()
endforeach()
# Windows line ends, for every text editor a player may have; file(READ) drops the CRs.
file(READ ${unpacked}/INSTALL.txt bytes HEX)
string(REGEX MATCHALL ".." bytes "${bytes}")
list(JOIN bytes " " bytes)
string(REPLACE "0d 0a" "CRLF" bytes "${bytes}")
if(bytes MATCHES "0a" OR NOT bytes MATCHES "CRLF")
  message(FATAL_ERROR "INSTALL.txt has a line not ended by CRLF")
endif()
file(REMOVE_RECURSE ${unpacked})
