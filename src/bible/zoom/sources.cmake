list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/zoomratio.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/bible/test_zoom.cpp
)
