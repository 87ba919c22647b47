// Text files for the text tool: Unicode with and without byte-order marks,
// the legacy Chinese code pages, and the reader the dialog's filter picks.
#include "formats/rtf_reader.h"
#include "formats/text_decoding.h"
#include "formats/text_file.h"
#include "formats/whole_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace quor;

namespace {

QByteArray bytes(const char *s) { return QByteArray(s); }

const QString chinese = QStringLiteral("中文你好");

} // namespace

TEST(TextDecoding, UnicodeFilesWithAndWithoutByteOrderMark)
{
    EXPECT_EQ(decodeTextFile(chinese.toUtf8()), chinese);
    EXPECT_EQ(decodeTextFile("\xef\xbb\xbf" + chinese.toUtf8()), chinese);

    QByteArray le("\xff\xfe"), be("\xfe\xff");
    for (QChar c : chinese) {
        le += char(c.unicode() & 0xff);
        le += char(c.unicode() >> 8);
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xff);
    }
    EXPECT_EQ(decodeTextFile(le), chinese);
    EXPECT_EQ(decodeTextFile(be), chinese);
    // A pair of UTF-16 units outside the basic plane stays one character.
    EXPECT_EQ(decodeTextFile(QByteArray("\xff\xfe\x3d\xd8\x00\xde", 6)), QString::fromUtf8("😀"));

    // Without a mark: the zero bytes of its blanks, breaks and Latin letters
    // tell the byte order.
    const QString mixed = QStringLiteral("中文 text\n第二行");
    QByteArray bareLe(reinterpret_cast<const char *>(mixed.utf16()), mixed.size() * 2);
    QByteArray bareBe;
    for (QChar c : mixed)
        bareBe.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
    EXPECT_EQ(decodeTextFile(bareLe), mixed);
    EXPECT_EQ(decodeTextFile(bareBe), mixed);
}

TEST(TextDecoding, TextThatIsNotUtf8ReadsAsGb18030)
{
    // GB2312 / GBK double bytes, and GB18030's own four-byte forms.
    EXPECT_EQ(decodeTextFile(bytes("\xd6\xd0\xce\xc4\xc4\xe3\xba\xc3")), chinese);
    EXPECT_EQ(decodeTextFile(bytes("abc \xd6\xd0 \x81\x30\x84\x36 \x94\x39\xfc\x36")),
              QString::fromUtf8("abc 中 ¥ 😀"));
    // A damaged byte costs one replacement character, not the rest.
    EXPECT_EQ(decodeTextFile(bytes("\xd6\xd0\xff\xce\xc4")), QString::fromUtf8("中\uFFFD文"));
    // Cut off in the middle of a character at the end.
    EXPECT_EQ(decodeTextFile(bytes("\xd6\xd0\xce")), QString::fromUtf8("中\uFFFD"));
}

TEST(TextDecoding, LineBreaksOfEveryConventionComeOutAsNewlines)
{
    EXPECT_EQ(decodeTextFile("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(decodeTextFile(bytes("\xd6\xd0\r\n\xce\xc4")), QString::fromUtf8("中\n文"));
}

TEST(TextDecoding, CodePages)
{
    CodePageDecoder d;
    EXPECT_EQ(d.decode("\xe9\x93\x94", 1252), QString::fromUtf8("é“”"));
    EXPECT_EQ(d.decode("\xd6\xd0\x80", 936), QString::fromUtf8("中€"));
    EXPECT_EQ(d.decode("\xa4\xa4", 950), QString::fromUtf8("中"));
    EXPECT_EQ(d.decode("\xe4\xb8\xad", 65001), QString::fromUtf8("中"));
    // A code page nobody knows reads as 1252.
    EXPECT_EQ(d.decode("\xe9", 4711), QString::fromUtf8("é"));
    EXPECT_EQ(d.decode("\xe9", -3), QString::fromUtf8("é"));
    EXPECT_EQ(d.decode("", 936), QString());
}

class TextFiles : public ::testing::Test
{
protected:
    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
    int errorOf(const QString &path, TextFileKind kind)
    {
        try {
            readTextFile(path, kind);
        } catch (const QuorError &e) {
            return e.number;
        }
        return 0;
    }
    QTemporaryDir dir;
};

TEST_F(TextFiles, TheFilterEntryPicksTheReaderNotTheName)
{
    EXPECT_EQ(textKindForFilter(1), TextFileKind::Plain);
    EXPECT_EQ(textKindForFilter(2), TextFileKind::Rich);
    EXPECT_EQ(textKindForFilter(3), TextFileKind::ByContent);
    EXPECT_EQ(textFileFilter(), "TXT(*.TXT)|*.TXT|RTF(*.RTF)|*.RTF|所有文件(*.*)|*.*");

    const QString rtf = write("story.txt", "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\par}");
    EXPECT_EQ(readTextFile(rtf, TextFileKind::Plain), "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\par}");
    EXPECT_EQ(readTextFile(rtf, TextFileKind::Rich), "中");
    EXPECT_EQ(readTextFile(rtf, TextFileKind::ByContent), "中");

    const QString plain = write("story.rtf", "\xd6\xd0\xce\xc4");
    EXPECT_EQ(readTextFile(plain, TextFileKind::ByContent), "中文");
    EXPECT_EQ(readTextFile(plain, TextFileKind::Plain), "中文");
    EXPECT_EQ(errorOf(plain, TextFileKind::Rich), err::InvalidFileFormat);
}

TEST_F(TextFiles, FilesThatCannotBeReadAreRefused)
{
    EXPECT_EQ(errorOf(dir.filePath("missing.txt"), TextFileKind::Plain), err::FileNotFound);
    EXPECT_EQ(errorOf(dir.path(), TextFileKind::ByContent), err::NotARegularFile);

    // Larger than the limit says, whatever its content (a sparse file).
    const QString big = write("big.txt", "x");
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), MaxTextFileBytes + 1), 0);
    EXPECT_EQ(errorOf(big, TextFileKind::Plain), err::OutOfMemory);
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), MaxTextFileBytes), 0);
    EXPECT_EQ(readTextFile(big, TextFileKind::Plain).size(), MaxTextFileBytes);
}
