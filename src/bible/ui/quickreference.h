#pragma once
// The quick reference box of the Bible tab: a typed reference ("jn 3:16-18", "Ps 23",
// "1 Cor 13:4") selects its passage through the navigation, exactly as a verse list does.
//
//   Enter          the passage is selected in the lists (same passage, heading and marks)
//   Shift+Enter    the same, and referenceOpened(..., true): the passage goes to the clone too
//   Up / Down      the references entered before (the last 20 of the session, newest first)
//   Ctrl+L         (anywhere on the page given to installShortcut) puts the caret in the box
// A reference that cannot be resolved is answered under the box with the reason, and nothing
// moves; a book name that fits several books is never taken for one of them.

#include "session/passageref.h"

#include <QObject>
#include <QStringList>

class QCompleter;
class QLabel;
class QLineEdit;
class QStringListModel;
class QWidget;

namespace lumora::bible {

class BibleNavigation;

class QuickReference final : public QObject {
    Q_OBJECT
  public:
    static constexpr int kHistorySize = 20;

    QuickReference(BibleNavigation& navigation, QWidget* parent);

    // The box with its answer line below it, for the page to place.
    QWidget* widget() const { return m_widget; }
    QLineEdit* box() const { return Txt_Reference; }
    // The reason the last reference was refused ("" after one that was opened).
    QString answer() const;
    const QStringList& history() const { return m_history; }
    // The book names offered as completions: the version's own, without their numbers.
    QStringList completions() const;
    void installShortcut(QWidget* page);

  public slots:
    // Enter (toClone false) and Shift+Enter (true) in the box.
    bool open(const QString& text, bool toClone);
    // The version's tables changed: its book names are offered.
    void onVersionLoaded();

  signals:
    // The reference's passage was selected through the lists.
    void referenceOpened(const lumora::session::PassageRef& ref, bool toClone);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void remember(const QString& text);
    void recall(int step);

    BibleNavigation& m_navigation;
    QWidget* m_widget;
    QLineEdit* Txt_Reference;
    QLabel* Lbl_Reference;
    QCompleter* m_completer;
    QStringListModel* m_names;
    QStringList m_history;
    int m_recalled = -1; // the history entry shown by Up / Down; -1 while the user types
};

} // namespace lumora::bible
