list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/listfile.cpp
  ${LUMORA_AREA_DIR}/listfolder.cpp
  ${LUMORA_AREA_DIR}/listedit.cpp
  ${LUMORA_AREA_DIR}/verselistentry.cpp
  ${LUMORA_AREA_DIR}/notes.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/lists/test_listfile.cpp
  ${CMAKE_SOURCE_DIR}/tests/lists/test_listfolder.cpp
  ${CMAKE_SOURCE_DIR}/tests/lists/test_listedit.cpp
  ${CMAKE_SOURCE_DIR}/tests/lists/test_verselistentry.cpp
  ${CMAKE_SOURCE_DIR}/tests/lists/test_notes.cpp
)
