#include "ebook/epub_archive.h"

#include <QFile>
#include <zip.h>

EpubArchive::EpubArchive(const QString& path) {
    int code = 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive_) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        error_ = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
    }
}

EpubArchive::~EpubArchive() {
    if (archive_)
        zip_discard(archive_);
}

void EpubArchive::fail(const QString& what) {
    if (error_.isEmpty())
        error_ = what + ": " + QString::fromUtf8(zip_strerror(archive_));
}

bool EpubArchive::place(const QByteArray& name, zip_source_t* source, Packing packing) {
    if (!source) {
        fail(QString::fromUtf8(name));
        return false;
    }
    const zip_int64_t index = zip_file_add(archive_, name.constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        fail(QString::fromUtf8(name));
        return false;
    }
    const zip_int32_t method = packing == Packing::Stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    const zip_uint32_t level = packing == Packing::Quick ? 1 : 6;
    if (zip_set_file_compression(archive_, zip_uint64_t(index), method, level) < 0) {
        fail(QString::fromUtf8(name));
        return false;
    }
    return true;
}

bool EpubArchive::add(const QByteArray& name, const QByteArray& bytes, Packing packing) {
    if (!archive_)
        return false;
    kept_.append(bytes);
    const QByteArray& kept = kept_.last();
    return place(name, zip_source_buffer(archive_, kept.constData(), zip_uint64_t(kept.size()), 0),
                 packing);
}

bool EpubArchive::addFile(const QByteArray& name, const QString& file, Packing packing) {
    if (!archive_)
        return false;
    return place(name, zip_source_file(archive_, QFile::encodeName(file).constData(), 0, -1),
                 packing);
}

bool EpubArchive::close() {
    if (!archive_)
        return false;
    if (zip_close(archive_) < 0) {
        fail(QStringLiteral("zip"));
        zip_discard(archive_);
        archive_ = nullptr;
        return false;
    }
    archive_ = nullptr;
    kept_.clear();
    return true;
}
