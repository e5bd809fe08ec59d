#pragma once
// Writes the rich-text model as RTF that WordPad, Word and LibreOffice open, and that readRtf
// reads back to the same (normalized) document.
//
// Shape: {\rtf1\ansi\ansicpg1252\deff0\uc1 + font table (one entry per family used) + colour
// table (auto first, then each colour used), then each paragraph as \pard + alignment + runs +
// \par. Every paragraph ends with \par, so an empty last paragraph survives. Each run restates
// its whole format after \plain. Text: ASCII as is (\\ \{ \} escaped), characters of cp1252 as
// \'hh, everything else as \uN? ; '\t' as \tab, U+2028 as \line. Sizes are written in half
// points (the nearest one); a size that is not a positive number is written as 12 pt.

#include "common/rtf/richtext.h"

#include <QByteArray>

namespace lumora::common::rtf {

QByteArray writeRtf(const Document& doc);

} // namespace lumora::common::rtf
