#pragma once
// Keeping the search index in step with the archive. The index is derived
// data: a missing or damaged one is built anew from Download/, and nothing
// here ever fails a download; what went unusually comes back as a line for
// the user. Every change is one Xapian transaction, so a run killed while
// indexing leaves the index as it was before that change, and it opens.

#include <QString>
#include <QStringList>
#include <functional>

namespace search {

struct IndexOutcome {
    bool done = false; // the change is in the index
    QString note;      // for the user: the index was built anew, or why nothing changed
    int issues = 0;    // issues indexed
    int pages = 0;     // pages indexed
};

// Puts the saved pages of the issue in issueFolder (under Download/) into
// the index, in place of what it held of that issue. An index that has to
// be built from the whole archive first reports progress(done, total)
// after each issue.
IndexOutcome IndexIssue(const QString& programFolder, const QString& issueFolder,
                        const std::function<void(int done, int total)>& progress = {});

// Takes the issues in the named folders of Download/ out of the index.
IndexOutcome ForgetIssues(const QString& programFolder, const QStringList& folderNames);

// Builds the index again from every issue in Download/, reporting
// progress(done, total) after each issue; issues no longer there leave it.
IndexOutcome Reindex(const QString& programFolder,
                     const std::function<void(int done, int total)>& progress = {});

} // namespace search
