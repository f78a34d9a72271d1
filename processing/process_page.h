#pragma once
// The processing script applied to one downloaded page: the replace rules,
// then the cut rules, of the current source's rule set (newspaper keys plain,
// magazine keys ending in "CT"). A rule set that loops (more than 700
// replacements on one page, more than 100 cuts by one rule) or a cut whose
// end comes before its start is reported once; from then on ScriptFailed is
// set for the rest of the run and pages pass through unprocessed.
//
// The script file is read through the profile reader; its values are
// remembered until the file changes on disk (ScriptFile), so an edit takes
// effect with the next page.

#include "processing/script_file.h"
#include "settings/bytetext.h"
#include "settings/messenger.h"

#include <QString>
#include <cstdint>

class PageProcessor {
public:
    // The replace pass gives up on the replacement after this many, counted
    // over all rules of one page.
    static constexpr int MaxReplacementsPerPage = 700;
    // A cut rule gives up on the cut after this many.
    static constexpr int MaxCutsPerRule = 100;

    explicit PageProcessor(Messenger& messenger) : messenger_(messenger) {}

    // The page rewritten by the script at FileScript, for CurrentSource 1
    // (newspaper) or 2 (magazine). A missing script, a counter of 0 replace
    // rules or an earlier failure give the page unchanged; a failure in the
    // replace pass gives the page as it came, one in the cut pass the page
    // after the replace pass.
    ByteText ProcessPage(const ByteText& page, int16_t CurrentSource, const QString& FileScript);

    bool ScriptFailed() const { return ScriptFailed_; }

    // The script shipped in the program's data/. While it exists, a
    // FileScript that names no file is a mistake worth a word (a moved
    // program folder, a path typed wrong), said once per run; the pages
    // then pass through unprocessed as with no script at all.
    void setShippedScript(const QString& path) { shippedScript_ = path; }

private:
    bool replacePass(ByteText& text, const ByteText& suffix, int16_t rules);
    bool cutPass(ByteText& text, const ByteText& suffix, int16_t rules);
    void fail(const QStringList& lines);
    void reportMissingScript(const QString& FileScript);

    Messenger& messenger_;
    ScriptFile script_;
    bool ScriptFailed_ = false;
    QString shippedScript_;
    bool missingScriptReported_ = false;
};
