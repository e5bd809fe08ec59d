#pragma once
// The set of lists in one folder: naming, creating, renaming and deleting a list together with
// its note. Nothing here ever creates, renames or replaces a file outside the folder, and no
// operation replaces an existing list or note.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lumora::lists {

// The first of "New List", "New List 1", "New List 2", ... that is not one of rows (compared
// exactly) and for which isTaken (when given) is false.
// {"New List", "New List 1"} -> "New List 2".
QString NewListName(const QStringList& rows, const std::function<bool(const QString&)>& isTaken = {});

// Why name cannot be a list's file name on Windows and on Linux, as a sentence for the user; nullopt
// when it can. Refused: an empty name, "." and "..", a path separator, a control character, any of
// < > : " | ? *, a Windows device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$,
// CLOCK$, with or without an extension), a name ending in a point or a blank, a name too long for
// a file. Points inside a name are fine: "Vol..2" stays in its folder.
std::optional<QString> listNameProblem(const QString& name);
inline bool isUsableListName(const QString& name) {
    return !listNameProblem(name);
}

// True when a list or note file of that name exists in folder in any letter case. The files of
// list `self` itself do not count, so a list may change the letter case of its own name.
bool isListNameTaken(const QString& folder, const QString& name, const QString& self = {});

// New: creates "<name>.txt" (EF BB BF CR LF) and the note "<name>.rtf" (" Save me as (*.rtf)" CR
// LF, no BOM). False, and nothing replaced, when the name is unusable or taken in any letter case.
bool createList(const QString& folder, const QString& name);

enum class RenameOutcome {
    Renamed,
    UnusableName, // listNameProblem says why; nothing touched
    Taken,        // another list or note has the name, or it is the list's own name; nothing touched
    Failed, // the list is missing or a rename failed; a note renamed before the failure keeps its new name
};

// Renames the note, then the list. A change of letter case only ("Sunday" -> "SUNDAY") is a rename.
RenameOutcome renameList(const QString& folder, const QString& oldName, const QString& newName);

// Deletes the note, then the list. False (and the list kept) when the note is missing or cannot
// be deleted.
bool deleteList(const QString& folder, const QString& name);

} // namespace lumora::lists
