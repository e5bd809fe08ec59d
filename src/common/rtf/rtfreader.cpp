#include "common/rtf/rtfreader.h"

#include "common/rtf/codepage.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>

namespace lumora::common::rtf {

namespace {

// Where text goes in the current group.
enum class Dest { Text, FontTable, ColourTable, Skip };

// clang-format off
enum class Word {
    Unknown,
    Ansi, AnsiCpg, Mac, Pc, Pca, Deff, Bin, Uc, U,                      // document
    FontTable, ColourTable, SkipDest, TextDest,                         // destinations
    Font, FCharset, Cpg, Red, Green, Blue,                              // font and colour tables
    Par, Pard, Ql, Qr, Qc, Qj, RtlPar, LtrPar,                          // paragraphs
    Plain, Bold, Italic, Underline, UnderlineNone, FontSize, Colour, Back, Hidden, // characters
    Line, Tab, Char,                                                    // text
};
// clang-format on

struct WordInfo {
    Word word;
    char16_t ch = 0; // for Word::Char
};

const std::unordered_map<std::string_view, WordInfo>& wordTable() {
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        // clang-format off
        std::unordered_map<std::string_view, WordInfo> t = {
            {"ansi", {Word::Ansi}}, {"ansicpg", {Word::AnsiCpg}}, {"mac", {Word::Mac}}, {"pc", {Word::Pc}},
            {"pca", {Word::Pca}}, {"deff", {Word::Deff}}, {"bin", {Word::Bin}}, {"uc", {Word::Uc}},
            {"u", {Word::U}}, {"fonttbl", {Word::FontTable}}, {"colortbl", {Word::ColourTable}},
            // Destinations whose text belongs to the document.
            {"fldrslt", {Word::TextDest}}, {"pntext", {Word::TextDest}}, {"listtext", {Word::TextDest}},
            {"f", {Word::Font}}, {"fcharset", {Word::FCharset}}, {"cpg", {Word::Cpg}},
            {"red", {Word::Red}}, {"green", {Word::Green}}, {"blue", {Word::Blue}}, {"par", {Word::Par}},
            {"sect", {Word::Par}}, {"row", {Word::Par}}, {"pard", {Word::Pard}}, {"ql", {Word::Ql}},
            {"qr", {Word::Qr}}, {"qc", {Word::Qc}}, {"qj", {Word::Qj}}, {"qd", {Word::Qj}},
            {"rtlpar", {Word::RtlPar}}, {"ltrpar", {Word::LtrPar}},
            {"plain", {Word::Plain}}, {"b", {Word::Bold}}, {"i", {Word::Italic}},
            {"ulnone", {Word::UnderlineNone}}, {"fs", {Word::FontSize}}, {"cf", {Word::Colour}},
            {"cb", {Word::Back}}, {"highlight", {Word::Back}}, {"chcbpat", {Word::Back}},
            {"v", {Word::Hidden}}, {"line", {Word::Line}}, {"tab", {Word::Tab}}, {"cell", {Word::Tab}},
            {"nestcell", {Word::Tab}}, {"emdash", {Word::Char, 0x2014}}, {"endash", {Word::Char, 0x2013}},
            {"lquote", {Word::Char, 0x2018}}, {"rquote", {Word::Char, 0x2019}},
            {"ldblquote", {Word::Char, 0x201C}}, {"rdblquote", {Word::Char, 0x201D}},
            {"bullet", {Word::Char, 0x2022}}, {"emspace", {Word::Char, 0x2003}},
            {"enspace", {Word::Char, 0x2002}}, {"qmspace", {Word::Char, 0x2005}},
            {"zwj", {Word::Char, 0x200D}}, {"zwnj", {Word::Char, 0x200C}}, {"zwbo", {Word::Char, 0x200B}},
            {"ltrmark", {Word::Char, 0x200E}}, {"rtlmark", {Word::Char, 0x200F}},
        };
        // clang-format on
        // Every underline style counts as underlined (\ulc, the underline colour, is not one).
        for (std::string_view ul :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd",
              "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(ul, WordInfo{Word::Underline});
        // Destinations without text for the reader; those marked \* are skipped anyway.
        // clang-format off
        for (std::string_view skip : {
                 "stylesheet", "info", "pict", "header", "headerl", "headerr", "headerf", "footer", "footerl",
                 "footerr", "footerf", "footnote", "annotation", "object", "objdata", "objclass", "shp",
                 "shpinst", "shppict", "nonshppict", "fldinst", "xmlnstbl", "listtable", "listoverridetable",
                 "rsidtbl", "generator", "themedata", "colorschememapping", "latentstyles", "datastore",
                 "filetbl", "revtbl", "pgdsctbl", "template", "bkmkstart", "bkmkend", "atnid", "atnauthor",
                 "atnref", "atndate", "atrfstart", "atrfend", "comment", "pn", "title", "subject", "author",
                 "operator", "keywords", "doccomm", "company", "userprops", "docvar", "ftnsep", "ftnsepc",
                 "aftnsep", "aftnsepc", "txe", "xe", "tc", "rxe", "pgptbl", "protusertbl", "wgrffmtfilter",
                 "passwordhash", "fchars", "lchars", "nextfile", "blipuid", "sp", "sn", "sv", "mmathPr", "falt",
                 "panose", "fname", "leveltext", "levelnumbers"})
            t.emplace(skip, WordInfo{Word::SkipDest});
        // clang-format on
        return t;
    }();
    return table;
}

// Character and paragraph state that groups save and restore.
struct State {
    Dest dest = Dest::Text;
    int font = -1; // -1: the document's default font
    int sizeHalfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
    int colour = 0; // colour table indexes, used when hasColour / hasBack
    int back = 0;
    bool hasColour = false;
    bool hasBack = false;
    Alignment alignment = Alignment::Left;
    bool rightToLeft = false;
    int fallbackCount = 1; // \uc
};

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's
};

constexpr int kMaxWordLength = 32;
constexpr long long kParamLimit = 1'000'000'000LL;
constexpr int kMaxFallbackCount = 16;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Replaces halves of surrogate pairs that have no partner, so the text is valid UTF-16.
QString withPairedSurrogates(QString text) {
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c.isHighSurrogate() && k + 1 < text.size() && text.at(k + 1).isLowSurrogate()) {
            ++k;
        } else if (c.isSurrogate()) {
            text[k] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

class Parser final {
  public:
    explicit Parser(QByteArrayView in) : m_in(in) {}

    Document run(qsizetype start) {
        m_pos = start;
        while (m_pos < m_in.size() && !m_done) {
            const char c = m_in[m_pos];
            if (c == '{') {
                ++m_pos;
                m_fallbackToSkip = 0;
                openGroup();
            } else if (c == '}') {
                ++m_pos;
                m_fallbackToSkip = 0;
                closeGroup();
            } else if (c == '\\') {
                ++m_pos;
                readControl();
            } else if (c == '\r' || c == '\n') {
                ++m_pos;
            } else {
                readText();
            }
        }
        if (m_state.dest == Dest::FontTable) commitFont();
        endParagraph(/*always=*/false);
        return normalized(std::move(m_doc));
    }

  private:
    // ---- groups

    void openGroup() {
        if (m_stack.size() >= static_cast<std::size_t>(kMaxGroupDepth)) {
            ++m_overflowDepth; // too deep: the inner groups share the state of the deepest one
            return;
        }
        m_stack.push_back(m_state);
    }

    void closeGroup() {
        if (m_overflowDepth > 0) {
            --m_overflowDepth;
            return;
        }
        if (m_state.dest == Dest::FontTable) commitFont();
        if (m_stack.empty()) return; // not reached: reading stops when the stack empties
        m_state = m_stack.back();
        m_stack.pop_back();
        // The document's own closing brace: what follows it is not part of the document.
        if (m_stack.empty()) m_done = true;
    }

    // ---- control words and symbols

    void readControl() {
        if (m_pos >= m_in.size()) return;
        const char c = m_in[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            readSymbol(c);
            return;
        }
        const qsizetype wordStart = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
            ++m_pos;
        const qsizetype wordLength = m_pos - wordStart;
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
            hasParam = true;
            param = std::min(param * 10 + (m_in[m_pos] - '0'), kParamLimit);
            ++m_pos;
        }
        if (negative) param = -param;
        if (m_pos < m_in.size() && m_in[m_pos] == ' ') ++m_pos;

        if (m_fallbackToSkip > 0) { // a control word can be part of a \u fallback
            --m_fallbackToSkip;
            if (!(wordLength == 3 && std::string_view(m_in.data() + wordStart, 3) == "bin")) return;
        }
        if (wordLength > kMaxWordLength) return;
        const auto& table = wordTable();
        const auto found = table.find(std::string_view(m_in.data() + wordStart, wordLength));
        if (found == table.end()) return;
        handleWord(found->second, hasParam, static_cast<int>(param));
    }

    void readSymbol(char c) {
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_in.size() && hexValue(m_in[m_pos]) >= 0) {
                value = value * 16 + hexValue(m_in[m_pos]);
                ++m_pos;
                ++digits;
            }
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                return;
            }
            if (digits == 0) return;
            const char byte = static_cast<char>(value);
            if (m_state.dest == Dest::FontTable) { // an escaped ';' is part of the name
                if (m_fontNumber >= 0) m_fontNameBytes += byte;
                return;
            }
            addBytes(QByteArrayView(&byte, 1));
            return;
        }
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            addBytes(QByteArrayView(&c, 1));
            break;
        case '~':
            addChars(QString(QChar(0x00A0)));
            break;
        case '-':
            addChars(QString(QChar(0x00AD)));
            break;
        case '_':
            addChars(QString(QChar(0x2011)));
            break;
        case '*':
            m_state.dest = Dest::Skip;
            break;
        case '\r':
        case '\n':
            if (m_state.dest == Dest::Text) endParagraph(true);
            break;
        default:
            break; // \: \| and unknown symbols carry nothing we show
        }
    }

    void handleWord(WordInfo info, bool hasParam, int param) {
        const bool on = !hasParam || param != 0;
        // Words that mean the same in every destination.
        switch (info.word) {
        case Word::Bin:
            skipBinary(hasParam ? param : 0);
            return;
        case Word::Uc:
            m_state.fallbackCount = std::clamp(param, 0, kMaxFallbackCount);
            return;
        case Word::U:
            if (hasParam) addUnicode(param);
            return;
        case Word::SkipDest:
            m_state.dest = Dest::Skip;
            return;
        case Word::Ansi:
            m_docCodePage = 1252;
            return;
        case Word::AnsiCpg:
            if (param > 0 && param < 65536) m_docCodePage = param;
            return;
        case Word::Mac:
            m_docCodePage = 10000;
            return;
        case Word::Pc:
            m_docCodePage = 437;
            return;
        case Word::Pca:
            m_docCodePage = 850;
            return;
        case Word::Deff:
            m_defaultFont = param;
            return;
        default:
            break;
        }

        switch (m_state.dest) {
        case Dest::Skip:
            return;
        case Dest::FontTable:
            handleFontTableWord(info.word, param);
            return;
        case Dest::ColourTable:
            if (info.word == Word::Red)
                m_red = std::clamp(param, 0, 255);
            else if (info.word == Word::Green)
                m_green = std::clamp(param, 0, 255);
            else if (info.word == Word::Blue)
                m_blue = std::clamp(param, 0, 255);
            else
                return;
            m_colourHasValue = true;
            return;
        case Dest::Text:
            break;
        }

        switch (info.word) {
        case Word::FontTable:
            m_state.dest = Dest::FontTable;
            m_fontNumber = -1;
            return;
        case Word::ColourTable:
            m_state.dest = Dest::ColourTable;
            m_colours.clear();
            return;
        case Word::Par:
            endParagraph(true);
            return;
        case Word::Pard:
            m_state.alignment = Alignment::Left;
            m_state.rightToLeft = false;
            return;
        case Word::RtlPar:
        case Word::LtrPar:
            m_state.rightToLeft = info.word == Word::RtlPar;
            return;
        case Word::Ql:
            m_state.alignment = Alignment::Left;
            return;
        case Word::Qr:
            m_state.alignment = Alignment::Right;
            return;
        case Word::Qc:
            m_state.alignment = Alignment::Centre;
            return;
        case Word::Qj:
            m_state.alignment = Alignment::Justify;
            return;
        case Word::Plain: {
            State plain;
            plain.dest = m_state.dest;
            plain.alignment = m_state.alignment;
            plain.rightToLeft = m_state.rightToLeft;
            plain.fallbackCount = m_state.fallbackCount;
            m_state = plain;
            return;
        }
        case Word::Font:
            m_state.font = param;
            return;
        case Word::Bold:
            m_state.bold = on;
            return;
        case Word::Italic:
            m_state.italic = on;
            return;
        case Word::Underline:
            m_state.underline = on;
            return;
        case Word::UnderlineNone:
            m_state.underline = false;
            return;
        case Word::Hidden:
            m_state.hidden = on;
            return;
        case Word::FontSize:
            // Word's limit is 1638 pt; nonsense sizes fall back to the default.
            m_state.sizeHalfPoints = (hasParam && param > 0) ? std::min(param, 3276) : 24;
            return;
        case Word::Colour:
            m_state.colour = param;
            m_state.hasColour = hasParam;
            return;
        case Word::Back:
            m_state.back = param;
            m_state.hasBack = hasParam;
            return;
        case Word::Line:
            addChars(QString(kLineBreak));
            return;
        case Word::Tab:
            addChars(QStringLiteral("\t"));
            return;
        case Word::Char:
            addChars(QString(QChar(info.ch)));
            return;
        case Word::TextDest:
        default:
            return;
        }
    }

    void handleFontTableWord(Word word, int param) {
        switch (word) {
        case Word::Font:
            commitFont();
            m_fontNumber = param;
            m_fontCodePage = 0;
            return;
        case Word::FCharset:
            m_fontCodePage = codePageForCharset(param);
            return;
        case Word::Cpg:
            if (param > 0 && param < 65536) m_fontCodePage = param;
            return;
        default:
            return;
        }
    }

    void skipBinary(int count) {
        if (count <= 0) return;
        m_pos += std::min<qsizetype>(count, m_in.size() - m_pos);
    }

    // ---- text

    void readText() {
        const qsizetype start = m_pos;
        while (m_pos < m_in.size()) {
            const char c = m_in[m_pos];
            if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n') break;
            ++m_pos;
        }
        QByteArrayView text = m_in.sliced(start, m_pos - start);
        const qsizetype skipped = std::min<qsizetype>(m_fallbackToSkip, text.size());
        m_fallbackToSkip -= static_cast<int>(skipped);
        addBytes(text.sliced(skipped));
    }

    int currentCodePage() const {
        const int number = m_state.font >= 0 ? m_state.font : m_defaultFont;
        const auto found = m_fonts.find(number);
        if (found != m_fonts.end() && found->second.codePage != 0) return found->second.codePage;
        return m_docCodePage;
    }

    void addBytes(QByteArrayView bytes) {
        if (bytes.isEmpty()) return;
        switch (m_state.dest) {
        case Dest::Skip:
            return;
        case Dest::ColourTable:
            for (char c : bytes)
                if (c == ';') commitColour();
            return;
        case Dest::FontTable:
            for (char c : bytes) {
                if (m_fontNumber < 0) continue;
                if (c == ';')
                    commitFont();
                else
                    m_fontNameBytes += c;
            }
            return;
        case Dest::Text:
            break;
        }
        if (m_state.hidden) return;
        QByteArray kept;
        kept.reserve(bytes.size());
        for (char c : bytes) { // raw control characters are not text; a raw tab is
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') kept += c;
        }
        if (kept.isEmpty()) return;
        prepareRun();
        const int codePage = currentCodePage();
        if (!m_pendingBytes.isEmpty() && codePage != m_pendingCodePage) flushBytes();
        m_pendingCodePage = codePage;
        m_pendingBytes += kept;
    }

    void addChars(const QString& chars) {
        if (m_state.dest == Dest::FontTable) {
            if (m_fontNumber < 0) return;
            m_fontName += decodeFontBytes();
            m_fontName += chars;
            return;
        }
        if (m_state.dest != Dest::Text || m_state.hidden) return;
        prepareRun();
        flushBytes();
        m_runText += chars;
    }

    void addUnicode(int value) {
        m_fallbackToSkip = 0;
        if (value < 0) value += 65536;
        const QChar c = (value >= 0 && value <= 0xFFFF) ? QChar(static_cast<char16_t>(value))
                                                        : QChar(QChar::ReplacementCharacter);
        addChars(QString(c));
        m_fallbackToSkip = m_state.fallbackCount;
    }

    CharFormat currentFormat() const {
        CharFormat format;
        const int number = m_state.font >= 0 ? m_state.font : m_defaultFont;
        const auto font = m_fonts.find(number);
        if (font != m_fonts.end()) format.fontFamily = font->second.name;
        format.sizePt = m_state.sizeHalfPoints / 2.0;
        format.bold = m_state.bold;
        format.italic = m_state.italic;
        format.underline = m_state.underline;
        if (m_state.hasColour) format.colour = colourAt(m_state.colour);
        if (m_state.hasBack) format.backColour = colourAt(m_state.back);
        return format;
    }

    std::optional<Colour> colourAt(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= m_colours.size()) return std::nullopt;
        return m_colours[static_cast<std::size_t>(index)];
    }

    // Starts a new run when the format has changed since the text gathered so far.
    void prepareRun() {
        CharFormat format = currentFormat();
        if (format == m_runFormat) return;
        flushRun();
        m_runFormat = std::move(format);
    }

    void flushBytes() {
        if (m_pendingBytes.isEmpty()) return;
        m_runText += m_decoder.decode(m_pendingBytes, m_pendingCodePage);
        m_pendingBytes.clear();
    }

    void flushRun() {
        flushBytes();
        if (m_runText.isEmpty()) return;
        m_paragraph.runs.push_back(Run{withPairedSurrogates(std::move(m_runText)), m_runFormat});
        m_runText.clear();
    }

    // `always` is false at the end of the document: a last paragraph without \par is kept only
    // when it has text.
    void endParagraph(bool always) {
        flushRun();
        if (!always && m_paragraph.runs.empty()) return;
        m_paragraph.alignment = m_state.alignment;
        m_paragraph.rightToLeft = m_state.rightToLeft;
        m_doc.paragraphs.push_back(std::move(m_paragraph));
        m_paragraph = Paragraph{};
    }

    // ---- tables

    QString decodeFontBytes() {
        QString out = m_decoder.decode(m_fontNameBytes, m_fontCodePage != 0 ? m_fontCodePage : m_docCodePage);
        m_fontNameBytes.clear();
        return out;
    }

    void commitFont() {
        if (m_fontNumber < 0) return;
        m_fontName += decodeFontBytes();
        m_fonts[m_fontNumber] = FontEntry{withPairedSurrogates(m_fontName.trimmed()), m_fontCodePage};
        m_fontName.clear();
        m_fontNumber = -1;
    }

    void commitColour() {
        m_colours.push_back(m_colourHasValue ? std::optional<Colour>(Colour{static_cast<quint8>(m_red),
                                                                            static_cast<quint8>(m_green),
                                                                            static_cast<quint8>(m_blue)})
                                             : std::nullopt);
        m_red = m_green = m_blue = 0;
        m_colourHasValue = false;
    }

    QByteArrayView m_in;
    qsizetype m_pos = 0;
    bool m_done = false;

    State m_state;
    std::vector<State> m_stack;
    int m_overflowDepth = 0;
    int m_fallbackToSkip = 0;

    int m_docCodePage = 1252;
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    std::vector<std::optional<Colour>> m_colours;

    int m_fontNumber = -1; // entry being read in the font table
    int m_fontCodePage = 0;
    QByteArray m_fontNameBytes;
    QString m_fontName;

    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colourHasValue = false;

    CodePageDecoder m_decoder;
    Document m_doc;
    Paragraph m_paragraph;
    CharFormat m_runFormat;
    QString m_runText;
    QByteArray m_pendingBytes;
    int m_pendingCodePage = 1252;
};

// Position of the document's opening brace, or -1 when the bytes are not RTF.
qsizetype rtfStart(QByteArrayView bytes) {
    qsizetype pos = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) pos = 3;
    while (pos < bytes.size() &&
           (bytes[pos] == ' ' || bytes[pos] == '\t' || bytes[pos] == '\r' || bytes[pos] == '\n'))
        ++pos;
    return bytes.sliced(pos).startsWith("{\\rtf") ? pos : -1;
}

} // namespace

std::optional<Document> readRtf(QByteArrayView bytes) {
    const qsizetype start = rtfStart(bytes);
    if (start < 0) return std::nullopt;
    return Parser(bytes).run(start);
}

} // namespace lumora::common::rtf
