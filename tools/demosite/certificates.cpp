#include "tools/demosite/certificates.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

constexpr long Day = 24 * 60 * 60;

const char* const KindNames[] = {"good", "other-name", "expired", "unknown-ca"};

// What the certificate says and for how long, relative to now.
struct Subject {
    const char* commonName;
    const char* altNames; // subjectAltName, or nullptr for an authority
    long validFrom;       // seconds from now
    long validTo;
};

Key NewKey() {
    return Key(EVP_EC_gen("P-256"), EVP_PKEY_free);
}

bool AddExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (!extension)
        return false;
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

bool AddExtensions(X509* certificate, X509* issuer, const Subject& subject) {
    const bool authority = subject.altNames == nullptr;
    bool ok = AddExtension(certificate, issuer, NID_subject_key_identifier, "hash") &&
              AddExtension(certificate, issuer, NID_authority_key_identifier, "keyid:always");
    if (authority)
        return ok && AddExtension(certificate, issuer, NID_basic_constraints, "critical,CA:TRUE") &&
               AddExtension(certificate, issuer, NID_key_usage, "critical,keyCertSign,cRLSign");
    return ok && AddExtension(certificate, issuer, NID_basic_constraints, "critical,CA:FALSE") &&
           AddExtension(certificate, issuer, NID_key_usage, "critical,digitalSignature") &&
           AddExtension(certificate, issuer, NID_ext_key_usage, "serverAuth") &&
           AddExtension(certificate, issuer, NID_subject_alt_name, subject.altNames);
}

// A certificate for key, signed by issuerKey as issuer (itself when issuer
// is null: an authority's own certificate).
Certificate Sign(EVP_PKEY* key, const Subject& subject, X509* issuer, EVP_PKEY* issuerKey) {
    static long serial = 1;
    Certificate certificate(X509_new(), X509_free);
    X509* c = certificate.get();
    X509_NAME* name = X509_get_subject_name(c);
    const auto* organisation = reinterpret_cast<const unsigned char*>("norvel-demosite");
    const auto* commonName = reinterpret_cast<const unsigned char*>(subject.commonName);
    const bool ok =
        X509_set_version(c, 2) == 1 && ASN1_INTEGER_set(X509_get_serialNumber(c), serial++) == 1 &&
        X509_gmtime_adj(X509_getm_notBefore(c), subject.validFrom) &&
        X509_gmtime_adj(X509_getm_notAfter(c), subject.validTo) && X509_set_pubkey(c, key) == 1 &&
        X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, organisation, -1, -1, 0) == 1 &&
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, commonName, -1, -1, 0) == 1 &&
        X509_set_issuer_name(c, issuer ? X509_get_subject_name(issuer) : name) == 1 &&
        AddExtensions(c, issuer ? issuer : c, subject) && X509_sign(c, issuerKey, EVP_sha256()) > 0;
    return ok ? std::move(certificate) : Certificate(nullptr, X509_free);
}

template <typename Write> ByteText Pem(Write write) {
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
    if (!write(bio.get()))
        return {};
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return ByteText(data, size);
}

QString LibraryError() {
    char text[256] = "unknown error";
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    return QString::fromLatin1(text);
}

} // namespace

std::optional<CertificateKind> CertificateKindNamed(const QString& name) {
    for (int i = 0; i < 4; ++i)
        if (name == QLatin1String(KindNames[i]))
            return CertificateKind(i);
    return std::nullopt;
}

QStringList CertificateKindNames() {
    return {KindNames[0], KindNames[1], KindNames[2], KindNames[3]};
}

std::optional<DemoCertificates> MakeCertificates(CertificateKind kind, QString* error) {
    const Subject authority{"norvel-demosite authority", nullptr, -Day, 30 * Day};
    const Subject stranger{"norvel-demosite other authority", nullptr, -Day, 30 * Day};
    Subject server{"127.0.0.1", "IP:127.0.0.1,DNS:localhost", -Day, 30 * Day};
    if (kind == CertificateKind::OtherName)
        server = {"other.invalid", "DNS:other.invalid", -Day, 30 * Day};
    if (kind == CertificateKind::Expired)
        server.validFrom = -10 * Day, server.validTo = -Day;

    Key authorityKey = NewKey(), signerKey = NewKey(), serverKey = NewKey();
    if (!authorityKey || !signerKey || !serverKey) {
        *error = "cannot make a key: " + LibraryError();
        return std::nullopt;
    }
    Certificate authorityCertificate =
        Sign(authorityKey.get(), authority, nullptr, authorityKey.get());
    // The unknown authority signs with a key of its own; the client is only
    // ever told about the first.
    const bool stray = kind == CertificateKind::UnknownAuthority;
    Certificate signer = stray ? Sign(signerKey.get(), stranger, nullptr, signerKey.get())
                               : Certificate(nullptr, X509_free);
    X509* issuer = stray ? signer.get() : authorityCertificate.get();
    EVP_PKEY* issuerKey = stray ? signerKey.get() : authorityKey.get();
    Certificate serverCertificate =
        issuer ? Sign(serverKey.get(), server, issuer, issuerKey) : Certificate(nullptr, X509_free);
    if (!authorityCertificate || !serverCertificate) {
        *error = "cannot sign a certificate: " + LibraryError();
        return std::nullopt;
    }
    DemoCertificates made;
    made.authorityPem =
        Pem([&](BIO* bio) { return PEM_write_bio_X509(bio, authorityCertificate.get()) == 1; });
    made.serverPem =
        Pem([&](BIO* bio) { return PEM_write_bio_X509(bio, serverCertificate.get()) == 1; });
    made.serverKeyPem = Pem([&](BIO* bio) {
        return PEM_write_bio_PrivateKey_traditional(bio, serverKey.get(), nullptr, nullptr, 0,
                                                    nullptr, nullptr) == 1;
    });
    return made;
}
