#include "app/program_start.h"

#include "app/start_up.h"
#include "app/unattended_end.h"
#include "settings/version.h"

#include <QCoreApplication>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

void PrintLine(std::FILE* stream, const QString& text) {
    const QByteArray bytes = (QString(text).replace("\r\n", "\n") + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString CommandLineOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return CommandLineText(arguments);
}

std::optional<int> AnswerInfoSwitch(int argc, char** argv) {
    switch (InfoSwitchOf(CommandLineOf(argc, argv))) {
    case InfoSwitch::Help:
        PrintLine(stdout, CommandLineHelp());
        return 0;
    case InfoSwitch::Version:
        PrintLine(stdout, QStringLiteral("norvel2 ") + QLatin1String(ProgramVersion));
        return 0;
    case InfoSwitch::None:
        break;
    }
    return std::nullopt;
}

bool DisplayMissing() {
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

void QuietToolkit() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            PrintLine(stderr, text);
    });
}

std::unique_ptr<QCoreApplication> WindowlessApplication(int& argc, char** argv) {
    const bool choose = !qEnvironmentVariableIsSet("QT_NO_GLIB");
    if (choose)
        qputenv("QT_NO_GLIB", "1");
    auto application = std::make_unique<QCoreApplication>(argc, argv);
    if (choose)
        qunsetenv("QT_NO_GLIB");
    return application;
}

void HandOverToWindows(char** argv) {
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    QByteArray program = length > 0 ? QByteArray(self, length) : QByteArray(argv[0]);
    program = program.left(program.lastIndexOf('/') + 1) + "norvel2-gui";
    ::execv(program.constData(), argv);
    std::fprintf(stderr, "norvel2: %s: %s\n", program.constData(), std::strerror(errno));
    std::exit(ExitNotStarted);
}
