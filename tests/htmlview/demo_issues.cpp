#include "demo_issues.h"

#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <memory>

namespace htmlview::test {

QString DownloadedDemoIssues() {
    static std::unique_ptr<TempProgramFolder> home;
    static QString archive;
    if (home)
        return archive;
    home = std::make_unique<TempProgramFolder>();
    DemoSite site;
    if (!site.isRunning() || !site.installInto(home->path()))
        return archive;
    for (const char* source : {"-kp", "-kt"}) {
        const ProgramRun run = RunProgram(home->path(), QString::fromLatin1(source), {}, 120'000);
        if (!run.finished || run.exitCode != 0)
            return archive;
    }
    archive = home->file(QStringLiteral("Download"));
    return archive;
}

} // namespace htmlview::test
