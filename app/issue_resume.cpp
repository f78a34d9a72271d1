#include "app/issue_resume.h"

#include "archive/check_in_archive.h"
#include "archive/issue_folder.h"
#include "processing/safe_file_name.h"

#include <QFileInfo>
#include <QHash>

namespace {

// Whether the issue's own folder holds an earlier download of it that did
// not finish (stopped, killed, pages or pictures missing): the download then
// completes it, keeping the pictures already there.
bool resumesEarlierRun(const DownloadRun& run) {
    const QString name = IssueFolderName(run.settings.FolderFormat, run.st.IssueNumber,
                                         run.st.IssueDateNumeric, run.st.CurrentSource);
    const QString folder = run.app.ProgramFolder + "/Download/" + name;
    return !name.isEmpty() && QFileInfo(folder).isDir() && !IssueFolderComplete(folder);
}

} // namespace

StepOutcome OpenIssueFolder(DownloadRun& run) {
    run.resuming = resumesEarlierRun(run);
    run.st.IssueFolder =
        CreateFolder(run.app.ProgramFolder, run.settings.FolderFormat, run.st.IssueNumber,
                     run.st.IssueDateNumeric, run.st.CurrentSource);
    run.record = PageRecord(run.st.IssueFolder);
    if (run.resuming)
        run.record.Load();
    else
        run.record.Remove();
    return StepOutcome::done();
}

bool PageSavedEarlier(const DownloadRun& run, int n, const ByteText& path) {
    return run.resuming && run.record.Saved(n, run.st.PageCount, path).has_value();
}

bool PageFromEarlierRun(DownloadRun& run, int n, const ByteText& path) {
    if (!run.resuming)
        return false;
    const std::optional<QList<ByteText>> pictures = run.record.Saved(n, run.st.PageCount, path);
    if (!pictures)
        return false;
    run.appendPictures(*pictures);
    ++run.report.pagesSaved;
    return true;
}

// A file that several entries of the list write is fetched all the same:
// the earlier run may have ended between them.
QList<bool> PicturesOnDisk(const DownloadRun& run) {
    const WorkflowState& st = run.st;
    QList<bool> kept(st.ImageCount, false);
    if (!run.resuming)
        return kept;
    QHash<QString, int> writers;
    for (const ByteText& path : st.ImageList)
        ++writers[FileNameOf(ImageFileName(path))];
    for (int i = 0; i < st.ImageCount; ++i) {
        const QString name = FileNameOf(ImageFileName(st.ImageList.at(i)));
        kept[i] = writers.value(name) == 1 && QFileInfo(st.IssueFolder + "/img/" + name).size() > 0;
    }
    return kept;
}
