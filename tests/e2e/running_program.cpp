#include "tests/e2e/running_program.h"

#include "tests/support/temp_program_folder.h"

#include <QElapsedTimer>
#include <QTest>

void StartNorvel(QProcess& program, const QString& home, const QStringList& arguments,
                 const QStringList& wrapper) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("NORVEL_HOME", home);
    program.setProcessEnvironment(env);
    const QString binary = TempProgramFolder::binDir() + "/norvel2";
    if (wrapper.isEmpty())
        program.start(binary, arguments);
    else
        program.start(wrapper.first(), wrapper.mid(1) + QStringList{binary} + arguments);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    return condition();
}
