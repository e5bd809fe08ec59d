// Feeds arbitrary bytes to the OpenLyrics song reader (see songfuzz.h for what must hold).

#include "songfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return lumora::fuzz::checkSongRead(lumora::import::SongFormat::OpenLyrics, data, size);
}
