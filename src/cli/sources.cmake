list(APPEND LUMORA_CLI_SOURCES
  ${LUMORA_AREA_DIR}/main.cpp
  ${LUMORA_AREA_DIR}/cli.cpp
  ${LUMORA_AREA_DIR}/biblepick.cpp
  ${LUMORA_AREA_DIR}/cmd_bible.cpp
  ${LUMORA_AREA_DIR}/cmd_marks.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/cli/test_cli_bible.cpp
)
