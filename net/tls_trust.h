#pragma once
// Whom a secure connection trusts: the system's certificate authorities,
// plus those of an extra PEM file (CaFile of sites.ini) for a site with an
// authority of its own. Peers are always verified; nothing is waived.

#include <QSslConfiguration>
#include <QString>
#include <optional>

class TlsTrust {
public:
    // The extra authorities' file; empty for the system's alone. Read at the
    // next configuration(), so a file written later is still found.
    void setCaFile(const QString& path);
    QString caFile() const { return caFile_; }

    // The client configuration for a secure connection, or nothing when the
    // CaFile holds no readable certificate (*failure then says so in
    // Russian). Built once and kept.
    std::optional<QSslConfiguration> configuration(QString* failure);

private:
    QString caFile_;
    std::optional<QSslConfiguration> built_;
};
