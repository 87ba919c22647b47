// Little-endian reads from a span of bytes with every access checked, so a
// damaged file can only make a reader stop with "damaged", never read past
// its data.
#pragma once

#include "formats/picture_errors.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quor {

class ByteSpan
{
public:
    ByteSpan() = default;
    ByteSpan(const unsigned char *data, std::size_t size) : m_data(data), m_size(size) {}
    ByteSpan(const char *data, std::size_t size)
        : m_data(reinterpret_cast<const unsigned char *>(data)), m_size(size)
    {
    }

    const unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // True when [offset, offset + length) lies inside the span.
    bool has(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }

    std::uint8_t u8(std::uint64_t at) const { return need(at, 1)[0]; }
    std::uint16_t u16(std::uint64_t at) const
    {
        const unsigned char *p = need(at, 2);
        return std::uint16_t(p[0] | p[1] << 8);
    }
    std::uint32_t u32(std::uint64_t at) const
    {
        const unsigned char *p = need(at, 4);
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
            | std::uint32_t(p[3]) << 24;
    }
    std::int16_t i16(std::uint64_t at) const { return std::int16_t(u16(at)); }
    std::int32_t i32(std::uint64_t at) const { return std::int32_t(u32(at)); }
    float f32(std::uint64_t at) const
    {
        const std::uint32_t v = u32(at);
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }

    // The part [offset, offset + length); throws when it does not fit.
    ByteSpan sub(std::uint64_t offset, std::uint64_t length) const
    {
        return ByteSpan(need(offset, length), std::size_t(length));
    }
    // Everything from offset on (empty at the end).
    ByteSpan from(std::uint64_t offset) const
    {
        return offset >= m_size ? ByteSpan(m_data + m_size, 0) : sub(offset, m_size - offset);
    }

private:
    const unsigned char *need(std::uint64_t at, std::uint64_t length) const
    {
        if (!has(at, length))
            throw damagedPicture();
        return m_data + at;
    }

    const unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace quor
