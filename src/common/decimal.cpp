#include "common/decimal.h"

#include <QLocale>

#include <limits>

namespace lumora::common {

namespace {

// 17 digits leave room for one more decimal place and a step without overflow.
constexpr int kMaxDigits = 17;

std::int64_t pow10(int n) {
    std::int64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

} // namespace

Decimal Decimal::fromUnits(std::int64_t units, int scale) {
    return Decimal(units, scale);
}

std::optional<Decimal> Decimal::parse(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    std::int64_t units = 0;
    int digits = 0, scale = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u',' || c == u'.') {
            if (point) return std::nullopt;
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            if (++digits > kMaxDigits) return std::nullopt;
            units = units * 10 + (c.unicode() - u'0');
            if (point) ++scale;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    return Decimal(negative ? -units : units, scale);
}

Decimal Decimal::rescaled(int scale) const {
    if (scale <= m_scale) return *this;
    return Decimal(m_units * pow10(scale - m_scale), scale);
}

Decimal Decimal::plus(const Decimal& other) const {
    const int s = std::max(m_scale, other.m_scale);
    return Decimal(rescaled(s).m_units + other.rescaled(s).m_units, s);
}

Decimal Decimal::minus(const Decimal& other) const {
    return plus(Decimal(-other.m_units, other.m_scale));
}

int Decimal::compare(const Decimal& other) const {
    const int s = std::max(m_scale, other.m_scale);
    const std::int64_t a = rescaled(s).m_units, b = other.rescaled(s).m_units;
    return a < b ? -1 : (a > b ? 1 : 0);
}

QString Decimal::toString(QStringView point) const {
    std::int64_t u = m_units;
    int s = m_scale;
    while (s > 0 && u % 10 == 0) {
        u /= 10;
        --s;
    }
    const bool negative = u < 0;
    QString digits = QString::number(negative ? -u : u);
    if (s > 0) {
        if (digits.size() <= s) digits.prepend(QString(s - digits.size() + 1, u'0'));
        digits.insert(digits.size() - s, point);
    }
    return negative ? QLatin1Char('-') + digits : digits;
}

std::optional<QString> stepPosition(QStringView text, bool up, QStringView point) {
    const auto value = Decimal::parse(text);
    if (!value) return std::nullopt;
    const Decimal tenth = Decimal::fromUnits(1, 1);
    const Decimal v = *value;
    if (!up && v.compare(tenth) < 0) return std::nullopt;
    return (up ? v.plus(tenth) : v.minus(tenth)).toString(point);
}

std::optional<QString> stepPosition(QStringView text, bool up) {
    return stepPosition(text, up, QLocale::system().decimalPoint());
}

} // namespace lumora::common
