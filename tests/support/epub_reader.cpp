#include "tests/support/epub_reader.h"

#include <QFile>
#include <QXmlStreamReader>
#include <zip.h>

const EpubEntry* EpubContents::entry(const QByteArray& name) const {
    for (const EpubEntry& e : entries) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

QByteArray EpubContents::bytes(const QByteArray& name) const {
    const EpubEntry* e = entry(name);
    return e ? e->bytes : QByteArray();
}

namespace {

// The attributes of every element of that name in an XML text.
QList<QXmlStreamAttributes> elementsOf(const QByteArray& xml, const char* name) {
    QList<QXmlStreamAttributes> found;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String(name))
            found.append(reader.attributes());
    }
    return found;
}

} // namespace

QMap<QByteArray, QByteArray> EpubContents::manifest(const char* attribute) const {
    QMap<QByteArray, QByteArray> items;
    for (const auto& a : elementsOf(bytes("OEBPS/content.opf"), "item"))
        items.insert(a.value("href").toUtf8(), a.value(QLatin1String(attribute)).toUtf8());
    return items;
}

QList<QByteArray> EpubContents::spine() const {
    const QByteArray opf = bytes("OEBPS/content.opf");
    QMap<QString, QByteArray> hrefs;
    for (const auto& a : elementsOf(opf, "item"))
        hrefs.insert(a.value("id").toString(), a.value("href").toUtf8());
    QList<QByteArray> order;
    for (const auto& a : elementsOf(opf, "itemref"))
        order.append(hrefs.value(a.value("idref").toString()));
    return order;
}

EpubContents ReadEpub(const QString& path) {
    EpubContents contents;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return contents;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_index(archive, zip_uint64_t(i), 0, &st);
        EpubEntry entry;
        entry.name = st.name;
        entry.stored = st.comp_method == ZIP_CM_STORE;
        entry.bytes.resize(qsizetype(st.size));
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (file) {
            zip_fread(file, entry.bytes.data(), st.size);
            zip_fclose(file);
        }
        contents.entries.append(entry);
    }
    zip_close(archive);
    contents.readable = true;
    return contents;
}

QList<QByteArray> AttributeValues(const QByteArray& xhtml, const char* element,
                                  const char* attribute, bool* ok) {
    QList<QByteArray> values;
    QXmlStreamReader reader(xhtml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String(element) &&
            reader.attributes().hasAttribute(QLatin1String(attribute)))
            values.append(reader.attributes().value(QLatin1String(attribute)).toUtf8());
    }
    if (ok)
        *ok = !reader.hasError();
    return values;
}
