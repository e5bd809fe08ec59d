#pragma once
// The demo's sample hymn books and favourite lists. All words and tunes were written for this
// project.

#include <QByteArray>
#include <QString>

namespace lumora::import {

// Writes each sample book under <data>/Cantiques/ unless a folder of that name exists. A book is
// assembled in a hidden folder and renamed into place, so a book is either whole or absent.
// Empty text on success, else what failed.
QString writeSampleHymnBooks(const QString& dataFolder);

// A verse list (Bible/Favori) naming passages of version `code`, with the book names of its
// Livre_chap.txt, and a playlist (Cantiques/Favori) of sample hymns, each with its note document.
// Existing files are kept.
QString writeSampleLists(const QString& dataFolder, const QByteArray& code);

} // namespace lumora::import
