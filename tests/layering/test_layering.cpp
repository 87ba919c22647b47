#include "layering_rules.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

bool isWidgetHeader(const QString &header)
{
    static const QStringList dirs =
        QString(QUOR_WIDGET_HEADER_DIRS).split('|', Qt::SkipEmptyParts);
    for (const QString &dir : dirs) {
        if (!dir.contains("QtWidgets") && !dir.contains("QtPrintSupport"))
            continue;
        if (QFile::exists(dir + '/' + header) || QFile::exists(dir + '/' + QFileInfo(header).fileName()))
            return true;
    }
    return header.startsWith("QtWidgets/") || header.startsWith("QtPrintSupport/");
}

} // namespace

TEST(Layering, EveryIncludeUnderSrcPointsDownwards)
{
    const QDir src(QUOR_SOURCE_DIR);
    const QRegularExpression include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    int files = 0;
    QStringList violations;
    QDirIterator it(src.path(), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = src.relativeFilePath(path);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
        ++files;
        const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        for (const QString &line : lines) {
            const auto m = include.match(line);
            if (!m.hasMatch())
                continue;
            const bool quoted = m.captured(1) == "\"";
            const QString v = includeViolation(rel, m.captured(2), quoted,
                                               !quoted && isWidgetHeader(m.captured(2)));
            if (!v.isEmpty())
                violations << v;
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_TRUE(violations.isEmpty()) << qPrintable(violations.join('\n'));
}

TEST(Layering, TheRulesCatchWhatRunsTheWrongWay)
{
    // Downwards and within a folder is fine.
    EXPECT_EQ(includeViolation("app/main_window.cpp", "tools/tool_engine.h", true, false), "");
    EXPECT_EQ(includeViolation("tools/zoom_tool.cpp", "document/model/document.h", true, false), "");
    EXPECT_EQ(includeViolation("document/edit_window.cpp", "document/model/document.h", true, false), "");
    // Upwards, sideways, and the model reaching into the window.
    EXPECT_NE(includeViolation("tools/zoom_tool.cpp", "app/dialogs.h", true, false), "");
    EXPECT_NE(includeViolation("tools/zoom_tool.cpp", "palettes/tool_palette.h", true, false), "");
    EXPECT_NE(includeViolation("files/open_browser.cpp", "effects/flips.h", true, false), "");
    EXPECT_NE(includeViolation("formats/picture_loader.cpp", "document/picture_box.h", true, false), "");
    EXPECT_NE(includeViolation("effects/flips.cpp", "dialogs/effect_window.h", true, false), "");
    EXPECT_EQ(includeViolation("dialogs/effect_window.cpp", "effects/flips.h", true, false), "");
    EXPECT_NE(includeViolation("core/colour.h", "document/model/canvas_surface.h", true, false), "");
    EXPECT_NE(includeViolation("document/model/document.h", "document/edit_window.h", true, false), "");
    // Widgets stay out of core, the tools and the model.
    EXPECT_TRUE(isWidgetHeader("QWidget"));
    EXPECT_FALSE(isWidgetHeader("QImage"));
    EXPECT_NE(includeViolation("tools/tool.h", "QWidget", false, true), "");
    EXPECT_NE(includeViolation("formats/rtf_reader.cpp", "QTextEdit", false, true), "");
    EXPECT_NE(includeViolation("effects/flips.cpp", "QDialog", false, true), "");
    EXPECT_NE(includeViolation("document/model/document.h", "QLineEdit", false, true), "");
    EXPECT_EQ(includeViolation("document/picture_box.h", "QWidget", false, true), "");
    EXPECT_EQ(includeViolation("core/colour.h", "QColor", false, false), "");
}
