#include "tools/demosite/faults.h"

namespace {

struct KindName {
    const char* name;
    Fault fault;
};

const KindName Kinds[] = {
    {"404", Fault::NotFound},
    {"407", Fault::ProxyAuth},
    {"500", Fault::ServerError},
    {"302", Fault::Redirect},
    {"close", Fault::Close},
    {"silent", Fault::Silent},
    {"reset", Fault::Reset},
    {"dribble", Fault::Dribble},
    {"endless", Fault::Endless},
    {"split-header", Fault::SplitHeader},
    {"http11", Fault::Http11},
    {"reset-unsized", Fault::ResetUnsized},
    {"chunked", Fault::Chunked},
    {"long", Fault::Long},
    {"no-status", Fault::NoStatus},
    {"empty", Fault::Empty},
    {"partial", Fault::Partial},
    {"length-negative", Fault::LengthNegative},
    {"length-text", Fault::LengthText},
    {"length-huge", Fault::LengthHuge},
};

} // namespace

QString FaultRules::kindNames() {
    QStringList names;
    for (const KindName& kind : Kinds)
        names << kind.name;
    return names.join(", ");
}

bool FaultRules::add(const QString& ruleText, QString* error) {
    const qsizetype equals = ruleText.lastIndexOf('=');
    if (equals <= 0) {
        *error = QString("--fault %1: expected PATTERN=KIND").arg(ruleText);
        return false;
    }
    FaultRule rule;
    rule.pattern = ruleText.left(equals).toUtf8();
    for (const char* host : {"newspaper:", "archive:", "main:", "update:"})
        if (rule.pattern.startsWith(host)) {
            rule.host = ByteText(host).chopped(1);
            rule.pattern = rule.pattern.mid(rule.host.size() + 1);
        }
    if (rule.pattern.startsWith('^')) {
        rule.whole = true;
        rule.pattern = rule.pattern.mid(1);
    }
    rule.whole = rule.whole || rule.pattern.contains('*');
    if (rule.pattern.isEmpty()) {
        *error = QString("--fault %1: the pattern is empty").arg(ruleText);
        return false;
    }
    QString kind = ruleText.mid(equals + 1);
    const qsizetype colon = kind.indexOf(':');
    if (colon >= 0) {
        bool ok = false;
        rule.remaining = kind.mid(colon + 1).toInt(&ok);
        if (!ok || rule.remaining <= 0) {
            *error =
                QString("--fault %1: the count after ':' must be a positive number").arg(ruleText);
            return false;
        }
        kind = kind.left(colon);
    }
    for (const KindName& known : Kinds)
        if (kind == QLatin1String(known.name)) {
            rule.fault = known.fault;
            rules_.append(rule);
            return true;
        }
    *error = QString("--fault %1: unknown kind '%2' (one of %3)").arg(ruleText, kind, kindNames());
    return false;
}

bool FaultRules::wildcardMatch(const ByteText& pattern, const ByteText& text) {
    // Iterative glob with backtracking to the last "*"; every other
    // character, "?" included, stands for itself, since paths carry queries.
    qsizetype p = 0, t = 0, star = -1, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] != '*' && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::optional<Fault> FaultRules::take(const ByteText& host, const ByteText& target) {
    for (FaultRule& rule : rules_) {
        if (rule.remaining == 0 || (!rule.host.isEmpty() && rule.host != host))
            continue;
        const bool matches =
            rule.whole ? wildcardMatch(rule.pattern, target) : target.contains(rule.pattern);
        if (!matches)
            continue;
        if (rule.remaining > 0)
            --rule.remaining;
        return rule.fault;
    }
    return std::nullopt;
}
