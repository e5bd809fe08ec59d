#include "common/rtf/rtfwriter.h"

#include "common/rtf/codepage.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace lumora::common::rtf {

namespace {

int halfPoints(double sizePt) {
    if (!(sizePt > 0) || !std::isfinite(sizePt)) return static_cast<int>(kDefaultSizePt * 2);
    // 1638 pt is the largest size word processors take.
    return static_cast<int>(std::lround(std::clamp(sizePt * 2, 1.0, 3276.0)));
}

// Text for a font table or a run. `inName`: ';' ends a name in the font table, so it is escaped.
void appendText(QByteArray& out, const QString& text, bool inName) {
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == '\t' && !inName) {
            out += "\\tab ";
        } else if (c == kLineBreak && !inName) {
            out += "\\line ";
        } else if (inName && u == ';') {
            out += "\\'3b";
        } else if (u >= 0x20 && u < 0x7F) {
            out += static_cast<char>(u);
        } else if (const auto byte = charToCp1252(c); byte && u >= 0x80) {
            out += "\\'";
            out += QByteArray::number(*byte, 16).rightJustified(2, '0');
        } else {
            // \u takes a signed 16-bit number; '?' is the fallback for readers without Unicode.
            out += "\\u";
            out += QByteArray::number(static_cast<qint16>(u));
            out += '?';
        }
    }
}

QByteArray colourEntry(const Colour& c) {
    return "\\red" + QByteArray::number(c.red) + "\\green" + QByteArray::number(c.green) + "\\blue" +
           QByteArray::number(c.blue) + ';';
}

const char* alignmentWord(Alignment a) {
    switch (a) {
    case Alignment::Right:
        return "\\qr";
    case Alignment::Centre:
        return "\\qc";
    case Alignment::Justify:
        return "\\qj";
    case Alignment::Left:
        break;
    }
    return "\\ql";
}

} // namespace

QByteArray writeRtf(const Document& doc) {
    // Table indexes by hash: a document may use many fonts and colours, and every run looks its
    // own up.
    QStringList fonts;
    QHash<QString, qsizetype> fontIndex;
    QList<Colour> colours;
    QHash<quint32, qsizetype> colourIndex; // 0xRRGGBB -> index in the colour table (auto is 0)
    const auto colourKey = [](const Colour& c) {
        return quint32(c.red) << 16 | quint32(c.green) << 8 | c.blue;
    };
    for (const Paragraph& para : doc.paragraphs) {
        for (const Run& run : para.runs) {
            if (!fontIndex.contains(run.format.fontFamily)) {
                fontIndex.insert(run.format.fontFamily, fonts.size());
                fonts += run.format.fontFamily;
            }
            for (const auto& colour : {run.format.colour, run.format.backColour}) {
                if (colour && !colourIndex.contains(colourKey(*colour))) {
                    colours += *colour;
                    colourIndex.insert(colourKey(*colour), colours.size());
                }
            }
        }
    }
    if (fonts.isEmpty()) fonts += QStringLiteral("Times New Roman");

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (qsizetype k = 0; k < fonts.size(); ++k) {
        out += "{\\f" + QByteArray::number(k) + "\\fnil\\fcharset0 ";
        appendText(out, fonts.at(k), /*inName=*/true);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const Colour& c : colours)
        out += colourEntry(c);
    out += "}\r\n";

    for (const Paragraph& para : doc.paragraphs) {
        out += "\\pard";
        out += alignmentWord(para.alignment);
        if (para.rightToLeft) out += "\\rtlpar";
        for (const Run& run : para.runs) {
            const CharFormat& f = run.format;
            out += "\\plain\\f" + QByteArray::number(fontIndex.value(f.fontFamily)) + "\\fs" +
                   QByteArray::number(halfPoints(f.sizePt));
            if (f.bold) out += "\\b";
            if (f.italic) out += "\\i";
            if (f.underline) out += "\\ul";
            if (f.colour) out += "\\cf" + QByteArray::number(colourIndex.value(colourKey(*f.colour)));
            if (f.backColour) {
                // \highlight for WordPad and LibreOffice, \cb for older readers.
                const QByteArray index = QByteArray::number(colourIndex.value(colourKey(*f.backColour)));
                out += "\\highlight" + index + "\\cb" + index;
            }
            out += ' ';
            appendText(out, run.text, /*inName=*/false);
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

} // namespace lumora::common::rtf
