#pragma once
// The demo site's newest newspaper and magazine issues as the program itself
// downloads them (norvel2 -kp, then -kt), made once for all the test
// processes of a build and made again when the program or the demo site is
// rebuilt. Tests copy the issues they need into their own program folder.

#include <QString>

class TempProgramFolder;

struct DemoIssues {
    QString archive;   // the Download folder holding them
    QString newspaper; // issue folder names in it
    QString magazine;
    QString error; // why they could not be made; empty when they were
};

const DemoIssues& DownloadedDemoIssues();

// Copies the demo issue name into home's archive as newName (the same name
// when empty); the copy's full path.
QString CopyDemoIssue(const TempProgramFolder& home, const QString& name,
                      const QString& newName = {});
