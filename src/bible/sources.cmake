list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/biblestore.cpp
  ${LUMORA_AREA_DIR}/passagebuilder.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/bible/test_biblestore.cpp
  ${CMAKE_SOURCE_DIR}/tests/bible/test_passagebuilder.cpp
)
