#pragma once
// The rules of the archive window "Архив", apart from its widgets: the list
// of downloaded issues, the information panel and the preview text of the
// selected one, the preview switch, the browser option written at once, the
// page "Открыть" opens and the e-book of the selected issue. The window
// (arhiv.h) mirrors the fields below and forwards the user's actions.

#include "archive/issue_info.h"
#include "search/archive_search.h"
#include "settings/bytetext.h"
#include "settings/messenger.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>
#include <functional>

class ArchiveBrowser {
public:
    // Opening: the issues of the archive; no issue selected, the preview
    // button hidden and the preview off. settings is the program's record:
    // the browser option changes it.
    ArchiveBrowser(const QString& programFolder, Settings& settings);

    // A click on an entry of the list: the panel and the preview text of
    // that issue, and the preview button shown. An empty entry changes
    // nothing.
    void Select(const QString& issue);

    // The preview button: on shows the preview in place of the list and the
    // panel; off brings them back.
    void TogglePreview() { PreviewOn = !PreviewOn; }

    // The check box "Открывать в выбранном браузере": the option UseIE,
    // written to options.ini ([Addon] UseIE) at once. The first change after
    // the window opens (the window showing a set option counts) leaves the
    // focus where it is; the result says whether this one moves it to
    // "Открыть".
    bool ChangeBrowserOption(bool useBrowser);

    // The search field: the archive's pages that match query stand in for
    // the list of issues while the field holds text (Searching); an empty
    // query brings the issues back. SearchText says why there are no hits.
    // An index built from the whole archive first reports building(done, total).
    void Search(const QString& query,
                const std::function<void(int done, int total)>& building = {});
    // A click on a hit: the panel of its issue, its page as the preview
    // text, and "Открыть" opens that page.
    void SelectHit(int row);
    // A hit as the list shows it: date, source and title over the snippet.
    static QString HitLine(const search::SearchHit& hit);

    // "Открыть": the chosen hit's page, else the index page of the selected
    // issue, or empty text when none is selected.
    QString PageToOpen() const;

    // "Книга EPUB": the e-book of the selected issue written beside its
    // folder, replacing an earlier one; the messenger says where it was
    // written or why it was not. working(true) comes before the writing and
    // working(false) before the message. Whether a book was written (none
    // without a selection, and then nothing is said).
    bool MakeBook(Messenger& messenger, const std::function<void(bool)>& working = {});
    bool CanMakeBook() const { return !Selected.isEmpty(); }

    // The folder of the selected issue (empty without one).
    QString IssueFolder() const;

    const Settings& settings() const { return settings_; }

    QStringList Issues;
    QString Selected;
    IssueInfo Info;
    ByteText Preview;
    bool PreviewButtonVisible = false;
    bool PreviewOn = false;
    bool Searching = false;
    QList<search::SearchHit> Hits;
    QString SearchText; // the query's error, the index's note or "Ничего не найдено"
    QString SelectedPage;

private:
    QString programFolder_;
    Settings& settings_;
    int optionChanges_ = 0;
};
