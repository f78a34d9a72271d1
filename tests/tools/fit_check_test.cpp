// The check that a window gives its texts room, and the widths that give
// it: a squeezed field is named, a window laid out at its least size with
// the fitted widths shows every text whole at any font size.
#include "tools/screenshots/fit_check.h"
#include "ui/fitted_fields.h"
#include "ui/labels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

// "Другой: [23613] [...]" as the selection window lays it out, every widget
// in the given font, the window shrunk to the least its layout allows.
struct NumberRow {
    QWidget window;
    QRadioButton* other = new QRadioButton(QStringLiteral("Другой:"));
    QLineEdit* number;
    QPushButton* list = new QPushButton(QStringLiteral("..."));

    NumberRow(int pointSize, bool fitted) {
        QFont font = window.font();
        font.setPointSize(pointSize);
        window.setFont(font);
        const QString text = QStringLiteral("236130");
        number = fitted ? new FittedLineEdit(text, QStringLiteral("000000")) : new QLineEdit(text);
        number->setObjectName(QStringLiteral("Text1"));
        auto* row = new QHBoxLayout(&window);
        row->addWidget(other);
        row->addWidget(number);
        row->addWidget(list);
        window.resize(1, 1); // the layout keeps it at its minimum
        window.show();
    }
};

TEST(FitCheck, AFieldSqueezedBelowItsNumberIsNamedAndAFittedOneShowsItWhole) {
    for (const int pointSize : {9, 14, 20, 28}) { // scale 1 to about 3
        NumberRow squeezed(pointSize, false);
        const QStringList lines = SqueezedTexts(squeezed.window);
        ASSERT_EQ(lines.size(), 1) << pointSize << "pt: " << lines.join('\n').toStdString();
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("QLineEdit Text1 \"236130\"")))
            << lines[0].toStdString();

        NumberRow fitted(pointSize, true);
        EXPECT_EQ(SqueezedTexts(fitted.window).join('\n').toStdString(), "") << pointSize << "pt";
        EXPECT_GE(fitted.list->width(), fitted.list->sizeHint().width()) << pointSize << "pt";
    }
}

TEST(FitCheck, CutLabelsAndButtonsAreNamedButNotWhatWrapsElidesOrHides) {
    QWidget window;
    auto* label = new QLabel(QStringLiteral("Последний номер на сайте:"), &window);
    auto* button = new QPushButton(QStringLiteral("Загрузка"), &window);
    auto* radio = new QRadioButton(QStringLiteral("Найденный номер"), &window);
    auto* wrapping = new QLabel(QStringLiteral("Длинный текст, который переносится"), &window);
    wrapping->setWordWrap(true);
    auto* elided = new ElidedLabel(QStringLiteral("Соединение с сервером установлено"), &window);
    auto* hidden = new QLineEdit(QStringLiteral("1234567890"), &window);
    hidden->hide();
    for (QWidget* widget : std::initializer_list<QWidget*>{label, button, radio, wrapping, elided})
        widget->setFixedWidth(30);
    hidden->setFixedWidth(10);
    window.show();

    const QString lines = SqueezedTexts(window).join('\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("QLabel \"Последний номер на сайте:\"")))
        << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("QPushButton \"Загрузка\""))) << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("QRadioButton \"Найденный номер\"")))
        << lines.toStdString();
    EXPECT_EQ(SqueezedTexts(window).size(), 3) << lines.toStdString();

    for (QWidget* widget : std::initializer_list<QWidget*>{label, button, radio})
        widget->setFixedWidth(widget->sizeHint().width());
    EXPECT_EQ(SqueezedTexts(window).join('\n').toStdString(), "");
}

// The toolkit's own spin box leaves its line edit a pixel short of such a
// text (with DejaVu Sans); the fitted one never does, made before it takes
// the window's font as the settings window makes it.
TEST(FitCheck, AFittedSpinBoxShowsItsSpecialTextWholeInAnyFontSize) {
    for (const int pointSize : {9, 14, 28}) {
        QWidget window;
        QFont font = window.font();
        font.setPointSize(pointSize);
        window.setFont(font);
        auto* box = new FittedSpinBox;
        box->setRange(0, 3650);
        box->setSpecialValueText(QStringLiteral("всегда"));
        (new QHBoxLayout(&window))->addWidget(box);
        window.resize(1, 1);
        window.show();
        EXPECT_EQ(SqueezedTexts(window).join('\n').toStdString(), "") << pointSize << "pt";
    }
}

} // namespace
