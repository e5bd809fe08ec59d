#include "bible/passagedocument.h"

#include "bible/passagebuilder.h"
#include "common/text.h"

namespace lumora::bible {

PassageLook defaultPassageLook() {
    PassageLook look;
    look.fontFamily = QString::fromLatin1(kPassageFontFamily);
    look.sizePt = kPassageFontSizePt;
    return look;
}

bool isRightToLeft(const BookTables& tables) {
    return common::dominantDirection(tables.names().join(QLatin1Char(' '))) == Qt::RightToLeft;
}

QString passagePlainText(const QByteArray& passageText) {
    const QByteArray body = common::startsWithBom(passageText) ? passageText.mid(3) : passageText;
    // The box makes a paragraph of each line whatever its end, as it does with the data files.
    QString text = common::Utf8Decode(body);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

common::rtf::Document passageDocument(const QByteArray& passageText, const PassageLook& look) {
    const QString text = passagePlainText(passageText);
    common::rtf::CharFormat format;
    format.fontFamily = look.fontFamily;
    format.sizePt = look.sizePt;
    format.bold = look.bold;
    format.italic = look.italic;
    format.underline = look.underline;
    format.colour = look.colour;
    common::rtf::Document doc;
    if (text.isEmpty()) return doc;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        common::rtf::Paragraph para;
        para.alignment = look.alignment;
        para.rightToLeft = look.rightToLeft;
        if (!line.isEmpty()) para.runs.push_back({line, format});
        doc.paragraphs.push_back(std::move(para));
    }
    return common::rtf::normalized(std::move(doc));
}

} // namespace lumora::bible
