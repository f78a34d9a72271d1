#pragma once
// The groups of window pictures norvel-screenshots writes. Each writes its
// PNG files into outDir, says on standard output which, and returns false
// when something it needed was missing.

#include <QString>

// "Архив" with its list, the same with the preview of a demo issue,
// "Копирование архива" in the middle of a copy, and the main window offering
// a downloaded issue ("Открыть номер").
bool ArchiveShots(const QString& outDir);
