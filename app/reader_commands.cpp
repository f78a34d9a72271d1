#include "app/reader_commands.h"

#include "catalogue/server.h"
#include "ebook/epub_book.h"
#include "settings/program_folder.h"
#include "settings/sites.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

constexpr quint16 DefaultCataloguePort = 8085;

void say(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString issueFolderOf(const QString& argument, const QString& programFolder) {
    if (QFileInfo(argument).isDir())
        return QFileInfo(argument).absoluteFilePath();
    const QString inArchive = programFolder + "/Download/" + argument;
    return QFileInfo(inArchive).isDir() ? inArchive : QFileInfo(argument).absoluteFilePath();
}

int makeEpub(const QStringList& arguments) {
    if (arguments.size() != 3) {
        say(stderr, QStringLiteral("Укажите одну папку номера: norvel2 --epub ПАПКА"));
        return 2;
    }
    const QString programFolder = ProgramFolder();
    const QString folder = issueFolderOf(arguments.at(2), programFolder);
    const EpubResult book = MakeEpub(folder, LoadSites(programFolder));
    if (!book.written) {
        say(stderr, book.error);
        return 1;
    }
    say(stdout, BookMadeText(book));
    return 0;
}

int serve(const QStringList& arguments) {
    quint16 port = DefaultCataloguePort;
    bool ok = arguments.size() <= 3;
    if (ok && arguments.size() == 3) {
        const uint value = arguments.at(2).toUInt(&ok);
        ok = ok && value <= 65535;
        port = quint16(value);
    }
    if (!ok) {
        say(stderr, QStringLiteral("Укажите номер порта от 0 до 65535: norvel2 --serve [ПОРТ]"));
        return 2;
    }
    CatalogueServer server(ArchiveFolderPath(ProgramFolder()), LoadSites(ProgramFolder()));
    if (!server.listen(port)) {
        say(stderr, QStringLiteral("Каталог не запущен: порт %1 занят или недоступен (%2)")
                        .arg(port)
                        .arg(server.errorString()));
        return 2;
    }
    for (const QString& line : server.addresses())
        say(stdout, line);
    return QCoreApplication::exec();
}

} // namespace

std::optional<int> RunReaderCommand(int argc, char** argv) {
    if (!IsReaderCommand(argc, argv))
        return std::nullopt;
    // Pictures and sockets need no display: a console application is enough,
    // so the commands also run from a service or over ssh.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("norvel2"));
    const QStringList arguments = QCoreApplication::arguments();
    return qstrcmp(argv[1], "--epub") == 0 ? makeEpub(arguments) : serve(arguments);
}
