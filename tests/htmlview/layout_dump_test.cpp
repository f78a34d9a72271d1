// Every layout/*.html is laid out on the fixed-metrics surface and its dump
// compared with layout/*.txt beside it. A first-line "width=N" in the input
// sets the surface width (400 otherwise). Sources containing "missing" have
// no picture; all others are 40 x 30 pictures. NORVEL_UPDATE_LAYOUT=1
// rewrites the expected dumps.
#include "laid_out_document.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace htmlview::test {
namespace {

QString layoutDir() {
    return QStringLiteral(HTMLVIEW_TEST_DIR "/layout");
}

int widthOf(const QByteArray& html) {
    const auto match = QRegularExpression(QStringLiteral("width=(\\d+)"))
                           .match(QString::fromLatin1(html.left(html.indexOf('\n'))));
    return match.hasMatch() ? match.captured(1).toInt() : 400;
}

TEST(LayoutDump, MatchesExpectedDumps) {
    const QStringList inputs =
        QDir(layoutDir()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    ASSERT_GE(inputs.size(), 8);
    const bool update = qEnvironmentVariableIsSet("NORVEL_UPDATE_LAYOUT");
    for (const QString& input : inputs) {
        SCOPED_TRACE(input.toStdString());
        const QByteArray html = ReadFileBytes(layoutDir() + QLatin1Char('/') + input);
        // The inputs are UTF-8 files; the control reads Windows-1251.
        const LaidOutDocument d(cp1251::fromUnicode(QString::fromUtf8(html)), widthOf(html), 300,
                                PicturesOf(40, 30));
        const QByteArray actual = d.dump().toUtf8();
        QString expectedPath = layoutDir() + QLatin1Char('/') + input;
        expectedPath.replace(QStringLiteral(".html"), QStringLiteral(".txt"));
        if (update) {
            QFile out(expectedPath);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(actual);
            continue;
        }
        const QByteArray expected = ReadFileBytes(expectedPath);
        if (actual != expected) {
            QString actualPath = expectedPath;
            actualPath.replace(QStringLiteral(".txt"), QStringLiteral(".actual.txt"));
            const QString written = QDir::temp().filePath(QFileInfo(actualPath).fileName());
            QFile out(written);
            if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                out.write(actual);
            ADD_FAILURE() << "layout differs from " << expectedPath.toStdString()
                          << "; actual dump written to " << written.toStdString();
        }
    }
}

} // namespace
} // namespace htmlview::test
