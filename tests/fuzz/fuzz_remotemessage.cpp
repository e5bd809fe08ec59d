// Feeds arbitrary bytes to the remote's message handler, as either role: a refusal is one of the
// short fixed errors and never echoes the input, and a view device never gets an action done.

#include "remote/messages.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>

using namespace lumora;

namespace {

struct CountedActions : remote::RemoteActions {
    int done = 0;
    void perform(const remote::RemoteAction& a) override {
        ++done;
        if (a.kind == remote::RemoteAction::GoTo && (a.text.isEmpty() || a.text.size() > 200)) {
            std::fprintf(stderr, "a reference out of bounds was handed on\n");
            std::abort();
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const remote::Role role : {remote::Role::View, remote::Role::Control}) {
        CountedActions actions;
        const remote::Reply r = remote::handleMessage(bytes, role, &actions);
        const QJsonObject o = QJsonDocument::fromJson(r.json).object();
        if (r.status == 200) {
            if (role != remote::Role::Control || actions.done != 1 || !o.value("ok").toBool()) {
                std::fprintf(stderr, "an accepted message did not act exactly once as a control device\n");
                std::abort();
            }
            continue;
        }
        if (actions.done != 0 || !o.value("error").isString() || r.json.size() > 64) {
            std::fprintf(stderr, "a refusal acted, or is not one short error\n");
            std::abort();
        }
    }
    return 0;
}
