#include "platform/richtextbox.h"

#include "common/rtf/richtext.h"
#include "platform/rtfdocument.h"
#include "support/testdata.h"

#include <QTextBlock>
#include <QTextEdit>

using namespace lumora;
using namespace lumora::testing;

namespace {
double sizeAt(QTextEdit& edit, int pos) {
    QTextCursor c(edit.document());
    c.setPosition(pos);
    return c.charFormat().fontPointSize();
}
} // namespace

TEST(RichTextBox, zoomScalesExplicitRunSizesForDisplayOnlyAndNeverDrifts) {
    TempFolder tmp;
    writeBytes(tmp.file("w.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs48 Big\\fs20 small\\par}");
    QTextEdit edit;
    platform::RichTextBox box(&edit);
    ASSERT_TRUE(box.loadRtf(tmp.file("w.rtf")));
    EXPECT_DOUBLE_EQ(sizeAt(edit, 1), 24.0);
    for (int i = 0; i < 5; ++i) box.setZoom(102, 51);  // repeated zooms do not compound
    EXPECT_DOUBLE_EQ(sizeAt(edit, 1), 48.0);
    EXPECT_DOUBLE_EQ(sizeAt(edit, 5), 20.0);
    // What is saved keeps the real sizes.
    const auto model = platform::fromTextDocument(*edit.document(), box.zoomFactor());
    ASSERT_FALSE(model.paragraphs.empty());
    EXPECT_DOUBLE_EQ(model.paragraphs.front().runs.front().format.sizePt, 24.0);
    box.setZoom(0, 0);
    EXPECT_DOUBLE_EQ(sizeAt(edit, 1), 24.0);
    // New content takes the zoom in force.
    box.setZoom(90, 100);
    box.setText("plain");
    EXPECT_NEAR(sizeAt(edit, 1), edit.document()->defaultFont().pointSizeF() * 0.9, 1e-9);
    // Regression: text put in after a highlight took over the highlight's bold and colour.
    box.select(0, 5);
    box.setSelectionBold(true);
    box.setSelectionColor(Qt::blue);
    box.setText("next passage");
    QTextCursor c(edit.document());
    c.setPosition(1);
    EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_NE(c.charFormat().foreground().color(), QColor(Qt::blue));
}
