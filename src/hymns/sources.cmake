list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/hymnentry.cpp
  ${LUMORA_AREA_DIR}/hymnstore.cpp
  ${LUMORA_AREA_DIR}/hymnfiles.cpp
)
list(APPEND LUMORA_CLI_SOURCES
  ${CMAKE_SOURCE_DIR}/src/cli/cmd_hymns.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/hymns/test_hymnstore.cpp
  ${CMAKE_SOURCE_DIR}/tests/hymns/test_hymnfiles.cpp
  ${CMAKE_SOURCE_DIR}/tests/hymns/test_hymnscli.cpp
)
