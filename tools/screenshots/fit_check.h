#pragma once
// Whether a window gives each text it shows the room the text needs: a line
// edit whose number scrolls out of sight ("23613" shown as "3613"), a label,
// button or radio button whose words are cut. Measured with each widget's
// own font and style, so it holds for any font face and scale.

#include <QStringList>

class QWidget;

// One line per visible widget of window (window included) that is narrower
// than its text, naming the widget by its object name or class and text, e.g.
// `QLineEdit Text1 "23613": 24 px for the text, 38 needed`. Empty when all fit.
// Labels that wrap or elide on purpose and pictures are not texts to check.
QStringList SqueezedTexts(const QWidget& window);
