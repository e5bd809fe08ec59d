#pragma once
// A QR code of a text, as a picture (black modules on white, with the four-module quiet zone a
// reader needs), drawn from libqrencode.

#include <QImage>
#include <QString>

namespace lumora::remote {

// `moduleSize` pixels a module; a null image when the text does not fit in a QR code.
QImage qrCodeImage(const QString& text, int moduleSize = 4);

} // namespace lumora::remote
