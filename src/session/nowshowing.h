#pragma once
// What the program presents at this moment, as one value: the tab in view, the passage with its
// verses and the verse being heard, the hymn, the two players, and what the clone window shows.
// The main window's feed emits it on every change. The clone window is filled from it, and
// anything else that shows what the operator shows takes it from the same feed.

#include "session/passageref.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumora::session {

// A verse laid out in a passage.
struct ShownVerse {
    int chapter = 0;
    int verse = 0;
    QString label;   // "3.16", as the passage shows it before the verse's text
    QString text;    // the verse's text, without its titles
    QByteArray mark; // where it starts in the chapter's recording, as stored ("0" when unmarked)
    friend bool operator==(const ShownVerse&, const ShownVerse&) = default;
};

struct ShownPassage {
    PassageRef ref;
    QString versionEntry; // "KJV - King James Version"
    QString heading;      // "John 3 : 16 - 18"
    QList<ShownVerse> verses;
    QByteArray text; // the passage as laid out for the passage box (UTF-8)
    friend bool operator==(const ShownPassage&, const ShownPassage&) = default;
};

struct ShownHymn {
    QString book;    // the hymn book
    QString entry;   // the hymn's line of the book's list
    QString label;   // "12 - Amazing Grace", as shown over the words
    QString title;   // the label without its number
    QString details; // author, composer, themes... as the details box shows them
    QString wordsHtml;
    QString wordsPlain;
    friend bool operator==(const ShownHymn&, const ShownHymn&) = default;
};

struct ShownPlayer {
    QString status;  // the player's status text: "Playing", "Paused", "Stopped", ... ("" before any)
    int seconds = 0; // the position, whole seconds
    bool repeat = false;
    bool continuous = false;
    bool muted = false;
    friend bool operator==(const ShownPlayer&, const ShownPlayer&) = default;
};

enum class ShownTab { Bible, Hymns };
enum class CloneShows { Nothing, Passage, Hymn };

struct NowShowing {
    ShownTab tab = ShownTab::Bible;
    ShownPassage passage;
    QString heardVerse; // the label of the verse being heard or selected by the following ("" none)
    ShownHymn hymn;
    ShownPlayer biblePlayer, hymnPlayer;
    CloneShows clone = CloneShows::Nothing; // Nothing also while the clone window is closed
    friend bool operator==(const NowShowing&, const NowShowing&) = default;
};

// One line that names what is shown, for logs and checks:
// "bible KJV 43 3:16-18 heard 3.17 | hymn 12 - Amazing Grace | bible Playing 41s | hymn - 0s | clone passage"
QString describe(const NowShowing& now);

// Where each verse of `labels` starts in `plainText`, found in order (each after the one before),
// so that a label written inside a verse's text or a title never stands for the verse. A label
// the text lacks is left out.
QHash<QString, int> verseLabelStarts(const QString& plainText, const QStringList& labels);

} // namespace lumora::session
