#pragma once
// The status texts and messages the download's steps show, shared with
// their tests.

#include <QString>

namespace workflow_text {
QString PageCounter(int n, int count);  // "Загрузка страницы n из count..."
QString ImageCounter(int i, int count); // "Загрузка изображения i из count..."
QString CoverCounter(int i, int count); // "Загрузка обложки i из count..."
QString ContentsError(); // "Ошибка при получении оглавления номера"...
QString MagazineRefusal();               // the announcement refusal
QString WriteError(const QString& path); // "Ошибка записи файла " + path
// The proxy name:port refused the login: check the login and password.
QString ProxyRefusal(const QString& proxyName, const QString& proxyPort);
} // namespace workflow_text
