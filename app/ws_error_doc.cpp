#include "app/ws_error_doc.h"

#include "htmlview/html_label.h"
#include "settings/whole_file.h"

#include <QVBoxLayout>

WSErrorDoc::WSErrorDoc(const QString& wserrorPath, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Коды ошибок WinSock"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    HTML = new htmlview::HTMLLabel(this);
    HTML->setEnableScroll(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(HTML);
    resize(640, 480);
    if (std::optional<ByteText> text = ReadWholeFile(wserrorPath))
        HTML->setDocumentHTML(*text);
}

// The document is laid out once the window has its size.
void WSErrorDoc::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    HTML->Refresh(false);
}

void ShowSocketErrorCodes(const QString& wserrorPath, QWidget* parent) {
    WSErrorDoc window(wserrorPath, parent);
    window.exec();
}

#include "moc_ws_error_doc.cpp"
