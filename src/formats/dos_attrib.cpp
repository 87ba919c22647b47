#include "formats/dos_attrib.h"

namespace quor {

namespace {

// Versions 3 to 5 say which fields hold something; this one is the
// attribute field.
constexpr std::uint32_t AttribValid = 0x1;

qsizetype alignUp(qsizetype offset, qsizetype to) { return (offset + to - 1) / to * to; }

std::uint32_t readLe(const QByteArray &b, qsizetype at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | std::uint8_t(b[at + i]);
    return v;
}

void writeLe(QByteArray &b, qsizetype at, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = char(v >> (8 * i) & 0xff);
}

// Fixed size of each version's record (version 2 ends in a name of at
// least its zero byte).
qsizetype recordSize(int version)
{
    switch (version) {
    case 1: return 40; // attrib, ea_size, size, alloc_size, create, change
    case 2: return 53; // flags, attrib, ea_size, sizes, three times, name
    case 3: return 44; // valid flags, attrib, ea_size, sizes, create, change
    case 4: return 24; // valid flags, attrib, itime, create
    case 5: return 16; // valid flags, attrib, create
    }
    return -1;
}

std::optional<std::uint32_t> parseHex(QByteArrayView text)
{
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    std::uint64_t v = 0;
    for (char c : text.sliced(2)) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        v = v << 4 | std::uint64_t(digit);
        if (v > 0xffffffffu)
            return std::nullopt;
    }
    return std::uint32_t(v);
}

// Where the pieces of a value lie.
struct Layout
{
    std::uint32_t attributes = 0;
    int version = 0;        // 0: the text form
    qsizetype leadLength = 0; // the leading text, without its zero byte
    qsizetype record = 0;   // start of the binary record
};

// Offsets follow the record encoding Samba uses: the leading text with its
// zero byte, the version (2-byte aligned) twice, once as the record's
// selector, then the record 4-byte aligned, all little-endian.
std::optional<Layout> layoutOf(const QByteArray &v)
{
    const qsizetype zero = v.indexOf('\0');
    if (zero < 0 || zero + 1 >= v.size()) {
        const qsizetype textEnd = zero < 0 ? v.size() : zero;
        const auto bits = parseHex(QByteArrayView(v).first(textEnd));
        if (!bits)
            return std::nullopt;
        return Layout{*bits, 0, textEnd, 0};
    }
    const qsizetype at = alignUp(zero + 1, 2);
    if (at + 4 > v.size())
        return std::nullopt;
    const int version = int(readLe(v, at, 2));
    if (version != int(readLe(v, at + 2, 2)) || recordSize(version) < 0)
        return std::nullopt;
    const qsizetype record = alignUp(at + 4, 4);
    if (record + recordSize(version) > v.size())
        return std::nullopt;
    if (version == 2 && v.indexOf('\0', record + 52) < 0)
        return std::nullopt;

    Layout l{0, version, zero, record};
    if (version == 1) {
        l.attributes = readLe(v, record, 4);
    } else {
        const bool valid = version == 2 || (readLe(v, record, 4) & AttribValid);
        l.attributes = valid ? readLe(v, record + 4, 4) : 0;
    }
    return l;
}

} // namespace

std::optional<std::uint32_t> parseDosAttrib(const QByteArray &value)
{
    const auto l = layoutOf(value);
    if (!l)
        return std::nullopt;
    return l->attributes;
}

QByteArray dosAttribText(std::uint32_t attributes)
{
    QByteArray text = "0x" + QByteArray::number(attributes, 16);
    text.append('\0');
    return text;
}

QByteArray withDosAttributes(const QByteArray &value, std::uint32_t attributes)
{
    const auto l = layoutOf(value);
    if (!l || l->version == 0)
        return dosAttribText(attributes);

    // The leading text only mirrors the bits for old readers; Samba leaves
    // it empty in its newer records, and so do we when it was.
    QByteArray out = l->leadLength == 0 ? QByteArray(1, '\0') : dosAttribText(attributes);
    out.append(alignUp(out.size(), 2) - out.size(), '\0');
    const qsizetype at = out.size();
    out.append(4, '\0');
    writeLe(out, at, std::uint32_t(l->version), 2);
    writeLe(out, at + 2, std::uint32_t(l->version), 2);
    out.append(alignUp(out.size(), 4) - out.size(), '\0');
    const qsizetype record = out.size();
    out.append(value.mid(l->record));

    if (l->version == 1) {
        writeLe(out, record, attributes, 4);
    } else {
        writeLe(out, record + 4, attributes, 4);
        if (l->version >= 3)
            writeLe(out, record, readLe(out, record, 4) | AttribValid, 4);
    }
    return out;
}

} // namespace quor
