list(APPEND LUMORA_UI_SOURCES
  ${LUMORA_AREA_DIR}/mediaplayer.h
  ${LUMORA_AREA_DIR}/qtmediaplayer.cpp
  ${LUMORA_AREA_DIR}/playerpictures.h
  ${LUMORA_AREA_DIR}/playerpictures.cpp
  ${LUMORA_AREA_DIR}/richtextbox.h
  ${LUMORA_AREA_DIR}/richtextbox.cpp
  ${LUMORA_AREA_DIR}/qtprompts.cpp
)
list(APPEND LUMORA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/platform/test_playerpictures.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform/test_realplayback.cpp
)
