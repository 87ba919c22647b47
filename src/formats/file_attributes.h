// A file's DOS attributes on Linux. Read-only is the permission to write:
// set when the owner may not write. Hidden, system and archive live in
// Samba's "user.DOSATTRIB" extended attribute (see dos_attrib.h).
#pragma once

#include "formats/dos_attrib.h"

#include <QString>

namespace quor {

// The file's attribute bits (dosattr). A stored value that cannot be read
// counts as no bits. Throws QuorError: 53 when the file is not there,
// another number with the reason when it cannot be examined.
std::uint32_t readFileAttributes(const QString &path);

// What an attribute change could not keep.
struct AttributesNotKept
{
    enum class Reason {
        None,
        NoExtendedAttributes, // the file system holds no user extended attributes
        UnknownValue,         // the file carries a value this program cannot read; left alone
        Failed,               // reading or writing the value failed; detail says why
    };
    std::uint32_t bits = 0; // hidden, system, archive: those whose change was lost
    Reason reason = Reason::None;
    QString detail;
};

// Gives the file the attribute bits. Read-only removes every write
// permission; without it the owner may write again; no other mode bit
// changes. Hidden, system and archive (and read-only, as Samba keeps it
// too) go into the extended attribute, whose other bits stay as they were.
// Throws QuorError when the file is not there or its permissions cannot be
// changed; an extended attribute that could not be kept is reported in the
// result instead, since read-only applied all the same.
AttributesNotKept applyFileAttributes(const QString &path, std::uint32_t bits);

} // namespace quor
