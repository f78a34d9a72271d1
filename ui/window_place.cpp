#include "ui/window_place.h"

#include "settings/ini.h"
#include "settings/settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

const ByteText Section = "Windows";

ByteText Key(const char* name, const char* part) {
    return ByteText(name) + part;
}

// The rectangle moved and shrunk into the available part of the screen it
// is mostly on, or of the primary screen.
QRect OnScreen(QRect place) {
    QScreen* screen = QGuiApplication::screenAt(place.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return place;
    const QRect room = screen->availableGeometry();
    place.setSize(place.size().boundedTo(room.size()));
    place.moveLeft(std::clamp(place.left(), room.left(), room.right() + 1 - place.width()));
    place.moveTop(std::clamp(place.top(), room.top(), room.bottom() + 1 - place.height()));
    return place;
}

} // namespace

void RestoreWindowPlace(QWidget& window, const QString& optionsFile, const char* name) {
    INI ini;
    ini.setFileName(optionsFile);
    const QRect saved(ini.RINIi(Section, Key(name, "Left")), ini.RINIi(Section, Key(name, "Top")),
                      ini.RINIi(Section, Key(name, "Width")),
                      ini.RINIi(Section, Key(name, "Height")));
    if (saved.width() <= 0 || saved.height() <= 0)
        return;
    const QRect place = OnScreen(saved);
    window.resize(place.size().expandedTo(window.minimumSize()));
    window.move(place.topLeft());
}

void SaveWindowPlace(const QWidget& window, const QString& optionsFile, const char* name) {
    // A place alone would make a settings file of a missing or damaged one,
    // to be refused at the next start.
    if (!SettingsFileUsable(optionsFile))
        return;
    INI ini;
    ini.setFileName(optionsFile);
    ini.setOwnerOnly(true); // the file holds the proxy password
    const QRect place(window.pos(), window.size());
    INI::Batch batch(ini);
    ini.WInIi(Section, Key(name, "Left"), int16_t(place.left()));
    ini.WInIi(Section, Key(name, "Top"), int16_t(place.top()));
    ini.WInIi(Section, Key(name, "Width"), int16_t(place.width()));
    ini.WInIi(Section, Key(name, "Height"), int16_t(place.height()));
}
