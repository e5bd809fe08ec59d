#include "bible/passagebuilder.h"

#include "bible/biblestore.h"
#include "common/lines.h"
#include "common/text.h"

#include <QFile>

#include <algorithm>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lumora::bible {

using namespace lumora::common;

PassageRequest PreparePassage(const QString& dataPath, const PassageSelection& sel) {
    PassageRequest r;
    const QByteArray code = VersionCode(Utf8Encode(sel.versionEntry)).value_or(QByteArray());
    r.BookFilePath = testamentFile(versionFiles(dataPath, code), sel.book.testament);
    const QByteArray prefix = sel.book.key + '\t' + QByteArray::number(sel.chapter) + '\t';
    const bool toChapterEnd = sel.lastVerse == sel.verseCount;
    r.StartKey = prefix + QByteArray::number(sel.firstVerse);
    r.ChapterFirstKey = prefix + "1";
    r.ChapterLastKey = prefix + QByteArray::number(sel.verseCount);
    r.endsBeforeChapterEnd = !toChapterEnd;
    r.EndKey = prefix + QByteArray::number(toChapterEnd ? sel.lastVerse : sel.lastVerse + 1);
    r.heading = sel.book.name + QLatin1Char(' ') + QString::number(sel.chapter) + QStringLiteral(" : ") +
                QString::number(sel.firstVerse);
    if (sel.firstVerse != sel.lastVerse) r.heading += QStringLiteral(" - ") + QString::number(sel.lastVerse);
    r.versionEntry = sel.versionEntry;
    return r;
}

ResolvedPassage ResolvePassage(const QString& dataPath, const VersionList& versions, const BookTables& tables,
                               const session::PassageRef& ref) {
    ResolvedPassage out;
    QString entry;
    for (const QString& e : versions.complete) {
        if (VersionCode(e).value_or(QString()).compare(QString::fromUtf8(ref.version), Qt::CaseInsensitive) ==
            0) {
            entry = e;
            break;
        }
    }
    if (entry.isEmpty()) {
        out.error = QStringLiteral("unknown version: ") + QString::fromUtf8(ref.version);
        return out;
    }
    const Book* book = tables.bookByNumber(ref.book);
    if (!book) {
        out.error = QStringLiteral("unknown book: %1").arg(ref.book);
        return out;
    }
    return ResolveInBook(dataPath, entry, tables, *book, ref);
}

ResolvedPassage ResolveInBook(const QString& dataPath, const QString& versionEntry, const BookTables& tables,
                              const Book& book, const session::PassageRef& ref) {
    ResolvedPassage out;
    if (ref.chapter < 1 || ref.chapter > book.chapterCount) {
        out.error =
            QStringLiteral("unknown chapter: %1 (the book has %2)").arg(ref.chapter).arg(book.chapterCount);
        return out;
    }
    const int verses = tables.verseCount(book, ref.chapter);
    if (verses < 1) {
        out.error = QStringLiteral("the chapter has no verse count in Chap_verset.txt");
        return out;
    }
    const int first = ref.isWholeChapter() ? 1 : ref.firstVerse;
    const int last = ref.isWholeChapter() ? verses : ref.lastVerse;
    if (first < 1 || first > verses || last > verses || last < first) {
        out.error = QStringLiteral("unknown verse: the chapter has %1 verses").arg(verses);
        return out;
    }
    out.selection = PassageSelection{versionEntry, book, ref.chapter, first, last, verses};
    out.request = PreparePassage(dataPath, *out.selection);
    return out;
}

ResolvedPassage ResolvePassage(const QString& dataPath, const session::PassageRef& ref) {
    const VersionList versions = LoadBibleVersions(dataPath);
    if (versions.openError) {
        ResolvedPassage out;
        out.error = QStringLiteral("cannot open Version.txt (error %1)").arg(*versions.openError);
        return out;
    }
    return ResolvePassage(dataPath, versions, LoadBookTables(dataPath, ref.version), ref);
}

namespace {

// The key of a verse line: its first three fields with their tabs, when the line has all four
// tabs; otherwise the line is not a verse line.
QByteArrayView lineKey(QByteArrayView line) {
    qsizetype pos = -1;
    qsizetype third = -1;
    for (int k = 0; k < 4; ++k) {
        pos = line.indexOf('\t', pos + 1);
        if (pos < 0) return {};
        if (k == 2) third = pos;
    }
    return line.first(third);
}

bool isDigits(QByteArrayView text) {
    return !text.isEmpty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A verse key as the program writes one: a book key of digits and its testament letter, a chapter
// and a verse number. A line keyed otherwise (garbage or a byte-order mark before or inside its
// key) is damage, neither shown nor taken for another book's line.
bool isVerseKey(const QByteArray& book, const QByteArray& chapter, const QByteArray& verse) {
    const char letter = book.isEmpty() ? '\0' : book.back();
    return (letter == 'O' || letter == 'N') && isDigits(QByteArrayView(book).chopped(1)) &&
           isDigits(chapter) && isDigits(verse);
}

// The text of a verse line. A tab in it means that the line end before a next line was lost: the
// text ends there, and before the key of that line when it is of the same book.
// ("Amen66N\t22\t1\t0\tAnd he", "66N") -> "Amen".
QByteArray verseText(const QByteArray& field, const QByteArray& bookKey) {
    const qsizetype tab = field.indexOf('\t');
    if (tab < 0) return field;
    const QByteArray before = field.first(tab);
    return before.endsWith(bookKey) ? before.chopped(bookKey.size()) : before;
}

} // namespace

std::optional<FileStamp> fileStamp(const QString& path) {
    std::error_code ec;
    const std::filesystem::path fsPath(QFile::encodeName(path).toStdString());
    FileStamp s;
    s.mtime = std::filesystem::last_write_time(fsPath, ec);
    if (ec) return std::nullopt;
    s.size = std::filesystem::file_size(fsPath, ec);
    if (ec) return std::nullopt;
#ifndef _WIN32
    struct stat st {};
    if (::stat(fsPath.c_str(), &st) != 0) return std::nullopt;
    s.device = std::uint64_t(st.st_dev);
    s.inode = std::uint64_t(st.st_ino);
    s.changeSeconds = std::int64_t(st.st_ctim.tv_sec);
    s.changeNanoseconds = std::int64_t(st.st_ctim.tv_nsec);
#endif
    return s;
}

void TestamentCache::forget(const QString& path) {
    m_files.remove_if([&path](const auto& entry) { return entry.first == path; });
}

std::shared_ptr<const TestamentCache::File> TestamentCache::get(const QString& path) {
    const auto stamp = fileStamp(path);
    if (!stamp) return nullptr;
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        if (it->first != path) continue;
        if (it->second->stamp == *stamp) {
            m_files.splice(m_files.begin(), m_files, it);
            return m_files.front().second;
        }
        m_files.erase(it);
        break;
    }
    auto data = readWholeFile(path);
    if (!data) return nullptr;
    auto file = std::make_shared<File>();
    file->stamp = *stamp;
    file->data = std::move(*data);
    file->firstLine.reserve(32768);
    LineSplitter lines(file->data);
    QByteArrayView view;
    qsizetype offset = 0;
    bool first = true;
    while (lines.next(view, &offset)) {
        if (first) view = view.sliced(std::min<qsizetype>(3, view.size()));
        first = false;
        const QByteArrayView key = lineKey(view);
        if (!key.isNull() && !file->firstLine.contains(key)) file->firstLine.insert(key, offset);
    }
    m_files.emplace_front(path, file);
    while (m_files.size() > 6)
        m_files.pop_back();
    return file;
}

Passage BuildPassage(const PassageRequest& request, TestamentCache& cache) {
    Passage out;
    out.endsBeforeChapterEnd = request.endsBeforeChapterEnd;
    out.heading = request.heading;
    out.PassageHeader =
        request.versionEntry + QStringLiteral("\r\n") + request.heading + QStringLiteral("\r\n\n");
    const auto file = cache.get(request.BookFilePath);
    if (!file) return out;
    out.opened = true;

    const QByteArray& data = file->data;
    // The first three characters of line 1 (the byte-order mark, in a well-formed file).
    qsizetype firstLineEnd = 0;
    while (firstLineEnd < data.size() && data[firstLineEnd] != '\r' && data[firstLineEnd] != '\n')
        ++firstLineEnd;
    const QByteArray kept = data.left(std::min<qsizetype>(3, firstLineEnd));

    // Lines before the first of these keys change nothing, so reading starts there.
    qsizetype start = -1;
    for (const QByteArray* key : {&request.ChapterFirstKey, &request.StartKey, &request.ChapterLastKey}) {
        const auto it = file->firstLine.constFind(QByteArrayView(*key));
        if (it != file->firstLine.cend() && (start < 0 || *it < start)) start = *it;
    }

    // book key TAB chapter TAB: what every verse line of the requested chapter begins with.
    const QByteArray chapterPrefix =
        request.ChapterFirstKey.left(request.ChapterFirstKey.lastIndexOf('\t') + 1);

    QByteArray body;
    QByteArray trailingLabel; // the line of the verse after the selection, when it ends early
    if (start >= 0) {
        bool inChapter = false, inSelection = false;
        int n = 0;
        LineSplitter lines(data);
        lines.seek(start);
        QByteArray line;
        qsizetype offset = 0;
        while (lines.next(line, &offset)) {
            if (offset == 0) line.remove(0, 3);
            const auto f = cutFields<5>(line);
            if (!f) continue;
            const QByteArray& f2 = (*f)[1];
            const QByteArray& f3 = (*f)[2];
            const QByteArray& f4 = (*f)[3];
            const QByteArray f5 = verseText((*f)[4], (*f)[0]);
            if (!isVerseKey((*f)[0], f2, f3)) continue;
            const QByteArray K = (*f)[0] + '\t' + f2 + '\t' + f3;
            if ((inChapter || inSelection) && !K.startsWith(chapterPrefix)) break;
            if (K == request.ChapterFirstKey) {
                inChapter = true;
                n = 1;
            }
            if (K == request.StartKey) inSelection = true;
            if (inChapter) {
                if (n >= 1 && n <= kMaxVerses) out.VersePositions[static_cast<size_t>(n)] = f4;
                ++n;
            }
            if (inSelection) {
                const QByteArray label = f2 + '.' + f3;
                QByteArray titles;
                QByteArray text = f5;
                if (f5.startsWith('[')) {
                    const qsizetype close1 = f5.indexOf(']');
                    if (close1 >= 0) {
                        auto layOut = [&](const QByteArray& inner) {
                            QString t = Utf8Decode(inner);
                            if (request.titlesUppercase) t = t.toUpper();
                            titles += Utf8Encode(t) + "\r\n\r";
                        };
                        layOut(f5.mid(1, close1 - 1));
                        text = f5.mid(close1 + 1);
                        if (close1 + 1 < f5.size() && f5[close1 + 1] == '[') {
                            const qsizetype close2 = f5.indexOf(']', close1 + 2);
                            if (close2 >= 0) {
                                layOut(f5.mid(close1 + 2, close2 - close1 - 2));
                                text = f5.mid(close2 + 1);
                            }
                        }
                    }
                }
                QByteArray L = (request.withTitles ? titles : QByteArray()) + label + "   " + text;
                // The verse after the selection is only a reference line, not a verse shown.
                if (K != request.EndKey || !request.endsBeforeChapterEnd) {
                    ++out.versesFound;
                    out.verses.append(
                        {f2.toInt(), f3.toInt(), QString::fromUtf8(label), Utf8Decode(text), f4});
                }
                if (f4 != "0") out.marks.append(label + '\t' + f4);
                if (K == request.EndKey) {
                    if (inChapter) out.endRow = n - 1;
                    if (request.endsBeforeChapterEnd) {
                        trailingLabel = label + "\t\r\n";
                        body += trailingLabel;
                    } else
                        body += L + "\r\n";
                    inSelection = false;
                } else {
                    body += L + "\r\n\n";
                }
            }
            if (K == request.ChapterLastKey) {
                out.chapterEndFound = true;
                break;
            }
        }
    }
    if (!body.startsWith(kept)) body.prepend(kept);
    // A selection of which no verse is found shows nothing, not a header over an empty passage.
    if (out.versesFound == 0) {
        out.PassageText = out.ShownText = kept;
        return out;
    }
    if (request.showHeader)
        out.PassageText = QByteArray(kBom) + Utf8Encode(out.PassageHeader) + body.mid(3);
    else
        out.PassageText = body;
    out.ShownText = out.PassageText;
    if (!trailingLabel.isEmpty() && out.ShownText.endsWith(trailingLabel)) {
        out.ShownText.chop(trailingLabel.size());
        // the last verse shown ends as the chapter's last verse does, without the blank line
        if (out.ShownText.endsWith("\r\n\n")) out.ShownText.chop(1);
    }
    return out;
}

} // namespace lumora::bible
