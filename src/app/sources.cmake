list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/datapath.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/app/test_datapath.cpp
  ${CMAKE_SOURCE_DIR}/tests/app/test_damagedwindow.cpp
)
