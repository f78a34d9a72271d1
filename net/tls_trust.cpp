#include "net/tls_trust.h"

#include "net/secure_errors.h"

#include <QSslCertificate>

void TlsTrust::setCaFile(const QString& path) {
    if (path != caFile_)
        built_.reset();
    caFile_ = path;
}

std::optional<QSslConfiguration> TlsTrust::configuration(QString* failure) {
    if (built_)
        return built_;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!caFile_.isEmpty()) {
        const QList<QSslCertificate> extra = QSslCertificate::fromPath(caFile_, QSsl::Pem);
        if (extra.isEmpty()) {
            *failure = secure_reason::UnreadableCaFile(caFile_);
            return std::nullopt;
        }
        // Naming authorities replaces the system's list, which the toolkit
        // otherwise looks up as needed; so it goes in whole, beside them.
        config.setCaCertificates(QSslConfiguration::systemCaCertificates() + extra);
    }
    built_ = config;
    return built_;
}
