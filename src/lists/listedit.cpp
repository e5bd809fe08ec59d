#include "lists/listedit.h"

namespace lumora::lists {

std::optional<EditResult> removeEntry(const QStringList& rows, int s) {
    if (rows.isEmpty()) return std::nullopt;
    EditResult r{rows, s};
    if (s < 0 || s >= rows.size()) {
        r.selected = -1;
        return r;
    }
    r.rows.removeAt(s);
    if (r.selected > r.rows.size() - 1) r.selected = static_cast<int>(r.rows.size()) - 1;
    return r;
}

std::optional<EditResult> moveEntryUp(const QStringList& rows, int s) {
    if (s <= 0 || s >= rows.size()) return std::nullopt;
    EditResult r{rows, s - 1};
    r.rows.swapItemsAt(s - 1, s);
    return r;
}

std::optional<EditResult> moveEntryDown(const QStringList& rows, int s) {
    const int last = static_cast<int>(rows.size()) - 1;
    if (s == last) return EditResult{rows, s};
    if (s < 0 || s > last) return std::nullopt;
    EditResult r{rows, s + 1};
    r.rows.swapItemsAt(s, s + 1);
    return r;
}

} // namespace lumora::lists
