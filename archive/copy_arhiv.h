#pragma once
// The archive copier "Копирование архива": a small modal window that copies
// every issue folder of the archive into FolderToCopy two seconds after it
// has opened, with the percentage in its status line and a progress bar, and
// closes itself when the copy ends, fails or is cancelled with "Отмена".
// Other windows open it through RunArchiveCopier; the copy itself is
// ArchiveCopy.

#include "archive/archive_copy.h"
#include "settings/settings.h"

#include <QDialog>
#include <QTimer>

class Messenger;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

class CopyArhiv : public QDialog {
    Q_OBJECT

public:
    static constexpr int StartDelayMs = 2000; // Timer1: the copy starts after it

    CopyArhiv(const QString& programFolder, const Settings& settings, Messenger& messenger,
              QWidget* parent = nullptr);

    ArchiveCopy& copy() { return copy_; }
    // How the copy ended; Cancelled until it has run.
    ArchiveCopy::Result Outcome() const { return outcome_; }

    QFrame* Shape1;             // the border around the window
    QLabel* Label1;             // the status line
    QProgressBar* ProgressBar1; // percent of the copy
    QPushButton* Command1;      // "Отмена"
    QTimer Timer1;

private:
    void startCopy();
    void showProgress(int16_t percent);
    void cancel();

    ArchiveCopy copy_;
    QString target_;
    Messenger& messenger_;
    ArchiveCopy::Result outcome_ = ArchiveCopy::Result::Cancelled;
};

// Opens the copier over parent for the archive of programFolder and the copy
// folder settings.FolderToCopy, and returns when it has closed.
ArchiveCopy::Result RunArchiveCopier(const QString& programFolder, const Settings& settings,
                                     Messenger& messenger, QWidget* parent = nullptr);
