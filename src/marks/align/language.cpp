#include "marks/align/language.h"

#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QHash>
#include <QRegularExpression>

#include <map>

namespace lumora::marks::align {

namespace {

// Book names that tell one Latin-script language from another (lower case, as written).
const std::map<QString, QStringList>& namesByLanguage() {
    static const std::map<QString, QStringList> names{
        {QStringLiteral("en"),
         {"genesis", "exodus", "leviticus", "numbers",      "deuteronomy", "joshua",      "judges",
          "kings",   "psalms", "proverbs",  "ecclesiastes", "isaiah",      "jeremiah",    "matthew",
          "mark",    "luke",   "john",      "acts",         "romans",      "corinthians", "revelation"}},
        {QStringLiteral("fr"),
         {"genèse", "exode",   "lévitique", "nombres",     "deutéronome", "josué",       "juges",
          "rois",   "psaumes", "proverbes", "ecclésiaste", "ésaïe",       "jérémie",     "matthieu",
          "marc",   "luc",     "jean",      "actes",       "romains",     "corinthiens", "apocalypse"}},
        {QStringLiteral("es"),
         {"génesis", "éxodo",  "levítico",   "números",     "deuteronomio", "josué",     "jueces",
          "reyes",   "salmos", "proverbios", "eclesiastés", "isaías",       "jeremías",  "mateo",
          "marcos",  "lucas",  "juan",       "hechos",      "romanos",      "corintios", "apocalipsis"}},
        {QStringLiteral("pt"),
         {"gênesis", "êxodo",  "levítico",   "números",     "deuteronômio", "josué",     "juízes",
          "reis",    "salmos", "provérbios", "eclesiastes", "isaías",       "jeremias",  "mateus",
          "marcos",  "lucas",  "joão",       "atos",        "romanos",      "coríntios", "apocalipse"}},
        {QStringLiteral("de"),
         {"mose", "josua", "richter", "könige", "psalmen", "sprüche", "prediger", "jesaja", "jeremia",
          "matthäus", "markus", "lukas", "johannes", "apostelgeschichte", "römer", "korinther",
          "offenbarung"}},
        {QStringLiteral("it"),
         {"genesi", "esodo", "levitico", "numeri",      "deuteronomio", "giosuè",  "giudici",
          "re",     "salmi", "proverbi", "ecclesiaste", "isaia",        "geremia", "matteo",
          "marco",  "luca",  "giovanni", "atti",        "romani",       "corinzi", "apocalisse"}},
        {QStringLiteral("nl"),
         {"genesis",  "exodus",  "leviticus", "numeri",      "deuteronomium", "jozua",    "richteren",
          "koningen", "psalmen", "spreuken",  "prediker",    "jesaja",        "jeremia",  "mattheüs",
          "markus",   "lukas",   "johannes",  "handelingen", "romeinen",      "korinthe", "openbaring"}},
    };
    return names;
}

// Scripts that name their language well enough for a voice.
QString languageOfScript(QChar::Script script) {
    switch (script) {
    case QChar::Script_Cyrillic:
        return QStringLiteral("ru");
    case QChar::Script_Greek:
        return QStringLiteral("el");
    case QChar::Script_Hebrew:
        return QStringLiteral("he");
    case QChar::Script_Arabic:
        return QStringLiteral("ar");
    case QChar::Script_Han:
        return QStringLiteral("cmn");
    case QChar::Script_Hangul:
        return QStringLiteral("ko");
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return QStringLiteral("ja");
    case QChar::Script_Thai:
        return QStringLiteral("th");
    case QChar::Script_Devanagari:
        return QStringLiteral("hi");
    case QChar::Script_Armenian:
        return QStringLiteral("hy");
    case QChar::Script_Georgian:
        return QStringLiteral("ka");
    case QChar::Script_Ethiopic:
        return QStringLiteral("am");
    default:
        return {};
    }
}

} // namespace

VersionLanguage guessLanguage(const QStringList& bookNames) {
    QHash<QChar::Script, int> scripts;
    int letters = 0;
    for (const QString& name : bookNames)
        for (const QChar c : name)
            if (c.isLetter()) {
                ++scripts[c.script()];
                ++letters;
            }
    for (auto it = scripts.cbegin(); it != scripts.cend(); ++it) {
        const QString code = languageOfScript(it.key());
        if (!code.isEmpty() && 2 * it.value() > letters)
            return {code, QStringLiteral("guessed from the book names' script")};
    }
    static const QRegularExpression nonLetters(QStringLiteral("[^\\p{L}]+"));
    QStringList words;
    for (const QString& name : bookNames)
        words += name.toLower().split(nonLetters, Qt::SkipEmptyParts);
    QString best;
    int bestHits = 0;
    for (const auto& [code, names] : namesByLanguage()) {
        int hits = 0;
        for (const QString& w : words)
            hits += names.contains(w);
        if (hits > bestHits) {
            bestHits = hits;
            best = code;
        }
    }
    if (bestHits >= 2) return {best, QStringLiteral("guessed from the book names")};
    return {QStringLiteral("en"), QStringLiteral("English assumed: the book names tell no language")};
}

VersionLanguage versionLanguage(const QString& versionFolder, const QStringList& bookNames) {
    const QString path = common::findPath(versionFolder, {QStringLiteral("Language.txt")});
    if (const auto bytes = common::readWholeFile(path)) {
        common::LineSplitter lines(*bytes);
        QByteArray first;
        if (lines.next(first)) {
            const QString code = common::Utf8Decode(first).trimmed().remove(QChar(0xFEFF));
            if (!code.isEmpty()) return {code, QStringLiteral("set in Language.txt")};
        }
    }
    return guessLanguage(bookNames);
}

} // namespace lumora::marks::align
