list(APPEND LUMORA_UI_SOURCES
  ${LUMORA_AREA_DIR}/frmlumora.cpp
  ${LUMORA_AREA_DIR}/frmdatapath.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/app/test_frmdatapath.cpp
)
