# Installs the build into a fresh prefix and runs the installed program once:
# the papers beside it, its version, and a piped session on the installed
# example that loads it.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
# The licence beside the README, and a manual page that groff formats
# without a single warning.
foreach(file share/doc/tambri/LICENSE share/man/man1/tambri.1)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "cmake --install left out ${file}")
  endif()
endforeach()
file(READ ${prefix}/share/doc/tambri/LICENSE licence)
if(NOT licence MATCHES "MIT License" OR NOT licence MATCHES "Copyright \\(c\\) 2026 The TAMBRI developers")
  message(FATAL_ERROR "the installed LICENSE is not the project's MIT licence")
endif()
find_program(GROFF groff REQUIRED)
execute_process(COMMAND ${GROFF} -ww -man -z ${prefix}/share/man/man1/tambri.1
                ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "the manual page does not format cleanly: ${status}\n${warnings}")
endif()
execute_process(COMMAND ${prefix}/bin/tambri --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version STREQUAL "tambri 4.3\n")
  message(FATAL_ERROR "installed tambri --version: ${status} '${version}'")
endif()
file(MAKE_DIRECTORY ${WORK_DIR}/run)
file(COPY ${prefix}/share/tambri/examples/kondensa.dat DESTINATION ${WORK_DIR}/run)
file(WRITE ${WORK_DIR}/run/answers "kondensa.dat\nX\nn\nX\n")
execute_process(COMMAND ${prefix}/bin/tambri --headless INPUT_FILE ${WORK_DIR}/run/answers
                WORKING_DIRECTORY ${WORK_DIR}/run OUTPUT_VARIABLE screen RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT screen MATCHES "\\*\\*\\* Input ready \\*\\*\\*")
  message(FATAL_ERROR "installed tambri on the example: ${status}\n${screen}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
