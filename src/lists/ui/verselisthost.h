#pragma once
// The verse-list side of the Bible tab: builds the entry of the passage on display and opens an
// entry through the navigation lists (the same cascade as a search hit).

#include "app/appstate.h"
#include "lists/ui/favouritehost.h"
#include "lists/verselistentry.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace lumora::lists {

// The five Bible navigation lists List_version, List_livre, List_chapitre, List_verset and
// List_verset_limite, as the verse lists use them.
class NavigationLists {
  public:
    virtual ~NavigationLists() = default;
    virtual int selectedRow(NavLevel level) const = 0; // -1 when none
    virtual int rowCount(NavLevel level) const = 0;
    virtual QString rowText(NavLevel level, int row) const = 0;
    // Selects as a user pick would, so that the list's own handler runs (and cascades).
    virtual void selectRow(NavLevel level, int row) = 0;
};

// NavigationLists over the widgets of that name under root (QListWidget or QComboBox); a list
// that is missing counts as empty.
class WidgetNavigationLists final : public NavigationLists {
  public:
    explicit WidgetNavigationLists(QWidget* root) : m_root(root) {}
    int selectedRow(NavLevel level) const override;
    int rowCount(NavLevel level) const override;
    QString rowText(NavLevel level, int row) const override;
    void selectRow(NavLevel level, int row) override;

  private:
    QWidget* find(NavLevel level) const;
    QPointer<QWidget> m_root;
};

class VerseListHost final : public FavouriteHost {
  public:
    VerseListHost(NavigationLists& nav, app::AppState& state) : m_nav(nav), m_state(state) {}

    std::optional<QString> entryOnDisplay() override;
    void openEntry(const QString& entry) override { OpenVerseListEntry(entry); }

    // Sets the jump request from the entry and moves through the first navigation list that
    // differs, top level first. False, with no list changed, when the entry cannot be read or its
    // row lies outside the list it must be picked in. An unknown version code keeps the version
    // last targeted.
    bool OpenVerseListEntry(const QString& entry);

    // The navigation's own move to the targets (the cascade shared with search hits). When set,
    // OpenVerseListEntry sets the targets and leaves the move to it; otherwise it selects through
    // NavigationLists itself.
    void setJump(std::function<void()> jump) { m_jump = std::move(jump); }

  private:
    NavigationLists& m_nav;
    app::AppState& m_state;
    std::function<void()> m_jump;
};

} // namespace lumora::lists
