#pragma once
// A one-line label for texts of any length (a status, a server's name in a
// link): what does not fit its width ends in "…", and the whole text is
// then its tooltip. It asks the layout for no more room than its minimum
// width, so a long text never widens its window.

#include <QLabel>

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
