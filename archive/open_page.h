#pragma once
// Opening a saved page for reading, the one rule for the archive browser's
// "Открыть", the main window's "Открыть номер" and the settings window's
// "Просмотр": with UseIE, the browser the settings name (Browser); without
// UseIE, or with no browser named, the desktop's handler for the page (the
// browser the user made the desktop's default).

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
// split like a shell line); empty when none is configured.
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
