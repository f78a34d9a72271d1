#include "catalogue/books.h"

#include "ebook/epub_book.h"

#include <QThread>
#include <cstdio>
#include <memory>
#include <utility>

CatalogueBooks::CatalogueBooks(const Sites& sites, QObject* parent)
    : QObject(parent), sites_(sites) {}

CatalogueBooks::~CatalogueBooks() {
    if (worker_) {
        worker_->wait();
        delete worker_;
    }
}

void CatalogueBooks::request(const QString& issueFolder) {
    if (issueFolder != making_ && !queue_.contains(issueFolder))
        queue_.append(issueFolder);
    startNext();
}

void CatalogueBooks::startNext() {
    if (worker_ || queue_.isEmpty())
        return;
    making_ = queue_.takeFirst();
    auto result = std::make_shared<EpubResult>();
    worker_ = QThread::create(
        [folder = making_, sites = sites_, result] { *result = MakeEpub(folder, sites); });
    connect(worker_, &QThread::finished, this, [this, result] {
        worker_->deleteLater();
        worker_ = nullptr;
        const QString folder = std::exchange(making_, QString());
        if (!result->written)
            std::fprintf(stderr, "%s\n",
                         QStringLiteral("Книга номера %1 не создана: %2")
                             .arg(folder, result->error)
                             .toLocal8Bit()
                             .constData());
        Q_EMIT made(folder, result->written, result->error);
        startNext();
    });
    worker_->start();
}

#include "moc_books.cpp"
