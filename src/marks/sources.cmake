pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
list(APPEND LUMORA_CORE_SOURCES
  ${LUMORA_AREA_DIR}/markformat.cpp
  ${LUMORA_AREA_DIR}/markstore.cpp
  ${LUMORA_AREA_DIR}/marktable.cpp
  ${LUMORA_AREA_DIR}/audiodecode.cpp
  ${LUMORA_AREA_DIR}/pausefinder.cpp
  ${LUMORA_AREA_DIR}/marksuggest.cpp
)
# Decoding recordings for suggested marks; only the marks code includes sndfile.h.
list(APPEND LUMORA_CORE_LIBRARIES PkgConfig::SNDFILE)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/marks/test_markformat.cpp
  ${CMAKE_SOURCE_DIR}/tests/marks/test_markstore.cpp
  ${CMAKE_SOURCE_DIR}/tests/marks/test_marktable.cpp
  ${CMAKE_SOURCE_DIR}/tests/marks/test_suggest.cpp
  ${CMAKE_SOURCE_DIR}/tests/marks/test_cli_marks.cpp
)
