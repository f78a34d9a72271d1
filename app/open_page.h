#pragma once
// Opens a saved page for reading: in the desktop's viewer for local files,
// or, with the setting UseIE, in the web browser named by BrowserProgram.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// How a page is opened; unset members fall back to QDesktopServices::openUrl
// and QProcess::startDetached. Tests record instead.
struct PageOpener {
    std::function<bool(const QUrl& url)> openUrl;
    std::function<bool(const QString& program, const QStringList& arguments)> startProgram;
};

// The browser a page goes to with UseIE: "chromium" when installed, else the
// Debian alternative "x-www-browser"; empty text when neither is there.
QString BrowserProgram();

// Opens file (a full path). With inBrowser it starts BrowserProgram with
// the path; without a browser, or without inBrowser, the desktop opens it.
// False when nothing could be started.
bool OpenPage(const QString& file, bool inBrowser, const PageOpener& opener = {});
