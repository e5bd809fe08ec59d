#include "session/nowshowing.h"

#include "common/text.h"

namespace lumora::session {

namespace {

QString refText(const PassageRef& r) {
    if (r.version.isEmpty() && r.book == 0) return QStringLiteral("-");
    QString s = QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(r.version)).arg(r.book).arg(r.chapter);
    if (!r.isWholeChapter()) {
        s += QStringLiteral(":%1").arg(r.firstVerse);
        if (r.lastVerse != r.firstVerse) s += QStringLiteral("-%1").arg(r.lastVerse);
    }
    return s;
}

QString playerText(const char* name, const ShownPlayer& p) {
    QString s = QStringLiteral("%1 %2 %3s")
                    .arg(QLatin1String(name), p.status.isEmpty() ? QStringLiteral("-") : p.status)
                    .arg(p.seconds);
    if (p.repeat) s += QStringLiteral(" repeat");
    if (p.continuous) s += QStringLiteral(" continuous");
    if (p.muted) s += QStringLiteral(" muted");
    return s;
}

} // namespace

QString describe(const NowShowing& now) {
    QStringList parts;
    parts << QStringLiteral("%1 %2 heard %3")
                 .arg(now.tab == ShownTab::Bible ? QStringLiteral("bible") : QStringLiteral("hymns"),
                      refText(now.passage.ref),
                      now.heardVerse.isEmpty() ? QStringLiteral("-") : now.heardVerse);
    parts << QStringLiteral("hymn ") + (now.hymn.label.isEmpty() ? QStringLiteral("-") : now.hymn.label);
    parts << playerText("bible", now.biblePlayer) << playerText("hymn", now.hymnPlayer);
    static const char* const clone[] = {"-", "passage", "hymn"};
    parts << QStringLiteral("clone ") + QLatin1String(clone[static_cast<int>(now.clone)]);
    return parts.join(QStringLiteral(" | "));
}

QHash<QString, int> verseLabelStarts(const QString& plainText, const QStringList& labels) {
    QHash<QString, int> starts;
    qsizetype from = 0;
    for (const QString& label : labels) {
        const auto at = common::verseLabelPosition(plainText, label, from);
        if (!at) continue;
        starts.insert(label, *at);
        from = *at + label.size();
    }
    return starts;
}

} // namespace lumora::session
