#pragma once
// Where a passage is, as a value: a version, a book by its number, a chapter and a span of verses.
// The navigation emits it, search hits and verse-list entries carry it, and the command line and
// the window resolve it through the same core code.

#include <QByteArray>

namespace lumora::session {

struct PassageRef {
    QByteArray version; // version code as Version.txt writes it, "KJV"
    int book = 0;       // the book's number: 1 for Genesis, 43 for John; above 66 for other books
    int chapter = 0;    // 1-based
    int firstVerse = 0; // 1-based; 0 with lastVerse 0: the whole chapter
    int lastVerse = 0;  // 1-based, not before firstVerse; 0: to the chapter's end

    bool isWholeChapter() const { return firstVerse == 0 && lastVerse == 0; }
    friend bool operator==(const PassageRef&, const PassageRef&) = default;
};

} // namespace lumora::session
