#pragma once
// What the remote's requests ask, and what it is told. A request is a small JSON object such as
// {"action":"goto","reference":"Ps 23:1-3"} or {"action":"nextVerse"}; the handler checks it and
// the device's role, then hands the window an action. It never echoes its input: a refusal is
// one short fixed error. The "now showing" value goes out as JSON, numbered.

#include "remote/devicestore.h"
#include "session/nowshowing.h"

#include <QByteArray>
#include <QString>

namespace lumora::remote {

constexpr qsizetype kMaxMessageBytes = 64 * 1024;

struct RemoteAction {
    enum Kind {
        GoTo, // text: a reference as people type it
        NextVerse,
        PreviousVerse,
        NextChapter,
        PreviousChapter,
        ShowClone,
        HideClone,
        BlankClone,
        Play,      // text: "bible" or "hymn"
        Pause,     // text: "bible" or "hymn"
        Stop,      // text: "bible" or "hymn"
        PickHymn,  // text: a hymn's id, as the window gave it in a hymn list
        ZoomClone, // step: 1 larger, -1 smaller
    };
    Kind kind = NextVerse;
    QString text;
    int step = 0;
    friend bool operator==(const RemoteAction&, const RemoteAction&) = default;
};

// A hymn as the remote lists it. The id is the window's own opaque string, good for a later
// {"action":"hymn","id":...}; the label is the hymn book's ("12 - Amazing grace").
struct HymnItem {
    QString id;
    QString label;
    QString title;
    QString book;
    friend bool operator==(const HymnItem&, const HymnItem&) = default;
};

constexpr qsizetype kMaxHymnSearch = 100; // characters of a hymn search
constexpr qsizetype kMaxHymnItems = 200;  // hymns in one answer
constexpr qsizetype kMaxHymnId = 64;

// What the window does for the remote: each action is exactly the click it stands for.
class RemoteActions {
  public:
    virtual ~RemoteActions() = default;
    virtual void perform(const RemoteAction& action) = 0;
    // The hymns whose entry holds `text` (as the hymn search finds them), and the hymns of the
    // playlist on display; at most kMaxHymnItems each.
    // A window without hymns lists none.
    virtual QList<HymnItem> findHymns(const QString& text) {
        Q_UNUSED(text);
        return {};
    }
    virtual QList<HymnItem> playlist() { return {}; }
};

// {"hymns":[{"id":...,"label":...,"title":...,"book":...}, ...]}, at most kMaxHymnItems.
QByteArray hymnListJson(const QList<HymnItem>& hymns);

struct Reply {
    int status = 200; // HTTP status the reply travels with
    QByteArray json;  // {"ok":true} or {"error":"..."}
};

// Reads one request and, when it is well formed and the role allows it, performs it.
// `actions` may be null (nothing is performed, the reply is the same).
Reply handleMessage(const QByteArray& message, Role role, RemoteActions* actions);

// The value as the pages read it: {"type":"now","seq":N, "tab":..., "passage":{...}, ...}.
QByteArray nowShowingJson(const session::NowShowing& now, quint64 seq);

} // namespace lumora::remote
