#include "platform/rtfdocument.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/rtf/rtfreader.h"
#include "common/rtf/rtfwriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

#include <cmath>

namespace lumora::platform {

using common::rtf::Alignment;
using common::rtf::CharFormat;
using common::rtf::Colour;
using common::rtf::Document;
using common::rtf::Paragraph;
using common::rtf::Run;

namespace {

Qt::Alignment qtAlignment(Alignment a) {
    switch (a) {
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Centre:
        return Qt::AlignHCenter;
    case Alignment::Justify:
        return Qt::AlignJustify;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

Alignment modelAlignment(Qt::Alignment a) {
    const Qt::Alignment h = a & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignJustify) return Alignment::Justify;
    if (h & Qt::AlignHCenter) return Alignment::Centre;
    if (h & Qt::AlignRight) return Alignment::Right;
    return Alignment::Left;
}

QTextCharFormat qtFormat(const CharFormat& f, double sizeScale) {
    QTextCharFormat out;
    if (!f.fontFamily.isEmpty()) out.setFontFamilies({f.fontFamily});
    out.setFontPointSize(f.sizePt * sizeScale);
    out.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(f.italic);
    out.setFontUnderline(f.underline);
    if (f.colour) out.setForeground(QColor(f.colour->red, f.colour->green, f.colour->blue));
    if (f.backColour) out.setBackground(QColor(f.backColour->red, f.backColour->green, f.backColour->blue));
    return out;
}

std::optional<Colour> brushColour(const QTextCharFormat& f, QTextFormat::Property property) {
    if (!f.hasProperty(property)) return std::nullopt;
    const QBrush brush = f.brushProperty(property);
    if (brush.style() == Qt::NoBrush) return std::nullopt;
    const QColor c = brush.color().toRgb();
    return Colour{static_cast<quint8>(c.red()), static_cast<quint8>(c.green()),
                  static_cast<quint8>(c.blue())};
}

CharFormat modelFormat(const QTextCharFormat& f, const QFont& base, double sizeScale) {
    const QFont font = f.font().resolve(base);
    CharFormat out;
    out.fontFamily = font.family();
    double size = font.pointSizeF();
    if (size <= 0 && font.pixelSize() > 0) size = font.pixelSize() * 72.0 / 96.0;
    if (size > 0) out.sizePt = std::round(size / sizeScale * 100.0) / 100.0; // undo the zoom's float error
    out.bold = font.bold();
    out.italic = font.italic();
    out.underline = font.underline();
    out.colour = brushColour(f, QTextFormat::ForegroundBrush);
    out.backColour = brushColour(f, QTextFormat::BackgroundBrush);
    return out;
}

// A paragraph break inside run text would split the block; keep it a line break.
QString displayText(QString text) {
    for (QChar& c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
            c = common::rtf::kLineBreak;
    }
    return text;
}

QString modelText(QString text) {
    text.remove(QChar::ObjectReplacementCharacter);
    text.remove(QChar(0xFDD0)); // frame boundaries that QTextDocument keeps in its text
    text.remove(QChar(0xFDD1));
    return text;
}

double validScale(double sizeScale) {
    return (sizeScale > 0 && std::isfinite(sizeScale)) ? sizeScale : 1.0;
}

} // namespace

void toTextDocument(const Document& model, QTextDocument& doc, double sizeScale) {
    sizeScale = validScale(sizeScale);
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    QTextCharFormat lastFormat;
    bool first = true;
    for (const Paragraph& para : model.paragraphs) {
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(qtAlignment(para.alignment));
        if (para.rightToLeft) blockFormat.setLayoutDirection(Qt::RightToLeft);
        // The block's own character format gives an empty line the height of the text around it.
        if (!para.runs.empty()) lastFormat = qtFormat(para.runs.front().format, sizeScale);
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(lastFormat);
        } else {
            cursor.insertBlock(blockFormat, lastFormat);
        }
        first = false;
        for (const Run& run : para.runs)
            cursor.insertText(displayText(run.text), qtFormat(run.format, sizeScale));
    }
    cursor.endEditBlock();
}

Document fromTextDocument(const QTextDocument& doc, double sizeScale) {
    sizeScale = validScale(sizeScale);
    Document model;
    if (doc.isEmpty()) return model;
    const QFont base = doc.defaultFont();
    const bool documentRightToLeft = doc.defaultTextOption().textDirection() == Qt::RightToLeft;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        Paragraph para;
        para.alignment = modelAlignment(block.blockFormat().alignment());
        // The direction set on the paragraph, else the document's; never guessed from the letters.
        const Qt::LayoutDirection own = block.blockFormat().layoutDirection();
        para.rightToLeft = own == Qt::LayoutDirectionAuto ? documentRightToLeft : own == Qt::RightToLeft;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            para.runs.push_back(
                Run{modelText(fragment.text()), modelFormat(fragment.charFormat(), base, sizeScale)});
        }
        model.paragraphs.push_back(std::move(para));
    }
    return common::rtf::normalized(std::move(model));
}

bool loadRtfFile(QTextDocument& doc, const QString& path, double sizeScale) {
    const std::optional<QByteArray> bytes = common::readWholeFile(path);
    if (!bytes) return false;
    const std::optional<Document> model = common::rtf::readRtf(*bytes);
    if (!model) return false;
    toTextDocument(*model, doc, sizeScale);
    return true;
}

bool loadRtfFile(QTextEdit* edit, const QString& path, double sizeScale) {
    return edit != nullptr && loadRtfFile(*edit->document(), path, sizeScale);
}

bool saveRtfFile(const QTextDocument& doc, const QString& path, double sizeScale) {
    return common::writeFileAtomic(path, common::rtf::writeRtf(fromTextDocument(doc, sizeScale)));
}

} // namespace lumora::platform
