#include "app/link_label.h"

#include "net/text_colours.h"

#include <QDesktopServices>
#include <QMouseEvent>

LinkLabel::LinkLabel(const QString& text, const QUrl& url, const QString& toolTip, QWidget* parent)
    : QLabel(text, parent), url_(url) {
    setToolTip(toolTip);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette link = palette();
    link.setColor(QPalette::WindowText, LinkColour(link));
    setPalette(link);
}

// A press that is dragged off the label and released elsewhere opens nothing.
void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    QDesktopServices::openUrl(url_);
}

#include "moc_link_label.cpp"
