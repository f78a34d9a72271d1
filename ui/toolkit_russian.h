#pragma once
// The toolkit's own texts in Russian: the captions of standard buttons, the
// file and folder choosers, the context menus of text fields. The
// translation ships with the Qt installation (Debian: qt6-translations-l10n);
// the window texts of the program are Russian already.

class QCoreApplication;

// Installs the installation's qtbase_ru translation into application;
// false when it is not installed (the toolkit's texts stay English).
bool LoadToolkitRussian(QCoreApplication& application);
