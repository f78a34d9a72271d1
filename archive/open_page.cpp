#include "archive/open_page.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {

bool startBrowser(const QString& browser, const QString& indexPath) {
    QStringList arguments = QProcess::splitCommand(browser);
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    arguments.append(indexPath);
    return QProcess::startDetached(program, arguments);
}

} // namespace

bool OpenIssuePage(const QString& indexPath, const Settings& settings, Messenger& messenger) {
    const QString browser = settings.Browser.trimmed();
    if (settings.UseIE && !browser.isEmpty()) {
        if (startBrowser(browser, indexPath))
            return true;
        messenger.Show(QStringLiteral("Не удалось запустить браузер ") + browser +
                           QStringLiteral(".\r\nПроверьте, какой браузер выбран в настройках."),
                       QStringLiteral("Ошибка"), MessageIcon::Error);
        return false;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(indexPath)))
        return true;
    messenger.Show(QStringLiteral("Не удалось открыть страницу ") + indexPath +
                       QStringLiteral(": для веб-страниц не назначено ни одной программы."),
                   QStringLiteral("Ошибка"), MessageIcon::Error);
    return false;
}
