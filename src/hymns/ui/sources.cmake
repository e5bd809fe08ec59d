list(APPEND LUMORA_UI_SOURCES
  ${LUMORA_AREA_DIR}/shortcut.cpp
  ${LUMORA_AREA_DIR}/hymnselection.h
  ${LUMORA_AREA_DIR}/hymnselection.cpp
  ${LUMORA_AREA_DIR}/hymnplayer.h
  ${LUMORA_AREA_DIR}/hymnplayer.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/hymns/test_shortcut.cpp
  ${CMAKE_SOURCE_DIR}/tests/hymns/test_hymnselection.cpp
  ${CMAKE_SOURCE_DIR}/tests/hymns/test_hymnplayer.cpp
)
