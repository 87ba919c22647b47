#include "formats/text_decoding.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <iconv.h>

namespace quor {

namespace {

constexpr char16_t Replacement = 0xfffd;
const auto NoConverter = reinterpret_cast<iconv_t>(-1);

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

// Bytes through an open converter into UTF-16. What the converter cannot
// read becomes U+FFFD and reading goes on with the next byte, so damaged
// text still gives everything around the damage.
QString convert(iconv_t cd, QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    std::vector<char> buffer(8192);
    auto take = [&](const char *end) {
        const auto units = std::size_t(end - buffer.data()) / 2;
        const qsizetype at = out.size();
        out.resize(at + qsizetype(units));
        qFromLittleEndian<char16_t>(buffer.data(), qsizetype(units), out.data() + at);
    };
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    while (inLeft > 0) {
        char *o = buffer.data();
        std::size_t oLeft = buffer.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        take(o);
        if (r != std::size_t(-1))
            continue;
        if (errno == E2BIG)
            continue; // the buffer is always large enough for one character
        out += QChar(Replacement);
        if (errno != EILSEQ)
            break; // a sequence cut off at the end, or a converter fault
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char *o = buffer.data();
    std::size_t oLeft = buffer.size();
    iconv(cd, nullptr, nullptr, &o, &oLeft); // whatever a stateful code page holds back
    take(o);
    return out;
}

} // namespace

QByteArray codePageName(int codePage)
{
    switch (codePage) {
    case 65001: return "UTF-8";
    case 54936: return "GB18030";
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 20936: return "GB2312";
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28599)
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    if (codePage > 0 && codePage < 20000)
        return "CP" + QByteArray::number(codePage);
    return {};
}

CodePageDecoder::~CodePageDecoder()
{
    for (auto &[page, cd] : m_converters)
        if (cd)
            iconv_close(static_cast<iconv_t>(cd));
}

void *CodePageDecoder::converter(int codePage)
{
    const auto found = m_converters.find(codePage);
    if (found != m_converters.end())
        return found->second;
    void *result = nullptr;
    const QByteArray name = codePageName(codePage);
    if (!name.isEmpty()) {
        const iconv_t cd = iconv_open("UTF-16LE", name.constData());
        if (cd != NoConverter)
            result = cd;
    }
    m_converters[codePage] = result;
    return result;
}

QString CodePageDecoder::decode(QByteArrayView bytes, int codePage)
{
    if (bytes.isEmpty())
        return {};
    if (codePage != 65001 && isAscii(bytes))
        return QString::fromLatin1(bytes);
    void *cd = converter(codePage);
    if (!cd && codePage != 1252)
        cd = converter(1252);
    if (!cd)
        return QString::fromLatin1(bytes); // no converters installed at all
    return convert(static_cast<iconv_t>(cd), bytes);
}

QString unifyLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString decodeTextFile(QByteArrayView bytes)
{
    auto withDecoder = [](QStringConverter::Encoding encoding, QByteArrayView data) {
        QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
        return unifyLineBreaks(decoder(data));
    };
    if (bytes.startsWith("\xef\xbb\xbf"))
        return withDecoder(QStringConverter::Utf8, bytes.sliced(3));
    if (bytes.startsWith("\xff\xfe"))
        return withDecoder(QStringConverter::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xfe\xff"))
        return withDecoder(QStringConverter::Utf16BE, bytes.sliced(2));

    // Text in a byte code never holds a zero byte; UTF-16 without a mark
    // holds one in every Latin letter, digit, blank and line break, all at
    // even places (big-endian) or all at odd ones (little-endian).
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == 0)
            ++(i % 2 ? oddZeros : evenZeros);
    if (oddZeros > 0 && evenZeros * 4 <= oddZeros)
        return withDecoder(QStringConverter::Utf16LE, bytes);
    if (evenZeros > 0 && oddZeros * 4 <= evenZeros)
        return withDecoder(QStringConverter::Utf16BE, bytes);

    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return unifyLineBreaks(text);
    CodePageDecoder legacy;
    return unifyLineBreaks(legacy.decode(bytes, 54936));
}

} // namespace quor
