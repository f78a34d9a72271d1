#pragma once
// What the user reads when a secure (TLS) connection cannot be trusted or
// established: "Ошибка безопасного соединения: " + the reason in Russian.
// The check is never waived; the fetch ends in "error".

#include <QList>
#include <QSslError>
#include <QString>

// The reason for a refused certificate, from the checks that failed; texts
// that would repeat are given once, joined by "; ". siteName is the name the
// certificate had to carry.
QString CertificateFailureReason(const QList<QSslError>& errors, const QString& siteName);

// The status text: "Ошибка безопасного соединения: " + reason.
QString SecureFailureStatus(const QString& reason);

// Reasons that are not about the certificate.
namespace secure_reason {
QString HandshakeFailed();                     // the server would not speak TLS with us
QString HandshakeCut();                        // the server closed during the handshake
QString NoTlsLibrary();                        // the system has no TLS library
QString UnreadableCaFile(const QString& path); // CaFile holds no certificate
QString TunnelBroken();                        // the proxy sent data before the TLS handshake
} // namespace secure_reason
