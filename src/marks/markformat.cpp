#include "marks/markformat.h"

#include <cmath>

namespace lumora::marks {

QByteArray FormatMark(const QByteArray& text) {
    if (text.isEmpty()) return text;
    qsizetype n = 0;
    if (n < text.size() && (text[n] == '-' || text[n] == '+')) ++n;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9')
        ++n;
    const qsizetype d = std::max<qsizetype>(0, text.size() - n - 1);
    if (d == 0) return text + ",00000";
    if (d < 5) return text + QByteArray(5 - d, '0');
    return text.left(n + 1 + 5);
}

QByteArray positionText(double seconds) {
    if (!(seconds > 0)) return QByteArrayLiteral("0,00000");
    // Work in hundred-thousandths so that the cut is exact; the small bias keeps 0.3 (stored as
    // 0.29999...) from losing its last digit.
    const auto units = static_cast<long long>(std::floor(seconds * 100000.0 + 1e-6));
    QByteArray frac = QByteArray::number(units % 100000);
    frac.prepend(QByteArray(5 - frac.size(), '0'));
    return QByteArray::number(units / 100000) + ',' + frac;
}

bool isPositionText(const QByteArray& text) {
    if (text.isEmpty()) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == ',')) return false;
    return true;
}

} // namespace lumora::marks
