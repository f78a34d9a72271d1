#include "tests/support/url_catcher.h"

#include <QDesktopServices>

UrlCatcher::UrlCatcher(const QStringList& schemes) : schemes_(schemes) {
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

UrlCatcher::~UrlCatcher() {
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}

#include "moc_url_catcher.cpp"
