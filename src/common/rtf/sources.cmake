list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/richtext.cpp
  ${LUMORA_AREA_DIR}/codepage.cpp
  ${LUMORA_AREA_DIR}/rtfreader.cpp
  ${LUMORA_AREA_DIR}/rtfwriter.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/common/rtf/test_rtfreader.cpp
  ${CMAKE_SOURCE_DIR}/tests/common/rtf/test_rtfwriter.cpp
)
