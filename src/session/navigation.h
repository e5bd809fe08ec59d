#pragma once
// The rows of the Bible navigation lists: a jump request to move them. The navigation itself
// lives with the Bible tab; other areas name a place with a PassageRef.

#include <QString>

namespace lumora::session {

// The five lists, top level first.
enum class NavLevel { Version, Book, Chapter, Verse, Span };

// Where a programmatic selection goes, as 0-based rows of the version, book, chapter and
// first-verse lists, and the row of the end-verse list (whose row 0 is the first verse itself).
struct JumpRequest {
    int TargetVersion = 0;
    int TargetBook = 0;
    int TargetChapter = 0;
    int TargetVerse = 0;
    qint16 TargetSpan = 0;
};

} // namespace lumora::session
