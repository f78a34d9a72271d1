#pragma once
// Fields that keep room for what they hold. A plain line edit asks its layout
// for little more than one letter, so a window squeezed onto a small or
// scaled screen cuts its number ("23613" shown as "3613"); a spin box's own
// size leaves its text a pixel short in some styles, so a special text such
// as "всегда" scrolls by that pixel. These measure in their current font and
// style whenever the layout asks, so a new desktop font or scale keeps them
// whole.

#include <QLineEdit>
#include <QSpinBox>

// A line edit never narrower than the widest text it is meant to hold
// ("000000" for numbers of six digits) with the cursor after it.
class FittedLineEdit : public QLineEdit {
public:
    FittedLineEdit(const QString& text, const QString& widest, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

private:
    QString widest_;
};

// A spin box an average letter wider than it asks for itself.
class FittedSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

    QSize sizeHint() const override;
};
