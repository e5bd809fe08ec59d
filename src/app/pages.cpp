#include "app/pages.h"

#include <QBoxLayout>

namespace lumora::app {

BiblePage::BiblePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("biblePage"));
}

void BiblePage::place(const BibleParts& p) {
    auto* page = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(p.versionList, 0, Qt::AlignTop);
    top->addWidget(p.searchRow, 1);
    top->addWidget(p.verseLists);
    page->addLayout(top);

    auto* middle = new QHBoxLayout;
    auto* navColumn = new QVBoxLayout;
    auto* navRow = new QHBoxLayout; // ListView1 (mark mode only) takes the place of List_livre
    navRow->addWidget(p.markTable, 1);
    navRow->addWidget(p.lists, 1);
    navColumn->addLayout(navRow, 1);
    navColumn->addWidget(p.classLabel);
    navColumn->addWidget(p.orderFrame);
    middle->addLayout(navColumn, 0);
    middle->addWidget(p.passage, 1);
    page->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(p.options);
    bottom->addWidget(p.keepAtTop);
    bottom->addSpacing(12);
    bottom->addWidget(p.player);
    bottom->addWidget(p.markPosition);
    if (p.windowLabel) bottom->addWidget(p.windowLabel);
    bottom->addStretch(1);
    bottom->addWidget(p.output);
    bottom->addWidget(p.zoom);
    page->addLayout(bottom);
    m_lists = p.lists;
    m_classLabel = p.classLabel;
}

void BiblePage::setMarkTableShown(bool shown) {
    if (!m_lists) return;
    m_classLabel->setVisible(!shown);
    // The book list gives up its spare width to the table beside it.
    m_lists->setMaximumWidth(shown ? m_lists->minimumSizeHint().width() : QWIDGETSIZE_MAX);
}

CanticlePage::CanticlePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("canticlePage"));
}

void CanticlePage::place(const CanticleParts& p) {
    auto* page = new QVBoxLayout(this);
    page->addWidget(p.notFound);
    page->addWidget(p.bookLists);
    auto* search = new QHBoxLayout;
    search->addWidget(p.searchRow, 1);
    search->addWidget(p.playLists);
    page->addLayout(search);
    auto* body = new QHBoxLayout;
    body->addWidget(p.words, 3);
    auto* side = new QVBoxLayout;
    side->addWidget(p.details, 1);
    m_details = p.details;
    side->addWidget(p.player);
    body->addLayout(side, 1);
    page->addLayout(body, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(p.capture, 1);
    bottom->addStretch(1);
    bottom->addWidget(p.output);
    bottom->addWidget(p.zoom);
    page->addLayout(bottom);
}

// The width of the text boxes (Label7, Label14). The lists beside the passage are put away by
// their own area; the layout gives the passage the room they leave.

void BiblePage::setTextWide(bool wide) {
    m_textWide = wide;
}

void CanticlePage::setTextWide(bool wide) {
    m_textWide = wide;
    if (m_details) m_details->setVisible(!wide);
}

} // namespace lumora::app
