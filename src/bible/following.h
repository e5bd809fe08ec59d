#pragma once
// One step of following the chapter recording verse by verse.
//
// The marks of the passage (ComboBox_repere: "chapter.verse" TAB mark, in file order) say where
// each verse starts; MarkIndex is the next mark to reach and LastPosition the position, in whole
// seconds, at the last mark reached. A step reads the player's position once and says what the
// view must do. With marks 0, 5.2 and 11 for verses 1 to 3 and the audio at 6 s, three steps select
// "1.1", then "1.2", then nothing more (the third mark is not reached yet).

#include "bible/passagebuilder.h"

#include <QByteArrayList>
#include <QHash>
#include <QString>

#include <optional>

namespace lumora::bible {

struct FollowState {
    int MarkIndex = 0;
    qint32 LastPosition = 0;
};

struct FollowInput {
    double position = 0;         // the player's position, seconds
    const QByteArrayList* marks; // ComboBox_repere
    bool markSelected = false;   // ComboBox_repere has a selected entry (the chapter's end was met)
    bool endVerseIsLast = true;  // List_verset_limite is on its last entry
    const QHash<QString, int>* labelStarts; // where each verse label starts in Text_Passage
    bool keepAtTop = false;                 // Check_repere
    bool markMode = false;                  // Check_mode
};

struct FollowResult {
    bool stopPlayer = false; // all marks passed in a passage that ends before the chapter does
    bool caretToEnd = false; // the caret goes to the end first, so the selection scrolls to the top
    std::optional<std::pair<int, int>> select; // start and length of the verse label to select
    QString label;                             // that label ("1.2")
    bool pause = false;                        // the short pause after a mark reached
};

// The mark of an entry, read as a number with "," as the decimal separator (0 when unreadable).
double markSeconds(const QByteArray& entry);

FollowResult FollowStep(FollowState& state, const FollowInput& in);

// Whether a stored mark gives a verse's start. "0" is no mark, and so is a mark of 0 seconds on any
// verse but the chapter's first (row 1): a chapter not marked yet reads "0,00000" throughout.
bool isMarked(const QByteArray& mark, int row);

// What following and replay go by for a passage: its marked verses (ComboBox_repere without the
// verses that have no mark), and where a passage that ends before its chapter does stops. That
// stop is the mark of the verse after the passage, or, when that verse has no mark, of the next
// marked verse of the chapter (as an entry with an empty label, which selects nothing); without one
// the passage plays on to the end of the recording (stopsBeforeEnd false).
//   marks 0 / 4 / 9 / 0 / 20 for verses 1-5, passage 1-3: marks "1.1", "1.2", "1.3", "	20"
struct FollowedMarks {
    QByteArrayList marks;
    bool stopsBeforeEnd = false; // the passage ends before the recording does
};
FollowedMarks followedMarks(const Passage& passage);

} // namespace lumora::bible
