#include "output/savedtext.h"

#include "bible/passagebuilder.h"
#include "common/atomicfile.h"
#include "common/paths.h"
#include "common/rtf/rtfwriter.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>

namespace lumora::output {

QString dialogFileName(const QString& name) {
    static const QString refused = QStringLiteral("/*?\"<>|");
    for (const QChar c : name) {
        if (refused.contains(c)) return kUnsafeName;
    }
    const bool hasSeparator = name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':'));
    if (hasSeparator && !name.contains(QStringLiteral(":\\"))) return kUnsafeName;
    return name;
}

QString passageFileName(const QString& heading, const QString& versionCode) {
    QString t = heading;
    t.replace(QLatin1Char(':'), QLatin1Char('_'));
    return t + QStringLiteral(" (") + versionCode + QStringLiteral(" )");
}

QString passageSaveFolder(const QString& dataPath) {
    return common::findPath(dataPath, {QStringLiteral("MyDocs")});
}

QString hymnSaveFolder(const QString& dataPath, const QString& book) {
    return common::findPath(dataPath, {QStringLiteral("Cantiques"), book, QStringLiteral("Parole")});
}

bool isHymnWordsFile(const QString& dataPath, const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile() || dataPath.isEmpty()) return false;
    const QDir words = file.absoluteDir();
    QDir book = words;
    if (words.dirName().compare(QStringLiteral("Parole"), Qt::CaseInsensitive) != 0 || !book.cdUp())
        return false;
    QDir cantiques = book;
    if (!cantiques.cdUp()) return false;
    const QString ours = common::findPath(dataPath, {QStringLiteral("Cantiques")});
    return !ours.isEmpty() &&
           QFileInfo(ours).canonicalFilePath() == QFileInfo(cantiques.absolutePath()).canonicalFilePath();
}

bool isPlainTextName(const QString& path) {
    return path.right(3).toUpper() == QStringLiteral("TXT");
}

namespace {
QByteArray plainContent(const ShownText& text) {
    QString plain = text.plain;
    plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return common::Utf8Encode(plain);
}
} // namespace

bool SaveShownText(const QString& path, const ShownText& text, QString* whyNot) {
    if (isPlainTextName(path)) return common::WriteUtf8File(path, plainContent(text), whyNot);
    return common::writeFileAtomic(path, common::rtf::writeRtf(text.rich), whyNot);
}

PassageLook defaultPassageLook() {
    PassageLook look;
    look.fontFamily = QString::fromLatin1(bible::kPassageFontFamily);
    look.sizePt = bible::kPassageFontSizePt;
    return look;
}

ShownText passageShownText(const QByteArray& passageText, const PassageLook& look) {
    const QByteArray body = common::startsWithBom(passageText) ? passageText.mid(3) : passageText;
    // The box makes a paragraph of each line whatever its end, as it does with the data files.
    QString text = common::Utf8Decode(body);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    common::rtf::CharFormat format;
    format.fontFamily = look.fontFamily;
    format.sizePt = look.sizePt;
    format.bold = look.bold;
    format.italic = look.italic;
    format.underline = look.underline;
    format.colour = look.colour;
    ShownText out;
    out.plain = text;
    if (text.isEmpty()) return out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        common::rtf::Paragraph para;
        para.alignment = look.alignment;
        if (!line.isEmpty()) para.runs.push_back({line, format});
        out.rich.paragraphs.push_back(std::move(para));
    }
    out.rich = common::rtf::normalized(std::move(out.rich));
    return out;
}

} // namespace lumora::output
