#include "archive/archive_browser.h"

#include "archive/issue_list.h"
#include "archive/preview_text.h"
#include "processing/epub_book.h"
#include "settings/ini.h"
#include "settings/sites.h"
#include "settings/whole_file.h"

ArchiveBrowser::ArchiveBrowser(const QString& programFolder, Settings& settings)
    : Issues(ListArchiveIssues(programFolder)), programFolder_(programFolder), settings_(settings) {
}

QString ArchiveBrowser::IssueFolder() const {
    return Selected.isEmpty() ? QString() : ArchiveFolderPath(programFolder_) + "/" + Selected;
}

void ArchiveBrowser::Select(const QString& issue) {
    if (issue.isEmpty())
        return;
    Selected = issue;
    PreviewButtonVisible = true;
    const QString folder = IssueFolder();
    // An unreadable index leaves the heading's values at "---"; the counts
    // of the folder's files still show.
    const ByteText index = ReadWholeFile(folder + "/index.htm").value_or(ByteText());
    Info = ReadIssueInfo(index, CountPageFiles(folder), CountImageFiles(folder));
    Preview = PreviewText(index);
}

bool ArchiveBrowser::ChangeBrowserOption(bool useBrowser) {
    if (settings_.UseIE != useBrowser) {
        settings_.UseIE = useBrowser;
        INI options;
        options.setFileName(OptionsFilePath(programFolder_));
        // The file holds the proxy password.
        options.setOwnerOnly(true);
        options.WInIb("Addon", "UseIE", useBrowser);
    }
    return ++optionChanges_ > 1;
}

QString ArchiveBrowser::PageToOpen() const {
    return Selected.isEmpty() ? QString() : IssueFolder() + "/index.htm";
}

bool ArchiveBrowser::MakeBook(Messenger& messenger, const std::function<void(bool)>& working) {
    if (!CanMakeBook())
        return false;
    if (working)
        working(true);
    // Links to pages that failed lead to the issue's site, as sites.ini names it.
    const EpubResult book = MakeEpub(IssueFolder(), LoadSites(programFolder_));
    if (working)
        working(false);
    if (book.written)
        messenger.Show(BookMadeText(book), BookMessageTitle(), MessageIcon::Information);
    else
        messenger.Show(book.error, BookMessageTitle(), MessageIcon::Error);
    return book.written;
}
