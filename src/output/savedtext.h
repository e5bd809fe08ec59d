#pragma once
// What Save as writes, and the names and folders its dialog starts from.
//
// A saved text is written whole and atomically: a name whose last three characters are "txt" (any
// letter case) gets EF BB BF, the plain text with CR LF between lines, then CR LF; any other name
// gets the rich text as RTF.

#include "bible/passagedocument.h"
#include "common/rtf/richtext.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumora::output {

inline const QString kSaveTitle = QStringLiteral("Save as");
inline const QString kSaveFilter =
    QStringLiteral("Word (*.rtf)|*.rtf |Bloc Note (*.txt)|*.txt |All (*.*)|*.*");
inline const QString kUnsafeName = QStringLiteral("File_name");

// True when `path` is an existing file in the words folder of one of the data folder's hymn books.
bool isHymnWordsFile(const QString& dataPath, const QString& path);

// The proposed name, or "File_name" when it holds one of / * ? " < > |, or a "\" or ":" without
// the pair ":\" (a full path with a drive is let through). "John 3 _ 16 (KJV )" -> unchanged;
// "a:b" -> "File_name"; "C:\\x" -> unchanged.
QString dialogFileName(const QString& name);

// The passage's default name: the heading with ":" -> "_", then " (" + code + " )".
// ("Jean 3 : 16", "LSG") -> "Jean 3 _ 16 (LSG )".
QString passageFileName(const QString& heading, const QString& versionCode);

// Where the dialog opens: DataPath/MyDocs for the passage, DataPath/Cantiques/BOOK/Parole for a
// hymn (names matched without regard to letter case; nothing is created).
QString passageSaveFolder(const QString& dataPath);
QString hymnSaveFolder(const QString& dataPath, const QString& book);

// True when the last three characters of path, upper-cased, are "TXT" ("x.Txt", "notes-txt").
bool isPlainTextName(const QString& path);

// A text box's content in the two forms Save as can write.
struct ShownText final {
    QString plain; // paragraphs separated by '\n'
    common::rtf::Document rich;
};

// Writes the text to path, replacing the file whole and atomically: for a "txt" name EF BB BF, the
// plain text in UTF-8 with CR LF between lines, CR LF; otherwise the rich text as RTF. False when
// the write failed (the old file is then kept, and `whyNot` says why).
bool SaveShownText(const QString& path, const ShownText& text, QString* whyNot = nullptr);

using bible::defaultPassageLook;
using bible::PassageLook;

// The passage as the Bible tab shows it before anything in the box is changed: passageText is the
// builder's UTF-8 text (with or without the byte-order mark); each line (CR LF, CR or LF) becomes
// one paragraph in `look` (bible::passageDocument, which fills the box too).
ShownText passageShownText(const QByteArray& passageText, const PassageLook& look);

} // namespace lumora::output
