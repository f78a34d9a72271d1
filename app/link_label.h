#pragma once
// A label drawn as a link (the palette's link colour, underlined, a pointing hand over it) that
// hands its address to the desktop (QDesktopServices::openUrl) when clicked:
// web pages go to the browser, "mailto:" addresses to the mail program.

#include <QLabel>
#include <QUrl>

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QString& text, const QUrl& url, const QString& toolTip = {},
              QWidget* parent = nullptr);

    QUrl url() const { return url_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QUrl url_;
};
