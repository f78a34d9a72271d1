#include "app/choosers.h"

#include <QDir>
#include <QFileDialog>

namespace {

// The chosen path, or empty text when the dialog was cancelled.
QString Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString OpenFolder(const QString& Title, QWidget* window) {
    QFileDialog dialog(window, Title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return Chosen(dialog);
}

QString OpenFile(const QString& Title, const QString& filter, QWidget* window) {
    QFileDialog dialog(window, Title, QDir::currentPath(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return Chosen(dialog);
}
