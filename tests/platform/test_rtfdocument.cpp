#include "platform/rtfdocument.h"

#include "common/rtf/rtfreader.h"
#include "support/testdata.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

#include <gtest/gtest.h>

using namespace lumora::common::rtf;
using namespace lumora::platform;
using lumora::testing::TempFolder;

namespace {

// Right-to-left paragraphs beside left-to-right ones: the direction was lost between the box and
// the model, and a right-to-left passage or hymn was saved left to right.
Document hymn() {
    Document d{
        {{Alignment::Centre, {{"Title", {"DejaVu Sans", 16, true, false, false, Colour{200, 0, 0}, {}}}}},
         {Alignment::Left, {}},
         {Alignment::Justify,
          {{QStringLiteral("line one") + kLineBreak + "line two",
            {"DejaVu Serif", 12, false, false, false, {}, {}}},
           {" stressed", {"DejaVu Serif", 12, false, true, true, {}, Colour{255, 255, 0}}}}},
         {Alignment::Right, {{"Amen", {"DejaVu Serif", 10.5, true, false, false, {}, {}}}}}}};
    d.paragraphs[0].rightToLeft = d.paragraphs[3].rightToLeft = true;
    return d;
}

} // namespace

// A zoom factor changes only the shown sizes: the model read back and the file saved keep the real ones.
TEST(RtfDocument, model_survivesTextDocumentAndFile_withAlignmentDirectionBoldAndZoom) {
    TempFolder dir;
    const QString path = dir.file(QStringLiteral("hymn.rtf"));
    for (const double scale : {1.37, 2.0}) {
        SCOPED_TRACE(scale);
        QTextDocument doc;
        toTextDocument(hymn(), doc, scale);
        ASSERT_EQ(doc.blockCount(), 4);
        const QTextBlock title = doc.firstBlock();
        EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(title.begin().fragment().charFormat().fontWeight(), QFont::Bold);
        EXPECT_DOUBLE_EQ(title.begin().fragment().charFormat().fontPointSize(), 16 * scale);
        EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  Qt::AlignRight);
        EXPECT_EQ(doc.findBlockByNumber(2).text(), QStringLiteral("line one\u2028line two stressed"));
        EXPECT_EQ(fromTextDocument(doc, scale), hymn());
        ASSERT_TRUE(saveRtfFile(doc, path, scale));
        EXPECT_EQ(readRtf(lumora::testing::readBytes(path)), hymn());
    }
    QTextEdit edit;
    ASSERT_TRUE(loadRtfFile(&edit, path));
    EXPECT_EQ(fromTextDocument(*edit.document()), hymn());
}

TEST(RtfDocument, editedDocument_isReadWithDefaultFontForUnsetProperties) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("plain "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    EXPECT_EQ(fromTextDocument(doc),
              (Document{{{Alignment::Left,
                          {{"plain ", {"DejaVu Sans", 11, false, false, false, {}, {}}},
                           {"bold", {"DejaVu Sans", 11, true, false, false, {}, {}}}}}}}));

    // A paragraph break inside run text becomes a line break, not a new block.
    toTextDocument(Document{{{Alignment::Left, {{"a\nb", {}}}}}}, doc);
    EXPECT_EQ(doc.blockCount(), 1);
}

// A block without a direction of its own takes the document's.
TEST(RtfDocument, direction_comesFromTheDocumentWhenTheBlockHasNone) {
    QTextDocument plain;
    plain.setPlainText(QStringLiteral("one\ntwo"));
    QTextOption option = plain.defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    plain.setDefaultTextOption(option);
    for (const Paragraph& p : fromTextDocument(plain).paragraphs)
        EXPECT_TRUE(p.rightToLeft);
}

TEST(RtfDocument, loadFailure_leavesDocumentAlone) {
    TempFolder dir;
    const QString plain = dir.file(QStringLiteral("plain.rtf"));
    lumora::testing::writeBytes(plain, "not rich text");
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    EXPECT_FALSE(loadRtfFile(doc, plain));
    EXPECT_FALSE(loadRtfFile(doc, dir.file(QStringLiteral("missing.rtf"))));
    EXPECT_FALSE(loadRtfFile(nullptr, plain));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("kept"));
}
