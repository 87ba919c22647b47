#include "formats/rtf_reader.h"

#include "formats/text_decoding.h"

#include <QByteArray>

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace quor {

namespace {

// Destinations whose content is no part of the text.
constexpr std::string_view skippedDestinations[] = {
    "author",     "buptim",      "colorschememapping", "colortbl", "comment",    "company",
    "creatim",    "datastore",   "doccomm",            "falt",     "filetbl",    "fldinst",
    "footer",     "footerf",     "footerl",            "footerr",  "footnote",   "generator",
    "header",     "headerf",     "headerl",            "headerr",  "info",       "keywords",
    "latentstyles", "listoverridetable", "listtable", "nonshppict", "object",   "operator",
    "pgdsctbl",   "pict",        "printim",            "revtbl",   "revtim",     "rsidtbl",
    "stylesheet", "subject",     "themedata",          "title",
};

bool isSkippedDestination(std::string_view word)
{
    return std::find(std::begin(skippedDestinations), std::end(skippedDestinations), word)
        != std::end(skippedDestinations);
}

// Symbols spelled as control words.
char16_t symbolOf(std::string_view word)
{
    struct Symbol { std::string_view word; char16_t ch; };
    static constexpr Symbol symbols[] = {
        {"emdash", 0x2014}, {"endash", 0x2013},   {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019}, {"ldblquote", 0x201c}, {"rdblquote", 0x201d}, {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200d},       {"zwnj", 0x200c},
        {"ltrmark", 0x200e}, {"rtlmark", 0x200f},
    };
    for (const Symbol &s : symbols)
        if (s.word == word)
            return s.ch;
    return 0;
}

// The code page of a font's \fcharset; 0 for the document's own.
int charsetCodePage(int charset)
{
    switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 0;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

enum class Destination { Text, FontTable, Skipped };

struct Group
{
    Destination destination = Destination::Text;
    int unicodeSkip = 1; // \ucN
    int font = -1;
};

class RtfReader
{
public:
    explicit RtfReader(QByteArrayView bytes) : m_in(bytes) {}

    QString read()
    {
        m_groups.push_back({});
        m_pos = 1; // past the opening brace of the document
        while (m_pos < m_in.size() && !m_finished) {
            const char c = m_in[m_pos++];
            switch (c) {
            case '{': openGroup(); break;
            case '}': closeGroup(); break;
            case '\\': controlWord(); break;
            case '\r':
            case '\n': break; // line breaks of the file itself are no text
            default: textByte(c); break;
            }
        }
        flush();
        return finish();
    }

private:
    // Deeper groups than this share their parent's state: a hostile file
    // of braces must not take memory for each of them.
    static constexpr std::size_t MaxDepth = 4096;
    static constexpr std::size_t MaxFonts = 4096;

    Group &group() { return m_groups.back(); }
    bool inText() { return group().destination == Destination::Text; }

    void openGroup()
    {
        flush();
        m_skip = 0;
        if (m_groups.size() < MaxDepth)
            m_groups.push_back(group());
        else
            ++m_overflow;
    }

    void closeGroup()
    {
        flush();
        m_skip = 0;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_groups.size() == 1) {
            m_finished = true; // the document's own group ends it
            return;
        }
        m_groups.pop_back();
    }

    // A byte of text: \uN's fallback, or text in the current code page.
    void textByte(char c)
    {
        if (!inText())
            return;
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        const int page = codePage();
        if (page != m_pendingPage)
            flush();
        m_pendingPage = page;
        m_pending += c;
    }

    int codePage()
    {
        const auto f = m_fonts.find(group().font);
        return f != m_fonts.end() && f->second != 0 ? f->second : m_ansiCodePage;
    }

    void flush()
    {
        if (m_pending.isEmpty())
            return;
        m_out += m_decoder.decode(m_pending, m_pendingPage);
        m_pending.clear();
    }

    void put(char16_t ch)
    {
        if (!inText())
            return;
        flush();
        m_out += QChar(ch);
    }

    void controlWord()
    {
        if (m_pos >= m_in.size())
            return;
        const char first = m_in[m_pos];
        if (!isLetter(first)) {
            ++m_pos;
            controlSymbol(first);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
            ++m_pos;
        const std::string_view word(m_in.data() + start, std::size_t(m_pos - start));

        bool hasParam = false;
        std::int64_t param = 0;
        bool negative = false;
        if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
            hasParam = true;
            // Past any meaningful size the digits are read but not counted.
            if (param < 100'000'000'000)
                param = param * 10 + (m_in[m_pos] - '0');
            ++m_pos;
        }
        if (negative)
            param = -param;
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos;

        if (word == "bin") {
            // Binary data is never text, wherever it stands.
            const std::int64_t left = m_in.size() - m_pos;
            m_pos += qsizetype(std::clamp<std::int64_t>(param, 0, left));
            return;
        }
        if (m_skip > 0 && word != "u") {
            --m_skip;
            return;
        }
        const int value = int(std::clamp<std::int64_t>(param, INT32_MIN, INT32_MAX));
        applyWord(word, hasParam, value);
    }

    void applyWord(std::string_view word, bool hasParam, int value)
    {
        Group &g = group();
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row") {
            put(u'\n');
        } else if (word == "tab" || word == "cell") {
            put(u'\t');
        } else if (word == "u") {
            if (!inText())
                return;
            // Signed 16-bit: values past 32767 come negative.
            const auto unit = char16_t(std::uint32_t(value) & 0xffff);
            if (unit != 0)
                put(unit);
            m_skip = g.unicodeSkip;
        } else if (word == "uc") {
            g.unicodeSkip = std::clamp(value, 0, 1000);
        } else if (word == "ansicpg") {
            if (hasParam && value > 0)
                m_ansiCodePage = value;
        } else if (word == "f") {
            if (g.destination == Destination::FontTable)
                m_tableFont = value;
            else
                g.font = value;
        } else if (word == "deff") {
            if (m_groups.size() == 1)
                g.font = value;
        } else if (word == "fcharset") {
            if (g.destination == Destination::FontTable)
                setFontCodePage(charsetCodePage(value));
        } else if (word == "cpg") {
            if (g.destination == Destination::FontTable && value > 0)
                setFontCodePage(value);
        } else if (word == "fonttbl") {
            if (g.destination == Destination::Text)
                g.destination = Destination::FontTable;
        } else if (isSkippedDestination(word)) {
            g.destination = Destination::Skipped;
        } else if (const char16_t ch = symbolOf(word)) {
            put(ch);
        }
    }

    void setFontCodePage(int page)
    {
        // A real document has a few dozen fonts; a table of millions is an
        // attack on memory, and its later fonts read in the document's page.
        if (m_fonts.size() < MaxFonts || m_fonts.count(m_tableFont))
            m_fonts[m_tableFont] = page;
    }

    void controlSymbol(char c)
    {
        if (c == '\'') {
            int value = 0, digits = 0;
            while (digits < 2 && m_pos < m_in.size() && hexValue(m_in[m_pos]) >= 0) {
                value = value * 16 + hexValue(m_in[m_pos++]);
                ++digits;
            }
            if (digits > 0)
                textByte(char(value));
            return;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}': textByte(c); break;
        case '~': put(0x00a0); break;
        case '_': put(0x2011); break;
        case '*': group().destination = Destination::Skipped; break;
        case '\r':
        case '\n': put(u'\n'); break; // an escaped line break is a paragraph
        default: break;                // "\-", "\|", "\:" and unknown symbols
        }
    }

    // Halves of surrogate pairs that lost their partner become U+FFFD, and
    // NULs go: the text ends up in a text box.
    QString finish()
    {
        QString text;
        text.reserve(m_out.size());
        for (qsizetype i = 0; i < m_out.size(); ++i) {
            const QChar c = m_out[i];
            if (c.isHighSurrogate() && i + 1 < m_out.size() && m_out[i + 1].isLowSurrogate()) {
                text += c;
                text += m_out[++i];
            } else if (c.isSurrogate()) {
                text += QChar(0xfffd);
            } else if (c.unicode() != 0) {
                text += c;
            }
        }
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        return text;
    }

    QByteArrayView m_in;
    qsizetype m_pos = 0;
    bool m_finished = false;
    std::vector<Group> m_groups;
    std::size_t m_overflow = 0;
    int m_skip = 0; // fallback characters of the last \uN still to skip
    int m_ansiCodePage = 1252;
    std::map<int, int> m_fonts; // font number to code page (0: the document's)
    int m_tableFont = -1;
    CodePageDecoder m_decoder;
    QByteArray m_pending;
    int m_pendingPage = 1252;
    QString m_out;
};

} // namespace

bool startsAsRtf(QByteArrayView bytes)
{
    return bytes.startsWith("{\\rtf");
}

QString rtfPlainText(QByteArrayView bytes)
{
    if (!startsAsRtf(bytes))
        throw QuorError(err::InvalidFileFormat, QStringLiteral("文件格式无效：不是 RTF 文档。"));
    return RtfReader(bytes).read();
}

} // namespace quor
