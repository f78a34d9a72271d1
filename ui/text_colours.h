#pragma once
// The colours of the texts that are not plain: links and warnings. Both
// come from the palette in use (light or dark), then are moved towards
// black or white until they stand out from the window's background by the
// contrast ratio text needs to be read (4.5:1).

#include <QColor>
#include <QPalette>

inline constexpr double ReadableContrast = 4.5;

// The contrast ratio of two colours, from 1 (same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// wanted itself when it is readable on background, else the nearest shade
// of it that is.
QColor ReadableOn(const QColor& wanted, const QColor& background);

// The palette's Link colour, readable on its Window.
QColor LinkColour(const QPalette& palette);
// A red readable on the palette's Window: dark on light windows, light on
// dark ones.
QColor WarningColour(const QPalette& palette);
