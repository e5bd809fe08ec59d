#pragma once
// The scan under the Bible word search: finds the verse lines of one testament file that hold
// the needle, as offsets into the file's bytes, so no string is made until the hits are shown.
//
// Letters A-Z are compared without regard to case, every other byte exactly. Each line is
// tested once. A line ends at LF, CR or CR LF. The first three bytes of the first line (the
// byte-order mark) are not searched. A line with fewer than four tabs is never a hit. A needle
// holding CR or LF matches no line; an empty needle matches every verse line.

#include <QByteArrayView>

#include <vector>

namespace lumora::bible {

// One hit line: absolute offsets into the scanned bytes.
struct HitLineRef {
    qsizetype start = 0;                    // first byte of the line (after the mark on line 1)
    qsizetype tab1 = 0, tab2 = 0, tab3 = 0; // its first three tabs
};

// The machine code the scan runs. Best picks the widest the processor has; the others exist so
// each can be tested on a machine that has them all.
enum class ScanPath { Best, Portable, Sse2, Avx2 };

bool scanPathAvailable(ScanPath path);

// Appends the hit lines of `data` (a whole file) to `out`, in file order. An unavailable path
// runs as Best.
void findHitLines(QByteArrayView data, QByteArrayView needle, std::vector<HitLineRef>& out,
                  ScanPath path = ScanPath::Best);

} // namespace lumora::bible
