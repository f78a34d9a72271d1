// The service files shipped in data/: pictures that load, a stylesheet with
// its marker, a socket-error document in the preview control's markup.
#include "app/start_up.h"
#include "settings/bytetext.h"
#include "tests/support/temp_program_folder.h"

#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(DataFiles, TheThreePicturesAreRealGifs) {
    TempProgramFolder folder;
    for (const char* name : {"t-01.gif", "t-02.gif", "ktlogo.gif"}) {
        const QByteArray bytes = folder.read(QString("data/") + name);
        EXPECT_TRUE(bytes.startsWith("GIF89a")) << name;
        QImage picture;
        EXPECT_TRUE(picture.loadFromData(bytes, "GIF")) << name;
        EXPECT_GE(picture.width(), 100) << name;
        EXPECT_GE(picture.height(), 4) << name;
    }
}

TEST(DataFiles, TheStylesheetBeginsWithItsMarker) {
    TempProgramFolder folder;
    EXPECT_TRUE(folder.read("data/kp.css").startsWith("/* current CSS font-size: 11px; */"));
}

TEST(DataFiles, TheSocketErrorDocumentIsWindows1251InTheControlsMarkup) {
    TempProgramFolder folder;
    const ByteText doc = folder.read("data/wserror.dat");
    EXPECT_TRUE(doc.contains("charset=windows-1251"));
    EXPECT_TRUE(doc.contains(W("Коды ошибок WinSock")));
    // Its rows, code by code, are checked against the download control's
    // link texts in tests/net/socket_errors_test.cpp.
    // Only markup the preview control knows, apart from the document head.
    const QString text = cp1251::toUnicode(doc);
    QRegularExpression tag("<\\s*/?\\s*([A-Za-z]+)");
    const QStringList known = {"html", "head", "meta", "title", "body", "table",
                               "tr",   "td",   "b",    "br",    "font"};
    for (auto it = tag.globalMatch(text); it.hasNext();) {
        const QString name = it.next().captured(1).toLower();
        EXPECT_TRUE(known.contains(name)) << name.toStdString();
    }
}

TEST(DataFiles, TheBuiltDataFolderPassesTheCheck) {
    TempProgramFolder folder;
    for (const char* name : ServiceFiles)
        EXPECT_FALSE(folder.read(QString("data/") + name).isEmpty()) << name;
}

} // namespace
