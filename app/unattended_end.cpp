#include "app/unattended_end.h"

#include "app/run_log.h"
#include "app/unattended_messenger.h"
#include "settings/utf8_text.h"

#include <QDir>
#include <cstdio>

namespace {

// The failed paths a line names before it only counts the rest.
constexpr int NamedFailures = 5;

struct EndWords {
    const char* code;   // in the run log
    const char* phrase; // in the summary
};

EndWords wordsFor(DownloadEnd end) {
    switch (end) {
    case DownloadEnd::Complete:
        return {"complete", "номер загружен полностью"};
    case DownloadEnd::Incomplete:
        return {"incomplete", "номер загружен не полностью"};
    case DownloadEnd::Stopped:
        return {"stopped", "загрузка прервана"};
    case DownloadEnd::AlreadyArchived:
        return {"archived", "номер уже есть в архиве"};
    case DownloadEnd::Failed:
        break;
    }
    return {"failed", "загрузка не удалась"};
}

QString failedPathsText(const QList<ByteText>& paths) {
    QStringList named;
    for (int i = 0; i < paths.size() && i < NamedFailures; ++i)
        named << cp1251::toUnicode(paths.at(i));
    QString text = U("не загружены: ") + named.join(", ");
    if (paths.size() > NamedFailures)
        text += U(" и ещё %1").arg(paths.size() - NamedFailures);
    return text;
}

// A sentence ends with one mark: "!" or "?" of the last reason stays alone.
QString sentence(const QString& text) {
    return text.endsWith('.') || text.endsWith('!') || text.endsWith('?') ? text : text + ".";
}

QString sourceCode(int16_t source) {
    return source == MagazineSource ? QStringLiteral("kt") : QStringLiteral("kp");
}

} // namespace

QString SourceTitle(int16_t source) {
    return source == MagazineSource ? U("Зенитра (kt)") : U("Ведомир (kp)");
}

UnattendedEnd DescribeDownloadEnd(const DownloadReport& report, const WorkflowState& st,
                                  const QString& status, const QStringList& messages) {
    DownloadEnd end = report.end;
    if (end == DownloadEnd::Failed && st.StopRequested)
        end = DownloadEnd::Stopped;
    const bool archived = end == DownloadEnd::AlreadyArchived;
    const QString number = cp1251::toUnicode(archived ? st.LatestIssue : st.IssueNumber);
    const QString date = archived ? QString() : cp1251::toUnicode(st.IssueDateNumeric);
    const QString folder =
        QDir::toNativeSeparators(archived ? report.archivedFolder : st.IssueFolder);

    QStringList details;
    if (!number.isEmpty())
        details << U("номер ") + number + (date.isEmpty() ? QString() : U(" от ") + date);
    if (!folder.isEmpty())
        details << U("папка ") + folder;
    const QString pages = st.PageCount > 0 && !archived
                              ? QStringLiteral("%1/%2").arg(report.pagesSaved).arg(st.PageCount)
                              : QString();
    const QString pictures =
        report.picturesFetched && !archived
            ? QStringLiteral("%1/%2").arg(report.picturesSaved).arg(st.ImageCount)
            : QString();
    if (!pages.isEmpty())
        details << U("страниц %1 из %2").arg(report.pagesSaved).arg(st.PageCount);
    if (!pictures.isEmpty())
        details << U("изображений %1 из %2").arg(report.picturesSaved).arg(st.ImageCount);

    QStringList errors;
    if (end == DownloadEnd::Failed || end == DownloadEnd::Stopped)
        errors << status;
    errors << report.reasons;
    if (end == DownloadEnd::Failed)
        errors << messages;
    if (!report.failedPaths.isEmpty())
        errors << failedPathsText(report.failedPaths);
    if (report.copyFailed)
        errors << U("копирование в папку копий не удалось");
    errors.removeAll(QString());

    const EndWords words = wordsFor(end);
    UnattendedEnd result;
    result.exitStatus = end == DownloadEnd::Complete || archived ? ExitComplete : ExitFailed;
    result.summary = SourceTitle(st.CurrentSource) + ": " + U(words.phrase);
    if (!details.isEmpty())
        result.summary += "; " + details.join("; ");
    if (!errors.isEmpty())
        result.summary += U("; ошибки: ") + errors.join("; ");
    result.summary = OneLine(sentence(result.summary));
    result.logLine = RunLogFields({sourceCode(st.CurrentSource), QLatin1String(words.code),
                                   (number + " " + date).trimmed(), folder,
                                   U("pages ") + (pages.isEmpty() ? "-" : pages),
                                   U("pictures ") + (pictures.isEmpty() ? "-" : pictures),
                                   errors.join("; "), report.notices.join("; ")});
    return result;
}

UnattendedEnd DescribeStartFailure(int16_t source, const QString& reason) {
    UnattendedEnd result;
    result.exitStatus = ExitNotStarted;
    result.summary =
        sentence(SourceTitle(source) + U(": запуск невозможен; ошибки: ") + OneLine(reason));
    result.logLine =
        RunLogFields({sourceCode(source), "not-started", "", "", "pages -", "pictures -", reason});
    return result;
}

int Conclude(const UnattendedEnd& end, const QString& programFolder) {
    const QByteArray line = (end.summary + "\n").toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
    // A scheduler's line often sends standard output away: a download that
    // failed or is incomplete says so where its errors go as well (a run
    // that could not start has said why there already).
    if (end.exitStatus == ExitFailed) {
        const QByteArray error = "norvel2: " + line;
        std::fwrite(error.constData(), 1, size_t(error.size()), stderr);
        std::fflush(stderr);
    }
    AppendRunLog(programFolder, end.logLine);
    return end.exitStatus;
}
