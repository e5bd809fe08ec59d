#include "common/rtf/rtfreader.h"

#include <QStringList>

#include <string_view>

#include <gtest/gtest.h>

using namespace lumora::common::rtf;

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

// The format of the first run whose text contains `text`.
CharFormat formatOf(const Document& doc, const QString& text) {
    for (const Paragraph& p : doc.paragraphs)
        for (const Run& r : p.runs)
            if (r.text.contains(text)) return r.format;
    ADD_FAILURE() << "no run with " << text.toStdString();
    return {};
}

struct TextCase {
    QByteArray rtf;
    QString text;
};

void expectTexts(std::initializer_list<TextCase> cases) {
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.rtf.left(120).constData());
        EXPECT_EQ(textOf(read(c.rtf)), c.text);
    }
}

// A format from its family, size and flags ("b" bold, "i" italic, "u" underline).
CharFormat fmt(const QString& family, double size, std::string_view flags = "",
               std::optional<Colour> colour = {}, std::optional<Colour> back = {}) {
    const auto has = [&](char f) { return flags.find(f) != flags.npos; };
    return {family, size, has('b'), has('i'), has('u'), colour, back};
}

} // namespace

// paragraphs and plain text

TEST(RtfReader, paragraphsAndEscapes) {
    expectTexts({
        {"{\\rtf1 one\\par two\\par three}", "one|two|three"}, // trailing text without \par is kept
        {"{\\rtf1 one\\par}", "one"},
        {"{\\rtf1 a\\par\\par b\\par}", "a||b"},
        {"{\\rtf1 a\\\nb\r\nc\rd}", "a|bcd"},          // backslash-newline breaks, raw newlines do not
        {"{\\rtf1 a{\\v secret}b\\v c\\v0 d}", "abd"}, // hidden text
        // One space after a word belongs to it; a second is text; a digit run ends the word.
        {"{\\rtf1\\b  x\\b0;y\\fs20-z}", " x;y-z"},
        {"{\\rtf1 "
         "\\{\\}\\\\\\~\\-\\_\\tab\\line\\emdash\\endash\\ldblquote\\rdblquote\\lquote\\rquote\\bullet}",
         QString::fromUtf8("{}\\\u00A0\u00AD\u2011\t\u2028—–“”‘’•")},
    });
    EXPECT_TRUE(read("{\\rtf1 a\\par\\par b\\par}").paragraphs.at(1).runs.empty());
    // Neighbouring runs of one format are joined; empty groups leave no empty run.
    EXPECT_EQ(read("{\\rtf1 a{\\b b}{}c\\b\\b0 d}").paragraphs.at(0).runs.size(), 3u);
}

TEST(RtfReader, alignment_isTheOneInForceAtPar) {
    const Document doc =
        read("{\\rtf1\\pard\\qc a\\par\\pard b\\par\\qr c\\par\\qj d\\par{\\qc e\\par}\\ql f\\par}");
    std::vector<Alignment> got;
    for (const Paragraph& p : doc.paragraphs)
        got.push_back(p.alignment);
    EXPECT_EQ(got, (std::vector{Alignment::Centre, Alignment::Left, Alignment::Right, Alignment::Justify,
                                Alignment::Centre, Alignment::Left})); // \pard resets
}

// character formats

TEST(RtfReader, toggles_groupsAndPlain) {
    const Document doc = read("{\\rtf1 \\b B\\b0 \\i I\\i0 \\ul U\\ulnone \\ul V\\ul0 \\uldb W\\ulnone "
                              "\\b1 X\\b0 \\ulc1 n{\\b\\i g}c\\b\\fs40\\i d\\plain e}");
    EXPECT_TRUE(formatOf(doc, "B").bold);
    EXPECT_TRUE(formatOf(doc, "I").italic);
    for (const char* u : {"U", "V", "W"})
        EXPECT_TRUE(formatOf(doc, u).underline) << u;
    EXPECT_TRUE(formatOf(doc, "X").bold);
    EXPECT_EQ(formatOf(doc, "n"), CharFormat{}); // \ulc is a colour, not underline
    EXPECT_EQ(formatOf(doc, "g"), fmt({}, 12, "bi"));
    EXPECT_EQ(formatOf(doc, "c"), CharFormat{}); // the group restored the format
    EXPECT_EQ(formatOf(doc, "e"), CharFormat{}); // \plain
}

// Sizes are in half points, 12 by default, clamped.
TEST(RtfReader, fontSizes) {
    const Document doc = read("{\\rtf1 a\\fs23 b\\fs0 c\\fs99999999999 d}");
    for (const auto& [text, size] : {std::pair{"a", 12.0}, {"b", 11.5}, {"c", 12.0}, {"d", 1638.0}})
        EXPECT_DOUBLE_EQ(formatOf(doc, text).sizePt, size) << text;
}

TEST(RtfReader, fontTable) {
    const Document doc =
        read("{\\rtf1\\deff1{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
             "Times New Roman{\\*\\falt Times};}{\\f1\\fnil Calibri;}}"
             "a\\f0 b{\\fonttbl\\f2\\fswiss Arial;\\f3\\fmodern Courier New;}\\f3 c\\f9 d\\plain e}");
    EXPECT_EQ(formatOf(doc, "a").fontFamily, "Calibri"); // \deff1
    EXPECT_EQ(formatOf(doc, "b").fontFamily, "Times New Roman");
    EXPECT_EQ(formatOf(doc, "c").fontFamily, "Courier New"); // bare entries
    EXPECT_EQ(formatOf(doc, "d").fontFamily, "");            // not in the table
    EXPECT_EQ(formatOf(doc, "e").fontFamily, "Calibri");
    // An entry without ';' ends at its group.
    EXPECT_EQ(formatOf(read("{\\rtf1{\\fonttbl{\\f0 Georgia}}\\f0 x}"), "x").fontFamily, "Georgia");
    // Regression: an escaped ';' (\'3b, which the writer uses for names holding one) ended the name.
    EXPECT_EQ(formatOf(read("{\\rtf1{\\fonttbl{\\f0 A\\'3bB;}}\\f0 x}"), "x").fontFamily, "A;B");
}

TEST(RtfReader, colourTable_indexesWithAutoEntry) {
    const Document doc = read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue999;}"
                              "\\cf1 R\\cf2 G\\cf0 A\\cf7 M\\highlight1 H\\cb2 C\\chcbpat1 P\\highlight0 N}");
    const Colour red{255, 0, 0}, green{0, 128, 255}; // blue clamped
    EXPECT_EQ(formatOf(doc, "R").colour, red);
    EXPECT_EQ(formatOf(doc, "G").colour, green);
    EXPECT_FALSE(formatOf(doc, "A").colour.has_value()); // the auto entry
    EXPECT_FALSE(formatOf(doc, "M").colour.has_value()); // beyond the table
    EXPECT_EQ(formatOf(doc, "H").backColour, red);
    EXPECT_EQ(formatOf(doc, "C").backColour, green);
    EXPECT_EQ(formatOf(doc, "P").backColour, red);
    EXPECT_FALSE(formatOf(doc, "N").backColour.has_value());
}

TEST(RtfReader, codePagesAndUnicode) {
    expectTexts({
        {"{\\rtf1\\ansi\\ansicpg1252 J\\'e9sus \\'80\\'96}", QString::fromUtf8("Jésus €–")},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", QString::fromUtf8("При")},
        {"{\\rtf1\\ansi\\ansicpg1253 \\'c8\\'e5\\'fc\\'f2}", QString::fromUtf8("Θεός")},
        {"{\\rtf1\\ansi\\ansicpg1252 No\xeBl \x85}", QString::fromUtf8("Noël …")}, // raw 8-bit bytes
        // WordPad writes Russian like this: the document says 1252, the font says Cyrillic.
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
         "{\\f1\\fnil\\fcharset204 Arial;}}\\f1 \\'c1\\'ee\\'e3 \\f0\\'e9}",
         QString::fromUtf8("Бог é")},
        {"{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}", QString::fromUtf8("日本")}, // byte pairs
        {"{\\rtf1\\ansi\\ansicpg59999 \\'e9\\'80}", QString::fromUtf8("é€")},           // unknown: cp1252
        // \uN skips \ucN fallback characters (\uc1 by default; a brace ends the skip; \uc is scoped)
        {"{\\rtf1\\uc1\\u8364?x}", QString::fromUtf8("€x")},
        {"{\\rtf1\\uc2\\u26085\\'93\\'fax}", QString::fromUtf8("日x")},
        {"{\\rtf1\\uc0\\u233 x}", QString::fromUtf8("éx")},
        {"{\\rtf1\\u233\\'e9x}", QString::fromUtf8("éx")},
        {"{\\rtf1{\\uc3\\u233 a}bc}", QString::fromUtf8("ébc")},
        {"{\\rtf1\\u-4064?}", QString(QChar(0xF020))},
        {"{\\rtf1\\u-10179?\\u-8704?}", QString::fromUtf8("😀")}, // surrogate pair
        // Halves without partners are not kept as broken UTF-16.
        {"{\\rtf1\\u-10179?x}", QString(QChar::ReplacementCharacter) + "x"},
        {"{\\rtf1\\u99999?x}", QString(QChar::ReplacementCharacter) + "x"},
    });
}

TEST(RtfReader, destinationsAndPictures_areSkipped) {
    expectTexts({
        {"{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s1 Heading;}}"
         "{\\header H}{\\footer F}{\\*\\generator G;}{\\*\\unknown U}{\\pict\\wmetafile8 0102{\\b 0304}}a"
         "{\\footnote note}b{\\*\\shppict{\\pict 00}}{\\nonshppict{\\pict 00}}c}",
         "abc"},
        {"{\\rtf1{\\pict\\bin5 }{\\x}a}b}", "b"}, // binary data, even with braces
        {"{\\rtf1{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item\\par}",
         QString::fromUtf8("·\titem")},
    });
    const Document field = read("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}"
                                "{\\fldrslt{\\ul\\cf1 here}}} now}");
    EXPECT_EQ(textOf(field), "see here now");
    EXPECT_TRUE(formatOf(field, "here").underline);
}

// samples shaped like common word processors' output

TEST(RtfReader, wordProcessorSamples) {
    struct Sample {
        const char* name;
        QByteArray rtf;
        std::vector<Paragraph> paragraphs;
    };
    const Sample samples[] = {
        {"WordPad",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1036{\\fonttbl"
         "{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset0 Arial Black;}}\r\n"
         "{\\colortbl ;\\red192\\green0\\blue0;}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4"
         "\\uc1 \r\n\\pard\\sa200\\sl276\\slmult1\\qc\\cf1\\b\\f1\\fs32\\lang12 1. Ry Jehovah\\par\r\n"
         "\\pard\\sa200\\sl276\\slmult1\\cf0\\b0\\f0\\fs22 Mis\\'e9ricorde,\\line gr\\'e2ce\\par\r\n}\r\n",
         {{Alignment::Centre, {{"1. Ry Jehovah", fmt("Arial Black", 16, "b", Colour{192, 0, 0})}}},
          {Alignment::Left, {{QString::fromUtf8("Miséricorde,\u2028grâce"), fmt("Calibri", 11)}}}}},
        {"Word",
         "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505\\deflang1036"
         "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*"
         "\\panose 02020603050405020304}Times New Roman;}{\\f37\\fbidi \\fswiss\\fcharset0\\fprq2"
         "{\\*\\panose 020f0502020204030204}Calibri;}{\\flomajor\\f31500\\fbidi \\froman\\fcharset0\\fprq2"
         "{\\*\\panose 02020603050405020304}Times;}}{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0"
         "\\blue255;\\red255\\green255\\blue0;}{\\*\\defchp \\f31506\\fs22 }{\\stylesheet"
         "{\\ql \\li0\\ri0\\widctlpar\\f31506\\fs22 \\snext0 Normal;}}{\\*\\rsidtbl \\rsid1538366}"
         "{\\mmathPr\\mmathFont34}{\\info{\\author Rakoto}{\\creatim\\yr2020}}{\\*\\xmlnstbl "
         "{\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}{\\*\\pnseclvl1\\pnucrm"
         "\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\\pard\\plain \\ltrpar\\qc \\li0\\ri0\\sa160\\sl259"
         "\\slmult1\\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\f37\\fs28\\lang1036"
         "\\langfe1033\\cgrid\\langnp1036 {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\b\\cf2"
         "\\insrsid1538366 Fiderana}{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid1538366 \\par }\\pard "
         "\\ltrpar\\qj {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\i\\highlight3\\insrsid1538366 \\'c0 Dieu "
         "\\u8211\\'96 Amen}{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid1538366 \\par }"
         "{\\*\\themedata 504b030414000600}{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0"
         "{\\lsdlockedexcept \\lsdqformat1 Normal;}}}",
         {{Alignment::Centre, {{"Fiderana", fmt("Calibri", 14, "b", Colour{0, 0, 255})}}},
          {Alignment::Justify,
           {{QString::fromUtf8("À Dieu – Amen"), fmt("Calibri", 14, "i", {}, Colour{255, 255, 0})}}}}},
        {"LibreOffice",
         "{\\rtf1\\ansi\\deff3\\adeflang1025\r\n{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
         "{\\f1\\froman\\fprq2\\fcharset2 Symbol;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif"
         "{\\*\\falt Times New Roman};}{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans"
         "{\\*\\falt Arial};}}\r\n{\\colortbl;\\red0\\green0\\blue0;\\red128\\green0\\blue0;}\r\n"
         "{\\stylesheet{\\s0\\snext0\\hich\\af5\\dbch\\af6\\afs24\\loch\\f3\\fs24\\lang1036 Normal;}}"
         "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\\info"
         "{\\creatim\\yr2024\\mo1\\dy2}}{\\*\\userprops{\\propname x}\\proptype30"
         "{\\staticval y}}\r\n\\deftab709\r\n{\\*\\pgdsctbl\r\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906"
         "\\pgnrestart\\pgdscnxt0 Default Page Style;}}\r\n\\formshade\\paperh16838\\paperw11906\\sectd"
         "\\sbknone\\pgndec\\pgwsxn11906\r\n{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\hich\\af5"
         "\\loch\\f3\\fs24\\lang1036\\qr{\\cf2\\ul\\ulc0\\hich\\af5\\dbch\\af6\\loch\\f4 Salamo}\\par\r\n"
         "\\pard\\plain \\s0\\loch\\f3\\fs24\\lang1036{\\loch Ny fitiavan\\u8217\\'92Andriamanitra}\r\n"
         "\\par }",
         {{Alignment::Right, {{"Salamo", fmt("Liberation Sans", 12, "u", Colour{128, 0, 0})}}},
          {Alignment::Left,
           {{QString::fromUtf8("Ny fitiavan’Andriamanitra"), fmt("Liberation Serif", 12)}}}}},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(read(s.rtf).paragraphs, s.paragraphs);
    }
}

// malformed input

TEST(RtfReader, notRtf_isNullopt) {
    for (const char* bytes : {"", "plain words", "{\\rt"})
        EXPECT_FALSE(readRtf(bytes).has_value()) << bytes;
    EXPECT_TRUE(readRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}").has_value());
}

TEST(RtfReader, damagedInput_keepsWhatCanBeRead) {
    expectTexts({
        // truncated
        {"{\\rtf1 abc\\par de", "abc|de"},
        {"{\\rtf1 abc\\", "abc"},
        {"{\\rtf1 abc\\'4", "abc"}, // a control byte is not text
        {"{\\rtf1 abc\\'", "abc"},
        {"{\\rtf1 abc\\u", "abc"},
        {"{\\rtf1{\\fonttbl{\\f0 Arial", ""},
        {"{\\rtf1 a\\bin999999 xyz", "a"},
        {"{\\rtf1 inside}outside}{more}", "inside"},
        // huge parameters are clamped (\uc to 16)
        {"{\\rtf1\\uc99999999999999999999\\u65aaaaaaaaaaaaaaaaB\\f-99999999999999 \\cf-5 \\ansicpg-3 x}",
         "ABx"},
        {"{\\rtf1\\" + QByteArray(5000, 'b') + " x}", "x"}, // overlong control word
    });
}

TEST(RtfReader, deepNesting_isFlattenedNotFatal) {
    const QByteArray rtf =
        "{\\rtf1 " + QByteArray(200000, '{') + "\\b deep" + QByteArray(200000, '}') + " after}";
    const Document doc = read(rtf);
    EXPECT_EQ(textOf(doc), "deep after");
    EXPECT_FALSE(formatOf(doc, "after").bold); // the groups were still balanced out
}
