#pragma once
// The check for a newer program version made at the start of every download
// run, and the fetch of the new version's file. The update server's
// "/version.info" is a profile file: section Main with Version, FileSize
// (bytes), Host (where the release file lives), FileName (its path there
// without the leading "/"), optionally SHA256 (its hash in hex), and
// Signature (the publisher's, update/release_signature.h); every line that
// begins with ";" is a line of the text of what is new.
//
// No widgets here: the window Upgrade (update/upgrade.h) shows what the
// check found, and the download workflow decides what follows.

#include "settings/bytetext.h"

#include <QString>
#include <functional>

class Download_Control;
class INI;

// UpdateInfo: what the check read, each value as the profile read gives it
// (cut to 254 characters), and the what's-new lines without their ";",
// joined by CR LF.
struct UpdateInfo {
    ByteText Version;
    ByteText FileSize;
    ByteText Host;
    ByteText FileName;
    ByteText SHA256;
    ByteText Signature;
    ByteText WhatsNew;
};

// The window's decision: "Обновить", or "Отмена" (the download goes on).
enum class UpdateDecision { Cancel, Update };

enum class VersionCheck {
    Current,      // no newer version, or no answer: the run goes on
    NewVersion,   // info names a version other than the program's own
    Stopped,      // the user stopped the fetch
    ProxyRefused, // the proxy refused the login: the run cannot go on
};

// Fetches "/version.info" from updateHost (cache off) and reads the answer
// with ini, from memory: no file is written for it.
VersionCheck AskUpdateServer(Download_Control& DC, const ByteText& updateHost, INI& ini,
                             UpdateInfo& info);

// The description in the server's answer (status line and headers first,
// ignored by the profile read).
UpdateInfo ReadVersionInfo(INI& ini, const ByteText& reply);

// Any Version other than the program's own counts as newer; an empty one
// (a reply without section Main) does not.
bool IsNewVersion(const UpdateInfo& info);

// FileSize as a whole number of bytes, and in whole kilobytes.
qint64 ReleaseSize(const UpdateInfo& info);
qint64 ReleaseSizeKb(const UpdateInfo& info);

// The what's-new text as the preview control's document. A text without
// markup is shown line by line; one with markup is shown as it is, inside a
// body unless it brings its own.
ByteText WhatsNewDocument(const ByteText& WhatsNew);

// The texts of the update window and of the update's progress.
namespace update_text {
QString VersionLabel(const UpdateInfo& info);   // "Версия: X (ваша версия - 2.1.7)"
QString SizeLabel(const UpdateInfo& info);      // "Размер файла: N кб"
QString Notice();                               // "Внимание!" and the warranty line
QString DirectLink(const UpdateInfo& info);     // "http://" + Host + "/" + FileName
QString DownloadStatus(const UpdateInfo& info); // "Загрузка обновления (N кб)..."
QString Failed(); // "Ошибка при загрузке обновления."
// A release the publisher did not sign is never started.
QString Unsigned(); // "Обновление не подписано издателем. ..."
// The line an unattended run writes when a newer version exists; it says
// too when version.info carries no signature.
QString UnattendedNotice(const UpdateInfo& info);
} // namespace update_text
