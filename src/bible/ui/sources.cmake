list(APPEND LUMORA_UI_SOURCES
  ${LUMORA_AREA_DIR}/biblenavigation.cpp
  ${LUMORA_AREA_DIR}/passageview.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/bible/test_navigation_ui.cpp
)
