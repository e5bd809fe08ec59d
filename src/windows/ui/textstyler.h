#pragma once
// Applies the font dialog's changes to the box of the tab on display: on the Bible tab to the whole
// passage, kept in the start-up style (every new passage keeps it); on the Canticle tab to the
// selection of the hymn words only, kept nowhere. It also holds BibleBackground and HymnBackground:
// a background picture shows through the box until a back colour is chosen.

#include "platform/textstyle.h"

#include <QColor>
#include <QObject>
#include <QString>

namespace lumora::platform {
class BackdropBox;
class RichTextBox;
} // namespace lumora::platform

namespace lumora::windows {

// One change asked for in the font dialog.
struct StyleEdit {
    enum class Property { FontName, FontSize, Bold, Italic, Underline, Alignment, TextColor, BackColor };
    Property property = Property::FontName;
    QString fontName;
    double fontSize = 0;
    bool on = false;
    qint32 alignment = 0; // 0 left, 1 right, 2 centre
    QColor color;
};

class TextStyler final : public QObject {
    Q_OBJECT
  public:
    // Text_Passage over Image_Passage, Text_Cantique over Image_Cantique.
    TextStyler(platform::RichTextBox& passage, platform::BackdropBox& passagePicture,
               platform::RichTextBox& words, platform::BackdropBox& wordsPicture, QObject* parent = nullptr);

    const platform::TextStyle& style() const { return m_style; }
    bool BibleBackground() const { return m_bibleBackground; }
    bool HymnBackground() const { return m_hymnBackground; }

  public slots:
    // The start-up style saved by the passage view.
    void setStartupStyle(const platform::TextStyle& style) { m_style = style; }
    void setCurrentTab(int tab) { m_tab = tab; }
    void apply(const lumora::windows::StyleEdit& edit);
    // A picture behind the box of the tab: the box becomes transparent and the flag is set, even
    // when the file cannot be read.
    void setBackgroundPicture(const QString& path);

  signals:
    // The Bible tab's style changed: the start-up style to keep.
    void startupStyleChanged(const platform::TextStyle& style);

  private:
    void applyToPassage(const StyleEdit& edit);
    void applyToWords(const StyleEdit& edit);

    platform::RichTextBox& m_passage;
    platform::BackdropBox& m_passagePicture;
    platform::RichTextBox& m_words;
    platform::BackdropBox& m_wordsPicture;
    platform::TextStyle m_style;
    int m_tab = 0;
    bool m_bibleBackground = false; // BibleBackground
    bool m_hymnBackground = false;  // HymnBackground
};

} // namespace lumora::windows
