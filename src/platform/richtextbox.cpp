#include "platform/richtextbox.h"

#include "platform/rtfdocument.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

namespace lumora::platform {

namespace {
// The size a run really has, kept on the run while the display is zoomed.
constexpr int kRealSizeProperty = QTextFormat::UserProperty + 1;
} // namespace

RichTextBox::RichTextBox(QTextEdit* edit) : QObject(edit), m_edit(edit) {
    connect(m_edit, &QTextEdit::textChanged, this, [this] {
        if (!m_settingContent) emit contentChanged();
    });
}

void RichTextBox::setBytes(const QByteArray& bytes) {
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    // CR LF, a lone CR and a lone LF each end a paragraph, as in the data files.
    QString text = QString::fromUtf8(body);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(text);
}

void RichTextBox::setDirection(Qt::LayoutDirection direction) {
    m_direction = direction;
    applyDirection();
}

void RichTextBox::applyDirection() {
    // Every paragraph takes the box's direction; left to itself, a paragraph would follow its
    // first letter, and a Hebrew letter heading an English line would turn the line around.
    QTextDocument* doc = m_edit->document();
    QTextOption option = doc->defaultTextOption();
    option.setTextDirection(m_direction);
    doc->setDefaultTextOption(option);
    const bool wasSetting = m_settingContent;
    m_settingContent = true;
    QTextCursor all(doc);
    all.beginEditBlock();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().layoutDirection() == m_direction) continue;
        QTextBlockFormat f;
        f.setLayoutDirection(m_direction);
        QTextCursor(b).mergeBlockFormat(f);
    }
    all.endEditBlock();
    m_settingContent = wasSetting;
}

void RichTextBox::replaceContent(const std::function<void()>& fill) {
    m_settingContent = true;
    // New text starts from the box's own font, not from the formats of what it replaces.
    m_edit->clear();
    m_edit->setCurrentCharFormat(QTextCharFormat());
    fill();
    m_settingContent = false;
    applyDirection();
    if (m_zoom != 1.0) applyZoom(m_zoom);
    emit contentChanged();
}

void RichTextBox::setText(const QString& text) {
    replaceContent([&] { m_edit->setPlainText(text); });
}

void RichTextBox::setDocument(const common::rtf::Document& document) {
    replaceContent([&] { toTextDocument(document, *m_edit->document()); });
}

bool RichTextBox::loadRtf(const QString& path) {
    m_settingContent = true;
    const bool loaded = loadRtfFile(m_edit, path);
    m_settingContent = false;
    if (!loaded) return false;
    applyDirection();
    if (m_zoom != 1.0) applyZoom(m_zoom);
    emit contentChanged();
    return true;
}

QString RichTextBox::plainText() const {
    return m_edit->toPlainText();
}

void RichTextBox::select(int start, int length) {
    QTextCursor c(m_edit->document());
    const int end = m_edit->document()->characterCount() - 1;
    start = std::clamp(start, 0, std::max(0, end));
    c.setPosition(start);
    c.setPosition(std::clamp(start + length, 0, std::max(0, end)), QTextCursor::KeepAnchor);
    m_edit->setTextCursor(c);
    m_edit->ensureCursorVisible();
}

int RichTextBox::selectionStart() const {
    return m_edit->textCursor().selectionStart();
}

int RichTextBox::selectionLength() const {
    const QTextCursor c = m_edit->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

QString RichTextBox::selectedText() const {
    QString s = m_edit->textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return s;
}

void RichTextBox::setSelectionBold(bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    m_edit->textCursor().mergeCharFormat(f);
}

void RichTextBox::setSelectionItalic(bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    m_edit->textCursor().mergeCharFormat(f);
}

void RichTextBox::setSelectionUnderline(bool on) {
    QTextCharFormat f;
    f.setFontUnderline(on);
    m_edit->textCursor().mergeCharFormat(f);
}

void RichTextBox::setSelectionFontName(const QString& family) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    m_edit->textCursor().mergeCharFormat(f);
}

void RichTextBox::setSelectionFontSize(double points) {
    if (points <= 0) return;
    QTextCharFormat f;
    f.setProperty(kRealSizeProperty, points);
    f.setFontPointSize(points * m_zoom);
    m_edit->textCursor().mergeCharFormat(f);
}

bool RichTextBox::selectionBold() const {
    return m_edit->textCursor().charFormat().fontWeight() >= QFont::Bold;
}
bool RichTextBox::selectionItalic() const {
    return m_edit->textCursor().charFormat().fontItalic();
}
bool RichTextBox::selectionUnderline() const {
    return m_edit->textCursor().charFormat().fontUnderline();
}

void RichTextBox::mergeEverywhere(const QTextCharFormat& f) {
    const bool wasSetting = m_settingContent;
    m_settingContent = true;
    QTextDocument* doc = m_edit->document();
    QTextCursor all(doc);
    all.beginEditBlock();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QTextCursor c(b);
        QTextCharFormat own = b.charFormat();
        own.merge(f);
        c.setBlockCharFormat(own);
    }
    QTextCursor c(doc);
    c.select(QTextCursor::Document);
    c.mergeCharFormat(f);
    all.endEditBlock();
    // What is typed or put in later starts from the box's own font and colours.
    QTextCharFormat next = m_edit->currentCharFormat();
    next.merge(f);
    m_edit->setCurrentCharFormat(next);
    m_settingContent = wasSetting;
}

void RichTextBox::setBoxFontName(const QString& family) {
    QFont font = m_edit->document()->defaultFont();
    font.setFamilies(QStringList{family});
    m_edit->document()->setDefaultFont(font);
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    mergeEverywhere(f);
}

void RichTextBox::setBoxFontSize(double points) {
    if (points <= 0) return;
    QFont font = m_edit->document()->defaultFont();
    font.setPointSizeF(points);
    m_edit->document()->setDefaultFont(font);
    QTextCharFormat f;
    f.setProperty(kRealSizeProperty, points);
    f.setFontPointSize(points * m_zoom);
    mergeEverywhere(f);
}

void RichTextBox::setBoxBold(bool on) {
    QFont font = m_edit->document()->defaultFont();
    font.setBold(on);
    m_edit->document()->setDefaultFont(font);
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeEverywhere(f);
}

void RichTextBox::setBoxItalic(bool on) {
    QFont font = m_edit->document()->defaultFont();
    font.setItalic(on);
    m_edit->document()->setDefaultFont(font);
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeEverywhere(f);
}

void RichTextBox::setBoxUnderline(bool on) {
    QFont font = m_edit->document()->defaultFont();
    font.setUnderline(on);
    m_edit->document()->setDefaultFont(font);
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeEverywhere(f);
}

void RichTextBox::setBoxTextColor(const QColor& color) {
    QPalette pal = m_edit->palette();
    pal.setColor(QPalette::Text, color);
    m_edit->setPalette(pal);
    QTextCharFormat f;
    f.setForeground(color);
    mergeEverywhere(f);
}

void RichTextBox::setBackColor(const QColor& color) {
    m_edit->setProperty("lumoraBackColor", color);
    if (!m_transparent) {
        QPalette pal = m_edit->palette();
        pal.setColor(QPalette::Base, color);
        m_edit->setPalette(pal);
    }
}

QColor RichTextBox::backColor() const {
    const QVariant own = m_edit->property("lumoraBackColor");
    return own.isValid() ? own.value<QColor>() : m_edit->palette().color(QPalette::Base);
}

void RichTextBox::setTransparent(bool on) {
    const QColor back = backColor();
    m_transparent = on;
    QPalette pal = m_edit->palette();
    pal.setColor(QPalette::Base, on ? QColor(Qt::transparent) : back);
    m_edit->setPalette(pal);
    m_edit->viewport()->setAutoFillBackground(!on);
    m_edit->setAutoFillBackground(false);
}

void RichTextBox::setSelectionColor(const QColor& color) {
    QTextCharFormat f;
    f.setForeground(color);
    m_edit->textCursor().mergeCharFormat(f);
}

void RichTextBox::setSelectionAlignment(Alignment a) {
    QTextBlockFormat f;
    f.setAlignment(a == Alignment::Centre  ? Qt::AlignHCenter
                   : a == Alignment::Right ? Qt::AlignRight
                                           : Qt::AlignLeft);
    m_edit->textCursor().mergeBlockFormat(f);
}

void RichTextBox::setCaret(int pos) {
    QTextCursor c(m_edit->document());
    c.setPosition(std::clamp(pos, 0, std::max(0, m_edit->document()->characterCount() - 1)));
    m_edit->setTextCursor(c);
}

std::unique_ptr<QTextDocument> RichTextBox::realDocument(bool selectionOnly) const {
    std::unique_ptr<QTextDocument> doc(m_edit->document()->clone());
    doc->setDefaultFont(m_edit->document()->defaultFont());
    QTextCursor all(doc.get());
    all.beginEditBlock();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid() || !frag.charFormat().hasProperty(kRealSizeProperty)) continue;
            QTextCharFormat f = frag.charFormat();
            f.setFontPointSize(f.doubleProperty(kRealSizeProperty));
            f.clearProperty(kRealSizeProperty);
            QTextCursor c(doc.get());
            c.setPosition(frag.position());
            c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(f);
        }
    }
    const QTextCursor shown = m_edit->textCursor();
    if (selectionOnly && shown.hasSelection()) {
        // Cut what lies after the selection first, so the start keeps its position.
        QTextCursor tail(doc.get());
        tail.setPosition(shown.selectionEnd());
        tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        tail.removeSelectedText();
        QTextCursor head(doc.get());
        head.setPosition(shown.selectionStart(), QTextCursor::KeepAnchor);
        head.removeSelectedText();
    }
    all.endEditBlock();
    return doc;
}

void RichTextBox::setZoom(int numerator, int denominator) {
    setZoomFactor((numerator == 0 && denominator == 0) || denominator == 0
                      ? 1.0
                      : static_cast<double>(numerator) / static_cast<double>(denominator));
}

void RichTextBox::setZoomFactor(double factor) {
    if (factor <= 0) return;
    m_zoom = factor;
    applyZoom(factor);
}

void RichTextBox::applyZoom(double factor) {
    // Each run keeps its real size in a property of its own, so repeated zooms never drift and
    // the real document can be rebuilt for saving and printing.
    const bool wasSetting = m_settingContent;
    m_settingContent = true;
    const QFont base = m_edit->document()->defaultFont();
    const double baseSize = base.pointSizeF() > 0 ? base.pointSizeF() : 10.0;
    QTextCursor all(m_edit->document());
    all.beginEditBlock();
    for (QTextBlock b = m_edit->document()->begin(); b.isValid(); b = b.next()) {
        // An empty line has no run: its height comes from the paragraph's own character format,
        // which is scaled like the runs so that blank lines grow and shrink with the text.
        {
            QTextCharFormat f = b.charFormat();
            double real =
                f.hasProperty(kRealSizeProperty) ? f.doubleProperty(kRealSizeProperty) : f.fontPointSize();
            if (real <= 0) real = baseSize;
            f.setProperty(kRealSizeProperty, real);
            f.setFontPointSize(real * factor);
            QTextCursor c(b);
            c.setBlockCharFormat(f);
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            QTextCharFormat f = frag.charFormat();
            double real =
                f.hasProperty(kRealSizeProperty) ? f.doubleProperty(kRealSizeProperty) : f.fontPointSize();
            if (real <= 0) real = baseSize;
            f.setProperty(kRealSizeProperty, real);
            f.setFontPointSize(real * factor);
            QTextCursor c(m_edit->document());
            c.setPosition(frag.position());
            c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(f);
        }
    }
    all.endEditBlock();
    m_settingContent = wasSetting;
}

} // namespace lumora::platform
