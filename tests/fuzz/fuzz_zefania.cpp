// Feeds arbitrary bytes to the Zefania reader (see fuzzbible.h for what is checked).

#include "fuzzbible.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lumora::fuzz::runBibleReader(lumora::import::BibleFormat::Zefania, data, size);
    return 0;
}
