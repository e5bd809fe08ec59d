#include "output/ui/printing.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

namespace lumora::output {

bool printDocument(QTextDocument& doc, QPagedPaintDevice& device, int copies) {
    // A device without margins (a PDF writer's default) would print to the paper's edge.
    if (device.pageLayout().margins().isNull())
        device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    doc.documentLayout()->setPaintDevice(&device);
    const QSizeF page(device.width(), device.height());
    doc.setPageSize(page);
    const int pages = std::max(1, doc.pageCount());

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    bool first = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (int p = 0; p < pages; ++p) {
            if (!first && !device.newPage()) {
                painter.end();
                return false;
            }
            first = false;
            painter.save();
            const QRectF shown(QPointF(0, p * page.height()), page);
            painter.translate(0, -shown.top());
            painter.setClipRect(shown);
            context.clip = shown;
            doc.documentLayout()->draw(&painter, context);
            painter.restore();
        }
    }
    return painter.end();
}

} // namespace lumora::output
