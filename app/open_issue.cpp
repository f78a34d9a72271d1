#include "app/open_issue.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool OpenIssue(const QString& issueFolder) {
    const QString index = issueFolder + "/index.htm";
    return QFileInfo(index).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(index));
}
