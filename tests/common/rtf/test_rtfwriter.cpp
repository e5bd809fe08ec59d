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

Document oneRunEach(const std::vector<Run>& runs, Alignment alignment = Alignment::Left) {
    Document doc;
    for (const Run& r : runs)
        doc.paragraphs.push_back({alignment, {r}});
    return doc;
}

// A hymn with everything the model holds.
Document sampleHymn() {
    return {
        {{Alignment::Centre,
          {{QString::fromUtf8("12 – Fiderana ho an’Andriamanitra"),
            format("Arial Black", 16, true, false, false, Colour{128, 0, 0})}}},
         {Alignment::Left, {}},
         {Alignment::Justify,
          {{QString::fromUtf8("1. Jésus, ") + kLineBreak + "tu es", format("Times New Roman", 12)},
           {"\tma joie", format("Times New Roman", 12, false, true, true)},
           {QString::fromUtf8(" Ἰησοῦς Χριστός Ёлка 日本 😀"),
            format("Times New Roman", 10.5, false, false, false, Colour{0, 0, 255}, Colour{255, 255, 0})}}},
         {Alignment::Right, {{"Amen {\\}", format("Courier New", 9, true, true)}}}}};
}

} // namespace

// round trips

TEST(RtfWriter, documents_roundTrip) {
    Document trailingEmpty = oneRunEach({{"a", {}}});
    trailingEmpty.paragraphs.push_back({Alignment::Centre, {}});
    const std::pair<const char*, Document> cases[] = {
        {"hymn with every format", sampleHymn()},
        {"empty document", Document{}},
        {"empty last paragraph", trailingEmpty},
        {"font names with special characters", oneRunEach({{"t", format("A;B", 12)},
                                                           {"t", format("{x}\\y", 12)},
                                                           {"t", format(QString::fromUtf8("Ţimes Ŋew"), 12)},
                                                           {"t", format({}, 12)}})},
        {"control and unassigned characters",
         oneRunEach({{QString(QChar(1)) + QChar(0x81) + QChar(0x7F) + QChar(0xFFFF) + "x", {}}})},
        // the direction was dropped: a Hebrew passage was saved left to right
        {"right-to-left paragraphs beside left-to-right ones",
         [] {
             Document d = oneRunEach({{"a", {}}, {"b", {}}, {"c", {}}});
             d.paragraphs[0].rightToLeft = d.paragraphs[2].rightToLeft = true;
             return d;
         }()},
    };
    for (const auto& [name, doc] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(roundTrip(doc), doc);
    }
}

// Sizes survive to the nearest half point; a size that is not positive becomes the default.
TEST(RtfWriter, sizes_areKeptToTheNearestHalfPoint) {
    EXPECT_EQ(roundTrip(oneRunEach({{"a", format("F", 10.3)}, {"b", format("F", -1)}})),
              oneRunEach({{"a", format("F", 10.5)}, {"b", format("F", kDefaultSizePt)}}));
}

TEST(RtfWriter, output_isSevenBitWithHeaderTablesAndEscapes) {
    const QByteArray rtf = writeRtf(sampleHymn());
    EXPECT_TRUE(rtf.startsWith(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial Black;}"));
    EXPECT_TRUE(rtf.contains(
        "{\\colortbl ;\\red128\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}"));
    for (char c : rtf)
        ASSERT_GE(static_cast<signed char>(c), 0);
    // Characters of cp1252 as hex, others as \uN.
    const QByteArray chars = writeRtf(
        oneRunEach({{QString::fromUtf8("é€") + QChar(0x0416) + QChar(0xF020) + "\t" + kLineBreak, {}}},
                   Alignment::Centre));
    EXPECT_TRUE(chars.contains("\\pard\\qc\\plain\\f0\\fs24 \\'e9\\'80\\u1046?\\u-4064?\\tab \\line \\par"))
        << chars.constData();
}
