#pragma once
// The copy of the installation's data/ in a user's program folder. The first
// start copies every file; later starts bring in what the installation
// changed (a newer version) and leave alone every copy that was changed
// since it was made: an edited script.txt, a restyled template or a
// stylesheet at another font size are the user's own. data/.installed
// records what each copy held when it was made.

#include <QString>

// Brings programFolder + "/data" up to date with installedData, creating
// both folders when missing. False when a folder or a file could not be
// written; whatever was copied stays.
bool SyncInstalledData(const QString& installedData, const QString& programFolder);

// The record of the copies, in programFolder + "/data".
inline constexpr char InstalledDataRecord[] = ".installed";
