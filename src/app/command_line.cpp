#include "app/command_line.h"

#include <QCommandLineParser>

#include <cstdio>

#ifndef QUOR_VERSION
#define QUOR_VERSION "0"
#endif

namespace quor {

namespace {

// The options QGuiApplication, QApplication and the xcb plugin take out of
// argv themselves. They are declared here only so that they are not taken
// for mistakes; Qt still reads them when the program starts.
const char *const QtValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session", "style",
    "stylesheet", "display", "name", "visual", "qmljsdebugger",
};
const char *const QtFlagOptions[] = {
    "reverse", "testability", "widgetcount", "nograb", "dograb", "qdevel", "qdebug",
};

QString helpText()
{
    return QStringLiteral(
        "用法：quor [选项] [图片文件…]\n"
        "\n"
        "Quor 画图：多文档画图程序。命令行上的每个图片文件各在一个窗口中打开。\n"
        "可打开 BMP、GIF、JPEG、ICO、DIB、WMF、EMF、PNG、WebP、TIFF 和 PNM 图片。\n"
        "\n"
        "选项：\n"
        "  -h, --help       显示本帮助并退出\n"
        "  -v, --version    显示版本并退出\n"
        "  --               其后的参数都是文件名，即使以“-”开头\n"
        "\n"
        "Qt 的标准选项（如 -platform、-style、-display）同样可用。\n"
        "详见 man quor。\n");
}

// The word the user typed for an option: "-x" or "--x", without "=value".
QString typedOption(const QStringList &arguments, const QString &name)
{
    for (const QString &arg : arguments.mid(1)) {
        if (arg == QLatin1String("--"))
            break;
        const QString word = arg.section(QLatin1Char('='), 0, 0);
        QString bare = word;
        while (bare.startsWith(QLatin1Char('-')))
            bare.remove(0, 1);
        if (arg.startsWith(QLatin1Char('-')) && bare == name)
            return word;
    }
    return name;
}

CommandLineAnswer mistake(const QString &what)
{
    return {2, {}, QStringLiteral("quor：%1。用 quor --help 查看用法。\n").arg(what)};
}

} // namespace

std::optional<CommandLineAnswer> answerCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's own options have a single dash and long names ("-platform").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    for (const char *name : QtValueOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("x")));
    for (const char *name : QtFlagOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return mistake(QStringLiteral("未知选项“%1”").arg(typedOption(arguments, unknown.first())));
        // Otherwise a value is missing or was given to a flag. No translator
        // is loaded yet, so Qt's message is in English and quotes the option.
        const QString error = parser.errorText();
        const QString option = error.section(QLatin1Char('\''), 1, 1);
        if (error.startsWith(QLatin1String("Missing")))
            return mistake(QStringLiteral("选项“%1”缺少值").arg(option));
        return mistake(QStringLiteral("选项“%1”不带值").arg(option));
    }
    if (parser.isSet(help))
        return CommandLineAnswer{0, helpText(), {}};
    if (parser.isSet(version))
        return CommandLineAnswer{0, QStringLiteral("quor " QUOR_VERSION "\n"), {}};
    return std::nullopt;
}

std::optional<int> answerCommandLine(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const std::optional<CommandLineAnswer> answer = answerCommandLine(arguments);
    if (!answer)
        return std::nullopt;
    const QByteArray out = answer->out.toLocal8Bit();
    const QByteArray err = answer->err.toLocal8Bit();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fwrite(err.constData(), 1, size_t(err.size()), stderr);
    std::fflush(stdout);
    return answer->exitCode;
}

} // namespace quor
