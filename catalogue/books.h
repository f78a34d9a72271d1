#pragma once
// Books the catalogue makes when a reader first asks for them: the same
// book norvel2 --epub makes, written beside the issue folder, so it is made
// once. One book at a time on a worker thread, so the server goes on
// answering; a book asked for again while it is being made or waits its
// turn is not made twice. A book that cannot be made is said on stderr.

#include "settings/sites.h"

#include <QObject>
#include <QStringList>

class QThread;

class CatalogueBooks : public QObject {
    Q_OBJECT
public:
    explicit CatalogueBooks(const Sites& sites, QObject* parent = nullptr);
    ~CatalogueBooks() override; // waits for the book being made

    void request(const QString& issueFolder);

Q_SIGNALS:
    // error: why no book was written, for the reader.
    void made(const QString& issueFolder, bool written, const QString& error);

private:
    void startNext();

    Sites sites_;
    QStringList queue_;
    QString making_;
    QThread* worker_ = nullptr;
};
