#pragma once
// The e-book step of a download for the program that carries the book tools
// (libxml2, libzip and the picture library).

#include "settings/messenger.h"
#include "settings/sites.h"

#include <QString>

// Makes the e-book of issueFolder beside it; a failure is shown through the
// messenger. Whether the book was written.
bool MakeIssueBook(const QString& issueFolder, const Sites& sites, Messenger& messenger);
