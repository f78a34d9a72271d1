// norvel-render [--width N] [--png FILE] FILE: lays a Windows-1251 HTML file
// out through the preview control at a width, with the fonts of the offscreen
// platform, and prints one line per text run drawn: x y width height text, in
// document coordinates. --png paints the whole document into a picture.
// Pictures the page names are read relative to the page's folder.
#include "htmlview/document.h"
#include "htmlview/qt_surface.h"
#include "htmlview/render.h"
#include "htmlview/text_runs.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace htmlview;

namespace {

// A picture taller than this is cut off at the bottom: a page that long is
// not checked by eye, and the whole of it would not fit in memory.
constexpr int kMaxPictureHeight = 60000;
constexpr int kMaxWidth = 20000;

ImageLoader picturesBeside(const QString& page) {
    const QDir folder = QFileInfo(page).absoluteDir();
    return [folder](const ByteText& source) {
        const QString name = cp1251::toUnicode(source);
        return name.isEmpty() ? QImage() : QImage(folder.filePath(name));
    };
}

int fail(const QString& text, int status) {
    std::fprintf(stderr, "norvel-render: %s\n", qPrintable(text));
    return status;
}

bool writePicture(const DisplayList& list, int width, const QString& path) {
    const int height = std::clamp(DocumentHeight(list), 1, kMaxPictureHeight);
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return false;
    {
        QtImageSurface surface(picture);
        list.paint(surface, 0);
    }
    return picture.save(path, "PNG");
}

} // namespace

int main(int argc, char** argv) {
    // The figures are those of the offscreen platform's fonts, display or not.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lays an HTML file (Windows-1251) out through the preview control and prints one "
        "line per text run drawn: x y width height text, in document pixels."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("width"), QStringLiteral("Layout width in pixels (600)."),
                      QStringLiteral("N"), QStringLiteral("600")});
    parser.addOption({QStringLiteral("png"),
                      QStringLiteral("Also paint the whole document into FILE."),
                      QStringLiteral("FILE")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The page to lay out."));
    parser.process(app);

    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return fail(QStringLiteral("name one page; try --help"), 2);
    bool numeric = false;
    const int width = parser.value(QStringLiteral("width")).toInt(&numeric);
    if (!numeric || width < 1 || width > kMaxWidth)
        return fail(QStringLiteral("the width must be a number from 1 to %1").arg(kMaxWidth), 2);
    QFile file(files.first());
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(files.first(), file.errorString()), 1);

    // The control as a host sets it up: its default font, links shown.
    HtmlDocument doc;
    doc.EnableAnchors = true;
    doc.SetDocument(file.readAll());
    HtmlRenderer renderer(doc);
    renderer.setImageLoader(picturesBeside(files.first()));
    QImage strip(width, 1, QImage::Format_RGB32);
    QtImageSurface surface(strip);
    renderer.Render(surface, true);

    for (const TextRun& run : TextRuns(renderer.displayList(), surface)) {
        const QByteArray text = cp1251::toUnicode(run.text).toUtf8();
        std::printf("%d %d %d %d %s\n", run.x, run.y, run.width, run.height, text.constData());
    }
    const QString png = parser.value(QStringLiteral("png"));
    if (!png.isEmpty() && !writePicture(renderer.displayList(), width, png))
        return fail(QStringLiteral("cannot write %1").arg(png), 1);
    return 0;
}
