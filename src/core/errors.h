// The error a command reports to its handler: a number the handlers test
// by name and a description to show.
#pragma once

#include <QString>

#include <stdexcept>

namespace quor {

struct QuorError : std::runtime_error
{
    QuorError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number(number), description(description)
    {
    }
    int number;
    QString description;
};

// The error numbers handlers act on.
namespace err {
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
// Not handled by name: a folder, pipe, socket or device where a file was
// asked for, reported through the other-error box with its description.
constexpr int NotARegularFile = 52;
constexpr int FileNotFound = 53;
constexpr int DriveNotReady = 68;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int DeviceIO = 57;
constexpr int InvalidPicture = 481;
} // namespace err

// Counter arithmetic that fails like a fixed-width counter: an overflow is
// an error of the command, never a wrapped value.
template <typename T>
T checkedAdd(T a, T b)
{
    T r;
    if (__builtin_add_overflow(a, b, &r))
        throw std::overflow_error("overflow");
    return r;
}

} // namespace quor
