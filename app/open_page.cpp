#include "app/open_page.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

QString BrowserProgram() {
    for (const char* name : {"chromium", "x-www-browser"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return program;
    }
    return {};
}

bool OpenPage(const QString& file, bool inBrowser, const PageOpener& opener) {
    const QString browser = inBrowser ? BrowserProgram() : QString();
    if (!browser.isEmpty()) {
        if (opener.startProgram)
            return opener.startProgram(browser, {file});
        return QProcess::startDetached(browser, {file});
    }
    const QUrl url = QUrl::fromLocalFile(file);
    return opener.openUrl ? opener.openUrl(url) : QDesktopServices::openUrl(url);
}
