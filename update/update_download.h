#pragma once
// DownloadUpdate's parts: the release file named by version.info is fetched
// from its host, checked, written with the executable bit into a new folder
// of its own under the program folder's updates/, and started. No file that
// was there before is ever replaced or removed.
//
// The file comes over plain HTTP from a name the server chose, so before
// anything is written or started: the name must be a plain file name (no
// "/", "\", "..", control characters), the body must be FileSize bytes long,
// when version.info carries SHA256 the body's hash must match it, and the
// publisher's key must verify version.info's Signature over the body.

#include "update/release_signature.h"
#include "update/update_check.h"

#include <QString>
#include <functional>

class Download_Control;

// Whether FileName can be a file directly in the program folder.
bool IsSafeReleaseName(const ByteText& FileName);

// Whether a fetched body is the release version.info describes: its size is
// FileSize, and its SHA-256 is SHA256 (hex, either case) when that is given.
bool ReleaseMatches(const ByteText& body, const UpdateInfo& info);

enum class ReleaseFetch {
    Ready,    // written to the path, executable
    Failed,   // refused name, failed fetch, wrong size or hash, write failed
    Unsigned, // no signature, or one the publisher's key does not verify
    Stopped,  // the user stopped the fetch
};

// Where releases are written, in the program folder.
inline constexpr char ReleaseFolder[] = "updates";

struct FetchedRelease {
    ReleaseFetch outcome = ReleaseFetch::Failed;
    QString path; // when Ready: program folder + "/updates/release-XXXXXX/" + FileName
};

// Fetches "/" + FileName from Host, then "/download.php?version=" + Version
// (whatever came of the first, its answer unread), checks the body and
// writes it. Without a well-formed Signature nothing is fetched. A refused
// or failed release leaves no file behind.
// status gets "Загрузка обновления (N кб)...".
FetchedRelease FetchRelease(Download_Control& DC, const UpdateInfo& info,
                            const QString& programFolder,
                            const std::function<void(const QString&)>& status,
                            const ByteText& publicKey = PublisherKey());

// Starts the release as a program in the program folder; false when it
// could not be started.
bool StartRelease(const QString& path, const QString& programFolder);
