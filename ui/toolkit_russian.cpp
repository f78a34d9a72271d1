#include "ui/toolkit_russian.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool LoadToolkitRussian(QCoreApplication& application) {
    // The interface is Russian whatever the desktop's language is, so the
    // toolkit's part of it is too.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
