list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/text.cpp
  ${LUMORA_AREA_DIR}/lines.cpp
  ${LUMORA_AREA_DIR}/atomicfile.cpp
  ${LUMORA_AREA_DIR}/paths.cpp
  ${LUMORA_AREA_DIR}/playback.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/common/test_text.cpp
  ${CMAKE_SOURCE_DIR}/tests/common/test_lines.cpp
  ${CMAKE_SOURCE_DIR}/tests/common/test_atomicfile.cpp
  ${CMAKE_SOURCE_DIR}/tests/common/test_playback.cpp
)
