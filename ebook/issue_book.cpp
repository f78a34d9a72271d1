#include "ebook/issue_book.h"

#include "ebook/epub_book.h"

bool MakeIssueBook(const QString& issueFolder, const Sites& sites, Messenger& messenger) {
    const EpubResult book = MakeEpub(issueFolder, sites);
    if (!book.written)
        messenger.Show(book.error, BookMessageTitle(), MessageIcon::Error);
    return book.written;
}
