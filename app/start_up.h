#pragma once
// The start-up of the program, apart from the window: the check of the data
// folder, the command line, the settings, the cache folder handed to the
// download control and the emptied temp folder.

#include "app/global.h"
#include "settings/messenger.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// The nine service files of program folder + "/data", in the order the
// check tests them.
extern const std::array<const char*, 9> ServiceFiles;

// True when program folder + "/data" holds every service file. Otherwise
// shows which are missing (each by its full path) or that the folder itself
// is missing, naming homePage as the place to get the full program, and
// returns false: the program must end at once.
bool CheckDataFolder(const QString& programFolder, const ByteText& homePage, Messenger& messenger);

// The command line as one text: the arguments after the program's name,
// joined by single blanks.
QString CommandLineText(const QStringList& arguments);

// What a command line asks for. Only "-kp" and "-kt" exactly start an
// unattended run; "/del " + path deletes that file (the hand-over after an
// update); every other non-empty line gets the help message.
struct CommandLine {
    bool AutoNewspaper = false;
    bool AutoMagazine = false;
    bool ShowHelp = false;
    bool DeleteAfterUpdate = false;
    QString FileToDelete;
};
CommandLine ParseCommandLine(const QString& text);

// A switch the program answers, as its help and manual pages list it.
struct CommandSwitch {
    QString name;     // "--epub"
    QString argument; // "ПАПКА", or empty
    QString meaning;
};
// Every switch, in the order the help lists them.
QList<CommandSwitch> CommandSwitches();

// The help message of the title "Командная строка".
QString CommandLineHelp();

// The switches answered on standard output before anything else starts:
// "-h" or "--help" (the help message), "--version".
enum class InfoSwitch { None, Help, Version };
InfoSwitch InfoSwitchOf(const QString& commandLine);

// Whether a file can be made in folder (one is made and removed again).
// Checked at start-up, so a run that could save nothing does not start.
bool FolderWritable(const QString& folder);
// "Нет доступа на запись в папку " + folder.
QString NoWriteAccessText(const QString& folder);

// Deletes every file in folder (hidden ones too; subfolders stay), going on
// past a file that cannot be deleted. Returns how many stayed.
int EmptyFolderFiles(const QString& folder);

// Removes what a run killed in the middle of a write left behind (see
// RemoveWriteLeftovers) wherever the program writes: the program folder
// itself, data/, cashe/, Download/ and each issue folder with its img/.
// Returns how many files went.
int RemoveLeftoversOfKilledRuns(const QString& programFolder);

// The settings of the run: loaded from options.ini; the defaults, saved, on
// the first start; the defaults too when the file is empty or damaged, which
// is then kept aside as options.ini.bad with a message.
void TakeSettings(AppState& app, Messenger& messenger);

// Where start-up hands the cache folder and capacity (the download control).
using CasheSetup = std::function<void(const QString& folder, int16_t size)>;

// The start-up after the data-folder check, caption and source choice: the
// update clean-up, settings (defaults saved on first start, else loaded),
// the cache folder, the temp folder and the leftovers of a killed run, the
// command line. Failures of single
// steps are ignored. Returns true when an unattended run is due (CString).
bool StartUp(AppState& app, const QString& commandLine, Messenger& messenger,
             const CasheSetup& setCashe = {});
