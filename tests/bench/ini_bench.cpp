// Speed of the profile-file component on a file of 500 keys, the size the
// response cache database reaches: reads of every key, reads while another
// writer changes the file, and single-key writes (each one an atomic replace).
#include "settings/ini.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int KeyCount = 500;

ByteText keyName(int i) {
    return "File" + ByteText::number(i);
}

double perCallMicros(QElapsedTimer& timer, int calls) {
    return timer.nsecsElapsed() / 1000.0 / calls;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    INI ini;
    ini.setFileName(dir.filePath("bench.ini"));

    ByteText content = "[Cashe]\r\n";
    for (int i = 0; i < KeyCount; ++i)
        content +=
            keyName(i) + "=http://www.vedomir.ru/daily/" + ByteText::number(i) + "/print\r\n";
    {
        QFile f(ini.FileName());
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }

    QElapsedTimer timer;
    timer.start();
    ByteText last;
    for (int round = 0; round < 4; ++round)
        for (int i = 0; i < KeyCount; ++i)
            last = ini.RINI("Cashe", keyName(i));
    std::printf("read of one key of %d:         %8.2f us (file just written)\n", KeyCount,
                perCallMicros(timer, 4 * KeyCount));

    {
        // A file older than the racy window is trusted by its stamp alone.
        QFile f(ini.FileName());
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                      QFileDevice::FileModificationTime);
    }
    timer.restart();
    for (int round = 0; round < 4; ++round)
        for (int i = 0; i < KeyCount; ++i)
            last = ini.RINI("Cashe", keyName(i));
    std::printf("read of one key of %d:         %8.2f us (settled file)\n", KeyCount,
                perCallMicros(timer, 4 * KeyCount));

    const int writes = 100;
    timer.restart();
    for (int i = 0; i < writes; ++i)
        ini.WInI("Cashe", keyName(i * 5), "changed " + ByteText::number(i));
    std::printf("write of one key of %d:        %8.2f us\n", KeyCount,
                perCallMicros(timer, writes));

    INI other;
    other.setFileName(ini.FileName());
    timer.restart();
    for (int i = 0; i < writes; ++i) {
        other.WInI("Cashe", keyName(i), "other " + ByteText::number(i));
        last = ini.RINI("Cashe", keyName(i));
    }
    std::printf("write + read by another instance: %5.2f us\n", perCallMicros(timer, writes));

    timer.restart();
    for (int i = 0; i < writes; ++i)
        ini.WInI("Cashe", "New" + ByteText::number(i), "appended");
    std::printf("append of a new key:           %8.2f us\n", perCallMicros(timer, writes));
    return last.isEmpty() ? 1 : 0;
}
