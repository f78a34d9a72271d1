#include "app/workflow_text.h"

#include "settings/utf8_text.h"

#include <QDir>

namespace workflow_text {

QString PageCounter(int n, int count) {
    return U("Загрузка страницы %1 из %2...").arg(n).arg(count);
}
QString ImageCounter(int i, int count) {
    return U("Загрузка изображения %1 из %2...").arg(i).arg(count);
}
QString CoverCounter(int i, int count) {
    return U("Загрузка обложки %1 из %2...").arg(i).arg(count);
}
QString ContentsError() {
    return U("Ошибка при получении оглавления номера\r\nПродолжение загрузки невозможно.");
}
QString ProxyRefusal(const QString& proxyName, const QString& proxyPort) {
    return U("Прокси-сервер %1:%2 отказал в авторизации.\r\nПроверьте имя пользователя и "
             "пароль прокси-сервера в настройках программы.")
        .arg(proxyName, proxyPort);
}
QString MagazineRefusal() {
    return U("Этот номер еженедельника \"Зенитра\" пока доступен только в виде редакционного "
             "анонса. Полные тексты материалов будут размещены в онлайне на следующей неделе.\r\n"
             "Вы можете загрузить один из предыдущих номеров.");
}
QString WriteError(const QString& path) {
    return U("Ошибка записи файла ") + QDir::toNativeSeparators(path);
}

} // namespace workflow_text
