#include "tests/support/program_run.h"

#include "settings/ini.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

ProgramRun RunProgram(const QString& home, const QString& switchText,
                      const QStringList& environment, int timeoutMs) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("NORVEL_HOME", home);
    for (const QString& entry : environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    QProcess program;
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(TempProgramFolder::binDir() + "/norvel2", {switchText});
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
