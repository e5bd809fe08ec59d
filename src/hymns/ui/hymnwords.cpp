#include "hymns/ui/hymnwords.h"

#include "common/text.h"
#include "hymns/hymnentry.h"
#include "platform/backdropbox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace lumora::hymns {

HymnWords::HymnWords(QWidget* page, QObject* parent) : QObject(parent) {
    Text_Cantique = new QTextEdit(page);
    Text_Cantique->setObjectName(QStringLiteral("Text_Cantique"));
    // Shown to the congregation: read-only like the passage, and in the passage's default size so
    // that plain-text words are as large as rich-text ones.
    Text_Cantique->setReadOnly(true);
    Text_Cantique->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont wordsFont = Text_Cantique->font();
    wordsFont.setPointSizeF(platform::kTextBoxPointSize);
    Text_Cantique->document()->setDefaultFont(wordsFont);
    m_words = new platform::RichTextBox(Text_Cantique);
    m_wordsBox = new QWidget(page);
    m_backdrop = new platform::BackdropBox(Text_Cantique, QStringLiteral("Image_Cantique"), m_wordsBox);
    auto* wordsLayout = new QVBoxLayout(m_wordsBox);
    wordsLayout->setContentsMargins(0, 0, 0, 0);
    m_titleRow = new QWidget(m_wordsBox);
    m_titleTools = new QHBoxLayout(m_titleRow);
    m_titleTools->setContentsMargins(0, 0, 0, 0);
    wordsLayout->addWidget(m_titleRow);
    wordsLayout->addWidget(m_backdrop, 1);
    Text_info = new QTextEdit(page);
    Text_info->setObjectName(QStringLiteral("Text_info"));
    Text_info->setReadOnly(true);
    // The hymn's label heads the words, right-aligned with them as Labe16 heads the passage; the
    // title tools come to its left.
    Label9 = new QLabel(m_titleRow);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label9->setWordWrap(true);
    QFont titleFont = Label9->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    Label9->setFont(titleFont);
    m_titleTools->addWidget(Label9, 1);
    Label16 = new QLabel(QStringLiteral("\"Cantiques\" folder not found"), page);
    Label16->setObjectName(QStringLiteral("Label16"));
    Label16->hide();

    m_details = new QWidget(page);
    auto* side = new QVBoxLayout(m_details);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(Text_info, 1);
    side->addStretch();

    connect(Text_Cantique, &QTextEdit::selectionChanged, this,
            [this] { emit selectionChanged(m_words->selectionStart(), m_words->selectionLength()); });
}

QWidget* HymnWords::notFoundLabel() const {
    return Label16;
}

void HymnWords::addTitleTool(QWidget* tool) {
    m_titleTools->insertWidget(m_titleTools->count() - 1, tool);
}

QString HymnWords::shownLabel() const {
    return Label9->text();
}

QColor HymnWords::shownLabelColor() const {
    return Label9->palette().color(QPalette::WindowText);
}

void HymnWords::setCaptureRowShown(bool shown) {
    Text_info->setMaximumHeight(shown ? 2265 / 15 : 2985 / 15);
}

void HymnWords::showFolderFound(bool found) {
    if (found) {
        Label16->hide();
        Text_Cantique->show();
    } else {
        Label16->show();
        m_words->setText(QStringLiteral("FOLDER \"Cantiques\" NOT FOND"));
        Text_Cantique->hide();
    }
}

void HymnWords::showDetails(const QString& entry) {
    // An entry that does not split shows no details rather than those of the previous hymn.
    QString info = ShowHymnInfo(entry).value_or(QString());
    Text_info->setPlainText(info.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void HymnWords::clearDetails() {
    Text_info->clear();
}

void HymnWords::setDetailsPalette(const QPalette& palette) {
    Text_info->setPalette(palette);
}

void HymnWords::showWords(const HymnFiles& files, const QString& label) {
    Label9->setText(label);
    switch (files.words) {
    case WordsKind::None:
        m_words->setText(QStringLiteral("A SAISIR"));
        break;
    case WordsKind::Rtf:
        if (!m_words->loadRtf(files.wordsPath)) m_words->setText(QString());
        break;
    case WordsKind::Text:
        m_words->setText(readTextWords(files.wordsPath));
        break;
    }
    // The words keep the direction of their language as a whole.
    m_words->setDirection(common::dominantDirection(m_words->plainText()));
    if (files.words == WordsKind::Text) {
        m_words->select(0, Text_Cantique->document()->characterCount());
        m_words->setSelectionAlignment(platform::Alignment::Centre);
        m_words->setCaret(0);
    }
}

void HymnWords::showUnknown() {
    m_words->setText(QStringLiteral("??????"));
}

void HymnWords::clear() {
    m_words->setText(QString());
    Text_info->clear();
    Label9->clear();
}

session::ShownHymn HymnWords::shown(const QString& book, const QString& entry) const {
    session::ShownHymn shown;
    shown.book = book;
    shown.entry = entry;
    shown.label = Label9->text();
    const qsizetype dash = shown.label.indexOf(QStringLiteral(" - "));
    shown.title = dash < 0 ? shown.label : shown.label.mid(dash + 3);
    shown.details = Text_info->toPlainText();
    shown.wordsHtml = m_words->realDocument()->toHtml();
    shown.wordsPlain = m_words->plainText();
    return shown;
}

} // namespace lumora::hymns
