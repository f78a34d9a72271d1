#include "tests/support/program_run.h"

#include "settings/ini.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

namespace {

QProcessEnvironment WithoutDisplay(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("NORVEL_HOME", home);
    return env;
}

ProgramRun Run(const QProcessEnvironment& env, const QStringList& arguments, int timeoutMs) {
    QProcess program;
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(TempProgramFolder::binDir() + "/norvel2", arguments);
    ProgramRun run;
    run.finished = program.waitForFinished(timeoutMs);
    if (!run.finished) {
        program.kill();
        program.waitForFinished();
    }
    run.exitCode = program.exitCode();
    run.ms = clock.elapsed();
    run.output = program.readAllStandardOutput();
    run.errors = program.readAllStandardError();
    return run;
}

} // namespace

ProgramRun RunProgram(const QString& home, const QString& switchText,
                      const QStringList& environment, int timeoutMs) {
    QProcessEnvironment env = WithoutDisplay(home);
    for (const QString& entry : environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    return Run(env, {switchText}, timeoutMs);
}

ProgramRun RunDrivenProgram(const QString& home, const QString& driverScript, int timeoutMs) {
    // The windows are run unseen on the platform chosen for them: without
    // any, an interactive start refuses to wait on a window nobody sees.
    QProcessEnvironment env = WithoutDisplay(home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_PLUGIN_PATH", NORVEL_TEST_PLUGIN_DIR);
    env.insert("QT_QPA_GENERIC_PLUGINS", "norveluidriver:" + driverScript);
    return Run(env, {}, timeoutMs);
}

void UseDemoProxy(Settings& s, quint16 proxyPort) {
    s.UseProxy = true;
    s.ProxyName = "127.0.0.1";
    s.ProxyPort = QString::number(proxyPort);
    s.ProxyAut = true;
    s.ProxyLogin = "reader";
    s.ProxyPass = "secret";
}

void WriteOptions(const QString& home, const std::function<void(Settings&)>& change) {
    Settings settings;
    SetDefaults(settings, home);
    change(settings);
    INI ini;
    ScriptedMessenger messenger;
    SaveSettings(settings, ini, home, messenger);
}

QString OnlyIssueFolder(const QString& home) {
    const QDir download(home + "/Download");
    const QStringList folders = download.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return folders.size() == 1 ? download.filePath(folders.first()) : QString();
}
