#pragma once
// The window WSErrorDoc ("Коды ошибок WinSock"): the list of socket error
// codes of data/wserror.dat in the preview control, opened modally by a
// click on the download control's error link.

#include <QDialog>

namespace htmlview {
class HTMLLabel;
}

class WSErrorDoc : public QDialog {
    Q_OBJECT

public:
    // Loads the file whole into the preview; a file that cannot be read
    // leaves the window empty (the download control checks it exists).
    explicit WSErrorDoc(const QString& wserrorPath, QWidget* parent = nullptr);

    htmlview::HTMLLabel* HTML;

protected:
    void showEvent(QShowEvent* event) override;
};

// Opens the window modally over parent.
void ShowSocketErrorCodes(const QString& wserrorPath, QWidget* parent);
