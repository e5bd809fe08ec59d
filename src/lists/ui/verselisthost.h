#pragma once
// The verse-list side of the Bible tab: builds the entry of the passage on display, and turns an
// entry into a jump request for the navigation lists (the same cascade as a search hit).

#include "lists/ui/favouritehost.h"
#include "lists/verselistentry.h"
#include "session/navigation.h"

#include <QObject>

namespace lumora::lists {

class VerseListHost final : public QObject, public FavouriteHost {
    Q_OBJECT
  public:
    explicit VerseListHost(const session::NavigationLists& nav, QObject* parent = nullptr)
        : QObject(parent), m_nav(nav) {}

    std::optional<QString> entryOnDisplay() override;
    void openEntry(const QString& entry) override { OpenVerseListEntry(entry); }

    // Works out the jump to the entry and raises jumpRequested with it. False, with nothing raised,
    // when the entry cannot be read or its row lies outside the list it must be picked in. An
    // unknown version code keeps the version last targeted.
    bool OpenVerseListEntry(const QString& entry);

  signals:
    void jumpRequested(const session::JumpRequest& request);

  private:
    const session::NavigationLists& m_nav;
};

} // namespace lumora::lists
