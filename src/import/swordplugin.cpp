// The SWORD reader proper, built as a plugin of its own (lumora-sword.so) so that only an import
// loads libsword and the network, TLS, LDAP and index libraries it brings with it. The programs
// load it through readSwordModule (swordreader.cpp).

#include "import/osistext.h"
#include "import/swordreader.h"

#include <swlog.h>
#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>

#include <algorithm>
#include <memory>

namespace lumora::import {

namespace {

// Titles that stand in a chapter's heading entry (verse 0) belong in front of its first verse.
ImportedBook readBook(sword::SWModule& module, sword::VerseKey& key, int number) {
    ImportedBook book;
    book.number = number;
    book.name = QByteArray(key.getBookName());
    book.soundPrefix = QByteArray(key.getOSISBookName());
    book.classLabel = bookClass(number);
    const int chapters = key.getChapterMax();
    for (int c = 1; c <= chapters; ++c) {
        key.setChapter(c);
        key.setVerse(0);
        module.setKey(key);
        QList<QByteArray> pending = cleanOsis(QByteArrayView(module.getRawEntry())).titles;
        std::vector<ImportedVerse> verses;
        const int count = key.getVerseMax();
        for (int v = 1; v <= count; ++v) {
            key.setVerse(v);
            module.setKey(key);
            OsisVerse clean = cleanOsis(QByteArrayView(module.getRawEntry()));
            pending += clean.titles;
            ImportedVerse verse;
            verse.text = verseField(pending, clean.text);
            pending.clear();
            verses.push_back(std::move(verse));
        }
        book.chapters.push_back(std::move(verses));
    }
    return book;
}

bool hasText(const ImportedBook& book) {
    for (const auto& chapter : book.chapters)
        for (const auto& verse : chapter)
            if (!verse.text.isEmpty()) return true;
    return false;
}

SwordReadResult readModule(const QString& moduleName,
                           const std::function<void(const ImportedBook&)>& onBook) {
    sword::SWLog::getSystemLog()->setLogLevel(sword::SWLog::LOG_ERROR);
    sword::SWMgr manager;
    const QByteArray name = moduleName.toUtf8();
    sword::SWModule* module = manager.getModule(name.constData());
    if (!module)
        return {std::nullopt, QStringLiteral("SWORD module not installed: %1 (lumora-cli import sword --list "
                                             "lists the installed Bibles)")
                                  .arg(moduleName)};
    if (QByteArray(module->getType()) != sword::SWMgr::MODTYPE_BIBLES)
        return {std::nullopt, QStringLiteral("SWORD module is not a Bible: ") + moduleName};

    std::unique_ptr<sword::VerseKey> key(dynamic_cast<sword::VerseKey*>(module->createKey()));
    if (!key) return {std::nullopt, QStringLiteral("SWORD module has no verse key: ") + moduleName};
    const char* lang = module->getConfigEntry("Lang");
    if (lang && *lang) key->setLocale(lang);
    key->setIntros(true);
    key->setAutoNormalize(false);

    ImportedBible bible;
    int nextExtra = 67;
    for (int testament = 1; testament <= 2; ++testament) {
        key->setTestament(static_cast<char>(testament));
        const int books = key->getBookMax();
        for (int b = 1; b <= books; ++b) {
            key->setTestament(static_cast<char>(testament));
            key->setBook(static_cast<char>(b));
            const int standard = standardBookNumber(QByteArrayView(key->getOSISBookName()));
            ImportedBook book = readBook(*module, *key, standard > 0 ? standard : 0);
            if (!hasText(book)) continue;
            if (book.number == 0) {
                book.number = nextExtra++;
                book.classLabel = bookClass(book.number);
            }
            if (onBook) onBook(book);
            bible.books.push_back(std::move(book));
        }
    }
    std::sort(bible.books.begin(), bible.books.end(),
              [](const ImportedBook& a, const ImportedBook& b) { return a.number < b.number; });
    if (bible.books.empty()) return {std::nullopt, QStringLiteral("SWORD module has no text: ") + moduleName};
    return {std::move(bible), {}};
}

// "KJV - King James Version" for each installed Bible module, in SWORD's order of names.
QStringList listBibles() {
    sword::SWLog::getSystemLog()->setLogLevel(sword::SWLog::LOG_ERROR);
    sword::SWMgr manager;
    QStringList out;
    for (const auto& [name, module] : manager.Modules) {
        if (!module || QByteArray(module->getType()) != sword::SWMgr::MODTYPE_BIBLES) continue;
        out << QString::fromUtf8(name.c_str()) + QStringLiteral(" - ") +
                   QString::fromUtf8(module->getDescription());
    }
    return out;
}

} // namespace
} // namespace lumora::import

extern "C" __attribute__((visibility("default"))) void lumoraListSwordBibles(QStringList& lines) {
    lines = lumora::import::listBibles();
}

// The entry points; the loader and the plugin are always built together, so the C++ types on
// both sides are the same.
extern "C" __attribute__((visibility("default"))) void
lumoraReadSwordModule(const QString& moduleName,
                      const std::function<void(const lumora::import::ImportedBook&)>& onBook,
                      lumora::import::SwordReadResult& result) {
    result = lumora::import::readModule(moduleName, onBook);
}
