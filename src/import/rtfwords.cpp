#include "import/rtfwords.h"

namespace lumora::import {

namespace {
QByteArray escaped(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}')
            out.append('\\').append(char(u));
        else if (u < 128)
            out.append(char(u));
        else
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
    }
    return out;
}
} // namespace

QByteArray rtfDocument(const QString& title, const QStringList& lines) {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n";
    out += "\\pard\\qc\\f0\\fs32\\b " + escaped(title) + "\\b0\\par\r\n\\fs28\\par\r\n";
    for (const QString& line : lines)
        out += escaped(line) + "\\par\r\n";
    out += "}\r\n";
    return out;
}

} // namespace lumora::import
