// The font dialog's changes on the main boxes: the whole passage (kept in the start-up style) on the
// Bible tab, the hymn's selection only on the Canticle tab; the background picture and its flags.

#include "platform/backdropbox.h"
#include "platform/richtextbox.h"
#include "support/testdata.h"
#include "windows/ui/textstyler.h"

#include <QImage>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace lumora::windows {
namespace {

using P = StyleEdit::Property;

// An edit of `property` that sets one field to `value`.
template <class T> StyleEdit edit(P property, T StyleEdit::*field, std::type_identity_t<T> value) {
    StyleEdit e;
    e.property = property;
    e.*field = value;
    return e;
}

// The character format at 0-based position `pos` of a box (of the character after it).
QTextCharFormat formatAt(const QTextEdit& edit, int pos) {
    QTextCursor c(edit.document());
    c.setPosition(pos + 1);
    return c.charFormat();
}

class StylerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        passage.setBytes("\xEF\xBB\xBF"
                         "5.18   Text one\r\n\r\n5.19   Text two\r\n");
        words.setText(QStringLiteral("Gloire\nAlléluia"));
        styler.setStartupStyle(start);
        QObject::connect(&styler, &TextStyler::startupStyleChanged, [this](const platform::TextStyle& s) {
            stored = s;
            ++storedCount;
        });
    }
    QString picture(const QColor& colour) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.file("back.bmp");
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    // Each box belongs to its edit, each edit to its backdrop.
    QTextEdit* passageEdit = new QTextEdit;
    QTextEdit* wordsEdit = new QTextEdit;
    platform::BackdropBox passagePicture{passageEdit, "Image_Passage"};
    platform::BackdropBox wordsPicture{wordsEdit, "Image_Cantique"};
    platform::RichTextBox& passage = *new platform::RichTextBox(passageEdit);
    platform::RichTextBox& words = *new platform::RichTextBox(wordsEdit);
    TextStyler styler{passage, passagePicture, words, wordsPicture};
    platform::TextStyle start{Qt::white, Qt::black, "Serif", 14, 0, false, false, false};
    platform::TextStyle stored;
    int storedCount = 0;
    lumora::testing::TempFolder dir;
};

} // namespace

// Bible tab: the whole passage, stored
TEST_F(StylerTest, boldTwiceGivesBackTheWeight_theTextColourAndTheAlignmentReachEveryVerse_eachStored) {
    styler.apply(edit(P::Bold, &StyleEdit::on, true));
    EXPECT_EQ(formatAt(*passageEdit, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(*passageEdit, 20).fontWeight(), QFont::Bold) << "the second verse too";
    EXPECT_TRUE(stored.PassageBold);
    styler.apply(edit(P::Bold, &StyleEdit::on, false));
    EXPECT_EQ(formatAt(*passageEdit, 0).fontWeight(), QFont::Normal);
    EXPECT_EQ(formatAt(*passageEdit, 20).fontWeight(), QFont::Normal);
    EXPECT_FALSE(stored.PassageBold);
    EXPECT_EQ(storedCount, 2);
    EXPECT_EQ(stored.PassageFontName, "Serif") << "the rest of the start-up style is kept";

    // the alignment is stored as Right 1, Centre 2, Left 0
    const std::pair<qint32, Qt::Alignment> cases[] = {
        {1, Qt::AlignRight}, {2, Qt::AlignHCenter}, {0, Qt::AlignLeft}};
    for (const auto& [value, flag] : cases) {
        styler.apply(edit(P::Alignment, &StyleEdit::alignment, value));
        EXPECT_EQ(stored.PassageAlignment, value);
        for (QTextBlock b = passageEdit->document()->begin(); b.isValid(); b = b.next())
            EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, flag) << value;
    }

    // the text colour colours every verse and the next passage
    styler.apply(edit(P::TextColor, &StyleEdit::color, QColor(192, 0, 0)));
    EXPECT_EQ(formatAt(*passageEdit, 20).foreground().color(), QColor(192, 0, 0));
    EXPECT_EQ(stored.PassageColor, QColor(192, 0, 0));
    EXPECT_EQ(passage.selectionLength(), 0) << "the caret goes back to the start";
    passage.setText(QStringLiteral("next"));
    EXPECT_EQ(passageEdit->palette().color(QPalette::Text), QColor(192, 0, 0));
}

TEST_F(StylerTest, wholePassageFontStaysOnTheNextPassageAndKeepsItsRealSizeUnderZoom) {
    passage.setZoom(102, 51); // 200 %
    styler.apply(edit(P::FontName, &StyleEdit::fontName, QStringLiteral("Monospace")));
    styler.apply(edit(P::FontSize, &StyleEdit::fontSize, 20));
    EXPECT_DOUBLE_EQ(formatAt(*passageEdit, 3).fontPointSize(), 40) << "shown zoomed";
    EXPECT_DOUBLE_EQ(stored.PassageFontSize, 20);
    EXPECT_EQ(stored.PassageFontName, "Monospace");
    // The next passage is built into the same box.
    passage.setBytes("\xEF\xBB\xBF"
                     "6.1   Other\r\n");
    EXPECT_DOUBLE_EQ(formatAt(*passageEdit, 2).fontPointSize(), 40);
    EXPECT_EQ(formatAt(*passageEdit, 2).font().resolve(passageEdit->document()->defaultFont()).family(),
              "Monospace");
    auto real = passage.realDocument();
    QTextCursor c(real.get());
    c.setPosition(3);
    EXPECT_DOUBLE_EQ(c.charFormat().fontPointSize(), 20) << "what is saved keeps the real size";
}

// background picture
TEST_F(StylerTest,
       backColourAfterAPictureMakesTheBoxOpaqueAndClearsBibleBackground_anUnreadableOneKeepsTheLast) {
    lumora::testing::writeBytes(dir.file("broken.jpg"), "not a picture");
    styler.setBackgroundPicture(dir.file("broken.jpg"));
    EXPECT_TRUE(passagePicture.picture().isNull()) << "an unreadable picture shows none";
    styler.setBackgroundPicture(picture(Qt::red));
    EXPECT_TRUE(styler.BibleBackground());
    EXPECT_TRUE(passage.isTransparent());
    EXPECT_FALSE(passagePicture.picture().isNull());
    EXPECT_FALSE(styler.HymnBackground()) << "only the tab on display";
    styler.apply(edit(P::BackColor, &StyleEdit::color, QColor(255, 255, 192)));
    EXPECT_FALSE(styler.BibleBackground());
    EXPECT_FALSE(passage.isTransparent());
    EXPECT_EQ(passageEdit->palette().color(QPalette::Base), QColor(255, 255, 192));
    EXPECT_EQ(stored.PassageBackColor, QColor(255, 255, 192));

    // An unreadable picture still makes the box transparent and sets the flag; the picture
    // already shown stays: a file that failed to load used to wipe it.
    const QImage red = passagePicture.picture().toImage();
    ASSERT_FALSE(red.isNull());
    styler.setBackgroundPicture(dir.file("broken.jpg"));
    EXPECT_TRUE(styler.BibleBackground());
    EXPECT_TRUE(passage.isTransparent());
    EXPECT_EQ(passagePicture.picture().toImage(), red);
    EXPECT_FALSE(passagePicture.pictureLabel()->pixmap().isNull());
}

// Canticle tab: the selection only, nothing stored
TEST_F(StylerTest, canticleTabChangesOnlyTheSelectionAndStoresNothing) {
    styler.setCurrentTab(1);
    words.select(0, 6); // "Gloire"
    styler.apply(edit(P::Bold, &StyleEdit::on, true));
    styler.apply(edit(P::TextColor, &StyleEdit::color, QColor(0, 0, 255)));
    styler.apply(edit(P::FontSize, &StyleEdit::fontSize, 30));
    EXPECT_EQ(formatAt(*wordsEdit, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(*wordsEdit, 0).foreground().color(), QColor(0, 0, 255));
    EXPECT_DOUBLE_EQ(formatAt(*wordsEdit, 0).fontPointSize(), 30);
    EXPECT_NE(formatAt(*wordsEdit, 8).fontWeight(), QFont::Bold) << "the second line is left alone";
    EXPECT_NE(formatAt(*wordsEdit, 8).fontPointSize(), 30);
    EXPECT_EQ(storedCount, 0);
    EXPECT_EQ(formatAt(*passageEdit, 0).fontWeight(), QFont::Normal) << "the passage is left alone";

    styler.setBackgroundPicture(picture(Qt::green));
    EXPECT_TRUE(styler.HymnBackground());
    EXPECT_FALSE(styler.BibleBackground());
    styler.apply(edit(P::BackColor, &StyleEdit::color, Qt::yellow));
    EXPECT_FALSE(styler.HymnBackground());
    EXPECT_FALSE(words.isTransparent());
}

} // namespace lumora::windows
