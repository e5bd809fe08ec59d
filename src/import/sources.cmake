list(APPEND LUMORA_IMPORT_SOURCES
  ${LUMORA_AREA_DIR}/osistext.cpp
  ${LUMORA_AREA_DIR}/biblemodel.cpp
  ${LUMORA_AREA_DIR}/swordreader.cpp
  ${LUMORA_AREA_DIR}/versionwriter.cpp
  ${LUMORA_AREA_DIR}/datachecker.cpp
  ${LUMORA_AREA_DIR}/audio.cpp
  ${LUMORA_AREA_DIR}/chapterrecorder.cpp
  ${LUMORA_AREA_DIR}/rtfwords.cpp
  ${LUMORA_AREA_DIR}/demosamples.cpp
  ${LUMORA_AREA_DIR}/demobuilder.cpp
)
list(APPEND LUMORA_CLI_SOURCES
  ${CMAKE_SOURCE_DIR}/src/cli/cmd_import.cpp
  ${CMAKE_SOURCE_DIR}/src/cli/cmd_check.cpp
  ${CMAKE_SOURCE_DIR}/src/cli/cmd_demo.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/import/test_osistext.cpp
  ${CMAKE_SOURCE_DIR}/tests/import/test_swordimport.cpp
  ${CMAKE_SOURCE_DIR}/tests/import/test_chapterrecorder.cpp
  ${CMAKE_SOURCE_DIR}/tests/import/test_datachecker.cpp
  ${CMAKE_SOURCE_DIR}/tests/import/test_demo.cpp
)
