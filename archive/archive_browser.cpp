#include "archive/archive_browser.h"

#include "archive/issue_list.h"
#include "archive/preview_text.h"
#include "ebook/epub_book.h"
#include "search/issue_documents.h"
#include "settings/ini.h"
#include "settings/sites.h"
#include "settings/whole_file.h"

namespace {

// Hits the list shows for a query: more would not be read.
constexpr int SearchHitsShown = 50;

} // namespace

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
    SelectedPage.clear();
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
    if (!SelectedPage.isEmpty())
        return SelectedPage;
    return Selected.isEmpty() ? QString() : IssueFolder() + "/index.htm";
}

void ArchiveBrowser::Search(const QString& query, const std::function<void(int, int)>& building) {
    Hits.clear();
    SearchText.clear();
    Searching = !query.trimmed().isEmpty();
    if (!Searching)
        return;
    search::SearchRequest request;
    request.query = query;
    request.limit = SearchHitsShown;
    const search::SearchResult result = search::Search(programFolder_, request, {}, building);
    Hits = result.hits;
    if (!result.error.isEmpty())
        SearchText = QStringLiteral("Запрос не принят: ") + result.error;
    else if (Hits.isEmpty())
        SearchText = QStringLiteral("Ничего не найдено");
    else
        SearchText = result.note;
}

void ArchiveBrowser::SelectHit(int row) {
    if (row < 0 || row >= Hits.size())
        return;
    const search::SearchHit& hit = Hits.at(row);
    Select(hit.folder);
    SelectedPage = hit.path;
    Preview = ReadWholeFile(hit.path).value_or(ByteText());
}

QString ArchiveBrowser::HitLine(const search::SearchHit& hit) {
    return hit.date.toString(QStringLiteral("dd.MM.yyyy")) + "  " +
           QString::fromStdString(search::SourceCode(hit.source)) + "  " + hit.title + "\n" +
           hit.snippet;
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
