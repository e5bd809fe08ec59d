#pragma once
// Writes a Bible version folder and its line in Version.txt.
//
// Files of a version CODE under <data>/Bible/CODE/ (lines end CR LF):
//   Livre_chap.txt   BOM; "40 Matthew" TAB "40N" TAB chapters TAB sound prefix TAB class
//   Chap_verset.txt  no BOM; book key TAB chapter TAB verse count
//   CODE-O.txt       BOM; book key TAB chapter TAB verse TAB mark TAB text (books 1-39, 67+)
//   CODE-N.txt       the same for books 40-66

#include "import/biblemodel.h"

#include <QByteArray>
#include <QString>

namespace lumora::import {

// The bytes of a version's four files, before they are written.
struct RenderedVersion final {
    QByteArray bookTable;    // Livre_chap.txt
    QByteArray chapterTable; // Chap_verset.txt
    QByteArray oldTestament; // CODE-O.txt
    QByteArray newTestament; // CODE-N.txt
};

RenderedVersion renderVersion(const ImportedBible& bible);

// The version folder name inside the Bible folder; the code in upper case, as the mark writer
// builds the testament file names.
QString versionFolder(const QString& dataFolder, const QByteArray& code);

// True when the Bible folder already holds anything of this version: a Version.txt line with this
// code, or a version folder.
bool versionExists(const QString& dataFolder, const QByteArray& code);

// True when code can name a version: 1 to 16 ASCII letters, digits or "_" (it becomes a folder
// and file names, and " -" would end it early in Version.txt).
bool isUsableVersionCode(const QByteArray& code);

// True when name can stand in a Version.txt line: not empty and free of control characters (a
// CR or LF in it would add lines, and so versions, to Version.txt).
bool isUsableVersionName(const QByteArray& name);

// Writes the four files of the version into a staging folder beside the version's place, renames
// it into place, then puts "CODE - NAME" in Version.txt (appended after the existing lines, or
// replacing the line with the same code in place). A version folder that was there is replaced
// whole; what it held beside the four files (Sound/ with its recordings) moves into the new one.
// Returns an empty text on success, else one line saying what failed; on failure the data folder
// is as it was. An unusable name writes nothing.
QString writeVersion(const QString& dataFolder, const QByteArray& code, const QByteArray& name,
                     const ImportedBible& bible);

// Takes the version's line out of Version.txt and moves its folder aside (to a name such as
// "KJV.removed-20261207-101500" beside it; `keptAt` gets that path), so nothing is deleted.
// Returns an empty text on success, else one line saying what failed (nothing changed then).
QString removeVersion(const QString& dataFolder, const QByteArray& code, QString* keptAt = nullptr);

// Version.txt content without the lines that have this code; a BOM in front stays in front.
QByteArray withoutVersionLine(const QByteArray& existing, const QByteArray& code);

// True when a line of Version.txt content has this code (letter case ignored).
bool hasVersionLine(const QByteArray& versionList, const QByteArray& code);

// Version.txt content with "CODE - NAME" added or, when a line has this code, put in its place.
// The other lines keep their bytes and order; a BOM in front stays.
QByteArray withVersionLine(const QByteArray& existing, const QByteArray& code, const QByteArray& name);

} // namespace lumora::import
