#pragma once
// Which language a version is read in, for the synthesised reference. The data files name no
// language: a version may say it in the first line of "Language.txt" in its folder (an espeak-ng
// language name such as "fr" or "pt-br"); otherwise it is guessed from the book names, first by
// their script, then by words such as "Genèse" or "Psalmen".

#include <QString>
#include <QStringList>

namespace lumora::marks::align {

struct VersionLanguage {
    QString code; // espeak-ng language name
    QString how;  // "set in Language.txt", "guessed from the book names", ...
};

// Guess from the book names: {"Genèse", "Exode", ...} → fr. English when nothing is recognised.
VersionLanguage guessLanguage(const QStringList& bookNames);

// The version's setting, else the guess from its book names.
VersionLanguage versionLanguage(const QString& versionFolder, const QStringList& bookNames);

} // namespace lumora::marks::align
