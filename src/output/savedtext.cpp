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

ShownText passageShownText(const QByteArray& passageText, const PassageLook& look) {
    return {bible::passagePlainText(passageText), bible::passageDocument(passageText, look)};
}

} // namespace lumora::output
