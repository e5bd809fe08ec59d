#include "lists/ui/verselisthost.h"

#include <QComboBox>
#include <QListWidget>

namespace lumora::lists {

namespace {
const char* objectNameOf(NavLevel level) {
    switch (level) {
    case NavLevel::Version:
        return "List_version";
    case NavLevel::Book:
        return "List_livre";
    case NavLevel::Chapter:
        return "List_chapitre";
    case NavLevel::Verse:
        return "List_verset";
    case NavLevel::Span:
        return "List_verset_limite";
    }
    return "";
}
} // namespace

QWidget* WidgetNavigationLists::find(NavLevel level) const {
    return m_root ? m_root->findChild<QWidget*>(QLatin1String(objectNameOf(level))) : nullptr;
}

int WidgetNavigationLists::selectedRow(NavLevel level) const {
    QWidget* w = find(level);
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->currentRow();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex();
    return -1;
}

int WidgetNavigationLists::rowCount(NavLevel level) const {
    QWidget* w = find(level);
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->count();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->count();
    return 0;
}

QString WidgetNavigationLists::rowText(NavLevel level, int row) const {
    QWidget* w = find(level);
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->item(row) ? l->item(row)->text() : QString();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->itemText(row);
    return {};
}

void WidgetNavigationLists::selectRow(NavLevel level, int row) {
    QWidget* w = find(level);
    if (auto* l = qobject_cast<QListWidget*>(w))
        l->setCurrentRow(row);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setCurrentIndex(row);
}

std::optional<QString> VerseListHost::entryOnDisplay() {
    DisplayedPassage p;
    const std::pair<NavLevel, QString*> parts[] = {{NavLevel::Book, &p.book},
                                                   {NavLevel::Chapter, &p.chapter},
                                                   {NavLevel::Verse, &p.firstVerse},
                                                   {NavLevel::Span, &p.lastVerse},
                                                   {NavLevel::Version, &p.version}};
    for (const auto& [level, text] : parts) {
        const int row = m_nav.selectedRow(level);
        if (row < 0) return std::nullopt;
        *text = m_nav.rowText(level, row);
    }
    return makeVerseListEntry(p);
}

bool VerseListHost::OpenVerseListEntry(const QString& entry) {
    const auto target = parseVerseListEntry(entry);
    if (!target) return false;
    QStringList versions;
    for (int i = 0; i < m_nav.rowCount(NavLevel::Version); ++i)
        versions << m_nav.rowText(NavLevel::Version, i);
    if (const auto row = findVersionRow(versions, target->versionCode)) m_state.TargetVersion = *row;
    m_state.TargetBook = target->book;
    m_state.TargetChapter = target->chapter;
    m_state.TargetVerse = target->verse;
    m_state.TargetSpan = target->span;
    m_state.PendingJump = false;

    const NavSelection wanted{m_state.TargetVersion, target->book, target->chapter, target->verse};
    const NavSelection shown{m_nav.selectedRow(NavLevel::Version), m_nav.selectedRow(NavLevel::Book),
                             m_nav.selectedRow(NavLevel::Chapter), m_nav.selectedRow(NavLevel::Verse)};
    const NavLevel level = firstDifferingLevel(wanted, shown);
    int row = 0;
    switch (level) {
    case NavLevel::Version:
        row = wanted.version;
        break;
    case NavLevel::Book:
        row = wanted.book;
        break;
    case NavLevel::Chapter:
        row = wanted.chapter;
        break;
    case NavLevel::Verse:
        row = wanted.verse;
        break;
    case NavLevel::Span:
        row = target->span;
        break;
    }
    if (row < 0 || row >= m_nav.rowCount(level)) return false;
    if (m_jump) {
        m_jump();
        return true;
    }

    // The version list's handler raises the jump itself while it reloads the version; the lower
    // lists restore the targets below them only while the jump is raised.
    const bool raise = level != NavLevel::Version && level != NavLevel::Span;
    if (raise) m_state.PendingJump = true;
    m_nav.selectRow(level, row);
    if (raise) m_state.PendingJump = false;
    return true;
}

} // namespace lumora::lists
