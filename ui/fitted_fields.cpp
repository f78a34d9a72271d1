#include "ui/fitted_fields.h"

FittedLineEdit::FittedLineEdit(const QString& text, const QString& widest, QWidget* parent)
    : QLineEdit(text, parent), widest_(widest) {}

QSize FittedLineEdit::minimumSizeHint() const {
    // The field's own size hint holds seventeen x's; the same room around
    // the widest text, and one pixel more for the cursor after it (without
    // which the field scrolls its text by that pixel).
    const QFontMetrics metrics = fontMetrics();
    const int around = sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    const int width = around + metrics.horizontalAdvance(widest_) + 1;
    return QLineEdit::minimumSizeHint().expandedTo(QSize(width, 0));
}

// A spin box never shrinks below its size hint (its width policy is Minimum),
// so the hint is all there is to widen.
QSize FittedSpinBox::sizeHint() const {
    return QSpinBox::sizeHint() + QSize(fontMetrics().averageCharWidth(), 0);
}
