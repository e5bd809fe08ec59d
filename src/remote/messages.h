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
        Play,  // text: "bible" or "hymn"
        Pause, // text: "bible" or "hymn"
        Stop,  // text: "bible" or "hymn"
    };
    Kind kind = NextVerse;
    QString text;
    friend bool operator==(const RemoteAction&, const RemoteAction&) = default;
};

// What the window does for the remote: each action is exactly the click it stands for.
class RemoteActions {
  public:
    virtual ~RemoteActions() = default;
    virtual void perform(const RemoteAction& action) = 0;
};

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
