// The program norvel2 as a scheduler starts it. A -kp or -kt run without a
// display goes on here, on the console libraries alone: no window system,
// fonts, picture or book libraries are loaded, which took most of such a
// run's start. --help, --version and the search commands (--search,
// --reindex, which must answer fast) are answered here. Every other start,
// and an unattended run whose settings ask for e-books, goes on in
// norvel2-gui beside this program, with the same arguments.
#include "app/program_run.h"
#include "app/program_start.h"
#include "app/reader_commands.h"
#include "app/search_commands.h"
#include "app/start_up.h"
#include "settings/program_folder.h"
#include "settings/settings.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    if (const std::optional<int> status = RunSearchCommand(argc, argv))
        return *status;
    if (IsReaderCommand(argc, argv))
        HandOverToWindows(argv);
    if (const std::optional<int> status = AnswerInfoSwitch(argc, argv))
        return *status;
    const CommandLine line = ParseCommandLine(CommandLineOf(argc, argv));
    if (!DisplayMissing() || (!line.AutoNewspaper && !line.AutoMagazine))
        HandOverToWindows(argv);
    QuietToolkit();
    const auto application = WindowlessApplication(argc, argv);
    if (MakesBooks(LocateProgramFolder().folder))
        HandOverToWindows(argv);
    return RunProgram(nullptr, [&](Run& run) { return RunWithoutWindow(run, *application, {}); });
}
