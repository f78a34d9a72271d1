#pragma once
// The look of a label that acts as a link (the download control's socket
// error, the update window's direct link): the palette's link colour
// (net/text_colours.h), underlined,
// hand pointer; or back to plain text in the colour of plainRole.

#include <QPalette>

class QLabel;

void ShowAsLink(QLabel* label, bool asLink, QPalette::ColorRole plainRole = QPalette::WindowText);
