#include "common/rtf/rtfreader.h"
#include "common/rtf/rtfwriter.h"

#include <gtest/gtest.h>

using namespace lumora::common::rtf;

namespace {

CharFormat format(const QString& family, double size, bool bold = false, bool italic = false,
                  bool underline = false, std::optional<Colour> colour = {},
                  std::optional<Colour> back = {}) {
    return CharFormat{family, size, bold, italic, underline, colour, back};
}

Document roundTrip(const Document& doc) {
    const std::optional<Document> back = readRtf(writeRtf(doc));
    EXPECT_TRUE(back.has_value());
    return back.value_or(Document{});
}

// A hymn with everything the model holds.
Document sampleHymn() {
    Document doc;
    doc.paragraphs.push_back({Alignment::Centre,
                              {{QString::fromUtf8("12 – Fiderana ho an’Andriamanitra"),
                                format("Arial Black", 16, true, false, false, Colour{128, 0, 0})}}});
    doc.paragraphs.push_back({Alignment::Left, {}});
    doc.paragraphs.push_back(
        {Alignment::Justify,
         {{QString::fromUtf8("1. Jésus, ") + kLineBreak + "tu es", format("Times New Roman", 12)},
          {"\tma joie", format("Times New Roman", 12, false, true, true)},
          {QString::fromUtf8(" Ἰησοῦς Χριστός Ёлка 日本 😀"),
           format("Times New Roman", 10.5, false, false, false, Colour{0, 0, 255}, Colour{255, 255, 0})}}});
    doc.paragraphs.push_back({Alignment::Right, {{"Amen {\\}", format("Courier New", 9, true, true)}}});
    return doc;
}

} // namespace

// round trips

TEST(RtfWriter, hymnWithEveryFormat_roundTrips) {
    const Document doc = sampleHymn();
    EXPECT_EQ(roundTrip(doc), doc);
}

TEST(RtfWriter, emptyDocumentAndEmptyLastParagraph_roundTrip) {
    EXPECT_EQ(roundTrip(Document{}), Document{});
    Document trailing;
    trailing.paragraphs.push_back({Alignment::Left, {{"a", {}}}});
    trailing.paragraphs.push_back({Alignment::Centre, {}});
    EXPECT_EQ(roundTrip(trailing), trailing);
}

TEST(RtfWriter, fontNamesWithSpecialCharacters_roundTrip) {
    Document doc;
    for (const QString& family :
         {QStringLiteral("A;B"), QStringLiteral("{x}\\y"), QString::fromUtf8("Ţimes Ŋew"), QString()})
        doc.paragraphs.push_back({Alignment::Left, {{"t", format(family, 12)}}});
    EXPECT_EQ(roundTrip(doc), doc);
}

TEST(RtfWriter, controlAndUnassignedCharacters_roundTrip) {
    Document doc;
    doc.paragraphs.push_back(
        {Alignment::Left, {{QString(QChar(1)) + QChar(0x81) + QChar(0x7F) + QChar(0xFFFF) + "x", {}}}});
    EXPECT_EQ(roundTrip(doc), doc);
}

// sizes

TEST(RtfWriter, sizes_areKeptToTheNearestHalfPoint) {
    Document doc;
    doc.paragraphs.push_back({Alignment::Left, {{"a", format("F", 10.3)}, {"b", format("F", -1)}}});
    const Document back = roundTrip(doc);
    ASSERT_EQ(back.paragraphs.at(0).runs.size(), 2u);
    EXPECT_DOUBLE_EQ(back.paragraphs[0].runs[0].format.sizePt, 10.5);
    EXPECT_DOUBLE_EQ(back.paragraphs[0].runs[1].format.sizePt, kDefaultSizePt);
}

// output shape

TEST(RtfWriter, output_isSevenBitWithHeaderAndTables) {
    const QByteArray rtf = writeRtf(sampleHymn());
    EXPECT_TRUE(rtf.startsWith(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial Black;}"));
    EXPECT_TRUE(rtf.contains(
        "{\\colortbl ;\\red128\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}"));
    for (char c : rtf)
        EXPECT_GE(static_cast<signed char>(c), 0);
}

TEST(RtfWriter, characters_useHexForCp1252AndUnicodeOtherwise) {
    Document doc;
    doc.paragraphs.push_back(
        {Alignment::Centre,
         {{QString::fromUtf8("é€") + QChar(0x0416) + QChar(0xF020) + "\t" + kLineBreak, {}}}});
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\pard\\qc\\plain\\f0\\fs24 \\'e9\\'80\\u1046?\\u-4064?\\tab \\line \\par"))
        << rtf.constData();
}
