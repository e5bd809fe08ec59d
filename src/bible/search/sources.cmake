list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/linescan.cpp
  ${LUMORA_AREA_DIR}/versionsearch.cpp
)
list(APPEND LUMORA_CLI_SOURCES
  ${CMAKE_SOURCE_DIR}/src/cli/cmd_search.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/bible/test_search.cpp
  ${CMAKE_SOURCE_DIR}/tests/bible/test_search_scan.cpp
  ${CMAKE_SOURCE_DIR}/tests/bible/test_search_cli.cpp
  ${CMAKE_SOURCE_DIR}/tests/bible/test_search_ui.cpp
)
# The search controller lives with the other Bible tab controllers.
list(APPEND LUMORA_UI_SOURCES
  ${CMAKE_SOURCE_DIR}/src/bible/ui/biblesearch.cpp
)
