#pragma once
// The remote's actions, recorded instead of done: what a message asked of the window, and the
// hymn look-ups it made (answered with `hymns`).

#include "remote/messages.h"

#include <QList>
#include <QStringList>

namespace lumora::testing {

struct RecordedActions : remote::RemoteActions {
    QList<remote::RemoteAction> done;
    QStringList searched;
    QList<remote::HymnItem> hymns;
    void perform(const remote::RemoteAction& a) override { done << a; }
    QList<remote::HymnItem> findHymns(const QString& text) override {
        searched << text;
        return hymns;
    }
    QList<remote::HymnItem> playlist() override { return hymns; }
};

} // namespace lumora::testing
