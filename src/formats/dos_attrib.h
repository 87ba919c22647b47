// The DOS attribute value Samba keeps in a file's "user.DOSATTRIB" extended
// attribute, so hidden, system and archive marks set here are the ones a
// Windows user of a share sees, and survive copies that keep extended
// attributes.
//
// Two forms exist: text ("0x" and hexadecimal digits, then a zero byte),
// which Samba reads as its compatibility version, and Samba's own binary
// records, versions 1 to 5, each after the same leading text.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace quor {

// Attribute bits, with their Windows meaning.
namespace dosattr {
constexpr std::uint32_t ReadOnly = 0x1, Hidden = 0x2, System = 0x4, Archive = 0x20;
// The bits the file-properties dialog shows; any other bit is kept as found.
constexpr std::uint32_t Shown = ReadOnly | Hidden | System | Archive;
// The three that only the extended attribute can hold.
constexpr std::uint32_t Stored = Hidden | System | Archive;
} // namespace dosattr

// The name of the extended attribute.
inline constexpr char DosAttribName[] = "user.DOSATTRIB";

// The attribute bits of a stored value, or nothing when it is neither the
// text form (its zero byte may be missing) nor a complete binary record of
// version 1 to 5.
std::optional<std::uint32_t> parseDosAttrib(const QByteArray &value);

// The text form: "0x", lower-case hexadecimal digits, one zero byte.
QByteArray dosAttribText(std::uint32_t attributes);

// A value parseDosAttrib accepts, with its attribute bits replaced and its
// form kept: a binary record keeps every other field (the creation time
// among them). Anything else gives the text form.
QByteArray withDosAttributes(const QByteArray &value, std::uint32_t attributes);

} // namespace quor
