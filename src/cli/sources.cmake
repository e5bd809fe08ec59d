list(APPEND LUMORA_CLI_SOURCES
  ${LUMORA_AREA_DIR}/main.cpp
  ${LUMORA_AREA_DIR}/cli.cpp
  ${LUMORA_AREA_DIR}/cmd_bible.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/cli/test_cli_bible.cpp
  ${CMAKE_SOURCE_DIR}/tests/cli/test_damagedfolders.cpp
  ${CMAKE_SOURCE_DIR}/tests/fuzzseeds/test_fuzzseeds.cpp
)
