#pragma once
// List files: one favourite list (verse list or playlist) per "<name>.txt" in its folder, the
// note document "<name>.rtf" beside it.
//
// Bytes of a list file: EF BB BF, the entries in UTF-8 separated by one CR (the add button also
// puts a CR after the last one), then CR LF. An empty list is EF BB BF CR LF.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumora::lists {

inline const QString kListSuffix = QStringLiteral(".txt");
inline const QString kNoteSuffix = QStringLiteral(".rtf");

// The entries of a list file's bytes. A line ends at CR or at CR LF; a lone LF stays inside its
// entry. A leading EF BB BF is dropped and empty lines are skipped.
// "\xEF\xBB\xBF" "a\rb\r\r\n" -> {"a", "b"}.
QList<QByteArray> readListEntries(const QByteArray& bytes);

// The decoded entries of the file at path; nullopt when it cannot be read.
std::optional<QStringList> readListFile(const QString& path);

// A list as loaded for the panels. A list that was not read whole must not be rewritten from its
// rows: that would drop what was left out.
struct LoadedList {
    QStringList rows;
    int rejectedLines = 0;   // playlist lines without a TAB, left out of rows
    bool unreadable = false; // the file exists but could not be read (not an ordinary file, too large...)
    bool isWhole() const { return rejectedLines == 0 && !unreadable; }
};

// Loads the file at path. With hymnEntries (playlists) a line without a TAB is no entry: it is
// left out and counted, and the lines after it load as usual. A missing file is an empty list.
LoadedList loadListFile(const QString& path, bool hymnEntries);

// The content handed to Enregistrer_Favori: each row in UTF-8, joined by CR; with crAfterLast
// every row (the last too) is followed by a CR, as the add button writes it.
QByteArray joinEntries(const QStringList& rows, bool crAfterLast);

// Writes one whole list (or note) file; content is already UTF-8.
// - path does not exist: created without replacing anything; EF BB BF is put first only when the
//   name ends in "txt" (any letter case), then content, then CR LF. So a new note gets no BOM.
// - path exists: replaced whole by EF BB BF, content, CR LF, whatever its extension.
// False when the file could not be written; an existing file is then unchanged and whyNot (when
// given) says why.
bool Enregistrer_Favori(const QString& path, const QByteArray& content, QString* whyNot = nullptr);

// Creates path with the bytes a new file gets from Enregistrer_Favori, never replacing a file.
bool createListFile(const QString& path, const QByteArray& content);

// The names of the lists that pattern ("<folder>/*.txt") matches: every file name minus its last
// four characters, in name order without regard to letter case (the order a Windows listing
// gives, so every platform shows the same order).
QStringList listNames(const QString& pattern);
QString listPattern(const QString& folder);

// The files of list `name` in folder. An existing file whose name differs only in letter case is
// found (data folders are prepared on Windows); otherwise the path a new file would get.
QString listFilePath(const QString& folder, const QString& name);
QString notePath(const QString& folder, const QString& name);

// A playlist entry's label, the text before its first TAB; nullopt without a TAB.
std::optional<QString> playlistLabel(const QString& entry);

} // namespace lumora::lists
