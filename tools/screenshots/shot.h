#pragma once
// One picture of a window as it shows now, and the check that it gives each
// of its texts room.

#include <QString>
#include <QStringList>

class QWidget;

// Shows window, lets it lay itself out and paint, writes it as a PNG to
// file and appends file to written. Each text the window squeezes is printed
// on standard error as "norvel-screenshots: FILE: squeezed: ...". False when
// the picture could not be written or a text was squeezed.
bool SaveShot(QWidget& window, const QString& file, QStringList& written);
