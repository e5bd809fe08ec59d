#include "windows/ui/versepanel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace lumora::windows {

namespace {

constexpr int kMargin = 24;
constexpr int kGap = 24; // between columns

QFont fontOf(const QString& family, int pixels) {
    QFont f(family.isEmpty() ? QStringLiteral("Sans Serif") : family);
    f.setPixelSize(std::max(1, pixels));
    return f;
}

QTextOption optionFor(const QString& text) {
    QTextOption o(text.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft);
    o.setWrapMode(QTextOption::WordWrap);
    o.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    return o;
}

qreal paragraphHeight(const QFontMetricsF& metrics, const QString& text, qreal width) {
    if (text.isEmpty()) return metrics.height();
    return metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
}

qreal columnHeight(const QFontMetricsF& metrics, const QStringList& paragraphs, qreal width) {
    qreal h = 0;
    for (const QString& p : paragraphs)
        h += paragraphHeight(metrics, p, width) + metrics.height() / 3;
    return h;
}

qreal columnWidth(int columns, int width) {
    return columns <= 1 ? width : (width - kGap * (columns - 1)) / qreal(columns);
}

bool fits(const Columns& columns, const QString& family, QSize area, int pixels) {
    const QFontMetricsF metrics(fontOf(family, pixels));
    const qreal width = columnWidth(int(columns.size()), area.width());
    for (const QStringList& c : columns) {
        if (columnHeight(metrics, c, width) > area.height()) return false;
        // A word wider than its column cannot wrap: it would run out of the screen.
        for (const QString& p : c)
            if (metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, p).width() > width + 0.5)
                return false;
    }
    return true;
}

QString numbered(const QString& label, const QString& text) {
    const QString number = label.mid(label.indexOf(u'.') + 1);
    return text.isEmpty() ? QString() : number + QLatin1Char(' ') + text;
}

} // namespace

int fitPixelSize(const Columns& columns, const QString& family, QSize area, int minPixels, int maxPixels) {
    int low = minPixels, high = std::max(minPixels, maxPixels);
    if (!fits(columns, family, area, low)) return minPixels;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (fits(columns, family, area, mid))
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

VersePanel::VersePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("versePanel"));
    setAccessibleName(QStringLiteral("Verse on the clone"));
    setAutoFillBackground(false);
}

void VersePanel::setVerses(const QList<VerseCell>& verses, const QString& reference) {
    m_verses = verses;
    m_reference = reference;
    m_step = 0;
    makeSteps();
    update();
}

void VersePanel::setLook(const VerseLook& look) {
    m_look = look;
    makeSteps();
    update();
}

void VersePanel::setSecondLayout(SecondLayout layout) {
    if (layout == m_layout) return;
    m_layout = layout;
    makeSteps();
    update();
}

void VersePanel::setCover(Cover cover) {
    m_cover = cover;
    update();
}

void VersePanel::setLogo(const QPixmap& logo) {
    m_logo = logo;
    update();
}

int VersePanel::stepCount() const {
    return int(m_steps.size());
}

bool VersePanel::showVerse(const QString& label) {
    for (int i = 0; i < m_steps.size(); ++i)
        for (int v = m_steps[i].first; v <= m_steps[i].last; ++v)
            if (m_verses[v].label == label) {
                if (i != m_step) {
                    m_step = i;
                    fit();
                    update();
                }
                return true;
            }
    return false;
}

bool VersePanel::step(int direction) {
    const int next = m_step + (direction > 0 ? 1 : -1);
    if (next < 0 || next >= m_steps.size()) return false;
    m_step = next;
    fit();
    update();
    return true;
}

QStringList VersePanel::shownLabels() const {
    QStringList labels;
    if (m_step < m_steps.size())
        for (int v = m_steps[m_step].first; v <= m_steps[m_step].last; ++v)
            labels << m_verses[v].label;
    return labels;
}

QString VersePanel::referenceLine() const {
    const QStringList labels = shownLabels();
    if (labels.isEmpty()) return m_reference;
    QString line = m_reference + QLatin1Char(' ') + QString(labels.first()).replace(u'.', u':');
    if (labels.size() > 1) line += QLatin1Char('-') + labels.last().mid(labels.last().indexOf(u'.') + 1);
    return line;
}

QRect VersePanel::referenceArea() const {
    const int h = std::max(m_look.minPixels, height() / 14);
    return QRect(kMargin, height() - kMargin - h, width() - 2 * kMargin, h);
}

QRect VersePanel::textArea() const {
    return QRect(kMargin, kMargin, width() - 2 * kMargin, referenceArea().top() - 2 * kMargin);
}

Columns VersePanel::columnsOf(int first, int last) const {
    bool second = false;
    for (int v = first; v <= last; ++v)
        second = second || !m_verses[v].second.isEmpty();
    Columns columns(second && m_layout == SecondLayout::SideBySide ? 2 : 1);
    for (int v = first; v <= last; ++v) {
        const VerseCell& c = m_verses[v];
        columns[0] << numbered(c.label, c.text);
        // A verse the second version lacks keeps its empty cell: the next verse never moves up
        // beside the wrong one.
        if (second) columns[columns.size() - 1] << numbered(c.label, c.second);
    }
    return columns;
}

void VersePanel::makeSteps() {
    m_steps.clear();
    const QSize area = textArea().size();
    const int readable = (m_look.minPixels + m_look.maxPixels) / 2;
    for (int v = 0; v < m_verses.size();) {
        int last = v;
        while (area.isValid() && last + 1 < m_verses.size() &&
               fits(columnsOf(v, last + 1), m_look.family, area, readable))
            ++last;
        m_steps.append({v, last});
        v = last + 1;
    }
    m_step = std::clamp(m_step, 0, std::max(0, int(m_steps.size()) - 1));
    fit();
}

void VersePanel::fit() {
    if (m_steps.isEmpty() || !textArea().isValid()) {
        m_pixels = m_look.minPixels;
        return;
    }
    const Step& s = m_steps[m_step];
    m_pixels = fitPixelSize(columnsOf(s.first, s.last), m_look.family, textArea().size(), m_look.minPixels,
                            m_look.maxPixels);
}

void VersePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The verse being shown stays the one shown after the steps are made anew.
    const QStringList shown = shownLabels();
    makeSteps();
    if (!shown.isEmpty()) showVerse(shown.first());
}

void VersePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_cover != Cover::None) {
        p.fillRect(rect(), Qt::black);
        if (m_cover == Cover::Logo && !m_logo.isNull()) {
            const QPixmap scaled = m_logo.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
            p.drawPixmap((width() - scaled.width()) / 2, (height() - scaled.height()) / 2, scaled);
        }
        return;
    }
    p.fillRect(rect(), m_look.back);
    if (m_steps.isEmpty()) return;
    p.setPen(m_look.text);
    const Step& s = m_steps[m_step];
    const Columns columns = columnsOf(s.first, s.last);
    const QFont font = fontOf(m_look.family, m_pixels);
    p.setFont(font);
    const QFontMetricsF metrics(font);
    const QRect area = textArea();
    const qreal width = columnWidth(int(columns.size()), area.width());
    for (int c = 0; c < columns.size(); ++c) {
        qreal y = area.top();
        const qreal x = area.left() + c * (width + kGap);
        for (const QString& paragraph : columns[c]) {
            const qreal h = paragraphHeight(metrics, paragraph, width);
            p.drawText(QRectF(x, y, width, h), paragraph, optionFor(paragraph));
            y += h + metrics.height() / 3;
        }
    }
    QFont small = fontOf(m_look.family, referenceArea().height() * 2 / 3);
    p.setFont(small);
    p.drawText(referenceArea(), Qt::AlignRight | Qt::AlignVCenter, referenceLine());
}

} // namespace lumora::windows
