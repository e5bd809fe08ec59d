list(APPEND LUMORA_UI_SOURCES
  ${LUMORA_AREA_DIR}/rtfdocument.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/platform/test_rtfdocument.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform/test_richtextbox.cpp
)
