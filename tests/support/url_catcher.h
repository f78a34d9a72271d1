#pragma once
// Receives, for the schemes given, what the program hands to the desktop
// through QDesktopServices::openUrl, instead of a browser or mail program.

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(const QStringList& schemes);
    ~UrlCatcher() override;

    QList<QUrl> urls; // in the order they were opened

public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }

private:
    QStringList schemes_;
};
