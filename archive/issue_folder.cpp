#include "archive/issue_folder.h"
#include "settings/program_folder.h"

#include "archive/page_record.h"
#include "processing/main_index.h"
#include "processing/safe_file_name.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Deletes every file and subfolder of folder, read-only ones too. An empty
// folder is nothing to do, not a failure.
bool emptyFolder(const QString& folder) {
    QDir dir(folder);
    const auto entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    bool ok = true;
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink()) {
            // Write permission on every level lets the contents go.
            QFile::setPermissions(entry.filePath(), entry.permissions() | QFile::WriteOwner |
                                                        QFile::ReadOwner | QFile::ExeOwner);
            ok = emptyFolder(entry.filePath()) && dir.rmdir(entry.fileName()) && ok;
        } else {
            ok = dir.remove(entry.fileName()) && ok;
        }
    }
    return ok;
}

bool copyFilesOf(const QString& from, const QString& to) {
    for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files | QDir::Hidden)) {
        // The record of an unfinished download belongs to its own folder.
        if (file.fileName() == QLatin1String(PageRecord::FileName))
            continue;
        if (!CopyFileOver(file.filePath(), to + "/" + file.fileName()))
            return false;
    }
    return true;
}

bool copyIssue(const QString& IssueFolder, const Settings& settings) {
    const QString target = settings.FolderToCopy;
    if (settings.CreateSubFolders)
        return CopyFolder(IssueFolder, target + "/" + QFileInfo(IssueFolder).fileName());
    if (!copyFilesOf(IssueFolder, target))
        return false;
    const QString img = IssueFolder + "/img";
    return !QFileInfo(img).isDir() || CopyFolder(img, target + "/img");
}

} // namespace

const QString CopyTitle = QStringLiteral("Копирование");

bool IsSameOrInside(const QString& path, const QString& folder) {
    const QString p = QFileInfo(path).canonicalFilePath();
    const QString f = QFileInfo(folder).canonicalFilePath();
    return !p.isEmpty() && !f.isEmpty() && (p == f || p.startsWith(f + "/"));
}

QString TargetMissingText(const QString& target) {
    return "Директория назначения: " + target + " не найдена. Операция отменена.";
}

QString CopyFailedText(const QString& target) {
    return "Ошибка при копировании в директорию " + target +
           "\r\nОтсутствую права записи на сетевой ресурс, носитель защищен от записи, либо нет "
           "места на диске. Операция отменена.";
}

QString IssueFolderName(int16_t FolderFormat, const ByteText& IssueNumber,
                        const ByteText& IssueDateNumeric, int16_t CurrentSource) {
    ByteText name;
    switch (FolderFormat) {
    case 1:
        name = IssueNumber;
        break;
    case 2:
        name = IssueDateNumeric;
        break;
    case 3:
        name = IssueDateNumeric.right(4) + IssueDateNumeric.mid(2, 4) + IssueDateNumeric.left(2);
        break;
    default:
        return {};
    }
    name = SafeFileName(name);
    if (CurrentSource == 2)
        name += ".KT";
    return FileNameOf(name);
}

QString CreateFolder(const QString& programFolder, int16_t FolderFormat,
                     const ByteText& IssueNumber, const ByteText& IssueDateNumeric,
                     int16_t CurrentSource) {
    const QString archive = ArchiveFolderPath(programFolder);
    QDir().mkpath(archive);
    const QString name =
        IssueFolderName(FolderFormat, IssueNumber, IssueDateNumeric, CurrentSource);
    // No folder format of its own: the issue goes into the archive folder,
    // still marked as a magazine the way issue folders are.
    QString IssueFolder = archive;
    if (!name.isEmpty())
        IssueFolder += "/" + name;
    else if (CurrentSource == 2)
        IssueFolder += ".KT";
    QDir().mkpath(IssueFolder);
    return IssueFolder;
}

bool NumberCopy(const QString& IssueFolder, const Settings& settings, const QString& programFolder,
                Messenger& messenger, const std::function<void(const QString&)>& setStatus) {
    if (setStatus)
        setStatus(QStringLiteral("Копирование загруженного номера..."));
    const QString target = settings.FolderToCopy;
    if (target.isEmpty() || !QFileInfo(target).isDir()) {
        messenger.Show(TargetMissingText(target), CopyTitle, MessageIcon::Error);
        return false;
    }
    // Emptying a target that holds the issue, or the program with its
    // archive, would lose them: such a target is refused.
    bool ok = !(settings.ClearFolderToCopy &&
                (IsSameOrInside(IssueFolder, target) || IsSameOrInside(programFolder, target)));
    if (ok && settings.ClearFolderToCopy)
        ok = emptyFolder(target);
    ok = ok && copyIssue(IssueFolder, settings);
    if (ok) {
        const MainIndexResult index = BuildMainIndex(target, programFolder, messenger);
        ok = index != MainIndexResult::WriteFailed;
    }
    if (!ok) {
        messenger.Show(CopyFailedText(target), CopyTitle, MessageIcon::Error);
    }
    return ok;
}

bool CopyFolder(const QString& from, const QString& to) {
    if (!QFileInfo(from).isDir())
        return false;
    if (QFileInfo(to).exists() &&
        QFileInfo(to).canonicalFilePath() == QFileInfo(from).canonicalFilePath())
        return true;
    if (!QDir().mkpath(to) || !copyFilesOf(from, to))
        return false;
    const auto subfolders =
        QDir(from).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& sub : subfolders) {
        // A target inside the source is not copied into itself again, or
        // the copy would never end.
        if (IsSameOrInside(to, sub.filePath()))
            continue;
        if (!CopyFolder(sub.filePath(), to + "/" + sub.fileName()))
            return false;
    }
    return true;
}
