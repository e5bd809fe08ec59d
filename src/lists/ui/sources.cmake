list(APPEND LUMORA_UI_SOURCES
  ${LUMORA_AREA_DIR}/panelconfig.cpp
  ${LUMORA_AREA_DIR}/frmnewname.h
  ${LUMORA_AREA_DIR}/frmnewname.cpp
  ${LUMORA_AREA_DIR}/verselisthost.cpp
  ${LUMORA_AREA_DIR}/favouritepanel.h
  ${LUMORA_AREA_DIR}/favouritepanel.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/lists/test_favouritepanel.cpp
  ${CMAKE_SOURCE_DIR}/tests/lists/test_verselists_window.cpp
  ${CMAKE_SOURCE_DIR}/tests/lists/test_playlists_window.cpp
)
