#include "app/archive_upkeep.h"
#include "settings/program_folder.h"

#include "archive/retention.h"
#include "processing/archive_issues.h"
#include "processing/main_index.h"
#include "search/archive_index.h"

namespace {

void status(const std::function<void(const QString&)>& setStatus, const QString& text) {
    if (setStatus)
        setStatus(text);
}

} // namespace

UpkeepResult ArchiveUpkeep(const AppState& app, Messenger& messenger, const BookMaker& makeBook,
                           const std::function<void(const QString&)>& setStatus,
                           const QDate& today) {
    UpkeepResult result;
    const Settings& settings = app.settings;
    const QString issueFolder = app.state.IssueFolder;
    if (settings.MakeEpub && makeBook) {
        status(setStatus, QStringLiteral("Создание книги для читалки..."));
        result.bookWritten = makeBook(issueFolder, app.sites, messenger);
    }

    const RetentionRule rule{settings.KeepIssues, settings.KeepDays};
    if (rule.keepIssues <= 0 && rule.keepDays <= 0)
        return result;
    status(setStatus, QStringLiteral("Удаление старых номеров..."));
    const QString download = ArchiveFolderPath(app.ProgramFolder);
    const RetentionResult retired =
        RetireOldIssues(download, app.state.CurrentSource, rule, issueFolder, today);
    result.retired = retired.deleted;
    if (!retired.deleted.isEmpty())
        search::ForgetIssues(app.ProgramFolder, retired.deleted);
    if (!retired.failed.isEmpty())
        messenger.Show("Не удалось полностью удалить старые номера: " +
                           retired.failed.join(QStringLiteral(", ")),
                       QStringLiteral("Удаление старых номеров"), MessageIcon::Error);
    if (!retired.deleted.isEmpty() && SameFolder(settings.FolderToCopy, download))
        BuildMainIndex(download, app.ProgramFolder, messenger);
    return result;
}
