#pragma once
// What a list panel asks of the area whose items it keeps: the item on display (for the add
// button) and bringing an entry back on screen.

#include <QString>

#include <optional>

namespace lumora::lists {

class FavouriteHost {
  public:
    virtual ~FavouriteHost() = default;
    // The entry the add button appends: a verse-list entry for the passage on display, or the
    // whole hymn entry (the selected ComboBox_Info_chant row) for the hymn on display. nullopt
    // when nothing is on display; the list is then left unchanged.
    virtual std::optional<QString> entryOnDisplay() = 0;
    // Brings the entry on screen: OpenVerseListEntry, or ShowPlaylistHymn.
    virtual void openEntry(const QString& entry) = 0;
};

} // namespace lumora::lists
