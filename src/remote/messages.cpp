#include "remote/messages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumora::remote {

namespace {

Reply refuse(int status, const char* why) {
    return {status, QByteArray("{\"error\":\"") + why + "\"}"};
}

const char* const kActionNames[] = {"goto", "nextVerse", "previousVerse", "nextChapter", "previousChapter",
                                    "show", "hide",      "blank",         "play",        "pause",
                                    "stop", "hymn",      "zoom"};

constexpr qsizetype kMaxReference = 200;

} // namespace

Reply handleMessage(const QByteArray& message, Role role, RemoteActions* actions) {
    if (message.size() > kMaxMessageBytes) return refuse(413, "too large");
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(message, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return refuse(400, "malformed");
    const QJsonObject o = doc.object();
    const QJsonValue name = o.value(QLatin1String("action"));
    if (!name.isString()) return refuse(400, "malformed");
    int kind = -1;
    for (int i = 0; i < int(std::size(kActionNames)); ++i)
        if (name.toString() == QLatin1String(kActionNames[i])) kind = i;
    if (kind < 0) return refuse(400, "unknown action");

    RemoteAction action;
    action.kind = static_cast<RemoteAction::Kind>(kind);
    if (action.kind == RemoteAction::GoTo) {
        const QJsonValue ref = o.value(QLatin1String("reference"));
        if (!ref.isString() || ref.toString().trimmed().isEmpty() || ref.toString().size() > kMaxReference)
            return refuse(400, "malformed");
        action.text = ref.toString().trimmed();
    } else if (action.kind == RemoteAction::Play || action.kind == RemoteAction::Pause ||
               action.kind == RemoteAction::Stop) {
        const QString player = o.value(QLatin1String("player")).toString(QStringLiteral("bible"));
        if (player != QLatin1String("bible") && player != QLatin1String("hymn"))
            return refuse(400, "malformed");
        action.text = player;
    } else if (action.kind == RemoteAction::PickHymn) {
        const QJsonValue id = o.value(QLatin1String("id"));
        if (!id.isString() || id.toString().isEmpty() || id.toString().size() > kMaxHymnId)
            return refuse(400, "malformed");
        action.text = id.toString();
    } else if (action.kind == RemoteAction::ZoomClone) {
        const QJsonValue step = o.value(QLatin1String("step"));
        if (!step.isDouble() || (step.toDouble() != 1 && step.toDouble() != -1))
            return refuse(400, "malformed");
        action.step = step.toInt();
    }
    if (role != Role::Control) return refuse(403, "not allowed");
    if (actions) actions->perform(action);
    return {200, QByteArrayLiteral("{\"ok\":true}")};
}

QByteArray hymnListJson(const QList<HymnItem>& hymns) {
    QJsonArray list;
    for (const HymnItem& h : hymns.first(std::min(hymns.size(), kMaxHymnItems)))
        list.append(QJsonObject{{QStringLiteral("id"), h.id},
                                {QStringLiteral("label"), h.label},
                                {QStringLiteral("title"), h.title},
                                {QStringLiteral("book"), h.book}});
    return QJsonDocument(QJsonObject{{QStringLiteral("hymns"), list}}).toJson(QJsonDocument::Compact);
}

QByteArray nowShowingJson(const session::NowShowing& now, quint64 seq) {
    QJsonArray verses;
    for (const session::ShownVerse& v : now.passage.verses)
        verses.append(QJsonObject{{QStringLiteral("chapter"), v.chapter},
                                  {QStringLiteral("verse"), v.verse},
                                  {QStringLiteral("label"), v.label},
                                  {QStringLiteral("text"), v.text}});
    auto player = [](const session::ShownPlayer& p) {
        return QJsonObject{{QStringLiteral("status"), p.status}, {QStringLiteral("seconds"), p.seconds}};
    };
    const QString clone = now.clone == session::CloneShows::Passage ? QStringLiteral("passage")
                          : now.clone == session::CloneShows::Hymn  ? QStringLiteral("hymn")
                                                                    : QStringLiteral("nothing");
    const QJsonObject root{
        {QStringLiteral("type"), QStringLiteral("now")},
        {QStringLiteral("seq"), static_cast<qint64>(seq)},
        {QStringLiteral("tab"),
         now.tab == session::ShownTab::Hymns ? QStringLiteral("hymns") : QStringLiteral("bible")},
        {QStringLiteral("passage"), QJsonObject{{QStringLiteral("version"), now.passage.versionEntry},
                                                {QStringLiteral("heading"), now.passage.heading},
                                                {QStringLiteral("verses"), verses}}},
        {QStringLiteral("heard"), now.heardVerse},
        {QStringLiteral("hymn"), QJsonObject{{QStringLiteral("label"), now.hymn.label},
                                             {QStringLiteral("words"), now.hymn.wordsPlain}}},
        {QStringLiteral("biblePlayer"), player(now.biblePlayer)},
        {QStringLiteral("hymnPlayer"), player(now.hymnPlayer)},
        {QStringLiteral("clone"), clone}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace lumora::remote
