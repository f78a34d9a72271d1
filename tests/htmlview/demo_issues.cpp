#include "demo_issues.h"

#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <QProcess>

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
        QProcess program;
        // Started as a scheduler starts it: no display, the platform its own choice.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("NORVEL_HOME"), home->path());
        program.setProcessEnvironment(env);
        program.start(TempProgramFolder::binDir() + QStringLiteral("/norvel2"),
                      {QString::fromLatin1(source)});
        if (!program.waitForFinished(120'000) || program.exitCode() != 0) {
            program.kill();
            program.waitForFinished();
            return archive;
        }
    }
    archive = home->file(QStringLiteral("Download"));
    return archive;
}

} // namespace htmlview::test
