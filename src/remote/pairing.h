#pragma once
// Who may pair: a 6-digit PIN shown in the window, or a one-time code carried by a QR code.
// Wrong PINs are limited per address (5 a minute), and after 10 wrong ones a new PIN is drawn,
// so guessing the million PINs from many addresses does not pay either.
// Times are given by the caller (milliseconds of a steady clock), so that the limits are tested
// without waiting.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace lumora::remote {

enum class PairCheck {
    Accepted,
    Wrong,       // a wrong PIN or an unknown or used code
    RateLimited, // too many wrong PINs from this address in the last minute; not even checked
};

class Pairing {
  public:
    Pairing();

    QString pin() const { return pin_; }
    void drawNewPin();

    // Checks a PIN from an address at `nowMs`.
    PairCheck checkPin(const QString& address, const QString& pin, qint64 nowMs);

    // A new one-time pairing code for a QR code; it stays valid until used or the PIN changes.
    QString newCode();
    // Accepts a code once.
    PairCheck useCode(const QString& code);

    int wrongSincePin() const { return wrongSincePin_; }

    static constexpr int kWrongPerMinute = 5;
    static constexpr int kWrongBeforeNewPin = 10;

  private:
    QString pin_;
    int wrongSincePin_ = 0;
    QHash<QString, QList<qint64>> wrongTimes_; // address → times of its wrong PINs in the last minute
    QSet<QString> codes_;
};

} // namespace lumora::remote
