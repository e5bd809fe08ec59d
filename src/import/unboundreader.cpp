// The Unbound Bible reader: "#" header lines, then one verse per line in tab-separated columns.

#include "import/bibleformats.h"

#include <map>

namespace lumora::import {

namespace {

struct Columns {
    int book = 0, chapter = 1, verse = 2, subverse = 3, text = 5;
    int count = 6; // columns a line holds
};

// "#columns orig_book_index orig_chapter ..." (blanks or tabs between the names).
Columns columnsFrom(const QByteArray& names) {
    Columns c;
    const QList<QByteArray> list = names.simplified().split(' ');
    c.subverse = -1;
    c.count = static_cast<int>(list.size());
    c.text = c.count - 1;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QByteArray& n = list[i];
        const int at = static_cast<int>(i);
        if (n == "orig_book_index" || n == "book_index" || n == "book")
            c.book = at;
        else if (n == "orig_chapter" || n == "chapter")
            c.chapter = at;
        else if (n == "orig_verse" || n == "verse")
            c.verse = at;
        else if (n == "orig_subverse" || n == "subverse")
            c.subverse = at;
        else if (n == "text")
            c.text = at;
    }
    return c;
}

} // namespace

std::optional<ReadProblem> readUnboundFile(const SourceFile& file, const QByteArray& bookNames,
                                           ReaderContext& ctx) {
    BibleBuilder& b = ctx.builder;
    std::map<QByteArray, QByteArray> names; // "01O" -> "Genesis"
    for (QByteArray line : bookNames.split('\n')) {
        line = line.trimmed();
        const qsizetype tab = line.indexOf('\t');
        if (tab > 0 && !line.startsWith('#')) names[line.left(tab).toUpper()] = line.mid(tab + 1).trimmed();
    }
    std::optional<Columns> columns;
    QByteArray currentBook;
    int currentChapter = 0;
    const QByteArray& s = file.bytes;
    qsizetype start = s.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qint64 lineNumber = 0;
    while (start < s.size()) {
        qsizetype end = s.indexOf('\n', start);
        if (end < 0) end = s.size();
        QByteArray line = s.mid(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (lineNumber % 20000 == 0 && !ctx.keepGoing(start)) return std::nullopt;
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        if (line.startsWith('#')) {
            qsizetype sep = 1;
            while (sep < line.size() && line[sep] != '\t' && line[sep] != ' ')
                ++sep;
            const QByteArray key = line.mid(1, sep - 1).toLower();
            const QByteArray value = line.mid(sep).trimmed();
            if (key == "name" && ctx.title.isEmpty())
                ctx.title = value;
            else if (key == "language")
                b.setLanguage(value);
            else if (key == "columns")
                columns = columnsFrom(value);
            continue;
        }
        const QList<QByteArray> fields = line.split('\t');
        if (!columns) {
            Columns c;
            if (fields.size() == 4) {
                c.subverse = -1;
                c.text = 3;
                c.count = 4;
            }
            columns = c;
        }
        const Columns& c = *columns;
        if (fields.size() <= std::max({c.book, c.chapter, c.verse, c.text}))
            return ReadProblem{file.name, lineNumber, 1,
                               QStringLiteral("expected %1 tab-separated columns, found %2")
                                   .arg(std::max({c.book, c.chapter, c.verse, c.text}) + 1)
                                   .arg(fields.size())};
        const QByteArray bookId = fields[c.book].trimmed().toUpper();
        bool ok = false;
        const int number = bookId.left(2).toInt(&ok);
        if (!ok || bookId.size() < 2)
            return ReadProblem{file.name, lineNumber, 1,
                               QStringLiteral("not a book index: ") + QString::fromUtf8(fields[c.book])};
        if (bookId != currentBook) {
            const BookCode* code = number >= 1 && number <= 66 ? bookByNumber(number) : nullptr;
            const auto named = names.find(bookId);
            const QByteArray name = named != names.end() ? named->second : QByteArray();
            b.beginBook(code, name.isEmpty() ? "Book " + QByteArray::number(number) : name, name);
            currentBook = bookId;
            currentChapter = 0;
        }
        const int chapter = fields[c.chapter].trimmed().toInt(&ok);
        if (!ok || (chapter != currentChapter && !b.beginChapter(chapter)))
            return ReadProblem{file.name, lineNumber, 1,
                               QStringLiteral("not a chapter number: ") +
                                   QString::fromUtf8(fields[c.chapter])};
        currentChapter = chapter;
        const int verse = fields[c.verse].trimmed().toInt(&ok);
        if (!ok || !b.beginVerse(verse))
            return ReadProblem{file.name, lineNumber, 1,
                               QStringLiteral("not a verse number: ") + QString::fromUtf8(fields[c.verse])};
        // In the last column, text with tabs in it runs to the end of the line (tabs become blanks).
        b.addText(c.text == c.count - 1 ? fields.mid(c.text).join('\t') : fields[c.text]);
        b.endVerse();
    }
    return std::nullopt;
}

} // namespace lumora::import
