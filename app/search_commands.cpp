#include "app/search_commands.h"

#include "app/program_start.h"
#include "search/archive_index.h"
#include "search/archive_search.h"
#include "search/index_progress.h"
#include "settings/program_folder.h"

#include <QCoreApplication>
#include <QStringList>
#include <functional>
#include <unistd.h>

namespace {

constexpr int DefaultLimit = 10;
constexpr int HitsFound = 0, NothingFound = 1, BadRequest = 2;

QDate dateOf(const QString& text) {
    for (const char* format : {"dd.MM.yyyy", "yyyy-MM-dd"}) {
        const QDate date = QDate::fromString(text, QLatin1String(format));
        if (date.isValid())
            return date;
    }
    return {};
}

// The switches take a value each; every other argument is a word of the
// query, so that "-word" stays an exclusion. No word begins with two
// dashes: such an argument is a mistyped switch, which would otherwise
// become a word that nothing holds. Empty error: the request.
search::SearchRequest readRequest(const QStringList& arguments, QString& error) {
    search::SearchRequest request;
    request.limit = DefaultLimit;
    QStringList words;
    for (qsizetype i = 2; i < arguments.size() && error.isEmpty(); ++i) {
        const QString& argument = arguments.at(i);
        const bool isSwitch = argument == "--source" || argument == "--from" ||
                              argument == "--to" || argument == "--limit";
        if (!isSwitch && argument.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("неизвестный ключ «%1» (--source, --from, --to, --limit)")
                        .arg(argument);
            break;
        }
        if (!isSwitch) {
            words << argument;
            continue;
        }
        const QString value = arguments.value(++i);
        bool ok = true;
        if (argument == "--source") {
            ok = value == "kp" || value == "kt";
            request.source = value == "kt" ? 2 : 1;
        } else if (argument == "--limit") {
            request.limit = value.toInt(&ok);
            ok = ok && request.limit > 0;
        } else {
            (argument == "--from" ? request.from : request.to) = dateOf(value);
            ok = dateOf(value).isValid();
        }
        if (!ok)
            error = QStringLiteral("неверное значение %1 «%2» (--source kp|kt, --from и --to "
                                   "ДД.ММ.ГГГГ, --limit число больше нуля)")
                        .arg(argument, value);
    }
    request.query = words.join(' ');
    if (error.isEmpty() && request.query.trimmed().isEmpty())
        error = QStringLiteral("укажите слова для поиска: norvel2 --search ЗАПРОС");
    return request;
}

void printHit(const search::SearchHit& hit) {
    const QString source =
        hit.source == 2 ? QStringLiteral("Зенитра (kt)") : QStringLiteral("Ведомир (kp)");
    PrintLine(stdout, hit.date.toString(QStringLiteral("dd.MM.yyyy")) + "  " + source +
                          QStringLiteral(" № ") + hit.number + "\n" + hit.title + "\n" + hit.path +
                          "\n" + hit.snippet + "\n");
}

// How far a build of the whole index has come: on a terminal one line
// counts up; in a log, a line per tenth.
std::function<void(int, int)> progressOnStderr() {
    return [terminal = isatty(STDERR_FILENO) != 0](int done, int total) {
        const QString line = search::IndexingLine(done, total);
        if (terminal) {
            std::fprintf(stderr, "\r%s", line.toUtf8().constData());
            if (done == total)
                std::fputc('\n', stderr);
            std::fflush(stderr);
        } else if (done == total || done % qMax(1, total / 10) == 0) {
            PrintLine(stderr, line);
        }
    };
}

int searchArchive(const QStringList& arguments) {
    QString error;
    const search::SearchRequest request = readRequest(arguments, error);
    if (!error.isEmpty()) {
        PrintLine(stderr, QStringLiteral("Запрос не принят: ") + error);
        return BadRequest;
    }
    // An archive without an index is indexed whole first, with its count.
    const search::SearchResult result =
        search::Search(ProgramFolder(), request, {}, progressOnStderr());
    if (!result.note.isEmpty())
        PrintLine(stderr, result.note);
    if (!result.error.isEmpty()) {
        PrintLine(stderr, QStringLiteral("Запрос не принят: ") + result.error);
        return BadRequest;
    }
    for (const search::SearchHit& hit : result.hits)
        printHit(hit);
    if (result.hits.isEmpty()) {
        PrintLine(stdout, QStringLiteral("Ничего не найдено."));
        return NothingFound;
    }
    return HitsFound;
}

int reindex() {
    const search::IndexOutcome outcome = search::Reindex(ProgramFolder(), progressOnStderr());
    if (!outcome.done) {
        PrintLine(stderr, QStringLiteral("Поисковый индекс не построен: ") + outcome.note);
        return NothingFound;
    }
    PrintLine(stdout, QStringLiteral("Поисковый индекс построен: номеров %1, страниц %2")
                          .arg(outcome.issues)
                          .arg(outcome.pages));
    return HitsFound;
}

} // namespace

std::optional<int> RunSearchCommand(int argc, char** argv) {
    if (!IsSearchCommand(argc, argv))
        return std::nullopt;
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (qstrcmp(argv[1], "--reindex") == 0) {
        if (arguments.size() != 2) {
            PrintLine(stderr, QStringLiteral("norvel2 --reindex не принимает других ключей"));
            return BadRequest;
        }
        return reindex();
    }
    return searchArchive(arguments);
}
