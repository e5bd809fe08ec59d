#include "common/rtf/rtfreader.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace lumora::common::rtf;

// Inside a test body, Run would name testing::Test::Run.
using RtfRun = lumora::common::rtf::Run;

namespace {

Document read(QByteArrayView rtf) {
    const std::optional<Document> doc = readRtf(rtf);
    EXPECT_TRUE(doc.has_value()) << rtf.toByteArray().constData();
    return doc.value_or(Document{});
}

// All text of the document, paragraphs joined by '|'.
QString textOf(const Document& doc) {
    QStringList paras;
    for (const Paragraph& p : doc.paragraphs) {
        QString s;
        for (const Run& r : p.runs)
            s += r.text;
        paras += s;
    }
    return paras.join(QLatin1Char('|'));
}

const Run& onlyRun(const Document& doc) {
    static const Run none;
    if (doc.paragraphs.size() != 1 || doc.paragraphs[0].runs.size() != 1) {
        ADD_FAILURE() << "expected one paragraph with one run, got " << textOf(doc).toStdString();
        return none;
    }
    return doc.paragraphs[0].runs[0];
}

// The run holding `text` (the first whose text contains it).
CharFormat formatOf(const Document& doc, const QString& text) {
    for (const Paragraph& p : doc.paragraphs)
        for (const Run& r : p.runs)
            if (r.text.contains(text)) return r.format;
    ADD_FAILURE() << "no run with " << text.toStdString();
    return {};
}

} // namespace

// paragraphs

TEST(RtfReader, parEndsParagraph_trailingTextWithoutParIsKept) {
    EXPECT_EQ(textOf(read("{\\rtf1 one\\par two\\par three}")), "one|two|three");
    EXPECT_EQ(read("{\\rtf1 one\\par}").paragraphs.size(), 1u);
}

TEST(RtfReader, emptyParagraphs_areEmptyLines) {
    const Document doc = read("{\\rtf1 a\\par\\par b\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 3u);
    EXPECT_TRUE(doc.paragraphs[1].runs.empty());
}

TEST(RtfReader, backslashNewline_isParagraphBreak_rawNewlinesAreIgnored) {
    EXPECT_EQ(textOf(read("{\\rtf1 a\\\nb\r\nc\rd}")), "a|bcd");
}

TEST(RtfReader, alignment_isTheOneInForceAtPar) {
    const Document doc =
        read("{\\rtf1\\pard\\qc a\\par\\pard b\\par\\qr c\\par\\qj d\\par{\\qc e\\par}\\ql f\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 6u);
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Centre);
    EXPECT_EQ(doc.paragraphs[1].alignment, Alignment::Left); // \pard resets
    EXPECT_EQ(doc.paragraphs[2].alignment, Alignment::Right);
    EXPECT_EQ(doc.paragraphs[3].alignment, Alignment::Justify);
    EXPECT_EQ(doc.paragraphs[4].alignment, Alignment::Centre);
    EXPECT_EQ(doc.paragraphs[5].alignment, Alignment::Left);
}

// character formats

TEST(RtfReader, toggles_switchOnAndOff) {
    const Document doc =
        read("{\\rtf1 \\b B\\b0 \\i I\\i0 \\ul U\\ulnone \\ul V\\ul0 \\uldb W\\ulnone \\b1 X\\b0 n}");
    EXPECT_TRUE(formatOf(doc, "B").bold);
    EXPECT_TRUE(formatOf(doc, "I").italic);
    EXPECT_TRUE(formatOf(doc, "U").underline);
    EXPECT_TRUE(formatOf(doc, "V").underline);
    EXPECT_TRUE(formatOf(doc, "W").underline);
    EXPECT_TRUE(formatOf(doc, "X").bold);
    EXPECT_EQ(formatOf(doc, "n"), CharFormat{});
}

TEST(RtfReader, groupRestoresFormat_andPlainResetsIt) {
    const Document doc = read("{\\rtf1 a{\\b\\i b}c\\b\\fs40\\i d\\plain e}");
    EXPECT_EQ(formatOf(doc, "a"), CharFormat{});
    EXPECT_TRUE(formatOf(doc, "b").bold && formatOf(doc, "b").italic);
    EXPECT_EQ(formatOf(doc, "c"), CharFormat{});
    EXPECT_EQ(formatOf(doc, "e"), CharFormat{});
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 5u);
}

TEST(RtfReader, underlineColourWord_isNotUnderline) {
    EXPECT_FALSE(onlyRun(read("{\\rtf1\\ulc1 x}")).format.underline);
}

TEST(RtfReader, fontSize_isHalfPoints_defaultTwelve) {
    EXPECT_DOUBLE_EQ(formatOf(read("{\\rtf1\\fs23 a}"), "a").sizePt, 11.5);
    EXPECT_DOUBLE_EQ(formatOf(read("{\\rtf1 a}"), "a").sizePt, 12.0);
    EXPECT_DOUBLE_EQ(formatOf(read("{\\rtf1\\fs0 a}"), "a").sizePt, 12.0);
    EXPECT_DOUBLE_EQ(formatOf(read("{\\rtf1\\fs99999999999 a}"), "a").sizePt, 1638.0);
}

TEST(RtfReader, hiddenText_isDropped) {
    EXPECT_EQ(textOf(read("{\\rtf1 a{\\v secret}b\\v c\\v0 d}")), "abd");
}

// fonts

TEST(RtfReader, fontTable_namesFromGroupsAndBareEntries) {
    const Document doc =
        read("{\\rtf1\\deff1{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
             "Times New Roman{\\*\\falt Times};}{\\f1\\fnil Calibri;}}"
             "a\\f0 b{\\fonttbl\\f2\\fswiss Arial;\\f3\\fmodern Courier New;}\\f3 c\\f9 d\\plain e}");
    EXPECT_EQ(formatOf(doc, "a").fontFamily, "Calibri"); // \deff1
    EXPECT_EQ(formatOf(doc, "b").fontFamily, "Times New Roman");
    EXPECT_EQ(formatOf(doc, "c").fontFamily, "Courier New");
    EXPECT_EQ(formatOf(doc, "d").fontFamily, ""); // not in the table
    EXPECT_EQ(formatOf(doc, "e").fontFamily, "Calibri");
}

TEST(RtfReader, fontEntryWithoutSemicolon_endsAtItsGroup) {
    EXPECT_EQ(onlyRun(read("{\\rtf1{\\fonttbl{\\f0 Georgia}}\\f0 x}")).format.fontFamily, "Georgia");
}

// Regression: an escaped ';' (\'3b, which the writer uses for names holding one) ended the name.
TEST(RtfReader, escapedSemicolonInFontName_isPartOfTheName) {
    EXPECT_EQ(onlyRun(read("{\\rtf1{\\fonttbl{\\f0 A\\'3bB;}}\\f0 x}")).format.fontFamily, "A;B");
}

// colours

TEST(RtfReader, colourTable_indexesWithAutoEntry) {
    const Document doc = read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue999;}"
                              "\\cf1 R\\cf2 G\\cf0 A\\cf7 M\\highlight1 H\\cb2 C\\chcbpat1 P\\highlight0 N}");
    EXPECT_EQ(formatOf(doc, "R").colour, (Colour{255, 0, 0}));
    EXPECT_EQ(formatOf(doc, "G").colour, (Colour{0, 128, 255})); // clamped
    EXPECT_FALSE(formatOf(doc, "A").colour.has_value());         // the auto entry
    EXPECT_FALSE(formatOf(doc, "M").colour.has_value());         // beyond the table
    EXPECT_EQ(formatOf(doc, "H").backColour, (Colour{255, 0, 0}));
    EXPECT_EQ(formatOf(doc, "C").backColour, (Colour{0, 128, 255}));
    EXPECT_EQ(formatOf(doc, "P").backColour, (Colour{255, 0, 0}));
    EXPECT_FALSE(formatOf(doc, "N").backColour.has_value());
}

// code pages

TEST(RtfReader, hexBytes_decodeInDocumentCodePage) {
    EXPECT_EQ(onlyRun(read("{\\rtf1\\ansi\\ansicpg1252 J\\'e9sus \\'80\\'96}")).text,
              QString::fromUtf8("Jésus €–"));
    EXPECT_EQ(onlyRun(read("{\\rtf1\\ansi\\ansicpg1250 \\'b9\\'e8}")).text, QString::fromUtf8("ąč"));
    EXPECT_EQ(onlyRun(read("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}")).text, QString::fromUtf8("При"));
    EXPECT_EQ(onlyRun(read("{\\rtf1\\ansi\\ansicpg1253 \\'c8\\'e5\\'fc\\'f2}")).text,
              QString::fromUtf8("Θεός"));
}

TEST(RtfReader, rawEightBitText_decodesLikeHexBytes) {
    EXPECT_EQ(onlyRun(read("{\\rtf1\\ansi\\ansicpg1252 No\xeBl \x85}")).text, QString::fromUtf8("Noël …"));
}

TEST(RtfReader, fontCharset_overridesDocumentCodePage) {
    // WordPad writes Russian like this: the document says 1252, the font says Cyrillic.
    const Document doc = read("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                              "{\\f1\\fnil\\fcharset204 Arial;}}\\f1 \\'c1\\'ee\\'e3 \\f0\\'e9}");
    EXPECT_EQ(textOf(doc), QString::fromUtf8("Бог é"));
}

TEST(RtfReader, doubleByteCodePage_keepsBytePairsTogether) {
    EXPECT_EQ(textOf(read("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}")), QString::fromUtf8("日本"));
}

TEST(RtfReader, unknownCodePage_fallsBackToCp1252) {
    EXPECT_EQ(textOf(read("{\\rtf1\\ansi\\ansicpg59999 \\'e9\\'80}")), QString::fromUtf8("é€"));
}

// unicode

TEST(RtfReader, unicode_skipsFallbackCharacters) {
    EXPECT_EQ(textOf(read("{\\rtf1\\uc1\\u8364?x}")), QString::fromUtf8("€x"));
    EXPECT_EQ(textOf(read("{\\rtf1\\uc2\\u26085\\'93\\'fax}")), QString::fromUtf8("日x"));
    EXPECT_EQ(textOf(read("{\\rtf1\\uc0\\u233 x}")), QString::fromUtf8("éx"));
    EXPECT_EQ(textOf(read("{\\rtf1\\u233\\'e9x}")), QString::fromUtf8("éx")); // \uc1 by default
    EXPECT_EQ(textOf(read("{\\rtf1{\\uc3\\u233 a}bc}")),
              QString::fromUtf8("ébc")); // brace ends skip, \uc scoped
}

TEST(RtfReader, unicode_negativeValuesAndSurrogatePairs) {
    EXPECT_EQ(textOf(read("{\\rtf1\\u-4064?}")), QString(QChar(0xF020)));
    EXPECT_EQ(textOf(read("{\\rtf1\\u-10179?\\u-8704?}")), QString::fromUtf8("😀"));
    // Halves without partners are not kept as broken UTF-16.
    EXPECT_EQ(textOf(read("{\\rtf1\\u-10179?x}")), QString(QChar::ReplacementCharacter) + "x");
    EXPECT_EQ(textOf(read("{\\rtf1\\u99999?x}")), QString(QChar::ReplacementCharacter) + "x");
}

// escapes and special characters

TEST(RtfReader, controlSymbolsAndSpecialWords) {
    const QString expected = QStringLiteral("{}\\") + QChar(0xA0) + QChar(0xAD) + QChar(0x2011) + "\t" +
                             QChar(0x2028) + QChar(0x2014) + QChar(0x2013) + QChar(0x201C) + QChar(0x201D) +
                             QChar(0x2018) + QChar(0x2019) + QChar(0x2022);
    EXPECT_EQ(textOf(read("{\\rtf1 \\{\\}\\\\\\~\\-\\_\\tab\\line\\emdash\\endash\\ldblquote\\rdblquote"
                          "\\lquote\\rquote\\bullet}")),
              expected);
}

TEST(RtfReader, controlWordDelimiters) {
    // One space after a word belongs to it; a second is text; a digit run ends the word.
    EXPECT_EQ(textOf(read("{\\rtf1\\b  x\\b0;y\\fs20-z}")), " x;y-z");
}

// destinations

TEST(RtfReader, skippedDestinations_leaveNoText) {
    const Document doc = read("{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s1 Heading;}}"
                              "{\\header H}{\\footer F}{\\*\\generator G;}{\\*\\unknown U}"
                              "{\\pict\\wmetafile8 0102{\\b 0304}}a{\\footnote note}b"
                              "{\\*\\shppict{\\pict 00}}{\\nonshppict{\\pict 00}}c}");
    EXPECT_EQ(textOf(doc), "abc");
}

TEST(RtfReader, field_showsItsResult) {
    const Document doc = read("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}"
                              "{\\fldrslt{\\ul\\cf1 here}}} now}");
    EXPECT_EQ(textOf(doc), "see here now");
    EXPECT_TRUE(formatOf(doc, "here").underline);
}

TEST(RtfReader, binaryData_isSkippedEvenWithBraces) {
    EXPECT_EQ(textOf(read("{\\rtf1{\\pict\\bin5 }{\\x}a}b}")), "b");
}

TEST(RtfReader, listBulletText_isKept) {
    EXPECT_EQ(textOf(read("{\\rtf1{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item\\par}")),
              QString::fromUtf8("·\titem"));
}

// samples shaped like common word processors' output

TEST(RtfReader, wordPadSample) {
    const Document doc = read(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1036{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Calibri;}{\\f1\\fnil\\fcharset0 Arial Black;}}\r\n"
        "{\\colortbl ;\\red192\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\qc\\cf1\\b\\f1\\fs32\\lang12 1. Ry Jehovah\\par\r\n"
        "\\pard\\sa200\\sl276\\slmult1\\cf0\\b0\\f0\\fs22 Mis\\'e9ricorde,\\line gr\\'e2ce\\par\r\n}\r\n\0");
    ASSERT_EQ(doc.paragraphs.size(), 2u);
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Centre);
    EXPECT_EQ(doc.paragraphs[0].runs,
              (std::vector<RtfRun>{
                  {"1. Ry Jehovah", {"Arial Black", 16, true, false, false, Colour{192, 0, 0}, {}}}}));
    EXPECT_EQ(doc.paragraphs[1].alignment, Alignment::Left);
    EXPECT_EQ(doc.paragraphs[1].runs, (std::vector<RtfRun>{{QString::fromUtf8("Miséricorde,\u2028grâce"),
                                                            {"Calibri", 11, false, false, false, {}, {}}}}));
}

TEST(RtfReader, wordSample) {
    const Document doc = read(
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505\\deflang1036"
        "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
        "{\\f37\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020f0502020204030204}Calibri;}"
        "{\\flomajor\\f31500\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New "
        "Roman;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}"
        "{\\*\\defchp \\f31506\\fs22 }{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\f31506\\fs22 \\snext0 "
        "Normal;}"
        "{\\*\\cs10 \\additive \\ssemihidden Default Paragraph Font;}}"
        "{\\*\\rsidtbl \\rsid1538366}{\\mmathPr\\mmathFont34}{\\info{\\author Rakoto}{\\creatim\\yr2020}}"
        "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}"
        "\\paperw11906\\paperh16838\\margl1417 \\sectd \\linex0\\endnhere\\sectlinegrid360\\sectdefaultcl"
        "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}"
        "\\pard\\plain \\ltrpar\\qc \\li0\\ri0\\sa160\\sl259\\slmult1\\rtlch\\fcs1 "
        "\\af31507\\afs22\\alang1025 "
        "\\ltrch\\fcs0 \\f37\\fs28\\lang1036\\langfe1033\\cgrid\\langnp1036 {\\rtlch\\fcs1 \\af31507 "
        "\\ltrch\\fcs0 "
        "\\b\\cf2\\insrsid1538366 Fiderana}{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid1538366 \\par }"
        "\\pard \\ltrpar\\qj {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\i\\highlight3\\insrsid1538366 \\'c0 "
        "Dieu "
        "\\u8211\\'96 Amen}{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid1538366 \\par }"
        "{\\*\\themedata 504b030414000600}{\\*\\colorschememapping 3c3f786d6c}"
        "{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0{\\lsdlockedexcept \\lsdqformat1 Normal;}}"
        "{\\*\\datastore 0105000002000000}}");
    ASSERT_EQ(doc.paragraphs.size(), 2u);
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Centre);
    EXPECT_EQ(
        doc.paragraphs[0].runs,
        (std::vector<RtfRun>{{"Fiderana", {"Calibri", 14, true, false, false, Colour{0, 0, 255}, {}}}}));
    EXPECT_EQ(doc.paragraphs[1].alignment, Alignment::Justify);
    EXPECT_EQ(doc.paragraphs[1].runs,
              (std::vector<RtfRun>{{QString::fromUtf8("À Dieu – Amen"),
                                    {"Calibri", 14, false, true, false, {}, Colour{255, 255, 0}}}}));
}

TEST(RtfReader, libreOfficeSample) {
    const Document doc = read(
        "{\\rtf1\\ansi\\deff3\\adeflang1025\r\n"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
        "{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}"
        "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red128\\green0\\blue0;}\r\n"
        "{\\stylesheet{\\s0\\snext0\\hich\\af5\\dbch\\af6\\afs24\\loch\\f3\\fs24\\lang1036 Normal;}}"
        "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}"
        "{\\info{\\creatim\\yr2024\\mo1\\dy2}}{\\*\\userprops{\\propname x}\\proptype30{\\staticval y}}\r\n"
        "\\deftab709\r\n"
        "{\\*\\pgdsctbl\r\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pgnrestart\\pgdscnxt0 Default Page "
        "Style;}}\r\n"
        "\\formshade\\paperh16838\\paperw11906\\sectd\\sbknone\\pgndec\\pgwsxn11906\r\n"
        "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\hich\\af5\\loch\\f3\\fs24\\lang1036\\qr"
        "{\\cf2\\ul\\ulc0\\hich\\af5\\dbch\\af6\\loch\\f4 Salamo}\\par\r\n"
        "\\pard\\plain \\s0\\loch\\f3\\fs24\\lang1036{\\loch Ny fitiavan\\u8217\\'92Andriamanitra}\r\n\\par "
        "}");
    ASSERT_EQ(doc.paragraphs.size(), 2u);
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Right);
    EXPECT_EQ(doc.paragraphs[0].runs,
              (std::vector<RtfRun>{
                  {"Salamo", {"Liberation Sans", 12, false, false, true, Colour{128, 0, 0}, {}}}}));
    EXPECT_EQ(doc.paragraphs[1].runs,
              (std::vector<RtfRun>{{QString::fromUtf8("Ny fitiavan’Andriamanitra"),
                                    {"Liberation Serif", 12, false, false, false, {}, {}}}}));
}

// malformed input

TEST(RtfReader, notRtf_isNullopt) {
    EXPECT_FALSE(readRtf("").has_value());
    EXPECT_FALSE(readRtf("plain words").has_value());
    EXPECT_FALSE(readRtf("{\\rt").has_value());
    EXPECT_TRUE(readRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}").has_value());
}

TEST(RtfReader, truncatedInput_keepsWhatWasRead) {
    EXPECT_EQ(textOf(read("{\\rtf1 abc\\par de")), "abc|de");
    EXPECT_EQ(textOf(read("{\\rtf1 abc\\")), "abc");
    EXPECT_EQ(textOf(read("{\\rtf1 abc\\'4")), "abc"); // a control byte is not text
    EXPECT_EQ(textOf(read("{\\rtf1 abc\\'")), "abc");
    EXPECT_EQ(textOf(read("{\\rtf1 abc\\u")), "abc");
    EXPECT_EQ(textOf(read("{\\rtf1{\\fonttbl{\\f0 Arial")), "");
    EXPECT_EQ(textOf(read("{\\rtf1 a\\bin999999 xyz")), "a");
}

TEST(RtfReader, textAfterClosingBrace_isIgnored) {
    EXPECT_EQ(textOf(read("{\\rtf1 inside}outside}{more}")), "inside");
}

TEST(RtfReader, deepNesting_isFlattenedNotFatal) {
    QByteArray rtf = "{\\rtf1 ";
    rtf += QByteArray(200000, '{');
    rtf += "\\b deep";
    rtf += QByteArray(200000, '}');
    rtf += " after}";
    const Document doc = read(rtf);
    EXPECT_EQ(textOf(doc), "deep after");
    EXPECT_FALSE(formatOf(doc, "after").bold); // the groups were still balanced out
}

TEST(RtfReader, hugeParameters_areClamped) {
    const Document doc = read("{\\rtf1\\uc99999999999999999999\\u65aaaaaaaaaaaaaaaaB\\f-99999999999999 "
                              "\\cf-5 \\ansicpg-3 x}");
    EXPECT_EQ(textOf(doc), "ABx"); // \\uc capped at 16
}

TEST(RtfReader, overlongControlWord_isIgnored) {
    EXPECT_EQ(textOf(read("{\\rtf1\\" + QByteArray(5000, 'b') + " x}")), "x");
}
