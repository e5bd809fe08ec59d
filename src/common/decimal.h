#pragma once
// Exact decimal numbers, and the 0.1 steps of the position fields.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace lumora::common {

// A decimal number held exactly: value = units / 10^scale. Parsing accepts one "," or "." as the
// separator ("0,3", "0.3", "-2", ".5"), surrounding blanks, and up to 17 digits.
class Decimal final {
  public:
    static std::optional<Decimal> parse(QStringView text);
    static Decimal fromUnits(std::int64_t units, int scale);

    // Plain decimal with `point` as the separator and no trailing zeros: "0,4", "12", "0".
    QString toString(QStringView point) const;

    Decimal plus(const Decimal& other) const;
    Decimal minus(const Decimal& other) const;
    int compare(const Decimal& other) const; // <0, 0, >0

    std::int64_t units() const { return m_units; }
    int scale() const { return m_scale; }

  private:
    Decimal(std::int64_t units, int scale) : m_units(units), m_scale(scale) {}
    Decimal rescaled(int scale) const;

    std::int64_t m_units = 0;
    int m_scale = 0;
};

// One 0.1 step of a position field. nullopt when the field stays as it is: the text is no
// number, or the step is down and the value is below 0.1. "0,3" down -> "0,2"; "0.05" down ->
// nullopt; "abc" -> nullopt. The result uses `point` as the decimal separator.
std::optional<QString> stepPosition(QStringView text, bool up, QStringView point);
// The same with the system's decimal separator.
std::optional<QString> stepPosition(QStringView text, bool up);

} // namespace lumora::common
