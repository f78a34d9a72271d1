#pragma once
// Opening an issue's index page in a web browser, the way the archive
// browser's "Открыть" and the main window's "Открыть номер" do it.

#include "settings/messenger.h"
#include "settings/settings.h"

#include <QString>

// With UseIE on and a browser named by Browser, that program is started with
// the page as its last argument (a path with blanks stays one argument);
// otherwise the desktop's default handler for web pages opens it. When
// neither can be started the user is told so, and the result is false.
bool OpenIssuePage(const QString& indexPath, const Settings& settings, Messenger& messenger);
