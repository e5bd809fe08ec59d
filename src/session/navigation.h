#pragma once
// The rows of the Bible navigation lists: a jump request to move them. The navigation itself
// lives with the Bible tab; other areas name a place with a PassageRef.

#include <QString>

namespace lumora::session {

// The five lists, top level first.
enum class NavLevel { Version, Book, Chapter, Verse, Span };

// Where a programmatic selection goes, as 0-based rows: List_version, List_livre, List_chapitre,
// List_verset, and the row of List_verset_limite (whose row 0 is the first verse itself).
struct JumpRequest {
    int TargetVersion = 0;
    int TargetBook = 0;
    int TargetChapter = 0;
    int TargetVerse = 0;
    qint16 TargetSpan = 0;
};

} // namespace lumora::session
