#pragma once
// The set of lists in one folder: naming, creating, renaming and deleting a list together with
// its note. Nothing here ever creates, renames or replaces a file outside the folder, and no
// operation replaces an existing list or note.

#include <QString>
#include <QStringList>

#include <functional>

namespace lumora::lists {

// The first of "New List", "New List 1", "New List 2", ... that is not one of rows (compared
// exactly) and for which isTaken (when given) is false.
// {"New List", "New List 1"} -> "New List 2".
QString NewListName(const QStringList& rows, const std::function<bool(const QString&)>& isTaken = {});

// True when name can be a list's file name on Windows and on Linux: not empty, no path separator,
// no "..", no control character, none of < > : " / \ | ? *, not a Windows device name (CON,
// NUL, COM1, ...), not ending in a blank or a point, and short enough for a file name.
bool isUsableListName(const QString& name);

// True when a list or note file of that name exists in folder in any letter case. The files of
// list `self` itself do not count, so a list may change the letter case of its own name.
bool isListNameTaken(const QString& folder, const QString& name, const QString& self = {});

// New: creates "<name>.txt" (EF BB BF CR LF) and the note "<name>.rtf" (" Save me as (*.rtf)" CR
// LF, no BOM). False, and nothing replaced, when the name is unusable or taken in any letter case.
bool createList(const QString& folder, const QString& name);

// Renames the note, then the list. False when newName is unusable or taken, or a rename failed;
// a note renamed before the list failed keeps its new name. Renaming to the same name succeeds
// without touching anything.
bool renameList(const QString& folder, const QString& oldName, const QString& newName);

// Deletes the note, then the list. False (and the list kept) when the note is missing or cannot
// be deleted.
bool deleteList(const QString& folder, const QString& name);

} // namespace lumora::lists
