list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/zoomratio.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/bible/test_zoom.cpp
  ${CMAKE_SOURCE_DIR}/tests/bible/test_zoom_ui.cpp
)
# The zoom controller lives with the other Bible tab controllers.
list(APPEND LUMORA_UI_SOURCES
  ${CMAKE_SOURCE_DIR}/src/bible/ui/zoom.cpp
)
