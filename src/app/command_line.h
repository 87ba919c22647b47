// The command line read before any window system is touched, so that
// --help, --version and a mistyped option answer in a terminal without a
// display.
#pragma once

#include <QStringList>

#include <optional>

namespace quor {

struct CommandLineAnswer
{
    int exitCode = 0;
    QString out; // for stdout
    QString err; // for stderr, one line
};

// What the program says and its exit code when the arguments (program name
// first) ask for no window: --help, --version, or an option neither Quor
// nor Qt knows. Nothing when the program is to start; Qt's own options and
// the file names are then left for QApplication and filesFromArguments.
std::optional<CommandLineAnswer> answerCommandLine(const QStringList &arguments);

// As above for main's argv, printing the answer.
std::optional<int> answerCommandLine(int argc, char **argv);

} // namespace quor
