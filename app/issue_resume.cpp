// Taking up an unfinished earlier download of the same issue: its folder,
// the pages it saved (from the folder's page record) and the pictures it
// left on disk, so the next download fetches only what is missing.
#include "app/workflow.h"
#include "archive/check_in_archive.h"
#include "archive/issue_folder.h"
#include "processing/safe_file_name.h"

#include <QFileInfo>
#include <QHash>

// Whether the issue's own folder holds an earlier download of it that did
// not finish (stopped, killed, pages or pictures missing): the download then
// completes it, keeping the pictures already there.
bool IssueDownload::resumesEarlierRun() const {
    const QString name = IssueFolderName(settings_.FolderFormat, st_.IssueNumber,
                                         st_.IssueDateNumeric, st_.CurrentSource);
    const QString folder = app_.ProgramFolder + "/Download/" + name;
    return !name.isEmpty() && QFileInfo(folder).isDir() && !IssueFolderComplete(folder);
}

// The issue folder of the download, created when missing; an unfinished
// earlier download there is taken up, any other record of one forgotten.
void IssueDownload::openIssueFolder() {
    resuming_ = resumesEarlierRun();
    st_.IssueFolder = CreateFolder(app_.ProgramFolder, settings_.FolderFormat, st_.IssueNumber,
                                   st_.IssueDateNumeric, st_.CurrentSource);
    record_ = PageRecord(st_.IssueFolder);
    if (resuming_)
        record_.Load();
    else
        record_.Remove();
}

// A page the unfinished earlier download of the issue saved is taken from
// disk: its pictures go on the list as if it had been fetched.
bool IssueDownload::pageSavedEarlier(int n, const ByteText& path) const {
    return resuming_ && record_.Saved(n, st_.PageCount, path).has_value();
}

bool IssueDownload::pageFromEarlierRun(int n, const ByteText& path) {
    if (!resuming_)
        return false;
    const std::optional<QList<ByteText>> pictures = record_.Saved(n, st_.PageCount, path);
    if (!pictures)
        return false;
    appendPictures(*pictures);
    ++report_.pagesSaved;
    return true;
}

// Which pictures a resumed download finds on disk from its earlier run and
// need not fetch again. A file that several entries of the list write is
// fetched all the same: the earlier run may have ended between them.
QList<bool> IssueDownload::picturesOnDisk() const {
    QList<bool> kept(st_.ImageCount, false);
    if (!resuming_)
        return kept;
    QHash<QString, int> writers;
    for (const ByteText& path : st_.ImageList)
        ++writers[FileNameOf(ImageFileName(path))];
    for (int i = 0; i < st_.ImageCount; ++i) {
        const QString name = FileNameOf(ImageFileName(st_.ImageList.at(i)));
        kept[i] =
            writers.value(name) == 1 && QFileInfo(st_.IssueFolder + "/img/" + name).size() > 0;
    }
    return kept;
}
