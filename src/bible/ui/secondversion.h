#pragma once
// "also show:" on the Bible tab: a second version whose verses the clone shows with the first's,
// for a church that reads in two languages. None by default.
//
// Its verses are matched to the passage's by chapter and verse in the book of the same number:
// a verse the second version lacks is an empty text, never its neighbour.
//   passage KJV Ps 23:1-3, second RV1909 -> {"Jehová es mi pastor...", "En lugares...", "Confortará..."}

#include "bible/passagebuilder.h"
#include "session/nowshowing.h"
#include "session/session.h"

#include <QObject>
#include <QStringList>

class QComboBox;
class QWidget;

namespace lumora::bible {

class BibleNavigation;

// The text of each of `verses` among `other`, by chapter and verse; "" where `other` lacks it.
QStringList matchVerses(const QList<session::ShownVerse>& verses, const QList<session::ShownVerse>& other);

class SecondVersion final : public QObject {
    Q_OBJECT
  public:
    SecondVersion(const session::Session& session, BibleNavigation& navigation, QWidget* parent);

    // "also show:" with ComboBox_AlsoShow, for the page to place.
    QWidget* widget() const { return m_widget; }
    QComboBox* combo() const { return ComboBox_AlsoShow; }
    // The chosen version's code; "" for none.
    QByteArray code() const;
    // Chooses the version of that code (letter case ignored), as a pick in the list would;
    // none when no complete version has it.
    void choose(const QByteArray& code);
    // The verses of `ref`'s passage in the chosen version, matched to `verses`; empty for none.
    QStringList textsFor(const session::PassageRef& ref, const QList<session::ShownVerse>& verses);

  public slots:
    // The version list was read: the entries are offered again, the choice kept when it still is one.
    void onVersionsLoaded();

  signals:
    void versionChosen();

  private:
    const session::Session& m_session;
    BibleNavigation& m_navigation;
    QWidget* m_widget;
    QComboBox* ComboBox_AlsoShow;
    TestamentCache m_cache;
};

} // namespace lumora::bible
