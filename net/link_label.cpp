#include "net/link_label.h"

#include "net/text_colours.h"

#include <QApplication>
#include <QLabel>

void ShowAsLink(QLabel* label, bool asLink, QPalette::ColorRole plainRole) {
    // The plain colour comes from the surroundings: the label's own palette
    // may still hold the link's blue.
    const QPalette around =
        label->parentWidget() ? label->parentWidget()->palette() : QApplication::palette();
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, asLink ? LinkColour(around) : around.color(plainRole));
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(asLink);
    label->setFont(font);
    if (asLink)
        label->setCursor(Qt::PointingHandCursor);
    else
        label->unsetCursor();
}
