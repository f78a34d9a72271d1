#pragma once
// The copy of the whole archive into the copy folder FolderToCopy, apart
// from its window: every issue folder of the archive, taken once, copied
// with everything in it to FolderToCopy + "/" + its name, files of the same
// name replaced and files only the target has left alone. Before each folder
// the window's events run, so "Отмена" can stop the copy between folders;
// after each the progress is reported. Messages go through the Messenger.

#include "settings/messenger.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class ArchiveCopy {
public:
    enum class Result {
        Done,                // every folder copied
        Cancelled,           // stopped between two folders
        TargetMissing,       // the copy folder does not exist (reported)
        TargetInsideArchive, // the copy folder is the archive or lies in it (reported)
        Failed,              // a folder could not be copied (reported)
    };

    // Lists the archive's issue folders, once.
    explicit ArchiveCopy(const QString& programFolder);

    const QStringList& Folders() const { return folders_; }

    // The percentage shown after folder i (from 0) of count: the folders
    // before it, rounded down, plus one. Four folders show 1, 26, 51, 76.
    static int16_t Percentage(int i, int count);

    // Copies every folder into target, reporting a missing target, a
    // target inside the archive and a failed copy. What was copied before a
    // failure or a cancel stays.
    Result Run(const QString& target, Messenger& messenger);

    // "Отмена": the copy stops before its next folder.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

    // Runs the window's pending events; called before every folder.
    std::function<void()> processEvents;
    // Receives the percentage after every folder.
    std::function<void(int16_t percent)> progress;

private:
    QString archive_;
    QStringList folders_;
    bool cancelled_ = false;
};
