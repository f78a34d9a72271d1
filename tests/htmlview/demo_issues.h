#pragma once
// A newspaper issue and a magazine issue downloaded from the demo site by the
// real program (norvel2 -kp, then -kt, in a fresh program folder), once per
// test program run.

#include <QString>

namespace htmlview::test {

// The Download folder holding both issues, or an empty text when the site or
// a download failed.
QString DownloadedDemoIssues();

} // namespace htmlview::test
