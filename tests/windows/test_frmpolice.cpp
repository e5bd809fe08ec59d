// The font and colour dialog: its lists on opening, the preview, the colour frame under the mouse,
// and what it asks of the main window.

#include "platform/richtextbox.h"
#include "support/clicks.h"
#include "support/fakes.h"
#include "windows/ui/frmpolice.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace lumora::windows {
namespace {

using testing::leftClick;
using testing::sendMouse;

class PoliceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        police = new FrmPolice(dialogs, &owner);
        QObject::connect(police, &FrmPolice::styleEdited, [this](const StyleEdit& e) { edits.push_back(e); });
        QObject::connect(police, &FrmPolice::backgroundPictureChosen,
                         [this](const QString& p) { pictures << p; });
    }
    template <class T> T* find(const char* name) {
        T* w = police->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QLabel* label(const char* name) { return find<QLabel>(name); }
    QGroupBox* frame() { return find<QGroupBox>("Frame_couleur"); }
    QTextCharFormat previewFormat() {
        QTextCursor c(find<QTextEdit>("Text_Appercu")->document());
        c.setPosition(2);
        return c.charFormat();
    }

    lumora::testing::FakeCommonDialog dialogs;
    QWidget owner;
    FrmPolice* police = nullptr;
    std::vector<StyleEdit> edits;
    QStringList pictures;
};

} // namespace

// opening
TEST_F(PoliceTest, opensWithTheFontsButTheFirstSizesEightToSeventyTwoAndArialAndTwentyTwo) {
    auto* fonts = find<QComboBox>("ComboBox_Police");
    const QStringList families = QFontDatabase::families().mid(1);
    ASSERT_EQ(fonts->count(), families.size());
    for (int i = 0; i < fonts->count(); ++i)
        EXPECT_EQ(fonts->itemText(i), families.at(i));
    EXPECT_EQ(fonts->currentIndex(), families.indexOf("Arial")) << "no row when Arial is not installed";
    auto* sizes = find<QComboBox>("ComboBox_Taille");
    ASSERT_EQ(sizes->count(), 65);
    EXPECT_EQ(sizes->itemText(0), "8");
    EXPECT_EQ(sizes->itemText(64), "72");
    EXPECT_EQ(sizes->currentText(), "22");
    EXPECT_TRUE(police->DialogReady());
    EXPECT_FALSE(frame()->isVisibleTo(police));
    EXPECT_TRUE(police->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(police->windowTitle(), "POLICE");
}

// size, bold, italic, underline, alignment
TEST_F(PoliceTest, aSizePickShowsInThePreviewAndIsAsked_boldClickedTwiceAsksOnThenOff) {
    find<QComboBox>("ComboBox_Taille")->setCurrentIndex(40); // 48
    EXPECT_DOUBLE_EQ(previewFormat().fontPointSize(), 48);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].property, StyleEdit::Property::FontSize);
    EXPECT_DOUBLE_EQ(edits[0].fontSize, 48);
    leftClick(label("Im_gras"));
    leftClick(label("Im_gras"));
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(edits[1].property, StyleEdit::Property::Bold);
    EXPECT_TRUE(edits[1].on);
    EXPECT_FALSE(edits[2].on);
    EXPECT_NE(previewFormat().fontWeight(), QFont::Bold);
    leftClick(label("Im_italic"));
    EXPECT_TRUE(previewFormat().fontItalic());
    EXPECT_EQ(edits.back().property, StyleEdit::Property::Italic);
}

TEST_F(PoliceTest, withoutAFontRowAlignmentChangesOnlyThePreview) {
    auto* fonts = find<QComboBox>("ComboBox_Police");
    fonts->setCurrentIndex(-1);
    leftClick(label("Im_droite"));
    EXPECT_TRUE(edits.empty());
    const QTextBlock first = find<QTextEdit>("Text_Appercu")->document()->begin();
    EXPECT_EQ(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    ASSERT_GT(fonts->count(), 0);
    fonts->setCurrentIndex(0);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].property, StyleEdit::Property::FontName);
    EXPECT_EQ(edits[0].fontName, fonts->itemText(0));
    for (const auto& [name, value] : {std::pair{"Im_droite", 1}, {"Im_center", 2}, {"Im_AGauche", 0}}) {
        leftClick(label(name));
        EXPECT_EQ(edits.back().property, StyleEdit::Property::Alignment);
        EXPECT_EQ(edits.back().alignment, value) << name;
    }
}

// the colour frame under the mouse
TEST_F(PoliceTest, pointingAtTheTextPictureThenASwatchChangesTheTextColour) {
    sendMouse(label("Im_couleurText"), QEvent::MouseMove);
    EXPECT_TRUE(frame()->isVisibleTo(police));
    EXPECT_EQ(frame()->title(), "Couleur texte");
    EXPECT_TRUE(police->TextColourMode());
    EXPECT_EQ(label("Im_couleurText")->frameShape(), QFrame::Box);
    // Pressing previews; only the click asks it of the main window.
    sendMouse(label("Couleur8"), QEvent::MouseButtonPress);
    EXPECT_EQ(previewFormat().foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(edits.empty());
    sendMouse(label("Couleur8"), QEvent::MouseButtonRelease);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].property, StyleEdit::Property::TextColor);
    EXPECT_EQ(edits[0].color, QColor(255, 0, 0));
    EXPECT_EQ(label("Lbl_font")->palette().color(QPalette::Window), QColor(255, 0, 0));

    // On its way down to a swatch the mouse crosses the gaps around the pictures and the frame's
    // title: that is no move over the form, and the frame stays.
    sendMouse(label("Im_couleurText")->parentWidget(), QEvent::MouseMove);
    sendMouse(frame(), QEvent::MouseMove);
    sendMouse(label("Couleur3"), QEvent::MouseMove);
    EXPECT_TRUE(frame()->isVisibleTo(police));
    EXPECT_TRUE(police->TextColourMode());
}

TEST_F(PoliceTest, pointingAtTheFillPictureFirstChangesTheBackColourInstead) {
    sendMouse(label("Im_remplissage"), QEvent::MouseMove);
    EXPECT_EQ(frame()->title(), "Couleur de fond");
    EXPECT_TRUE(police->FillColourMode());
    EXPECT_FALSE(police->TextColourMode());
    leftClick(label("Couleur38"));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].property, StyleEdit::Property::BackColor);
    EXPECT_EQ(edits[0].color, QColor(0, 0, 255));
    EXPECT_EQ(police->preview().backColor(), QColor(0, 0, 255));
    EXPECT_EQ(label("Lbl_remplissage")->palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST_F(PoliceTest, theFormHidesTheFrameAndTheLabelsKeepTheCaption) {
    sendMouse(label("Im_remplissage"), QEvent::MouseMove);
    sendMouse(label("Im_gras"), QEvent::MouseMove); // another picture
    EXPECT_FALSE(frame()->isVisibleTo(police));
    EXPECT_FALSE(police->FillColourMode());
    EXPECT_EQ(label("Im_gras")->frameShape(), QFrame::Box);
    sendMouse(label("Lbl_font"), QEvent::MouseButtonPress);
    EXPECT_TRUE(frame()->isVisibleTo(police));
    EXPECT_EQ(frame()->title(), "Couleur de fond") << "the caption is left as it was";
    EXPECT_TRUE(police->TextColourMode());
    sendMouse(police, QEvent::MouseMove);
    EXPECT_FALSE(frame()->isVisibleTo(police));
    EXPECT_FALSE(police->TextColourMode());
    for (const char* p : {"Im_gras", "Im_couleurText", "Im_remplissage"})
        EXPECT_EQ(label(p)->frameShape(), QFrame::NoFrame) << p;
    // With no colour mode a swatch click asks nothing.
    leftClick(label("Couleur0"));
    EXPECT_TRUE(edits.empty());
}

// background picture
TEST_F(PoliceTest, backgroundPictureAsksTheCommonDialogAndCancelChangesNothing) {
    leftClick(label("Lbl_Arriere_plan"));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Restore from ...");
    EXPECT_EQ(dialogs.requests[0].filter,
              "Fichier Image (*.jpg,*.jepg,*.bmp,*.gif)|*.bmp;*.jpg;*.jepg;*.gif");
    EXPECT_TRUE(pictures.isEmpty());
    dialogs.answers.push_back(QStringLiteral("/tmp/back.jpg"));
    leftClick(label("Lbl_Arriere_plan"));
    EXPECT_EQ(pictures, QStringList{"/tmp/back.jpg"});
}

} // namespace lumora::windows
