#pragma once
// A tiny rich-text writer for the demo's hymn words and list notes: a bold centred title and
// centred lines. Characters outside ASCII are written as \uN? so any reader shows them.

#include <QString>
#include <QStringList>

namespace lumora::import {

// {\rtf1\ansi ... \qc\b Title\b0\par ... }
QByteArray rtfDocument(const QString& title, const QStringList& lines);

} // namespace lumora::import
