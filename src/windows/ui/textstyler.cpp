#include "windows/ui/textstyler.h"

#include "platform/backdropbox.h"
#include "platform/richtextbox.h"

#include <QTextEdit>

namespace lumora::windows {

namespace {
platform::Alignment alignmentOf(qint32 value) {
    return value == 2   ? platform::Alignment::Centre
           : value == 1 ? platform::Alignment::Right
                        : platform::Alignment::Left;
}
int lengthOf(const platform::RichTextBox& box) {
    return static_cast<int>(box.plainText().size());
}
} // namespace

TextStyler::TextStyler(platform::RichTextBox& passage, platform::BackdropBox& passagePicture,
                       platform::RichTextBox& words, platform::BackdropBox& wordsPicture, QObject* parent)
    : QObject(parent), m_passage(passage), m_passagePicture(passagePicture), m_words(words),
      m_wordsPicture(wordsPicture) {}

void TextStyler::apply(const StyleEdit& edit) {
    if (m_tab == 0)
        applyToPassage(edit);
    else if (m_tab == 1)
        applyToWords(edit);
}

void TextStyler::applyToPassage(const StyleEdit& e) {
    using P = StyleEdit::Property;
    switch (e.property) {
    case P::FontName:
        m_passage.setBoxFontName(e.fontName);
        m_passage.setCaret(0);
        m_style.PassageFontName = e.fontName;
        break;
    case P::FontSize:
        m_passage.setBoxFontSize(e.fontSize);
        m_style.PassageFontSize = e.fontSize;
        break;
    case P::Bold:
        m_passage.setBoxBold(e.on);
        m_style.PassageBold = e.on;
        break;
    case P::Italic:
        m_passage.setBoxItalic(e.on);
        m_style.PassageItalic = e.on;
        break;
    case P::Underline:
        m_passage.setBoxUnderline(e.on);
        m_style.PassageUnderline = e.on;
        break;
    case P::Alignment:
        m_passage.select(0, lengthOf(m_passage));
        m_passage.setSelectionAlignment(alignmentOf(e.alignment));
        m_passage.setCaret(0);
        m_style.PassageAlignment = e.alignment;
        break;
    case P::TextColor:
        m_passage.setBoxTextColor(e.color);
        m_passage.setCaret(0);
        m_style.PassageColor = e.color;
        break;
    case P::BackColor:
        m_passage.setBackColor(e.color);
        m_passage.setTransparent(false);
        m_style.PassageBackColor = e.color;
        m_bibleBackground = false;
        break;
    }
    emit startupStyleChanged(m_style);
}

void TextStyler::applyToWords(const StyleEdit& e) {
    using P = StyleEdit::Property;
    switch (e.property) {
    case P::FontName:
        m_words.setSelectionFontName(e.fontName);
        break;
    case P::FontSize:
        m_words.setSelectionFontSize(e.fontSize);
        break;
    case P::Bold:
        m_words.setSelectionBold(e.on);
        break;
    case P::Italic:
        m_words.setSelectionItalic(e.on);
        break;
    case P::Underline:
        m_words.setSelectionUnderline(e.on);
        break;
    case P::Alignment:
        m_words.setSelectionAlignment(alignmentOf(e.alignment));
        break;
    case P::TextColor:
        m_words.setSelectionColor(e.color);
        break;
    case P::BackColor:
        m_words.setBackColor(e.color);
        m_words.setTransparent(false);
        m_hymnBackground = false;
        break;
    }
}

void TextStyler::setBackgroundPicture(const QString& path) {
    if (m_tab == 0) {
        m_passage.setTransparent(true);
        m_passagePicture.loadPicture(path);
        m_bibleBackground = true;
    } else if (m_tab == 1) {
        m_words.setTransparent(true);
        m_wordsPicture.loadPicture(path);
        m_hymnBackground = true;
    }
}

} // namespace lumora::windows
