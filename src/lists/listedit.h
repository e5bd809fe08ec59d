#pragma once
// The edits of a list's entries, on the rows alone: the panel shows the result and writes it.
// Lists of any length are edited the same way.

#include <QStringList>

#include <optional>

namespace lumora::lists {

struct EditResult {
    QStringList rows;
    int selected = -1; // row to select afterwards, -1 for none
};

// Removes row s. The new selection is s, or the new last row when s is at or past it, or none
// when the list is now empty. With s = -1 nothing is removed and nothing ends selected.
// nullopt for an empty list: there is nothing to do and nothing to write.
// {a, b, c}, s = 2 -> {a, b}, selected 1.
std::optional<EditResult> removeEntry(const QStringList& rows, int s);

// Exchanges rows s - 1 and s and selects s - 1. nullopt (the caller shows the move-up error)
// when s is 0, no row is selected, or s is past the end.
std::optional<EditResult> moveEntryUp(const QStringList& rows, int s);

// Exchanges rows s and s + 1 and selects s + 1. On the last row nothing moves and it stays
// selected (an empty list counts as having its "last row" -1 selected). nullopt (the move-down
// error) when no row is selected in a list that has rows, or s is past the end.
std::optional<EditResult> moveEntryDown(const QStringList& rows, int s);

} // namespace lumora::lists
