#pragma once
// Damaged copies of a small, sound data folder: the harm that hand-prepared and half-copied
// folders carry (truncated and binary files, wrong line ends, numbers that are not numbers,
// files replaced by folders, FIFOs or links to devices, byte-order marks and garbage inside lines,
// duplicated lines, a file cut at a line end...). Shared by the suite and the fuzz seeds.

#include "support/biblefixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <iterator>
#include <random>
#include <sys/stat.h>

namespace lumora::testing {

// A sound folder: one version of six books (two of them in the New Testament), one hymn book
// with words, a verse list and a playlist.
inline void writeSoundFolder(const QString& data) {
    std::vector<FixtureBook> books;
    for (int b : {1, 2, 19, 40, 43, 66})
        books.push_back({b, QStringLiteral("Book%1").arg(b), 3, [](int c) { return c == 2 ? 12 : 6; }});
    FixtureOptions opt;
    opt.text = [](int b, int c, int v) -> QByteArray {
        if (v == 1) return "[Title " + QByteArray::number(c) + "]" + fixtureVerseText(b, c, v);
        return fixtureVerseText(b, c, v) + " caf\xC3\xA9";
    };
    opt.mark = [](int, int c, int v) {
        return c == 1 ? QByteArray::number(v * 3) + ",50000" : QByteArray("0");
    };
    writeFixtureVersion(data, "TST", books, opt);
    writeFixtureVersion(data, "TWO", {{40, QStringLiteral("Matthew"), 2, [](int) { return 4; }}});
    writeBytes(data + "/Bible/Version.txt", "\xEF\xBB\xBF"
                                            "TST - Test\r\nTWO - Second\r\n");
    const QByteArray bom("\xEF\xBB\xBF");
    QByteArray hira = bom;
    for (int i = 1; i <= 6; ++i)
        hira += QByteArray::number(i) + " - Hymn " + QByteArray::number(i) + "\tComp\tAuth\tG\t-\t" +
                (i % 2 ? "Praise" : "Pri\xC3\xA8re") + "\t" + (i < 4 ? "Morning" : "Evening") +
                "\tTune\tBook\r\n";
    writeBytes(data + "/Cantiques/Book/Hira.txt", hira);
    writeBytes(data + "/Cantiques/Book/parole/1.txt", "\r\nLine one\r\nLine two\r\n");
    writeBytes(data + "/Cantiques/Book/parole/2 - Hymn 2.rtf", "{\\rtf1\\ansi {\\b Bold} words\\par}");
    writeBytes(data + "/Bible/Favori/Sunday.txt",
               bom + "40 Book40. 2 : 3 - 5\tTST\r01 Book1. 1 : 1 - 1\tTWO\r\r\n");
    writeBytes(data + "/Bible/Favori/Sunday.rtf", "{\\rtf1 note}");
    writeBytes(data + "/Cantiques/Favori/Play.txt",
               bom + hira.mid(3).split('\n').first().chopped(1) + "\r\r\n");
}

// Applies `count` random harms to the files of data, chosen by rng; returns what was done, one
// line per harm, so that a failure can be reproduced by hand.
inline QStringList damageFolder(const QString& data, std::mt19937& rng, int count) {
    QStringList files;
    QDirIterator it(data, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QStringList done;
    auto pick = [&rng](int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    // A byte no text file holds: a control character other than tab and the line ends, or a byte
    // of 0x80 and above alone (never valid UTF-8 by itself).
    auto binaryByte = [&]() -> char {
        const int b = pick(32 + 128);
        if (b < 32) return b == '\t' || b == '\r' || b == '\n' ? '\0' : char(b);
        return char(0x80 + (b - 32));
    };
    auto numberJunk = [&]() -> QByteArray {
        static const char* junk[] = {"0",
                                     "-1",
                                     "-40",
                                     "99999999999999999999",
                                     "9223372036854775808",
                                     "x",
                                     "",
                                     " 3",
                                     "3.5",
                                     "1e9",
                                     "65536",
                                     "2147483648",
                                     "\xEF\xBB\xBF"
                                     "1"};
        return junk[pick(std::size(junk))];
    };
    for (int n = 0; n < count && !files.isEmpty(); ++n) {
        const QString path = files.at(pick(static_cast<int>(files.size())));
        struct stat st {};
        // only ordinary files are harmed again: a FIFO made by an earlier harm must not be read here
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        QByteArray bytes = readBytes(path);
        const QString rel = QDir(data).relativeFilePath(path);
        const int kind = pick(21);
        auto lines = [&bytes] { return bytes.split('\n'); };
        switch (kind) {
        case 0: // truncated anywhere, even inside a UTF-8 sequence
            bytes.truncate(bytes.isEmpty() ? 0 : pick(static_cast<int>(bytes.size())));
            break;
        case 1: // binary and NUL bytes (never a printable character: that would be an edit, not damage)
            for (int i = 0; i < 8; ++i)
                bytes.insert(bytes.isEmpty() ? 0 : pick(static_cast<int>(bytes.size())), binaryByte());
            bytes.insert(bytes.size() / 2, QByteArray(3, '\0'));
            break;
        case 2: // invalid UTF-8
            bytes.insert(bytes.size() / 3, "\xC3\x28\xFF\xE9t\xE9\xF4\x90\x80\x80");
            break;
        case 3: // CR-only line ends
            bytes.replace("\r\n", "\r");
            break;
        case 4: // LF-only line ends
            bytes.replace("\r\n", "\n");
            break;
        case 5: { // byte-order marks in odd places
            auto l = lines();
            for (qsizetype i = 0; i < l.size(); i += 3)
                l[i].prepend("\xEF\xBB\xBF");
            bytes = l.join('\n');
            break;
        }
        case 6: // empty
            bytes.clear();
            break;
        case 7: // missing
            QFile::remove(path);
            done << rel + ": removed";
            continue;
        case 8: // a folder in its place
            QFile::remove(path);
            QDir().mkpath(path);
            done << rel + ": folder";
            continue;
        case 9: // a FIFO in its place: any reader that opens it plainly waits forever
            QFile::remove(path);
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
            done << rel + ": FIFO";
            continue;
        case 10: // a link to an endless device
            QFile::remove(path);
            QFile::link(QStringLiteral("/dev/zero"), path);
            done << rel + ": link to /dev/zero";
            continue;
        case 11: // a line of several megabytes
            bytes.insert(bytes.indexOf('\n') + 1, QByteArray(3 * 1024 * 1024, 'W') + "\t\t\t\t\r\n");
            break;
        case 12: { // numbers that are 0, negative, huge or not numbers
            auto l = lines();
            for (int k = 0; k < 4 && !l.isEmpty(); ++k) {
                QByteArray& line = l[pick(static_cast<int>(l.size()))];
                QList<QByteArray> f = line.split('\t');
                if (f.size() > 1)
                    f[1 + pick(static_cast<int>(std::min<qsizetype>(3, f.size() - 1)))] = numberJunk();
                else
                    f[0] = numberJunk() + f[0];
                line = f.join('\t');
            }
            bytes = l.join('\n');
            break;
        }
        case 13: { // duplicate keys: some lines twice
            auto l = lines();
            for (int k = 0; k < 5 && !l.isEmpty(); ++k) {
                const int at = pick(static_cast<int>(l.size()));
                l.insert(at, l.at(at));
            }
            bytes = l.join('\n');
            break;
        }
        case 14: { // 300 verses in a chapter, in the tables and in the text
            const QByteArray name = QFileInfo(path).fileName().toUtf8();
            if (name == "Chap_verset.txt")
                bytes.replace("40N\t2\t12", "40N\t2\t300");
            else if (name.endsWith("-N.txt"))
                for (int v = 13; v <= 300; ++v)
                    bytes += "40N\t2\t" + QByteArray::number(v) + "\t0\tMore\r\n";
            else
                bytes += bytes.right(200);
            break;
        }
        case 15: { // two lines swapped
            auto l = lines();
            if (l.size() > 2)
                l.swapItemsAt(pick(static_cast<int>(l.size())), pick(static_cast<int>(l.size())));
            bytes = l.join('\n');
            break;
        }
        case 16: { // last line first
            auto l = lines();
            std::reverse(l.begin(), l.end());
            bytes = l.join('\n');
            break;
        }
        case 17: // a byte-order mark anywhere past the start, even inside a key or a number
            bytes.insert(bytes.size() < 2 ? 0 : 1 + pick(static_cast<int>(bytes.size()) - 1), "\xEF\xBB\xBF");
            break;
        case 18: { // garbage before a line's first field
            auto l = lines();
            for (int k = 0; k < 3 && !l.isEmpty(); ++k) {
                QByteArray junk;
                for (int i = 1 + pick(3); i > 0; --i)
                    junk += binaryByte();
                l[pick(static_cast<int>(l.size()))].prepend(junk);
            }
            bytes = l.join('\n');
            break;
        }
        case 19: { // a line copied to another place
            auto l = lines();
            if (!l.isEmpty()) {
                const QByteArray copy = l.at(pick(static_cast<int>(l.size())));
                l.insert(pick(static_cast<int>(l.size()) + 1), copy);
            }
            bytes = l.join('\n');
            break;
        }
        default: { // cut short at a line end, as a copy that stopped between two lines
            const auto l = lines();
            bytes = QList<QByteArray>(l.begin(), l.begin() + pick(static_cast<int>(l.size()))).join('\n');
            if (!bytes.isEmpty()) bytes += '\n';
            break;
        }
        }
        writeBytes(path, bytes);
        done << rel + QStringLiteral(": harm %1").arg(kind);
    }
    return done;
}

} // namespace lumora::testing
