#pragma once
// Opening a saved page for reading, the one rule for the archive browser's
// "Открыть", the main window's "Открыть номер" and the settings window's
// "Просмотр": with UseIE, the browser the settings name (Browser), else
// "chromium" or the Debian alternative "x-www-browser" when installed;
// without UseIE, or without any browser, the desktop's handler for the page.

#include "settings/messenger.h"
#include "settings/settings.h"

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

// The browser's program and arguments for the command configured (Browser,
// split like a shell line), or for "chromium" / "x-www-browser" when none is
// configured; empty when there is none.
QStringList BrowserCommand(const QString& configured);

enum class PageOpenResult { Opened, BrowserFailed, DesktopFailed };

// Opens file (a full path): with inBrowser and a browser, that program with
// the path as its last argument (a path with blanks stays one argument);
// otherwise the desktop's handler.
PageOpenResult OpenPage(const QString& file, bool inBrowser, const QString& browser,
                        const PageOpener& opener = {});

// OpenPage by the settings (UseIE, Browser); when nothing could be started
// the user is told so, and the result is false.
bool OpenIssuePage(const QString& indexPath, const Settings& settings, Messenger& messenger,
                   const PageOpener& opener = {});
