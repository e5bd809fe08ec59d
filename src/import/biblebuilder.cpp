#include "import/biblebuilder.h"

#include "import/osistext.h"

#include <algorithm>

namespace lumora::import {

namespace {
bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || u >= 0x80;
}
bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
// Tabs, line ends and other control characters would break the verse line: all become blanks.
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
}
} // namespace

QString ReadProblem::text() const {
    QString out = file;
    if (line > 0) {
        out += QLatin1Char(':') + QString::number(line);
        if (column > 0) out += QLatin1Char(':') + QString::number(column);
    }
    return out.isEmpty() ? message : out + QStringLiteral(": ") + message;
}

QByteArray finishedText(QByteArray text) {
    // The pilcrow is a paragraph sign of some editions, not part of the reading.
    text.replace("\xC2\xB6 ", "");
    text.replace("\xC2\xB6", "");
    return text.trimmed();
}

void BibleBuilder::beginBook(const BookCode* code, const QByteArray& ownId, const QByteArray& fileName) {
    endTitle();
    m_pendingTitles.clear();
    m_chapter = 0;
    m_verse = -1;
    int number = 0;
    if (code) {
        number = code->number;
    } else {
        const auto known = m_unlisted.find(ownId);
        number = known != m_unlisted.end() ? known->second
                                           : kFirstUnlistedBook + static_cast<int>(m_unlisted.size());
        m_unlisted.emplace(ownId, number);
    }
    auto [it, added] = m_books.try_emplace(number);
    m_book = &it->second;
    if (added) {
        ImportedBook& meta = m_book->meta;
        meta.number = number;
        meta.classLabel = bookClass(number);
        if (code) {
            meta.name = localBookName(*code, m_language);
            meta.soundPrefix = code->osis;
        } else {
            meta.name = ownId;
            for (char c : ownId)
                if (isAsciiAlnum(c)) meta.soundPrefix.append(c);
            if (meta.soundPrefix.isEmpty()) meta.soundPrefix = "B" + QByteArray::number(number);
        }
    }
    if (!fileName.trimmed().isEmpty()) setBookName(fileName, 1);
}

void BibleBuilder::setBookName(const QByteArray& name, int priority) {
    if (!m_book) return;
    QByteArray clean;
    append(clean, name);
    clean = clean.trimmed();
    if (clean.isEmpty() || priority < m_book->namePriority) return;
    m_book->meta.name = clean;
    m_book->namePriority = priority;
}

bool BibleBuilder::beginChapter(int chapter) {
    if (!m_book || chapter < 1 || chapter > kMaxChapter) return false;
    endTitle();
    m_chapter = chapter;
    m_verse = -1;
    if (static_cast<int>(m_book->chapters.size()) < chapter) m_book->chapters.resize(chapter);
    return true;
}

bool BibleBuilder::beginVerse(int first, int last) {
    if (!m_book || m_chapter < 1 || first < 1 || first > kMaxVerse || last > kMaxVerse) return false;
    endTitle();
    auto& verses = m_book->chapters[static_cast<std::size_t>(m_chapter - 1)];
    const int end = std::max(first, last);
    if (static_cast<int>(verses.size()) < end) verses.resize(static_cast<std::size_t>(end));
    m_verse = first - 1;
    Verse& v = verses[static_cast<std::size_t>(m_verse)];
    v.titles += m_pendingTitles;
    m_pendingTitles.clear();
    // A verse met twice (a file that repeats a verse) continues its text.
    if (!v.text.isEmpty()) v.text.append(' ');
    m_gap = false;
    return true;
}

void BibleBuilder::endVerse() {
    m_verse = -1;
}

BibleBuilder::Verse* BibleBuilder::currentVerse() {
    if (!m_book || m_chapter < 1 || m_verse < 0) return nullptr;
    return &m_book->chapters[static_cast<std::size_t>(m_chapter - 1)][static_cast<std::size_t>(m_verse)];
}

void BibleBuilder::append(QByteArray& out, QByteArrayView text) {
    if (m_gap && !text.isEmpty() && isAsciiAlnum(text.front()) && !out.isEmpty() && isWordByte(out.back()))
        out.append(' ');
    for (char c : text) {
        m_gap = false;
        if (isBlank(c)) {
            if (!out.isEmpty() && out.back() != ' ') out.append(' ');
        } else {
            out.append(c);
        }
    }
}

void BibleBuilder::addText(QByteArrayView utf8) {
    if (utf8.isEmpty()) return;
    if (m_inTitle) {
        append(m_title, utf8);
        return;
    }
    if (Verse* v = currentVerse()) {
        append(v->text, utf8);
        return;
    }
    // Text outside any verse (an introduction, a heading the format does not mark) is not read.
    for (char c : utf8)
        if (!isBlank(c)) {
            skip("text outside a verse");
            return;
        }
}

void BibleBuilder::addBreak() {
    addText(" ");
}

void BibleBuilder::beginTitle() {
    endTitle();
    m_inTitle = true;
    m_title.clear();
}

void BibleBuilder::endTitle() {
    if (!m_inTitle) return;
    m_inTitle = false;
    m_gap = false;
    const QByteArray title = finishedText(m_title);
    m_title.clear();
    if (title.isEmpty() || !m_book) return;
    Verse* v = currentVerse();
    if (v && v->text.trimmed().isEmpty())
        v->titles.append(title);
    else
        m_pendingTitles.append(title);
}

ImportedBible BibleBuilder::finish(ReadCounts* counts) {
    endTitle();
    ImportedBible bible;
    ReadCounts c = m_counts;
    for (auto& [number, book] : m_books) {
        ImportedBook out = std::move(book.meta);
        int titles = 0, verseCount = 0, empty = 0;
        for (auto& chapter : book.chapters) {
            std::vector<ImportedVerse> verses;
            verses.reserve(chapter.size());
            for (auto& v : chapter) {
                ImportedVerse iv;
                const QByteArray text = finishedText(std::move(v.text));
                titles += static_cast<int>(v.titles.size());
                if (text.isEmpty()) ++empty;
                iv.text = verseField(v.titles, text);
                verses.push_back(std::move(iv));
            }
            verseCount += static_cast<int>(verses.size());
            out.chapters.push_back(std::move(verses));
        }
        // A book named but holding no verse text at all (introductions only) is not a book.
        if (empty == verseCount) continue;
        c.titles += titles;
        c.verses += verseCount;
        c.emptyVerses += empty;
        c.chapters += static_cast<int>(out.chapters.size());
        ++c.books;
        bible.books.push_back(std::move(out));
    }
    m_books.clear();
    m_book = nullptr;
    if (counts) *counts = std::move(c);
    return bible;
}

} // namespace lumora::import
