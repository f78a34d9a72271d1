// Every page a reader meets in the preview, laid out at 400, 600 and 1000
// pixels on the fixed-metrics surface, keeps its text apart and inside the
// page: the pages of a newspaper issue and a magazine issue downloaded from
// the demo site by the real program, the templates of the data folder and
// the layout test documents.
#include "demo_issues.h"
#include "laid_out_document.h"
#include "layout_properties.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace htmlview::test {
namespace {

constexpr int kWidths[] = {400, 600, 1000};

// Pictures as the page's own folder holds them.
ImageLoader picturesBeside(const QString& folder) {
    return [folder](const ByteText& source) {
        return QImage(folder + QLatin1Char('/') + cp1251::toUnicode(source));
    };
}

void expectSoundLayout(const QString& name, const ByteText& html, const ImageLoader& loader) {
    for (int width : kWidths) {
        const LaidOutDocument d(html, width, 300, loader);
        const QStringList faults = LayoutFaults(d.doc, d.renderer.displayList(), width);
        EXPECT_TRUE(faults.isEmpty())
            << name.toStdString() << " at " << width << " px: " << faults.size() << " faults\n"
            << faults.mid(0, 6).join(QLatin1Char('\n')).toStdString();
    }
}

void expectSoundIssue(bool magazine) {
    const QString archive = DownloadedDemoIssues();
    ASSERT_FALSE(archive.isEmpty()) << "the demo issues were not downloaded";
    int pages = 0;
    for (const QString& folder : QDir(archive).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (folder.endsWith(QStringLiteral(".KT")) != magazine)
            continue;
        const QDir issue(archive + QLatin1Char('/') + folder);
        for (const QString& page :
             issue.entryList({QStringLiteral("*.htm"), QStringLiteral("*.html")}, QDir::Files)) {
            expectSoundLayout(folder + QLatin1Char('/') + page, ReadFileBytes(issue.filePath(page)),
                              picturesBeside(issue.path()));
            ++pages;
        }
    }
    EXPECT_GE(pages, 25) << "an index and at least 24 pages";
}

TEST(LayoutProperties, DemoNewspaperIssue) {
    expectSoundIssue(false);
}

TEST(LayoutProperties, DemoMagazineIssue) {
    expectSoundIssue(true);
}

TEST(LayoutProperties, DataTemplates) {
    const QString data = QStringLiteral(NORVEL_SOURCE_DIR "/data");
    const QStringList templates = {QStringLiteral("index.dat"), QStringLiteral("indexct.dat"),
                                   QStringLiteral("mainindex.dat"), QStringLiteral("wserror.dat")};
    for (const QString& name : templates) {
        const ByteText html = ReadFileBytes(data + QLatin1Char('/') + name);
        ASSERT_FALSE(html.isEmpty()) << name.toStdString();
        expectSoundLayout(name, html, picturesBeside(data));
    }
}

TEST(LayoutProperties, LayoutTestDocuments) {
    const QDir layout(QStringLiteral(HTMLVIEW_TEST_DIR "/layout"));
    const QStringList inputs = layout.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(inputs.size(), 8);
    for (const QString& input : inputs) {
        const QByteArray html = ReadFileBytes(layout.filePath(input));
        expectSoundLayout(input, cp1251::fromUnicode(QString::fromUtf8(html)), PicturesOf(40, 30));
    }
}

} // namespace
} // namespace htmlview::test
