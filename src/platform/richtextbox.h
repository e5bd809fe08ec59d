#pragma once
// The rich-text box the passage and hymn views talk to (a QTextEdit in the program).
//
// Character positions are 0-based offsets into plainText(), which has one character per shown
// character and "\n" between paragraphs.

#include "common/rtf/richtext.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTextCharFormat;
class QTextDocument;
class QTextEdit;

namespace lumora::platform {

enum class Alignment { Left = 0, Right = 1, Centre = 2 };

// The default size of the passage and hymn words boxes, in points.
inline constexpr double kTextBoxPointSize = 14.0;

class RichTextBox final : public QObject {
    Q_OBJECT
  public:
    explicit RichTextBox(QTextEdit* edit);

    QTextEdit* edit() const { return m_edit; }

    // A byte string that begins with EF BB BF is shown decoded from UTF-8; any other is shown
    // as text as it stands (one character per byte is never wanted, so bytes without the mark
    // are decoded from UTF-8 too).
    void setBytes(const QByteArray& bytes);
    void setText(const QString& text);
    // Shows a rich-text document as it stands (its sizes real: the zoom in force is applied on
    // top); reading the box back with fromTextDocument(*realDocument()) gives the same document
    // until something in the box changes.
    void setDocument(const common::rtf::Document& document);
    // Loads a rich-text file with its formatting; false (content unchanged) when it cannot be
    // read. The zoom in force stays in force.
    bool loadRtf(const QString& path);
    QString plainText() const;

    void select(int start, int length);
    int selectionStart() const;
    int selectionLength() const;
    QString selectedText() const;
    void setSelectionBold(bool on);
    void setSelectionItalic(bool on);
    void setSelectionUnderline(bool on);
    void setSelectionColor(const QColor& color);
    void setSelectionFontName(const QString& family);
    // The real size in points; the display zoom in force is applied on top of it.
    void setSelectionFontSize(double points);
    void setSelectionAlignment(Alignment a);
    // What the selection (or the caret's place) has: the format of its last character.
    bool selectionBold() const;
    bool selectionItalic() const;
    bool selectionUnderline() const;
    void setCaret(int pos);

    // The whole box: every run and paragraph now, and the text put in later.
    void setBoxFontName(const QString& family);
    void setBoxFontSize(double points);
    void setBoxBold(bool on);
    void setBoxItalic(bool on);
    void setBoxUnderline(bool on);
    void setBoxTextColor(const QColor& color);

    // The colour behind the text. While the box is transparent the widget behind it (a picture)
    // shows through the text instead; making it opaque again brings the back colour back.
    void setBackColor(const QColor& color);
    QColor backColor() const;
    void setTransparent(bool on);
    bool isTransparent() const { return m_transparent; }

    // Display zoom as numerator / denominator; 0/0 switches it off. Every run's size is scaled
    // for display only: what is saved or printed keeps the real sizes.
    void setZoom(int numerator, int denominator);
    // The same as a factor (1.0 = no zoom), to give a copy of a box the zoom of its source.
    void setZoomFactor(double factor);
    double zoomFactor() const { return m_zoom; }

    // A copy of the content with the real sizes (the display zoom taken off), for printing and
    // saving: the selection only when selectionOnly is set and some text is selected, else all.
    std::unique_ptr<QTextDocument> realDocument(bool selectionOnly = false) const;
    // The direction of every paragraph, now and for the text put in later (left to right until
    // set): the language's direction, not that of each paragraph's first letter.
    void setDirection(Qt::LayoutDirection direction);
    Qt::LayoutDirection direction() const { return m_direction; }

  signals:
    void contentChanged();

  private:
    // Replaces the content by what `fill` puts in, then applies the box's direction and zoom.
    void replaceContent(const std::function<void()>& fill);
    void applyZoom(double factor);
    void applyDirection();
    // Merges `f` into every run and every paragraph's own character format.
    void mergeEverywhere(const QTextCharFormat& f);

    QTextEdit* m_edit;
    double m_zoom = 1.0;
    Qt::LayoutDirection m_direction = Qt::LeftToRight;
    bool m_settingContent = false;
    bool m_transparent = false;
};

} // namespace lumora::platform
