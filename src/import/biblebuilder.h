#pragma once
// What every Bible reader fills: the verses it finds, book by book, and the counts the import
// summary shows. The readers only say what they meet (a book, a chapter, a verse, text, a
// title, a skipped marker); the builder keeps the versification the file itself gives.
//
//   beginBook(GEN) beginChapter(1) beginTitle() addText("Creation") endTitle()
//   beginVerse(1) addText("In the  beginning") -> Genesis 1:1 "[Creation]In the beginning"

#include "import/biblemodel.h"
#include "import/booktable.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>
#include <vector>

namespace lumora::import {

// Where a file is malformed, for one clear message: "kjv.xml:12:5: unclosed element".
struct ReadProblem final {
    QString file;
    qint64 line = 0;   // 1-based; 0 when not known
    qint64 column = 0; // 1-based; 0 when not known
    QString message;

    QString text() const;
};

struct ReadCounts final {
    int books = 0;
    int chapters = 0;
    int verses = 0;
    int titles = 0;
    int emptyVerses = 0;
    std::map<QByteArray, int> skipped; // marker or element -> how often it was skipped
};

// Verse and chapter numbers a reader accepts; a larger one is malformed input (it would make
// the chapter table claim that many verses).
inline constexpr int kMaxChapter = 1000;
inline constexpr int kMaxVerse = 2000;

class BibleBuilder final {
  public:
    // `language`: the version's language when the file states it, for built-in book names.
    void setLanguage(const QByteArray& language) { m_language = language; }
    const QByteArray& language() const { return m_language; }

    // Starts a book, or goes back to one met before. `code` is the table entry (nullptr for a
    // book the table does not know, identified by `ownId`); `fileName` is the name the file
    // gives, empty when it gives none.
    void beginBook(const BookCode* code, const QByteArray& ownId, const QByteArray& fileName);
    // Sets the name a file gives after the book began (USFM's \toc2 or \h).
    void setBookName(const QByteArray& name, int priority);
    bool inBook() const { return m_book != nullptr; }

    // False (and nothing changes) when the number is out of range.
    bool beginChapter(int chapter);
    bool inChapter() const { return m_chapter > 0; }
    // Starts verse `first`; the verses up to `last` of a bridge stay empty. False when out of
    // range or outside a chapter.
    bool beginVerse(int first, int last = 0);
    // Ends the current verse: text met after it until the next verse is dropped (and counted
    // under `dropped` when not blank).
    void endVerse();
    bool inVerse() const { return m_verse >= 0; }

    // Text of the current verse or title; white space is collapsed.
    void addText(QByteArrayView utf8);
    // A paragraph or line boundary: a blank between words.
    void addBreak();
    // Something dropped (a note) stood here: a blank when a word follows a word directly.
    void addGap() { m_gap = true; }

    // Text between these goes to a title, given to the verse that follows (or to the current
    // verse while it has no text yet).
    void beginTitle();
    void endTitle();
    bool inTitle() const { return m_inTitle; }

    void skip(const QByteArray& what) { ++m_counts.skipped[what]; }

    // Books in number order; each chapter as long as its highest verse.
    ImportedBible finish(ReadCounts* counts);

  private:
    struct Verse {
        QList<QByteArray> titles;
        QByteArray text;
    };
    struct Book {
        ImportedBook meta;
        int namePriority = 0;
        std::vector<std::vector<Verse>> chapters;
    };
    void append(QByteArray& out, QByteArrayView text);
    Verse* currentVerse();

    QByteArray m_language;
    std::map<int, Book> m_books;
    std::map<QByteArray, int> m_unlisted; // own id -> number
    Book* m_book = nullptr;
    int m_chapter = 0;
    int m_verse = -1; // index in the current chapter; -1 between verses
    QList<QByteArray> m_pendingTitles;
    QByteArray m_title;
    bool m_inTitle = false;
    bool m_gap = false;
    ReadCounts m_counts;
};

// Cleans a collected verse or title: trimmed, paragraph signs removed.
QByteArray finishedText(QByteArray text);

} // namespace lumora::import
