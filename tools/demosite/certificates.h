#pragma once
// Throw-away certificates for serving the demo site over TLS: a certificate
// authority made afresh at every start and a server certificate for
// 127.0.0.1 (and localhost) signed by it. The kind asks for a certificate a
// client must refuse instead: one for another name, an expired one, or one
// signed by a second authority that is never handed out.

#include "settings/bytetext.h"

#include <QString>
#include <QStringList>
#include <optional>

enum class CertificateKind { Good, OtherName, Expired, UnknownAuthority };

// "good", "other-name", "expired", "unknown-ca"; nothing for another word.
std::optional<CertificateKind> CertificateKindNamed(const QString& name);
QStringList CertificateKindNames();

struct DemoCertificates {
    ByteText authorityPem; // the authority a client is to trust (CaFile)
    ByteText serverPem;    // the certificate every host presents
    ByteText serverKeyPem; // its private key (EC P-256)
};

// Nothing, with *error set, when the TLS library fails.
std::optional<DemoCertificates> MakeCertificates(CertificateKind kind, QString* error);
