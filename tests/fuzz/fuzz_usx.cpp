// Feeds arbitrary bytes to the Usx reader (see fuzzbible.h for what is checked).

#include "fuzzbible.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lumora::fuzz::runBibleReader(lumora::import::BibleFormat::Usx, data, size);
    return 0;
}
