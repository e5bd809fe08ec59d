// Feeds arbitrary bytes to the Bible loaders: the first byte chooses the file (Version.txt, the
// book table, the chapter table or a testament file), the rest becomes its content; then the
// versions, the book tables, passages of every listed chapter and a search are built from it.

#include "fuzzfolder.h"

#include "bible/biblestore.h"
#include "bible/passagebuilder.h"
#include "bible/search/versionsearch.h"
#include "common/text.h"

#include <algorithm>
#include <iterator>

using namespace lumora;

namespace {
fuzz::SoundFolder* g_folder = nullptr;
const char* const kFiles[] = {"Bible/Version.txt", "Bible/TST/Livre_chap.txt", "Bible/TST/Chap_verset.txt",
                              "Bible/TST/TST-O.txt", "Bible/TST/TST-N.txt"};
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_folder = new fuzz::SoundFolder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QString data_ = g_folder->path();
    g_folder->put(QString::fromLatin1(kFiles[data[0] % std::size(kFiles)]),
                  QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));

    const bible::VersionList versions = bible::LoadBibleVersions(data_);
    for (const QString& entry : versions.complete) {
        const QByteArray code = common::VersionCode(common::Utf8Encode(entry)).value_or(QByteArray());
        const bible::BookTables t = bible::LoadBookTables(data_, code);
        bible::TestamentCache cache;
        for (size_t b = 0; b < std::min<size_t>(t.books.size(), 4); ++b) {
            const bible::Book& book = t.books[b];
            for (int c = 1; c <= std::min(book.chapterCount, 3); ++c) {
                const int verses = std::min(t.verseCount(book, c), 300);
                if (verses == 0) continue;
                for (auto [first, last] :
                     {std::pair{1, verses}, std::pair{verses, verses}, std::pair{1, 1}}) {
                    const bible::ResolvedPassage resolved =
                        bible::ResolveInBook(data_, entry, t, book, {code, book.number, c, first, last});
                    if (!resolved.request) continue;
                    bible::PassageRequest r = *resolved.request;
                    r.withTitles = first == 1;
                    r.titlesUppercase = true;
                    r.showHeader = last == verses;
                    (void)bible::BuildPassage(r, cache);
                }
            }
        }
        const bible::VersionSearch found = bible::SearchVersion(data_, code, t.names(), "e");
        for (qsizetype i = 0; i < std::min<qsizetype>(found.hits.size(), 8); ++i)
            if (found.hits[i].leadsToVerse())
                (void)bible::ResolvePassage(data_, versions, t, found.hits[i].ref);
    }
    g_folder->reset();
    return 0;
}
