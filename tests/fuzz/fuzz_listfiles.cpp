// Feeds arbitrary bytes to the list readers: the entries of a list file, each read back as a
// verse-list entry and as a playlist entry, and the same bytes as a list name.

#include "common/text.h"
#include "hymns/hymnentry.h"
#include "lists/listfile.h"
#include "lists/listfolder.h"
#include "lists/verselistentry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> entries = lists::readListEntries(bytes);
    QStringList rows;
    for (const QByteArray& e : entries) {
        if (e.isEmpty() || e.contains('\r')) {
            std::fprintf(stderr, "an entry holds a CR or is empty\n");
            std::abort();
        }
        const QString row = common::Utf8Decode(e);
        rows << row;
        (void)lists::parseVerseListEntry(row);
        (void)lists::playlistLabel(row);
        (void)hymns::SplitHymnEntry(e);
        (void)common::leadingNumber(QByteArrayView(e));
    }
    (void)lists::listNameProblem(common::Utf8Decode(bytes));

    // What the panels write reads back as the same rows (entries are never empty nor hold a CR).
    // An entry that begins with a LF is the exception the format allows: after the CR before it,
    // that LF reads as the second half of a CR LF.
    // An entry that is a byte-order mark alone decodes to nothing and is dropped the same way.
    if (std::any_of(rows.cbegin(), rows.cend(),
                    [](const QString& r) { return r.isEmpty() || r.startsWith(QLatin1Char('\n')); }))
        return 0;
    const QList<QByteArray> again =
        lists::readListEntries(QByteArray("\xEF\xBB\xBF") + lists::joinEntries(rows, true) + "\r\n");
    if (again.size() != rows.size()) {
        std::fprintf(stderr, "a written list reads back with %d rows instead of %d\n", int(again.size()),
                     int(rows.size()));
        std::abort();
    }
    return 0;
}
