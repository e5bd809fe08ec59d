#include "bible/ui/secondversion.h"

#include "bible/ui/biblenavigation.h"
#include "common/text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace lumora::bible {

QStringList matchVerses(const QList<session::ShownVerse>& verses, const QList<session::ShownVerse>& other) {
    QHash<QPair<int, int>, QString> byPlace;
    for (const session::ShownVerse& v : other)
        byPlace.insert({v.chapter, v.verse}, v.text);
    QStringList out;
    for (const session::ShownVerse& v : verses)
        out << byPlace.value({v.chapter, v.verse});
    return out;
}

SecondVersion::SecondVersion(const session::Session& session, BibleNavigation& navigation, QWidget* parent)
    : QObject(parent), m_session(session), m_navigation(navigation) {
    setObjectName(QStringLiteral("secondVersion"));
    m_widget = new QWidget(parent);
    auto* label = new QLabel(QStringLiteral("also show:"), m_widget);
    ComboBox_AlsoShow = new QComboBox(m_widget);
    ComboBox_AlsoShow->setObjectName(QStringLiteral("ComboBox_AlsoShow"));
    ComboBox_AlsoShow->setAccessibleName(QStringLiteral("Also show on the clone"));
    ComboBox_AlsoShow->setToolTip(
        QStringLiteral("A second version with each verse on the clone (Ctrl+1 under it, "
                       "Ctrl+2 beside it)"));
    label->setBuddy(ComboBox_AlsoShow);
    auto* layout = new QHBoxLayout(m_widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(ComboBox_AlsoShow);
    connect(&m_navigation, &BibleNavigation::versionsLoaded, this, &SecondVersion::onVersionsLoaded);
    connect(ComboBox_AlsoShow, &QComboBox::activated, this, &SecondVersion::versionChosen);
    onVersionsLoaded();
}

void SecondVersion::onVersionsLoaded() {
    const QString chosen =
        ComboBox_AlsoShow->currentIndex() > 0 ? ComboBox_AlsoShow->currentText() : QString();
    ComboBox_AlsoShow->clear();
    ComboBox_AlsoShow->addItem(QStringLiteral("none"));
    ComboBox_AlsoShow->addItems(m_navigation.versionsComplete());
    ComboBox_AlsoShow->setCurrentIndex(std::max(0, ComboBox_AlsoShow->findText(chosen)));
}

QByteArray SecondVersion::code() const {
    if (ComboBox_AlsoShow->currentIndex() <= 0) return {};
    return common::Utf8Encode(common::VersionCode(ComboBox_AlsoShow->currentText()).value_or(QString()));
}

void SecondVersion::choose(const QByteArray& code) {
    int row = 0;
    for (int i = 1; i < ComboBox_AlsoShow->count(); ++i) {
        const std::optional<QString> its = common::VersionCode(ComboBox_AlsoShow->itemText(i));
        if (its && !code.isEmpty() && its->compare(QString::fromUtf8(code), Qt::CaseInsensitive) == 0)
            row = i;
    }
    ComboBox_AlsoShow->setCurrentIndex(row);
}

QStringList SecondVersion::textsFor(const session::PassageRef& ref,
                                    const QList<session::ShownVerse>& verses) {
    const QByteArray other = code();
    if (other.isEmpty() || ref.book == 0) return {};
    // The whole chapter: a passage may run past the other version's last verse of it.
    session::PassageRef chapter{other, ref.book, ref.chapter, 0, 0};
    const ResolvedPassage resolved = ResolvePassage(m_session.DataPath, chapter);
    if (!resolved.request) return QStringList(verses.size(), QString());
    return matchVerses(verses, BuildPassage(*resolved.request, m_cache).verses);
}

} // namespace lumora::bible
