#include "app/start_up.h"
#include "settings/program_folder.h"

#include "settings/utf8_text.h"
#include "settings/version.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

const std::array<const char*, 9> ServiceFiles = {
    "index.dat", "kp.css",      "mainindex.dat", "script.txt", "t-01.gif",
    "t-02.gif",  "wserror.dat", "indexct.dat",   "ktlogo.gif",
};

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString incompleteVersionTail(const ByteText& homePage) {
    return QString::fromUtf8("Вы запустили неполную версию программы. Скачайте и установите "
                             "последнюю доступную полную версию программы на сайте автора ") +
           cp1251::toUnicode(homePage) + CrLf + CrLf +
           QString::fromUtf8("Продолжение работы невозможно");
}

} // namespace

bool CheckDataFolder(const QString& programFolder, const ByteText& homePage, Messenger& messenger) {
    const QString dataFolder = programFolder + "/data";
    if (!QFileInfo(dataFolder).isDir()) {
        messenger.Show(QString::fromUtf8("Служебный каталог ") + dataFolder +
                           QString::fromUtf8(" не найден!") + CrLf +
                           incompleteVersionTail(homePage),
                       QString::fromUtf8("Ошибка версии"), MessageIcon::Error);
        return false;
    }
    QString missing;
    for (const char* name : ServiceFiles) {
        const QString path = dataFolder + "/" + QLatin1String(name);
        if (!QFileInfo(path).isFile())
            missing += path + CrLf;
    }
    if (missing.isEmpty())
        return true;
    messenger.Show(QString::fromUtf8("В каталоге ") + dataFolder +
                       QString::fromUtf8(" не найдены некоторые служебные файлы, необходимые для "
                                         "работы программы:") +
                       CrLf + CrLf + missing + CrLf + incompleteVersionTail(homePage),
                   QString::fromUtf8("Ошибка"), MessageIcon::Error);
    return false;
}

QString CommandLineText(const QStringList& arguments) {
    return arguments.mid(1).join(' ');
}

CommandLine ParseCommandLine(const QString& text) {
    CommandLine line;
    if (text.isEmpty())
        return line;
    if (text.startsWith(QLatin1String("/del "))) {
        line.DeleteAfterUpdate = true;
        line.FileToDelete = text.mid(5);
    }
    if (text == QLatin1String("-kp"))
        line.AutoNewspaper = true;
    else if (text == QLatin1String("-kt"))
        line.AutoMagazine = true;
    else
        line.ShowHelp = true;
    return line;
}

QList<CommandSwitch> CommandSwitches() {
    return {
        {"-kp", "", U("загрузить последний номер 'Ведомира'")},
        {"-kt", "", U("загрузить последний номер 'Зенитры'")},
        {"--epub", U("ПАПКА"), U("сделать книгу EPUB из номера в папке")},
        {"--serve", U("[ПОРТ]"), U("открыть каталог книг для читалок (OPDS), порт 8085")},
        {"--search", U("ЗАПРОС [--source kp|kt] [--from ДАТА] [--to ДАТА] [--limit N]"),
         U("найти статьи в архиве: слова в любой форме, \"слова в кавычках\" - фраза, "
           "-слово - без него")},
        {"--reindex", "", U("заново построить поисковый индекс архива")},
        {"--help", "", U("эта справка")},
        {"--version", "", U("версия программы")},
    };
}

QString CommandLineHelp() {
    QString help = U("Ключи командной строки:") + CrLf + CrLf;
    for (const CommandSwitch& option : CommandSwitches()) {
        const QString usage =
            option.argument.isEmpty() ? option.name : option.name + ' ' + option.argument;
        help += "norvel2 " + usage + " - " + option.meaning + CrLf;
    }
    return help + CrLf +
           U("Если последний доступный номер был загружен ранее, программа завершит работу.");
}

InfoSwitch InfoSwitchOf(const QString& commandLine) {
    if (commandLine == QLatin1String("-h") || commandLine == QLatin1String("--help"))
        return InfoSwitch::Help;
    if (commandLine == QLatin1String("--version"))
        return InfoSwitch::Version;
    return InfoSwitch::None;
}

bool FolderWritable(const QString& folder) {
    QTemporaryFile probe(folder + "/.norvel-write-check-XXXXXX");
    return QFileInfo(folder).isDir() && probe.open();
}

QString NoWriteAccessText(const QString& folder) {
    return QString::fromUtf8("Нет доступа на запись в папку ") + QDir::toNativeSeparators(folder);
}

int EmptyFolderFiles(const QString& folder) {
    QDir dir(folder);
    int stayed = 0;
    const auto entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        // One file that cannot go must not keep the others from going.
        if (!QFile::remove(entry.filePath()))
            ++stayed;
    }
    return stayed;
}

int RemoveLeftoversOfKilledRuns(const QString& programFolder) {
    QStringList folders = {programFolder, programFolder + "/data", programFolder + "/cashe",
                           ArchiveFolderPath(programFolder)};
    const QString archive = ArchiveFolderPath(programFolder);
    for (const QString& issue : QDir(archive).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        folders << archive + "/" + issue << archive + "/" + issue + "/img";
    int removed = 0;
    for (const QString& folder : folders)
        removed += RemoveWriteLeftovers(folder);
    return removed;
}

void TakeSettings(AppState& app, Messenger& messenger) {
    const QString options = OptionsFilePath(app.ProgramFolder);
    const bool exists = QFileInfo::exists(options);
    if (exists && SettingsFileUsable(options)) {
        LoadSettings(app.settings, app.OptionsINI, app.ProgramFolder, messenger);
        return;
    }
    SetDefaults(app.settings, app.ProgramFolder);
    if (exists) {
        // The damaged file is the user's: it is kept, never written over.
        const QString aside = options + ".bad";
        QFile::remove(aside);
        const bool moved = QFile::rename(options, aside);
        messenger.Show(DamagedSettingsText(options, moved ? aside : QString()),
                       QString::fromUtf8("Внимание!"), MessageIcon::Warning);
        if (!moved)
            return;
    }
    SaveSettings(app.settings, app.OptionsINI, app.ProgramFolder, messenger);
}

bool StartUp(AppState& app, const QString& commandLine, Messenger& messenger,
             const CasheSetup& setCashe) {
    const CommandLine line = ParseCommandLine(commandLine);
    if (line.DeleteAfterUpdate) {
        if (!line.FileToDelete.isEmpty() && !QFileInfo(line.FileToDelete).isDir())
            QFile::remove(line.FileToDelete);
        messenger.Show(QString::fromUtf8("Было произведено обновление программы до версии ") +
                           QLatin1String(ProgramVersion),
                       QString::fromUtf8("Норвел: сообщение"), MessageIcon::Information);
    }

    TakeSettings(app, messenger);

    if (setCashe)
        setCashe(app.ProgramFolder + "/cashe", app.settings.CasheSize);

    app.state.TempFolder = app.ProgramFolder + "/temp";
    QDir().mkpath(app.state.TempFolder);
    EmptyFolderFiles(app.state.TempFolder);
    RemoveLeftoversOfKilledRuns(app.ProgramFolder);

    if (commandLine.isEmpty())
        return false;
    app.state.AutoNewspaper = line.AutoNewspaper;
    app.state.AutoMagazine = line.AutoMagazine;
    if (line.ShowHelp)
        messenger.Show(CommandLineHelp(), QString::fromUtf8("Командная строка"),
                       MessageIcon::Information);
    return app.state.AutoNewspaper || app.state.AutoMagazine;
}
