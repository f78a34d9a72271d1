#pragma once
// The labels windows share beyond QLabel itself: a one-line label that
// elides what does not fit, the look of a label that acts as a link, and a
// label that is a link to a web page or a mail address.

#include <QLabel>
#include <QPalette>
#include <QUrl>

// A one-line label for texts of any length (a status, a server's name in a
// link): what does not fit its width ends in "…", and the whole text is
// then its tooltip. It asks the layout for no more room than its minimum
// width, so a long text never widens its window.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override; // a new font measures anew

private:
    void elide();

    QString full_;
};

// The look of a label that acts as a link (the download control's socket
// error, the update window's direct link): the palette's link colour
// (ui/text_colours.h), underlined, hand pointer; or back to plain text in
// the colour of plainRole.
void ShowAsLink(QLabel* label, bool asLink, QPalette::ColorRole plainRole = QPalette::WindowText);

// A label drawn as a link that hands its address to the desktop
// (QDesktopServices::openUrl) when clicked: web pages go to the browser,
// "mailto:" addresses to the mail program.
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
