#pragma once
// The Bible navigation lists as other areas see them: a jump request to move them, and a read-only
// view of what they show. The navigation itself lives with the Bible tab.

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

class NavigationLists {
  public:
    NavigationLists() = default;
    NavigationLists(const NavigationLists&) = delete;
    NavigationLists& operator=(const NavigationLists&) = delete;
    virtual ~NavigationLists() = default;

    virtual int selectedRow(NavLevel level) const = 0; // -1 when none
    virtual int rowCount(NavLevel level) const = 0;
    virtual QString rowText(NavLevel level, int row) const = 0;
    // TargetVersion: the version row the last jump went to.
    virtual int targetedVersion() const = 0;
};

} // namespace lumora::session
