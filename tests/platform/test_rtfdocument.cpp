#include "platform/qtrtf/rtfdocument.h"

#include "common/rtf/rtfreader.h"
#include "common/rtf/rtfwriter.h"
#include "support/testdata.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace lumora::common::rtf;
using namespace lumora::platform;
using lumora::testing::TempFolder;

// Inside a test body, Run would name testing::Test::Run.
using RtfRun = lumora::common::rtf::Run;

namespace {

Document hymn() {
    Document doc;
    doc.paragraphs.push_back(
        {Alignment::Centre, {{"Title", {"DejaVu Sans", 16, true, false, false, Colour{200, 0, 0}, {}}}}});
    doc.paragraphs.push_back({Alignment::Left, {}});
    doc.paragraphs.push_back(
        {Alignment::Justify,
         {{QStringLiteral("line one") + kLineBreak + "line two",
           {"DejaVu Serif", 12, false, false, false, {}, {}}},
          {" stressed", {"DejaVu Serif", 12, false, true, true, {}, Colour{255, 255, 0}}}}});
    doc.paragraphs.push_back(
        {Alignment::Right, {{"Amen", {"DejaVu Serif", 10.5, true, false, false, {}, {}}}}});
    return doc;
}

} // namespace

TEST(RtfDocument, model_survivesTextDocument) {
    QTextDocument doc;
    toTextDocument(hymn(), doc);
    EXPECT_EQ(fromTextDocument(doc), hymn());
}

TEST(RtfDocument, blocks_carryAlignmentAndFormats) {
    QTextDocument doc;
    toTextDocument(hymn(), doc);
    ASSERT_EQ(doc.blockCount(), 4);
    const QTextBlock title = doc.firstBlock();
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(title.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(doc.findBlockByNumber(2).text(), QStringLiteral("line one\u2028line two stressed"));
}

TEST(RtfDocument, sizeScale_changesShownSizesOnly) {
    QTextDocument doc;
    toTextDocument(hymn(), doc, 1.37);
    EXPECT_DOUBLE_EQ(doc.firstBlock().begin().fragment().charFormat().fontPointSize(), 16 * 1.37);
    EXPECT_EQ(fromTextDocument(doc, 1.37), hymn());
}

TEST(RtfDocument, editedDocument_isReadWithDefaultFontForUnsetProperties) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("plain "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    cursor.insertText(QStringLiteral("second"));

    const Document model = fromTextDocument(doc);
    ASSERT_EQ(model.paragraphs.size(), 2u);
    EXPECT_EQ(model.paragraphs[0].runs,
              (std::vector<RtfRun>{{"plain ", {"DejaVu Sans", 11, false, false, false, {}, {}}},
                                   {"bold", {"DejaVu Sans", 11, true, false, false, {}, {}}}}));
    EXPECT_EQ(model.paragraphs[1].alignment, Alignment::Centre);
}

TEST(RtfDocument, paragraphBreaksInsideRunText_becomeLineBreaks) {
    Document model;
    model.paragraphs.push_back({Alignment::Left, {{"a\nb", {}}}});
    QTextDocument doc;
    toTextDocument(model, doc);
    EXPECT_EQ(doc.blockCount(), 1);
}

// files

TEST(RtfDocument, saveAndLoad_keepRealSizesWhileZoomed) {
    TempFolder dir;
    const QString path = dir.file(QStringLiteral("hymn.rtf"));
    QTextDocument shown;
    toTextDocument(hymn(), shown, 2.0);
    ASSERT_TRUE(saveRtfFile(shown, path, 2.0));
    EXPECT_EQ(readRtf(lumora::testing::readBytes(path)), hymn());

    QTextEdit edit;
    ASSERT_TRUE(loadRtfFile(&edit, path));
    EXPECT_EQ(fromTextDocument(*edit.document()), hymn());
}

TEST(RtfDocument, loadFailure_leavesDocumentAlone) {
    TempFolder dir;
    lumora::testing::writeBytes(dir.file(QStringLiteral("plain.rtf")), "not rich text");
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    EXPECT_FALSE(loadRtfFile(doc, dir.file(QStringLiteral("plain.rtf"))));
    EXPECT_FALSE(loadRtfFile(doc, dir.file(QStringLiteral("missing.rtf"))));
    EXPECT_FALSE(loadRtfFile(nullptr, dir.file(QStringLiteral("plain.rtf"))));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("kept"));
}
