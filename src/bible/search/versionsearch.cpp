#include "bible/search/versionsearch.h"

#include "bible/biblestore.h"
#include "bible/search/linescan.h"
#include "common/lines.h"
#include "common/text.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <system_error>
#include <vector>

namespace lumora::bible {

namespace {

using uchar = unsigned char;

// The fields a hit needs, cut from one verse line.
struct HitLine {
    QByteArrayView verseKey; // field 1 TAB field 2 TAB field 3
    QByteArrayView bookKey, chapter, verse;
};

HitLine hitLine(QByteArrayView data, const HitLineRef& ref) {
    return {data.sliced(ref.start, ref.tab3 - ref.start), data.sliced(ref.start, ref.tab1 - ref.start),
            data.sliced(ref.tab1 + 1, ref.tab2 - ref.tab1 - 1),
            data.sliced(ref.tab2 + 1, ref.tab3 - ref.tab2 - 1)};
}

int bookNumber(QByteArrayView bookKey) {
    // The usual key, two digits and a letter, without the general parser.
    if (bookKey.size() == 3 && bookKey[0] >= '0' && bookKey[0] <= '9' && bookKey[1] >= '0' &&
        bookKey[1] <= '9' && (bookKey[2] < '0' || bookKey[2] > '9'))
        return (bookKey[0] - '0') * 10 + (bookKey[1] - '0');
    const auto number = common::leadingNumber(bookKey);
    return (number && *number > 0 && *number <= INT_MAX) ? static_cast<int>(*number) : 0;
}

bool isAscii(QByteArrayView v) {
    for (char c : v)
        if (static_cast<uchar>(c) >= 0x80) return false;
    return true;
}

// "Jean 3.16-16", built with one allocation (a search for a common word makes tens of thousands).
QString displayLine(int book, QByteArrayView bookKey, QByteArrayView chapter, QByteArrayView verse,
                    const QStringList& bookNames) {
    const bool named = book >= 1 && book <= bookNames.size() && !bookNames.at(book - 1).isEmpty();
    const QString name = named ? bookNames.at(book - 1) : QString::fromUtf8(bookKey);
    if (!isAscii(chapter) || !isAscii(verse)) {
        return name + QLatin1Char(' ') + QString::fromUtf8(chapter) + QLatin1Char('.') +
               QString::fromUtf8(verse) + QLatin1Char('-') + QString::fromUtf8(verse);
    }
    QString out(name.size() + chapter.size() + 2 * verse.size() + 3, Qt::Uninitialized);
    QChar* p = out.data();
    p = std::copy(name.cbegin(), name.cend(), p);
    auto put = [&p](QByteArrayView ascii) {
        for (char c : ascii)
            *p++ = QLatin1Char(c);
    };
    *p++ = QLatin1Char(' ');
    put(chapter);
    *p++ = QLatin1Char('.');
    put(verse);
    *p++ = QLatin1Char('-');
    put(verse);
    return out;
}

// A chapter or verse field as a number from 1 up; 0 when it is none.
int placeNumber(QByteArrayView field) {
    // The usual field, one to three digits, without the general parser.
    if (!field.isEmpty() && field.size() <= 3 && field[0] >= '1' && field[0] <= '9') {
        int n = 0;
        qsizetype i = 0;
        for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
            n = n * 10 + (field[i] - '0');
        if (i == field.size()) return n;
    }
    const auto number = common::leadingNumber(field);
    return (number && *number > 0 && *number <= INT_MAX) ? static_cast<int>(*number) : 0;
}

void fillHit(SearchHit& hit, const HitLine& line, const QByteArray& version) {
    hit.ref.version = version;
    hit.ref.book = bookNumber(line.bookKey);
    hit.ref.chapter = placeNumber(line.chapter);
    hit.ref.firstVerse = hit.ref.lastVerse = placeNumber(line.verse);
    hit.setVerseKey(line.verseKey);
}

} // namespace

void SearchHit::setVerseKey(QByteArrayView key) {
    if (key.size() <= static_cast<qsizetype>(m_inline.size())) {
        std::copy(key.begin(), key.end(), m_inline.begin());
        m_size = static_cast<int>(key.size());
        m_long.clear();
    } else {
        m_long = key.toByteArray();
        m_size = -1;
    }
}

QByteArrayView SearchHit::bookKey() const {
    const QByteArrayView key = verseKey();
    const qsizetype t1 = key.indexOf('\t');
    return key.first(t1 < 0 ? key.size() : t1);
}

QByteArrayView SearchHit::chapter() const {
    const QByteArrayView key = verseKey();
    const qsizetype t1 = key.indexOf('\t');
    const qsizetype t2 = t1 < 0 ? -1 : key.indexOf('\t', t1 + 1);
    if (t2 < 0) return {};
    return key.sliced(t1 + 1, t2 - t1 - 1);
}

QByteArrayView SearchHit::verse() const {
    const QByteArrayView key = verseKey();
    const qsizetype t2 = key.lastIndexOf('\t');
    if (t2 < 0) return {};
    return key.sliced(t2 + 1);
}

QList<SearchHit> searchBookBytes(QByteArrayView data, QByteArrayView needle) {
    std::vector<HitLineRef> refs;
    findHitLines(data, needle, refs);
    QList<SearchHit> hits(qsizetype(refs.size()));
    for (size_t k = 0; k < refs.size(); ++k) {
        fillHit(hits[qsizetype(k)], hitLine(data, refs[k]), QByteArray());
    }
    return hits;
}

SearchFileResult SearchBookFile(const QString& path, QByteArrayView needle) {
    SearchFileResult out;
    const auto bytes = common::readWholeFile(path);
    if (!bytes) return out;
    out.opened = true;
    out.hits = searchBookBytes(*bytes, needle);
    return out;
}

bool isBlankSearch(QByteArrayView needle) {
    return needle.isEmpty() || needle == " " || needle == "   ";
}

QString searchDisplayLine(const SearchHit& hit, const QStringList& bookNames) {
    return displayLine(hit.ref.book, hit.bookKey(), hit.chapter(), hit.verse(), bookNames);
}

std::optional<QByteArray> SearchFileCache::read(const QString& path) {
    std::error_code ec;
    const std::filesystem::path fsPath(QFile::encodeName(path).toStdString());
    const auto mtime = std::filesystem::last_write_time(fsPath, ec);
    const auto size = ec ? 0 : std::filesystem::file_size(fsPath, ec);
    auto it =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.path == path; });
    if (!ec && it != m_entries.end() && it->mtime == mtime && it->size == size) return it->data;
    if (it != m_entries.end()) m_entries.erase(it);
    auto bytes = common::readWholeFile(path);
    if (!bytes || ec) return bytes;
    if (m_entries.size() >= 2) m_entries.erase(m_entries.begin());
    m_entries.push_back({path, mtime, size, *bytes});
    return bytes;
}

VersionSearch SearchVersion(const QString& dataPath, const QByteArray& code, const QStringList& bookNames,
                            QByteArrayView needle, SearchFileCache* cache) {
    VersionSearch out;
    const VersionFiles files = versionFiles(dataPath, code);
    // Both files are scanned first, so the lists are sized once and filled in one pass.
    struct Scanned {
        QByteArray bytes;
        std::vector<HitLineRef> hits;
    };
    Scanned scanned[2];
    qsizetype total = 0;
    const QString paths[2] = {files.oldTestament, files.newTestament};
    for (int f = 0; f < 2; ++f) {
        auto bytes = cache ? cache->read(paths[f]) : common::readWholeFile(paths[f]);
        if (!bytes) {
            out.unreadable.append(paths[f]);
            continue;
        }
        scanned[f].bytes = std::move(*bytes);
        findHitLines(scanned[f].bytes, needle, scanned[f].hits);
        total += qsizetype(scanned[f].hits.size());
    }
    out.display.reserve(total);
    out.hits.resize(total);
    qsizetype k = 0;
    for (const Scanned& file : scanned) {
        for (const HitLineRef& ref : file.hits) {
            const HitLine line = hitLine(file.bytes, ref);
            SearchHit& hit = out.hits[k++];
            fillHit(hit, line, code);
            out.display.append(displayLine(hit.ref.book, line.bookKey, line.chapter, line.verse, bookNames));
        }
    }
    return out;
}

} // namespace lumora::bible
