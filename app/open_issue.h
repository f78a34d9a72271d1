#pragma once
// Opens an issue for reading: its contents page index.htm, the way the
// desktop opens a local page (the user's browser). The notification's
// action uses it; so can any link or button that opens an issue.

#include <QString>

// False when the issue has no index.htm or the desktop could not open it.
bool OpenIssue(const QString& issueFolder);
