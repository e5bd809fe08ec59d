#include "lists/ui/verselisthost.h"

namespace lumora::lists {

std::optional<QString> VerseListHost::entryOnDisplay() {
    if (!m_shown) return std::nullopt;
    return makeVerseListEntry(m_shown->bookName, m_shown->ref);
}

void VerseListHost::onPassageChosen(const session::PassageRef& ref, const QString& bookName) {
    m_shown = Shown{ref, bookName};
}

bool VerseListHost::OpenVerseListEntry(const QString& entry) {
    const auto ref = parseVerseListEntry(entry);
    if (!ref) return false;
    emit passageRequested(*ref);
    return true;
}

} // namespace lumora::lists
