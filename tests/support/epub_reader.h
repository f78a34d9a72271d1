#pragma once
// An EPUB read back for the tests: its entries in the order of the ZIP, each
// with its compression and bytes, and the links its package document names.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

struct EpubEntry {
    QByteArray name;
    bool stored = false;
    QByteArray bytes;
};

struct EpubContents {
    bool readable = false;
    QList<EpubEntry> entries;

    const EpubEntry* entry(const QByteArray& name) const;
    bool has(const QByteArray& name) const { return entry(name) != nullptr; }
    QByteArray bytes(const QByteArray& name) const;
    // The spine's items, in order, as hrefs from the package document.
    QList<QByteArray> spine() const;
    // href → the attribute ("media-type", "properties") of every manifest item.
    QMap<QByteArray, QByteArray> manifest(const char* attribute = "media-type") const;
};

EpubContents ReadEpub(const QString& path);

// Every value of an attribute on elements of an XHTML document (href of a,
// src of img), in document order; false through ok when it is not
// well-formed XML.
QList<QByteArray> AttributeValues(const QByteArray& xhtml, const char* element,
                                  const char* attribute, bool* ok = nullptr);
