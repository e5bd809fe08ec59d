#pragma once
// Bridge between the rich-text model (and its RTF reader and writer) and Qt's QTextDocument,
// which the rich-text boxes show.
//
// Sizes: the model keeps real point sizes. A box that zooms builds its document with
// sizeScale != 1 (every run's size multiplied, for display only) and passes the same factor back
// when it reads the document, so what is saved always has the real sizes.

#include "common/rtf/richtext.h"

#include <QString>

class QTextDocument;
class QTextEdit;

namespace lumora::platform {

// Replaces the content of `doc` with `model`: one block per paragraph with its alignment, one
// fragment per run. Sizes are multiplied by sizeScale (> 0).
void toTextDocument(const common::rtf::Document& model, QTextDocument& doc, double sizeScale = 1.0);

// The model of what `doc` shows: blocks -> paragraphs, fragments -> runs; properties a fragment
// does not set come from the document's default font. Sizes are divided by sizeScale.
// Embedded objects (pictures) are dropped. A document without text gives no paragraphs.
common::rtf::Document fromTextDocument(const QTextDocument& doc, double sizeScale = 1.0);

// Reads an .rtf file into `doc`. False (and `doc` untouched) when the file cannot be read or is
// not RTF.
bool loadRtfFile(QTextDocument& doc, const QString& path, double sizeScale = 1.0);
bool loadRtfFile(QTextEdit* edit, const QString& path, double sizeScale = 1.0);

// Writes `doc` as RTF, replacing the file whole (atomically). False when the write failed.
bool saveRtfFile(const QTextDocument& doc, const QString& path, double sizeScale = 1.0);

} // namespace lumora::platform
