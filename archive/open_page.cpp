#include "archive/open_page.h"

#include <QDesktopServices>
#include <QProcess>

QStringList BrowserCommand(const QString& configured) {
    return QProcess::splitCommand(configured.trimmed());
}

PageOpenResult OpenPage(const QString& file, bool inBrowser, const QString& browser,
                        const PageOpener& opener) {
    QStringList command = inBrowser ? BrowserCommand(browser) : QStringList();
    if (!command.isEmpty()) {
        const QString program = command.takeFirst();
        command.append(file);
        const bool started = opener.startProgram ? opener.startProgram(program, command)
                                                 : QProcess::startDetached(program, command);
        return started ? PageOpenResult::Opened : PageOpenResult::BrowserFailed;
    }
    const QUrl url = QUrl::fromLocalFile(file);
    const bool opened = opener.openUrl ? opener.openUrl(url) : QDesktopServices::openUrl(url);
    return opened ? PageOpenResult::Opened : PageOpenResult::DesktopFailed;
}

bool OpenIssuePage(const QString& indexPath, const Settings& settings, Messenger& messenger,
                   const PageOpener& opener) {
    switch (OpenPage(indexPath, settings.UseIE, settings.Browser, opener)) {
    case PageOpenResult::Opened:
        return true;
    case PageOpenResult::BrowserFailed:
        messenger.Show(QStringLiteral("Не удалось запустить браузер ") + settings.Browser +
                           QStringLiteral(".\r\nПроверьте, какой браузер выбран в настройках."),
                       QStringLiteral("Ошибка"), MessageIcon::Error);
        return false;
    case PageOpenResult::DesktopFailed:
        break;
    }
    messenger.Show(QStringLiteral("Не удалось открыть страницу ") + indexPath +
                       QStringLiteral(": для веб-страниц не назначено ни одной программы."),
                   QStringLiteral("Ошибка"), MessageIcon::Error);
    return false;
}
