#pragma once
// The files that belong to a hymn, found by its label or by its number:
//
//   <book>/musique/<label|number>.wav|.mp3|.mid
//   <book>/parole/<label|number>.rtf|.txt
//   <book>/Diapo/<label|number>.pptx|.ppt|.pps|.ppsx
//   <book>/Video/<label|number>.mpeg|... or <...>.lnk, a Windows shortcut to the video
//
// A hymn without a number (no " - " in its label) is looked up by its label only.

#include <QString>

#include <optional>

namespace lumora::hymns {

enum class WordsKind { None, Rtf, Text };

// The music and words files of the hymn an entry describes.
struct HymnFiles {
    QString musicPath; // the first of the music names that exists, else the last one tried
    bool hasMusic = false;
    QString wordsPath; // empty when there is no words file
    WordsKind words = WordsKind::None;
};

// Music: label.wav, .mp3, .mid, then number.wav, .mp3, .mid. Words: label.rtf, number.rtf,
// label.txt, number.txt. The book is the text after the entry's last tab, the label the text
// before its first tab.
HymnFiles LoadHymnFiles(const QString& cantiques, const QString& entry);

// The words of a ".txt" file for display: BOM dropped, leading empty lines dropped, the rest one
// paragraph per line joined by "\n" (empty lines after the first text stay).
QString readTextWords(const QString& path);

// Plain text of a rich-text words file: the visible text of the document, paragraphs joined by
// "\n". Good enough for hymn words (text, \par, \line, \tab, \'hh and \uN escapes; groups such as
// the font table and pictures are skipped). nullopt when the file cannot be read.
std::optional<QString> rtfPlainText(const QString& path);

struct MediaLookup {
    QString path; // the file found, or the last path tried
    bool found = false;
};

// The slide show: label + .pptx, .ppt, .pps, .ppsx, the first that exists; then the same with the
// text of the label before its first " -" when the label has one.
MediaLookup findSlides(const QString& cantiques, const QString& book, const QString& label);

struct VideoLookup {
    QString path;      // video file, or the shortcut file when isShortcut
    QString extension; // ".avi"...".lnk"; empty when nothing was found
    bool isShortcut = false;
};

// The video: every one of .mpeg, .mpeg1, .mpeg2, .mpeg4, .avi, .mpg, .wmv is tried and the last
// that exists wins (so .wmv beats .avi); with none, the same with the label's number (the text
// before its first " -"). Then a shortcut path + ".lnk" (for example "12.lnk") takes precedence;
// its target is for the caller to resolve.
VideoLookup findVideo(const QString& cantiques, const QString& book, const QString& label);

} // namespace lumora::hymns
