#pragma once
// The look of a label that acts as a link (the download control's socket
// error, the update window's direct link): blue (0, 0, 192), underlined,
// hand pointer; or back to plain text in the colour of plainRole.

#include <QPalette>

class QLabel;

void ShowAsLink(QLabel* label, bool asLink, QPalette::ColorRole plainRole = QPalette::WindowText);
