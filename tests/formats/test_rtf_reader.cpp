// The rich-text reader on documents written the way word processors write
// them, and on bytes no word processor would write.
#include "formats/rtf_reader.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace quor;

namespace {

QString text(const char *rtf) { return rtfPlainText(QByteArray(rtf)); }

} // namespace

TEST(RtfReader, ChineseDocumentInCodePage936)
{
    // As a Chinese word processor saves it: the font name and the text in
    // \'hh escapes of the GBK code page.
    const char *doc =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
        "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang2052 \\'d6\\'d0\\'ce\\'c4\\par\r\n"
        "\\'c4\\'e3\\'ba\\'c3, world\\par\r\n}\r\n";
    EXPECT_EQ(text(doc), QString::fromUtf8("中文\n你好, world"));

    // The code page alone decides when the font names no character set,
    // and bytes may also stand raw in the text.
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                   "\\f0 \\'d6\\'d0\xce\xc4}"),
              QString::fromUtf8("中文"));
}

TEST(RtfReader, FontCharacterSetsChooseTheCodePage)
{
    // A Western document with a Chinese font: its bytes are GBK, the
    // others 1252.
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times;}"
                   "{\\f1\\fnil\\fcharset134 SimSun;}}"
                   "caf\\'e9 {\\f1 \\'d6\\'d0\\'ce\\'c4} \\'93ok\\'94}"),
              QString::fromUtf8("café 中文 “ok”"));
    // Without \ansicpg the document is 1252.
    EXPECT_EQ(text("{\\rtf1\\ansi \\'e9\\'e8}"), QString::fromUtf8("éè"));
}

TEST(RtfReader, UnicodeCharactersAndTheirFallbacks)
{
    // \uc1 with a "?" fallback; values past 32767 come negative; a
    // character outside the basic plane as two surrogate halves.
    EXPECT_EQ(text("{\\rtf1\\ansi\\uc1 \\u20013?\\u25991?\\u-25896?\\u-10179?\\u-8704?}"),
              QString::fromUtf8("中文高😀"));
    // \uc2 skips two \'hh bytes of the code-page form; the count is the
    // group's, and the outer group keeps its own.
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg936{\\uc2\\u20013\\'d6\\'d0}\\u25991?x}"),
              QString::fromUtf8("中文x"));
    // \uc0: nothing to skip.
    EXPECT_EQ(text("{\\rtf1{\\uc0\\u20013\\u25991 x}}"), QString::fromUtf8("中文x"));
    // A fallback cut short by the group's end skips no further.
    EXPECT_EQ(text("{\\rtf1\\uc3{\\u20013}ab}"), QString::fromUtf8("中ab"));
}

TEST(RtfReader, TablesAndDestinationsAreNoText)
{
    const char *doc =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Helvetica;}{\\f1 Courier;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\stylesheet{\\s0 Normal;}{\\s1\\b heading 1;}}"
        "{\\info{\\title Secret title}{\\author Someone}{\\creatim\\yr2024\\mo1}}"
        "{\\*\\generator Some Writer;}{\\*\\listtable{\\list{\\listlevel x}}}"
        "\\pard\\plain\\cf1 Red {\\*\\bkmkstart here}text"
        "{\\pict\\pngblip\\picw10\\pich10 89504e470d0a1a0a}"
        "{\\*\\shppict{\\pict\\bin6 {}}\\x}}}"
        " {\\field{\\*\\fldinst HYPERLINK \"https://example.com\"}{\\fldrslt link}}"
        "{\\header page header}"
        " after\\par}";
    EXPECT_EQ(text(doc), "Red text link after");
}

TEST(RtfReader, GroupsControlWordsAndSymbols)
{
    EXPECT_EQ(text("{\\rtf1 plain {\\b bold {\\i both} bold} plain}"), "plain bold both bold plain");
    EXPECT_EQ(text("{\\rtf1 a\\tab b\\line c\\par d\\cell e\\row}"), "a\tb\nc\nd\te");
    EXPECT_EQ(text("{\\rtf1 \\{x\\} \\\\ a\\~b \\emdash\\endash\\bullet\\lquote\\rquote"
                   "\\ldblquote\\rdblquote co\\-op}"),
              QString::fromUtf8("{x} \\ a\u00a0b —–•‘’“”coop"));
    // A parameter and the one blank that ends a control word are no text;
    // a second blank is.
    EXPECT_EQ(text("{\\rtf1\\fs24  two\\b0\\fs-5 x}"), " twox");
    // Line breaks of the file are no text; an escaped one is a paragraph.
    EXPECT_EQ(text("{\\rtf1 a\r\nb\\\nc}"), "ab\nc");
    // Only the break that closes the last paragraph goes.
    EXPECT_EQ(text("{\\rtf1 a\\par\\par}"), "a\n");
    // The document ends with its group; what follows is not read.
    EXPECT_EQ(text("{\\rtf1 a} b"), "a");
}

TEST(RtfReader, OnlyRichTextIsRead)
{
    EXPECT_TRUE(startsAsRtf("{\\rtf1}"));
    EXPECT_FALSE(startsAsRtf(" {\\rtf1}"));
    EXPECT_FALSE(startsAsRtf("plain text"));
    try {
        text("plain text");
        FAIL() << "plain text read as rich text";
    } catch (const QuorError &e) {
        EXPECT_EQ(e.number, err::InvalidFileFormat);
    }
}

TEST(RtfReader, HostileBytesGiveTextQuickly)
{
    // Cut off anywhere.
    for (const char *cut : {"{\\rtf", "{\\rtf1 \\", "{\\rtf1 \\'", "{\\rtf1 \\'4", "{\\rtf1 \\u",
                            "{\\rtf1 \\u-", "{\\rtf1 {{{", "{\\rtf1 \\bin", "{\\rtf1 }}}}"})
        EXPECT_NO_THROW(text(cut)) << cut;
    EXPECT_EQ(text("{\\rtf1 \\'4"), "\x04");
    EXPECT_EQ(text("{\\rtf1 \\'zz}"), "zz");
    // Numbers past any range, \bin longer than the file, a \u past 16 bits.
    EXPECT_EQ(text("{\\rtf1 a\\uc99999999999999999999 \\u65 xyz}"), "aA");
    EXPECT_EQ(text("{\\rtf1 a\\bin99999999999999 b}"), "a");
    EXPECT_EQ(text("{\\rtf1 a\\bin-5 b}"), "ab");
    EXPECT_EQ(text("{\\rtf1 \\u131137?}"), "A");
    EXPECT_EQ(text("{\\rtf1 \\u0?x}"), "x");
    // A lone surrogate half cannot reach the text box.
    EXPECT_EQ(text("{\\rtf1 \\u-10179?x}"), QString::fromUtf8("\uFFFDx"));

    // Deep nesting and a long control word take neither the stack nor
    // quadratic time.
    QElapsedTimer clock;
    clock.start();
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(2'000'000, '{') + "deep" + QByteArray(2'000'000, '}') + " out}";
    EXPECT_EQ(rtfPlainText(deep), "deep out");
    QByteArray word = "{\\rtf1 \\" + QByteArray(3'000'000, 'a') + " x}";
    EXPECT_EQ(rtfPlainText(word), "x");
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 200'000; ++i)
        fonts += "\\f" + QByteArray::number(i) + "\\fcharset134 ";
    fonts += "}\\f3 \\'d6\\'d0}";
    EXPECT_EQ(rtfPlainText(fonts), QString::fromUtf8("中"));
    EXPECT_LT(clock.elapsed(), 5000);
}
