#include "lists/ui/verselisthost.h"

namespace lumora::lists {

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
    const int version = findVersionRow(versions, target->versionCode).value_or(m_nav.targetedVersion());
    const session::JumpRequest request{version, target->book, target->chapter, target->verse, target->span};

    const NavSelection wanted{request.TargetVersion, target->book, target->chapter, target->verse};
    const NavSelection shown{m_nav.selectedRow(NavLevel::Version), m_nav.selectedRow(NavLevel::Book),
                             m_nav.selectedRow(NavLevel::Chapter), m_nav.selectedRow(NavLevel::Verse)};
    const NavLevel level = firstDifferingLevel(wanted, shown);
    const int rows[] = {wanted.version, wanted.book, wanted.chapter, wanted.verse, target->span};
    const int row = rows[static_cast<int>(level)];
    if (row < 0 || row >= m_nav.rowCount(level)) return false;
    emit jumpRequested(request);
    return true;
}

} // namespace lumora::lists
