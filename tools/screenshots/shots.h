#pragma once
// The groups of window pictures norvel-screenshots writes. Each writes its
// PNG files into outDir, says on standard output which, and returns false
// when something it needed was missing.

#include <QString>

// "Архив" with its list, the same with the preview of a demo issue, and
// "Копирование архива" in the middle of a copy.
bool ArchiveShots(const QString& outDir);
