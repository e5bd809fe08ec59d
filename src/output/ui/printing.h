#pragma once
// Drawing a document on a printer (or a PDF writer) page after page.

class QPagedPaintDevice;
class QTextDocument;

namespace lumora::output {

// Lays `doc` out on the device's pages and draws it `copies` times (each copy starts on a new
// page), black text where a run sets no colour. False when the device could not be painted on or
// a new page could not be started; what was drawn before stays.
bool printDocument(QTextDocument& doc, QPagedPaintDevice& device, int copies);

} // namespace lumora::output
