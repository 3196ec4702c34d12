# Fails when the tests (tests/, fuzz/ and every *_test file) hold more than
# LIMIT_PERMILLE of the C++ lines. Lines are counted without blank lines and
# without lines that are only a // comment, so long explanations cost nothing.
# The aim is a third (333); the limit is the share reached so far, lowered
# with every change that brings the tests closer to it, so they never grow
# back. Usage: cmake -DSOURCE_DIR=<project> -DLIMIT_PERMILLE=<n> -P test_share.cmake
set(test_lines 0)
set(code_lines 0)
foreach(folder src bench tests fuzz web)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.cc ${SOURCE_DIR}/${folder}/*.h)
  list(FILTER files EXCLUDE REGEX "/node_modules/")
  foreach(file ${files})
    file(STRINGS ${file} lines)
    set(counted 0)
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*$" AND NOT line MATCHES "^[ \t]*//")
        math(EXPR counted "${counted} + 1")
      endif()
    endforeach()
    if(folder STREQUAL "tests" OR folder STREQUAL "fuzz" OR file MATCHES "_test\\.(cc|h)$")
      math(EXPR test_lines "${test_lines} + ${counted}")
    else()
      math(EXPR code_lines "${code_lines} + ${counted}")
    endif()
  endforeach()
endforeach()
math(EXPR all_lines "${test_lines} + ${code_lines}")
math(EXPR share_permille "1000 * ${test_lines} / ${all_lines}")
message("tests ${test_lines} of ${all_lines} C++ lines (${share_permille} per mille)")
if(share_permille GREATER LIMIT_PERMILLE)
  message(FATAL_ERROR "the tests hold more than ${LIMIT_PERMILLE} per mille of the C++ lines")
endif()
