#pragma once
// The verse-list side of the Bible tab: the entry of the passage on display, and the place an
// opened entry names, handed to the navigation (the same cascade as a search hit).

#include "lists/ui/favouritehost.h"
#include "lists/verselistentry.h"
#include "session/passageref.h"

#include <QObject>

namespace lumora::lists {

class VerseListHost final : public QObject, public FavouriteHost {
    Q_OBJECT
  public:
    using QObject::QObject;

    // The entry of the passage chosen last; nullopt while none is chosen.
    std::optional<QString> entryOnDisplay() override;
    void openEntry(const QString& entry) override { OpenVerseListEntry(entry); }

    // Raises passageRequested with the entry's place. False, with nothing raised, when the entry
    // cannot be read.
    bool OpenVerseListEntry(const QString& entry);

    // The navigation chose a passage (`bookName` as its book list shows it), or let its choice go.
    void onPassageChosen(const session::PassageRef& ref, const QString& bookName);
    void onChoiceCleared() { m_shown.reset(); }

  signals:
    void passageRequested(const session::PassageRef& ref);

  private:
    struct Shown {
        session::PassageRef ref;
        QString bookName;
    };
    std::optional<Shown> m_shown;
};

} // namespace lumora::lists
