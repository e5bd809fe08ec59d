#include "remote/pairing.h"

#include "remote/devicestore.h"

#include <QRandomGenerator>

namespace lumora::remote {

Pairing::Pairing() {
    drawNewPin();
}

void Pairing::drawNewPin() {
    const QString old = pin_;
    do
        pin_ =
            QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(1000000), 6, 10, QLatin1Char('0'));
    while (pin_ == old);
    wrongSincePin_ = 0;
    codes_.clear();
}

PairCheck Pairing::checkPin(const QString& address, const QString& pin, qint64 nowMs) {
    QList<qint64>& times = wrongTimes_[address];
    times.removeIf([nowMs](qint64 t) { return nowMs - t >= 60000; });
    if (times.size() >= kWrongPerMinute) return PairCheck::RateLimited;
    if (equalConstantTime(pin.toUtf8(), pin_.toUtf8())) {
        times.clear();
        return PairCheck::Accepted;
    }
    times << nowMs;
    if (++wrongSincePin_ >= kWrongBeforeNewPin) drawNewPin();
    // addresses with nothing in the last minute are dropped, so the table does not grow
    if (wrongTimes_.size() > 1000)
        wrongTimes_.removeIf([nowMs](const auto& it) {
            return it.value().isEmpty() || nowMs - it.value().constLast() >= 60000;
        });
    return PairCheck::Wrong;
}

QString Pairing::newCode() {
    const QString code = QString::fromLatin1(newToken());
    codes_.insert(code);
    return code;
}

PairCheck Pairing::useCode(const QString& code) {
    return codes_.remove(code) ? PairCheck::Accepted : PairCheck::Wrong;
}

} // namespace lumora::remote
