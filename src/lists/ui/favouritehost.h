#pragma once
// What a list panel asks of the area whose items it keeps: the item on display (for the add
// button) and bringing an entry back on screen.

#include <QString>

#include <functional>
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

// A host made of two functions, for areas that hand over callbacks (the hymn selection's
// ShowPlaylistHymn) and for tests.
class CallbackHost final : public FavouriteHost {
  public:
    CallbackHost() = default;
    CallbackHost(std::function<std::optional<QString>()> onDisplay, std::function<void(const QString&)> open)
        : entryOnDisplayFn(std::move(onDisplay)), openEntryFn(std::move(open)) {}
    std::optional<QString> entryOnDisplay() override {
        return entryOnDisplayFn ? entryOnDisplayFn() : std::nullopt;
    }
    void openEntry(const QString& entry) override {
        if (openEntryFn) openEntryFn(entry);
    }

    std::function<std::optional<QString>()> entryOnDisplayFn;
    std::function<void(const QString&)> openEntryFn;
};

} // namespace lumora::lists
