#pragma once
// What an unattended run has to say beyond its messages goes to standard
// error, one line each, so the scheduler's mail or log keeps it.

#include <QString>

void WriteToStandardError(const QString& text);
