#include "tools/demosite/command_line.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

namespace {

bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, int low,
                int high, int& target, QString* error) {
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < low || value > high) {
        *error = QString("--%1 wants a number from %2 to %3, not '%4'")
                     .arg(option.names().first())
                     .arg(low)
                     .arg(high)
                     .arg(parser.value(option));
        return false;
    }
    target = value;
    return true;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "The demo site of Norvel: the newspaper, the magazine's archive and main hosts and the "
        "update server on loopback ports, plus an HTTP proxy for all of them.");
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption sites("write-sites",
                                   "Once every server listens, write the sites.ini profile for "
                                   "them to FILE ([Sites] and [Demo] Proxy=).",
                                   "FILE");
    const QCommandLineOption log("log", "Append every request head, byte for byte, to FILE.",
                                 "FILE");
    const QCommandLineOption seed("seed", "Seed of the generated content (default 1).", "N");
    const QCommandLineOption issues("issues", "Issues of each publication, 1-50 (default 5).", "N");
    const QCommandLineOption pages("pages", "Articles per issue, 1-200 (default 24).", "N");
    const QCommandLineOption images("images", "Pictures per article, 0-100 (default 2).", "N");
    const QCommandLineOption imageSize("image-size",
                                       "Approximate bytes of one picture (default 8000).", "BYTES");
    const QCommandLineOption announced(
        "announced",
        "Magazine issue (1 = newest) offered only as an announcement; 0 none "
        "(default 2).",
        "K");
    const QCommandLineOption shortIssue(
        "short-issue", "Magazine issue (1 = newest) with only 3 articles; 0 none (default 3).",
        "K");
    const QCommandLineOption version(
        "update-version", "Version named by /version.info (default 2.1.7, the program's own).",
        "X");
    const QCommandLineOption release(
        "update-release", "Serve FILE's bytes as the release (default: a generated script).",
        "FILE");
    const QCommandLineOption info(
        "update-info", "Serve FILE's bytes as /version.info, whatever they hold.", "FILE");
    const QCommandLineOption releaseName(
        "update-file-name", "FileName announced in /version.info, served as the release.", "NAME");
    const QCommandLineOption releaseSize(
        "update-file-size", "FileSize announced in /version.info (default: the true size).",
        "TEXT");
    const QCommandLineOption releaseHash(
        "update-sha256",
        "SHA256 announced in /version.info (default: the true hash; none: no such key).", "HEX");
    const QCommandLineOption releaseSignature(
        "update-signature",
        "Signature in /version.info: good (the demo key's over the release, the default), bad "
        "(over other bytes) or none.",
        "KIND", "good");
    const QCommandLineOption proxyAuth(
        "proxy-auth", "Make the proxy demand these Basic credentials.", "USER:PASSWORD");
    const QCommandLineOption proxyAuthRequired(
        "proxy-auth-required",
        "Refuse with \"407 Proxy Authentication Required\" (as common proxies word it) "
        "instead of \"407 Unauthorized\".");
    const QCommandLineOption proxy401(
        "proxy-refuses-401",
        "Refuse a missing or wrong proxy login with \"401 Unauthorized\", as tinyproxy does.");
    const QCommandLineOption fault(
        "fault",
        "Inject a fault for request paths matching PATTERN (a substring; with * or a leading ^ "
        "a match of the whole path and query; a leading newspaper:, archive:, main: or "
        "update: limits it to that host); repeatable; KIND is one of " +
            FaultRules::kindNames() + "; ':COUNT' limits it to the first COUNT requests.",
        "PATTERN=KIND[:COUNT]");
    const QCommandLineOption port("port",
                                  "Listen on PORT..PORT+4 (newspaper, archive, main, update, "
                                  "proxy) instead of free ports.",
                                  "PORT");
    const QCommandLineOption latency(
        "latency",
        "Behave as over a link with this round trip: wait MS after accepting a connection "
        "and MS after each request before answering (default 0).",
        "MS");
    const QCommandLineOption dribble("dribble-ms", "Delay between dribbled bytes (default 2).",
                                     "MS");
    const QCommandLineOption crlfLink(
        "crlf-link", "Give the newest newspaper issue's first article one more picture whose "
                     "address holds CR LF and a header line (\"X-Injected: yes\").");
    const QCommandLineOption longNames(
        "long-picture-names",
        "Give the newest newspaper issue's first article two more pictures whose names are "
        "longer than a file system allows (300 Latin, 130 Cyrillic letters).");
    const QCommandLineOption tls(
        "tls", "Serve every host over TLS with a throw-away certificate for 127.0.0.1; the "
               "authority's certificate is written as demosite-ca.pem beside the --write-sites "
               "file, which names the hosts https:// and the authority in CaFile.");
    const QCommandLineOption tlsCertificate(
        "tls-certificate",
        "With --tls, the certificate the hosts present: " + CertificateKindNames().join(", ") +
            " (default good; the others are refused by a client that checks).",
        "KIND");
    const QCommandLineOption verbose("verbose", "Print one line per request on stderr.");
    const QCommandLineOption exitWithStdin(
        "exit-with-stdin",
        "End when standard input reaches its end (the parent that started it has gone).");
    parser.addOptions({help,
                       sites,
                       log,
                       seed,
                       issues,
                       pages,
                       images,
                       imageSize,
                       announced,
                       shortIssue,
                       version,
                       release,
                       info,
                       releaseName,
                       releaseSize,
                       releaseHash,
                       releaseSignature,
                       proxyAuth,
                       proxyAuthRequired,
                       proxy401,
                       fault,
                       port,
                       dribble,
                       latency,
                       crlfLink,
                       longNames,
                       tls,
                       tlsCertificate,
                       verbose,
                       exitWithStdin});
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.helpText = parser.helpText();
        result.ok = true;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = "unexpected argument: " + parser.positionalArguments().first();
        return result;
    }
    ServerOptions& options = result.server;
    DemoConfig& content = options.content;
    if (parser.isSet(seed)) {
        bool ok = false;
        content.seed = parser.value(seed).toULongLong(&ok);
        if (!ok) {
            result.error = "--seed wants a number, not '" + parser.value(seed) + "'";
            return result;
        }
    }
    int basePort = 0;
    QString* error = &result.error;
    if (!readNumber(parser, issues, 1, 50, content.issues, error) ||
        !readNumber(parser, pages, 1, 200, content.pages, error) ||
        !readNumber(parser, images, 0, 100, content.images, error) ||
        !readNumber(parser, imageSize, 64, 16 * 1024 * 1024, content.imageSize, error) ||
        !readNumber(parser, announced, 0, 50, content.announcedIssue, error) ||
        !readNumber(parser, shortIssue, 0, 50, content.shortIssue, error) ||
        !readNumber(parser, port, 0, 65530, basePort, error) ||
        !readNumber(parser, dribble, 0, 10000, options.dribbleMs, error) ||
        !readNumber(parser, latency, 0, 10000, options.latencyMs, error))
        return result;
    options.basePort = quint16(basePort);
    if (parser.isSet(version))
        content.updateVersion = parser.value(version).toUtf8();
    if (parser.isSet(release)) {
        QFile file(parser.value(release));
        if (!file.open(QIODevice::ReadOnly) || (content.updateRelease = file.readAll()).isEmpty()) {
            result.error = "--update-release wants a readable, non-empty file, not '" +
                           parser.value(release) + "'";
            return result;
        }
    }
    if (parser.isSet(info)) {
        QFile file(parser.value(info));
        if (!file.open(QIODevice::ReadOnly)) {
            result.error = "--update-info wants a readable file, not '" + parser.value(info) + "'";
            return result;
        }
        content.updateInfo = file.readAll();
    }
    content.updateFileName = parser.value(releaseName).toUtf8();
    content.updateFileSize = parser.value(releaseSize).toUtf8();
    content.updateSha256 = parser.value(releaseHash).toUtf8();
    content.updateSignature = parser.value(releaseSignature).toUtf8();
    if (!QList<ByteText>{"good", "bad", "none"}.contains(content.updateSignature)) {
        result.error = "--update-signature wants good, bad or none, not '" +
                       parser.value(releaseSignature) + "'";
        return result;
    }
    options.proxyAuthRequired = parser.isSet(proxyAuthRequired);
    options.proxyRefuses401 = parser.isSet(proxy401);
    if (parser.isSet(proxyAuth)) {
        options.proxyCredentials = parser.value(proxyAuth).toUtf8();
        if (!options.proxyCredentials.contains(':')) {
            result.error = "--proxy-auth wants USER:PASSWORD";
            return result;
        }
    }
    for (const QString& ruleText : parser.values(fault))
        if (!options.faults.add(ruleText, error))
            return result;
    content.crlfLink = parser.isSet(crlfLink);
    content.longPictureNames = parser.isSet(longNames);
    options.tls = parser.isSet(tls) || parser.isSet(tlsCertificate);
    if (parser.isSet(tlsCertificate)) {
        const std::optional<CertificateKind> kind =
            CertificateKindNamed(parser.value(tlsCertificate));
        if (!kind) {
            result.error = "--tls-certificate wants one of " + CertificateKindNames().join(", ") +
                           ", not '" + parser.value(tlsCertificate) + "'";
            return result;
        }
        options.certificate = *kind;
    }
    if (options.tls) {
        if (!parser.isSet(sites)) {
            result.error = "--tls wants --write-sites: the authority is written beside that file";
            return result;
        }
        options.caFile = QFileInfo(parser.value(sites)).absolutePath() + "/demosite-ca.pem";
    }
    options.logFile = parser.value(log);
    options.verbose = parser.isSet(verbose);
    result.sitesFile = parser.value(sites);
    result.exitWithStdin = parser.isSet(exitWithStdin);
    result.ok = true;
    return result;
}
