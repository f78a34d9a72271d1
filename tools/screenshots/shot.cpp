#include "tools/screenshots/shot.h"

#include "tools/screenshots/fit_check.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>

bool SaveShot(QWidget& window, const QString& file, QStringList& written) {
    window.show();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    if (!window.grab().save(file, "PNG"))
        return false;
    written.append(file);
    const QStringList squeezed = SqueezedTexts(window);
    for (const QString& line : squeezed)
        std::fprintf(stderr, "norvel-screenshots: %s: squeezed: %s\n", qPrintable(file),
                     qPrintable(line));
    return squeezed.isEmpty();
}
