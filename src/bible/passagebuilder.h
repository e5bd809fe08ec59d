#pragma once
// Assembling the passage shown on the Bible tab.
//
// A testament file has one verse a line: book key, chapter, verse, mark, text (tabs between).
// The builder collects the verses from StartKey up to EndKey, lays them out, and notes where
// every verse of the chapter starts in the chapter's recording.

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QString>

#include "bible/biblestore.h"
#include "session/nowshowing.h"
#include "session/passageref.h"

#include <array>
#include <filesystem>
#include <list>
#include <memory>
#include <optional>

namespace lumora::bible {

// What the navigation lists have selected, as values.
struct PassageSelection {
    QString versionEntry; // selected List_version entry
    Book book;            // the selected book
    int chapter = 0;      // 1-based
    int firstVerse = 0;   // 1-based
    int lastVerse = 0;    // 1-based, the selected end verse
    int verseCount = 0;   // verses of the chapter (entries of List_verset)
};

// How the passage box lays a passage out: Check_With_Title, Check_Uppercase, Check_Version.
struct PassageOptions {
    bool withTitles = true;
    bool titlesUppercase = false;
    bool showHeader = false;
    friend bool operator==(const PassageOptions&, const PassageOptions&) = default;
};

struct PassageRequest {
    QString BookFilePath;
    QByteArray StartKey, EndKey, ChapterFirstKey, ChapterLastKey;
    bool endsBeforeChapterEnd = false; // EndKey is the verse after the selection
    bool withTitles = false;           // Check_With_Title
    bool titlesUppercase = false;      // Check_Uppercase
    bool showHeader = false;           // Check_Version
    QString heading;                   // "bk c : v - e" or "bk c : v"
    QString versionEntry;

    void setOptions(const PassageOptions& options) {
        withTitles = options.withTitles;
        titlesUppercase = options.titlesUppercase;
        showHeader = options.showHeader;
    }
};

// Keys, file path and heading for the selection. The book's key and testament file are its
// Book record's.
PassageRequest PreparePassage(const QString& dataPath, const PassageSelection& sel);

// A PassageRef made concrete the way the navigation lists would select it: the request, the book
// and the chapter's verse count; or why it cannot be (an unknown version, book, chapter or verse).
// A whole-chapter reference selects verse 1 to the chapter's last.
struct ResolvedPassage {
    std::optional<PassageSelection> selection;
    std::optional<PassageRequest> request;
    QString error;
};
ResolvedPassage ResolvePassage(const QString& dataPath, const VersionList& versions, const BookTables& tables,
                               const session::PassageRef& ref);
// The same after loading the version list and the version's tables.
ResolvedPassage ResolvePassage(const QString& dataPath, const session::PassageRef& ref);
// The same for a book already found (by its row, as the command line's numbers name it); `ref`'s
// version and book are not read.
ResolvedPassage ResolveInBook(const QString& dataPath, const QString& versionEntry, const BookTables& tables,
                              const Book& book, const session::PassageRef& ref);

// The font the passage box starts with (a saved passage names it too).
inline constexpr char kPassageFontFamily[] = "Arial";
inline constexpr double kPassageFontSizePt = 14.0;

struct Passage {
    bool opened = false;               // the testament file could be read
    bool chapterEndFound = false;      // ChapterLastKey was met (ComboBox_repere then selects row 0)
    bool endsBeforeChapterEnd = false; // the selection stops before the chapter's last verse
    int versesFound = 0;               // verse lines of the selection laid out; 0: nothing to show
    // The passage as built: UTF-8, beginning with the BOM. A passage that ends before its chapter
    // does ends with the label of the verse after it ("5.21" TAB), the reading's stop.
    QByteArray PassageText;
    // What Text_Passage shows, prints and saves: PassageText without that closing label line, so
    // "...5.20   Text\r\n\n5.21\t\r\n" -> "...5.20   Text\r\n".
    QByteArray ShownText;
    QString heading;       // Labe16
    QString PassageHeader; // version entry CR LF heading CR LF LF
    QByteArrayList marks;  // ComboBox_repere: "chapter.verse" TAB mark, for marked selected verses
    std::array<QByteArray, kMaxVerses + 1> VersePositions; // 1..286: mark of verse n of the chapter
    int endRow = 0; // the VersePositions row of EndKey (the verse after the selection, when it ends early)
    QList<session::ShownVerse> verses; // the verses shown, in order (not the reference line after them)
};

// What tells one version of a file on disk from another without reading it: size and
// modification time alone miss a rewrite of the same length within one tick of the file system's
// clock (2 s on a FAT stick), so the file's identity (a file replaced whole is a new one) and the
// time of its last status change are compared too.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type mtime;
    std::uint64_t device = 0, inode = 0;
    std::int64_t changeSeconds = 0, changeNanoseconds = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// Nullopt when the file cannot be examined.
std::optional<FileStamp> fileStamp(const QString& path);

// Keeps each testament file in memory with the offset of the first line of every verse key, so
// a passage is read from its chapter instead of from the top. A file whose stamp changed is read
// again, and a file the program itself writes is forgotten at once (forget), so that even a clock
// too coarse for the stamp never serves the old text. The output is the same as a scan from the top.
class TestamentCache final {
  public:
    struct File {
        FileStamp stamp;
        QByteArray data;
        QHash<QByteArrayView, qsizetype>
            firstLine; // verse key (a view into data) -> offset of its first line
    };
    // Null when the file cannot be read.
    std::shared_ptr<const File> get(const QString& path);
    // The next get of path reads the file again.
    void forget(const QString& path);

  private:
    std::list<std::pair<QString, std::shared_ptr<const File>>> m_files; // most recent first
};

// Reading stops at ChapterLastKey, or at the first verse line of another chapter once the chapter
// has begun: a chapter whose last verse line is missing (or a file out of order) never runs on
// into the next chapters.
Passage BuildPassage(const PassageRequest& request, TestamentCache& cache);

} // namespace lumora::bible
