#include "net/secure_errors.h"
#include "settings/utf8_text.h"

#include <QSslCertificate>
#include <QStringList>

namespace {

QString ExpiryDate(const QSslError& error) {
    const QDateTime expiry = error.certificate().expiryDate();
    return expiry.isValid() ? U(" (") + expiry.toString(QStringLiteral("dd.MM.yyyy")) + U(")")
                            : QString();
}

QString ReasonFor(const QSslError& error, const QString& siteName) {
    switch (error.error()) {
    case QSslError::HostNameMismatch:
        return U("сертификат выдан не для сервера ") + siteName;
    case QSslError::CertificateExpired:
        return U("срок действия сертификата истёк") + ExpiryDate(error);
    case QSslError::CertificateNotYetValid:
        return U("срок действия сертификата ещё не начался");
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
        return U("сертификат выдан неизвестным центром сертификации");
    case QSslError::CertificateRevoked:
        return U("сертификат отозван");
    case QSslError::CertificateBlacklisted:
    case QSslError::CertificateUntrusted:
    case QSslError::CertificateRejected:
        return U("сертификат не заслуживает доверия");
    case QSslError::InvalidPurpose:
        return U("сертификат не предназначен для сервера");
    case QSslError::NoPeerCertificate:
        return U("сервер не предъявил сертификат");
    case QSslError::NoSslSupport:
        return secure_reason::NoTlsLibrary();
    case QSslError::UnableToDecryptCertificateSignature:
    case QSslError::UnableToDecodeIssuerPublicKey:
    case QSslError::CertificateSignatureFailed:
    case QSslError::InvalidNotBeforeField:
    case QSslError::InvalidNotAfterField:
    case QSslError::InvalidCaCertificate:
    case QSslError::PathLengthExceeded:
    case QSslError::SubjectIssuerMismatch:
    case QSslError::AuthorityIssuerSerialNumberMismatch:
        return U("сертификат повреждён или подписан неверно");
    default:
        return U("сертификат не прошёл проверку");
    }
}

} // namespace

QString CertificateFailureReason(const QList<QSslError>& errors, const QString& siteName) {
    QStringList reasons;
    for (const QSslError& error : errors) {
        const QString reason = ReasonFor(error, siteName);
        if (!reasons.contains(reason))
            reasons.append(reason);
    }
    return reasons.isEmpty() ? ReasonFor(QSslError(), siteName) : reasons.join(U("; "));
}

QString SecureFailureStatus(const QString& reason) {
    return U("Ошибка безопасного соединения: ") + reason;
}

namespace secure_reason {

QString HandshakeFailed() {
    return U("сервер не установил защищённое соединение");
}

QString HandshakeCut() {
    return U("сервер прервал установку защищённого соединения");
}

QString NoTlsLibrary() {
    return U("в системе нет библиотеки TLS (пакет libssl3)");
}

QString UnreadableCaFile(const QString& path) {
    return U("не удалось прочитать сертификаты центров сертификации из файла ") + path;
}

QString TunnelBroken() {
    return U("прокси-сервер нарушил протокол туннеля (CONNECT)");
}

} // namespace secure_reason
