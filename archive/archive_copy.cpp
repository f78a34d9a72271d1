#include "archive/archive_copy.h"

#include "archive/issue_folder.h"
#include "archive/issue_list.h"

#include <QFileInfo>

ArchiveCopy::ArchiveCopy(const QString& programFolder)
    : archive_(ArchiveFolderPath(programFolder)), folders_(ListArchiveFolders(programFolder)) {}

int16_t ArchiveCopy::Percentage(int i, int count) {
    return count <= 0 ? 0 : int16_t(i * 100 / count + 1);
}

ArchiveCopy::Result ArchiveCopy::Run(const QString& target, Messenger& messenger) {
    if (target.isEmpty() || !QFileInfo(target).isDir()) {
        messenger.Show(TargetMissingText(target), CopyTitle, MessageIcon::Error);
        return Result::TargetMissing;
    }
    // Copies inside the archive would be listed and copied again as issues
    // of their own, growing with every run.
    if (IsSameOrInside(target, archive_)) {
        messenger.Show("Директория назначения " + target + " находится внутри архива " + archive_ +
                           ". Операция отменена.",
                       CopyTitle, MessageIcon::Error);
        return Result::TargetInsideArchive;
    }
    cancelled_ = false;
    const int count = int(folders_.size());
    for (int i = 0; i < count; ++i) {
        if (processEvents)
            processEvents();
        if (cancelled_)
            return Result::Cancelled;
        const QString& name = folders_.at(i);
        if (!CopyFolder(archive_ + "/" + name, target + "/" + name)) {
            messenger.Show(CopyFailedText(target), CopyTitle, MessageIcon::Error);
            return Result::Failed;
        }
        if (progress)
            progress(Percentage(i, count));
    }
    return Result::Done;
}
