// Feeds arbitrary bytes to the hymn-book loaders: the first byte chooses the file ("Hira.txt",
// "Theme.txt" or a words file), the rest becomes its content; then the books, themes, sub-themes,
// hymn lists, search, information block and words of every hymn are built from it.

#include "fuzzfolder.h"

#include "hymns/hymnentry.h"
#include "hymns/hymnfiles.h"
#include "hymns/hymnstore.h"

#include <iterator>

using namespace lumora;

namespace {
fuzz::SoundFolder* g_folder = nullptr;
const char* const kFiles[] = {"Cantiques/Book/Hira.txt", "Cantiques/Book/Theme.txt",
                              "Cantiques/Book/parole/1.txt", "Cantiques/Book/parole/2 - Evening.rtf"};
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_folder = new fuzz::SoundFolder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int which = data[0] % std::size(kFiles);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const QString cantiques = hymns::cantiquesFolder(g_folder->path());
    QStringList books;
    if (which == 1) {
        // The book list rewrites Theme.txt, so a damaged one is read before that.
        books = hymns::LoadHymnBooks(cantiques);
        g_folder->put(QString::fromLatin1(kFiles[which]), bytes);
    } else {
        g_folder->put(QString::fromLatin1(kFiles[which]), bytes);
        books = hymns::LoadHymnBooks(cantiques);
    }
    for (const QString& book : books) {
        const QStringList themes = hymns::readThemes(cantiques, book).value_or(QStringList());
        for (const QString& theme : themes.mid(0, 4)) {
            const QStringList subs = hymns::subThemes(cantiques, book, theme);
            for (const QString& sub : subs.mid(0, 4)) {
                const hymns::HymnList list = hymns::hymnList(cantiques, book, theme, sub);
                for (const QString& entry : list.entries.mid(0, 6)) {
                    (void)hymns::ShowHymnInfo(entry);
                    (void)hymns::labelNumberForMedia(entry.section(QLatin1Char('\t'), 0, 0));
                    const hymns::HymnFiles files = hymns::LoadHymnFiles(cantiques, entry);
                    if (files.words == hymns::WordsKind::Text)
                        (void)hymns::readTextWords(files.wordsPath);
                    else if (files.words == hymns::WordsKind::Rtf)
                        (void)hymns::rtfPlainText(files.wordsPath);
                }
            }
        }
    }
    (void)hymns::searchHymns(cantiques, books, QStringLiteral("e"));
    g_folder->reset();
    return 0;
}
