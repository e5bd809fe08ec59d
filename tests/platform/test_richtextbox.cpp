#include "platform/richtextbox.h"

#include "common/rtf/richtext.h"
#include "platform/rtfdocument.h"
#include "support/testdata.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>

#include <QTextEdit>
#include <tuple>

using namespace lumora;
using namespace lumora::testing;

namespace {
QTextCharFormat formatAt(QTextEdit& edit, int pos) {
    QTextCursor c(edit.document());
    c.setPosition(pos);
    return c.charFormat();
}
} // namespace

TEST(RichTextBox, zoomScalesExplicitRunSizesForDisplayOnlyAndNeverDrifts) {
    TempFolder tmp;
    writeBytes(tmp.file("w.rtf"),
               "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs48 Big\\fs20 small\\par}");
    QTextEdit edit;
    platform::RichTextBox box(&edit);
    ASSERT_TRUE(box.loadRtf(tmp.file("w.rtf")));
    EXPECT_DOUBLE_EQ(formatAt(edit, 1).fontPointSize(), 24.0);
    for (int i = 0; i < 5; ++i)
        box.setZoom(102, 51); // repeated zooms do not compound
    EXPECT_DOUBLE_EQ(formatAt(edit, 1).fontPointSize(), 48.0);
    EXPECT_DOUBLE_EQ(formatAt(edit, 5).fontPointSize(), 20.0);
    // What is saved keeps the real sizes.
    const auto model = platform::fromTextDocument(*edit.document(), box.zoomFactor());
    ASSERT_FALSE(model.paragraphs.empty());
    EXPECT_DOUBLE_EQ(model.paragraphs.front().runs.front().format.sizePt, 24.0);
    box.setZoom(0, 0);
    EXPECT_DOUBLE_EQ(formatAt(edit, 1).fontPointSize(), 24.0);
    // New content takes the zoom in force.
    box.setZoom(90, 100);
    box.setText("plain");
    EXPECT_NEAR(formatAt(edit, 1).fontPointSize(), edit.document()->defaultFont().pointSizeF() * 0.9, 1e-9);
    // Regression: text put in after a highlight took over the highlight's bold and colour.
    box.select(0, 5);
    box.setSelectionBold(true);
    box.setSelectionColor(Qt::blue);
    box.setText("next passage");
    EXPECT_NE(formatAt(edit, 1).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(edit, 1).foreground().color(), QColor(Qt::blue));
}

namespace {
// The laid-out height of paragraph `block` of the box's document.
double blockHeight(QTextEdit& edit, int block) {
    edit.document()->setTextWidth(600);
    edit.document()->documentLayout()->documentSize(); // lays the document out
    const QTextBlock b = edit.document()->findBlockByNumber(block);
    return edit.document()->documentLayout()->blockBoundingRect(b).height();
}
} // namespace

TEST(RichTextBox, blankLinesBetweenVersesScaleWithTheZoom) {
    // Regression: empty paragraphs have no run, so they kept their full height at any zoom.
    QTextEdit edit;
    edit.resize(600, 400);
    platform::RichTextBox box(&edit);
    box.setText("1.1   In the beginning\n\n1.2   And the earth");
    const double text = blockHeight(edit, 0), blank = blockHeight(edit, 1);
    ASSERT_GT(blank, 0);
    for (const auto& [numerator, denominator, factor] :
         {std::tuple{153, 51, 3.0}, std::tuple{10, 100, 0.1}}) {
        SCOPED_TRACE(factor);
        box.setZoom(numerator, denominator);
        EXPECT_NEAR(blockHeight(edit, 1) / blank, blockHeight(edit, 0) / text, 0.15)
            << "blank line like the text";
        // Fonts have a smallest line, so 10 % is not exactly a tenth.
        if (factor > 1)
            EXPECT_GT(blockHeight(edit, 1) / blank, 2.5);
        else
            EXPECT_LT(blockHeight(edit, 1) / blank, 0.25);
        // Text put in later takes the zoom for its blank lines too.
        box.setText("1.1   again\n\n1.2   and again");
        EXPECT_NEAR(blockHeight(edit, 1) / blank, blockHeight(edit, 0) / text, 0.15);
    }
    box.setZoom(0, 0);
    EXPECT_DOUBLE_EQ(blockHeight(edit, 1), blank);
}

TEST(RichTextBox, paragraphsKeepTheBoxDirectionWhateverTheirFirstLetter) {
    // Regression: Psalm 119's heading "\u05D0 ALEPH." turned its English paragraph right to left.
    QTextEdit edit;
    platform::RichTextBox box(&edit);
    box.setText(QString::fromUtf8("\u05D0 ALEPH.\n\n119.1   Blessed are the undefiled"));
    EXPECT_EQ(edit.document()->firstBlock().textDirection(), Qt::LeftToRight);
    box.setDirection(Qt::RightToLeft);
    EXPECT_EQ(edit.document()->lastBlock().textDirection(), Qt::RightToLeft);
    box.setText("Hebrew text set later");
    EXPECT_EQ(edit.document()->firstBlock().textDirection(), Qt::RightToLeft) << "kept for new text";
}
