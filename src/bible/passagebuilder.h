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

#include <array>
#include <filesystem>
#include <list>
#include <memory>

namespace lumora::bible {

// What the navigation lists have selected.
struct PassageSelection {
    QString versionEntry;              // selected List_version entry
    int bookIndex = 0;                 // selected List_livre index
    QString bookName;                  // selected List_livre entry
    QString chapter;                   // selected List_chapitre entry
    QString firstVerse;                // selected List_verset entry
    int verseCount = 0;                // entries of List_verset
    QString lastVerse;                 // selected List_verset_limite entry
    bool lastVerseIsChapterEnd = true; // the selected List_verset_limite index is its last
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
};

// Keys, file path and heading for the selection. Books 40 to 66 read the "-N" file, every other
// book the "-O" file.
PassageRequest PreparePassage(const QString& dataPath, const PassageSelection& sel);

inline constexpr int kMaxPositions = 286;

// The font the passage box starts with (a saved passage names it too).
inline constexpr char kPassageFontFamily[] = "Arial";
inline constexpr double kPassageFontSizePt = 14.0;

struct Passage {
    bool opened = false;               // the testament file could be read
    bool chapterEndFound = false;      // ChapterLastKey was met (ComboBox_repere then selects row 0)
    bool endsBeforeChapterEnd = false; // the selection stops before the chapter's last verse
    int versesFound = 0;               // verse lines of the selection laid out; 0: nothing to show
    QByteArray PassageText;            // what Text_Passage gets: UTF-8, beginning with the BOM
    QString heading;                   // Labe16
    QString PassageHeader;             // version entry CR LF heading CR LF LF
    QByteArrayList ComboBox_repere;    // "chapter.verse" TAB mark, for marked selected verses
    std::array<QByteArray, kMaxPositions + 1> VersePositions; // 1..286: mark of verse n of the chapter
    int endRow = 0; // the VersePositions row of EndKey (the verse after the selection, when it ends early)
};

// Keeps each testament file in memory with the offset of the first line of every verse key, so
// a passage is read from its chapter instead of from the top. A file that changed on disk
// (size or modification time) is read again. The output is the same as a scan from the top.
class TestamentCache final {
  public:
    struct File {
        std::filesystem::file_time_type mtime;
        std::uintmax_t size = 0;
        QByteArray data;
        QHash<QByteArray, qsizetype> firstLine; // verse key -> offset of its first line
    };
    // Null when the file cannot be read.
    std::shared_ptr<const File> get(const QString& path);

  private:
    std::list<std::pair<QString, std::shared_ptr<const File>>> m_files; // most recent first
};

// Reading stops at ChapterLastKey, or at the first verse line of another chapter once the chapter
// has begun: a chapter whose last verse line is missing (or a file out of order) never runs on
// into the next chapters.
Passage BuildPassage(const PassageRequest& request, TestamentCache& cache);

} // namespace lumora::bible
