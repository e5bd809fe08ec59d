// The hit-line scan on every machine-code path this processor has, against a plain line-by-line
// definition of a hit.

#include "bible/search/linescan.h"

#include <QByteArrayList>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace lumora::bible;

namespace {

const std::pair<ScanPath, const char*> kPaths[] = {{ScanPath::Portable, "portable"},
                                                   {ScanPath::Sse2, "sse2"},
                                                   {ScanPath::Avx2, "avx2"},
                                                   {ScanPath::Best, "best"}};

char foldByte(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

bool containsFolded(const QByteArray& line, const QByteArray& needle) {
    for (qsizetype i = 0; i + needle.size() <= line.size(); ++i) {
        qsizetype k = 0;
        while (k < needle.size() && foldByte(line[i + k]) == foldByte(needle[k]))
            ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

// The plain definition: cut the file into lines at CR LF, CR or LF, drop three bytes of the first,
// and list fields 1-3 of each line that holds the needle and has four tabs.
QByteArrayList expectedKeys(const QByteArray& data, const QByteArray& needle) {
    QByteArrayList out;
    if (needle.contains('\n') || needle.contains('\r')) return out;
    QByteArrayList lines;
    QByteArray line;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            lines << line;
            line.clear();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.isEmpty()) lines << line;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        QByteArray text = lines[l];
        if (l == 0) text.remove(0, 3);
        const QByteArrayList fields = text.split('\t');
        if (fields.size() < 5 || !containsFolded(text, needle)) continue;
        out << fields[0] + '\t' + fields[1] + '\t' + fields[2];
    }
    return out;
}

QByteArrayList scannedKeys(const QByteArray& data, const QByteArray& needle, ScanPath path) {
    std::vector<HitLineRef> refs;
    findHitLines(data, needle, refs, path);
    QByteArrayList out;
    for (const HitLineRef& r : refs) {
        EXPECT_LE(r.start, r.tab1);
        EXPECT_LT(r.tab1, r.tab2);
        EXPECT_LT(r.tab2, r.tab3);
        out << data.mid(r.start, r.tab3 - r.start);
    }
    return out;
}

void expectAllPathsAgree(const QByteArray& data, const QByteArray& needle) {
    const QByteArrayList expected = expectedKeys(data, needle);
    for (const auto& [path, name] : kPaths) {
        if (!scanPathAvailable(path)) continue;
        ASSERT_EQ(scannedKeys(data, needle, path), expected)
            << name << ": " << data.toHex().constData() << " / " << needle.toHex().constData();
    }
}

const QByteArray bom("\xEF\xBB\xBF");

} // namespace

TEST(HitLineScan, portableAndSse2PathsAlwaysExist) {
    EXPECT_TRUE(scanPathAvailable(ScanPath::Portable));
    EXPECT_TRUE(scanPathAvailable(ScanPath::Best));
#if defined(__x86_64__) || defined(_M_X64)
    EXPECT_TRUE(scanPathAvailable(ScanPath::Sse2));
#endif
}

// A needle too long for the buffer on the stack. (Matches on either side of a block's edge, blanks
// at a needle's ends, a CR LF split across two blocks and lines with fewer than four tabs are among
// the random cases below.)
TEST(HitLineScan, needleLongerThanTheStackBuffer_isStillFound) {
    const QByteArray needle = QByteArray(100, 'q') + "Z";
    const QByteArray data =
        bom + "05O\t1\t1\t0\tx" + needle.toUpper() + "y\r\n05O\t1\t2\t0\t" + needle.left(100) + "\r\n";
    expectAllPathsAgree(data, needle);
    EXPECT_EQ(scannedKeys(data, needle, ScanPath::Best), QByteArrayList{"05O\t1\t1"});
}

TEST(HitLineScan, agreesWithALineByLineScan_onRandomTextOfEveryLength) {
    // Lines from empty to well past two 32-byte blocks, every kind of line end, tabs, case pairs,
    // the bytes that differ from a letter only in the case bit, and UTF-8; needles up to 40 bytes.
    QRandomGenerator rng(7);
    const QByteArray alphabet = "aAbBzZ\t\xC3\xA9\x89[{@` .";
    const QByteArray ends[] = {"\r\n", "\r", "\n"};
    for (int round = 0; round < 3000; ++round) {
        QByteArray data = rng.bounded(2) ? bom : QByteArray();
        const int lines = 1 + rng.bounded(8);
        for (int l = 0; l < lines; ++l) {
            if (rng.bounded(6)) data += "02O\t1\t" + QByteArray::number(l + 1) + "\t0\t";
            const int len = rng.bounded(rng.bounded(4) ? 40 : 120);
            for (int i = 0; i < len; ++i)
                data += alphabet[rng.bounded(alphabet.size())];
            if (l + 1 < lines || rng.bounded(2)) data += ends[rng.bounded(3)];
        }
        QByteArray needle;
        const int n = rng.bounded(8) ? 1 + rng.bounded(4) : rng.bounded(41);
        if (rng.bounded(3) == 0 && data.size() > 8) {
            // A piece of the data itself, often with its letter case changed.
            const int from = rng.bounded(int(data.size()));
            needle = data.mid(from, n);
            if (rng.bounded(2)) needle = needle.toUpper();
        } else {
            for (int i = 0; i < n; ++i)
                needle += alphabet[rng.bounded(alphabet.size())];
        }
        expectAllPathsAgree(data, needle);
        if (HasFatalFailure()) return;
    }
}
