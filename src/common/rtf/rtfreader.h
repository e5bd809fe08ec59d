#pragma once
// Reads RTF as common word processors write it (WordPad, Word, LibreOffice) into the rich-text
// model. Only what the model holds is kept: text, fonts, sizes, bold, italic, underline, colours
// and paragraph alignment. Pictures, headers, notes, style sheets, document information and other
// destinations are skipped; a field shows its result text.
//
// Text bytes (raw 8-bit or \'hh) are decoded in the code page of the current font's \fcharset,
// else the document's \ansicpg (cp1252 when none is given). \uN with \ucN fallbacks, surrogate
// pairs and the usual control symbols are understood. \line becomes U+2028 in the run text.
//
// The reader never fails on damaged input: it reads what it can. Group nesting beyond
// kMaxGroupDepth is flattened, numbers are clamped, a missing closing brace ends the document at
// the end of the bytes, and anything after the closing brace of the document is ignored. Work and
// memory are linear in the input size; nothing recurses.

#include "common/rtf/richtext.h"

#include <QByteArrayView>

#include <optional>

namespace lumora::common::rtf {

inline constexpr int kMaxGroupDepth = 1000;

// nullopt when the bytes are not RTF at all (they must start with "{\rtf", after an optional
// UTF-8 byte-order mark and blanks). The result is normalized (see richtext.h).
// readRtf("{\\rtf1 {\\b Hi}\\par}") -> one paragraph, one bold run "Hi".
std::optional<Document> readRtf(QByteArrayView bytes);

} // namespace lumora::common::rtf
