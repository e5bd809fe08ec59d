// Feeds arbitrary bytes to the RTF reader. Besides crashes, hangs and leaks (the sanitizers), it
// checks the round-trip property: whatever the reader makes of the bytes, writing that document
// and reading it again gives the same document.

#include "common/rtf/rtfreader.h"
#include "common/rtf/rtfwriter.h"

#include <cstdio>
#include <cstdlib>

using namespace lumora::common::rtf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<Document> first = readRtf(bytes);
    if (!first) return 0;
    const QByteArray written = writeRtf(*first);
    const std::optional<Document> second = readRtf(written);
    if (!second || !(*second == *first)) {
        std::fprintf(stderr, "round trip changed the document; written:\n%s\n", written.constData());
        std::abort();
    }
    return 0;
}
