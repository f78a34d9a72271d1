#include "app/select_number.h"

#include "app/all_number.h"
#include "ui/fitted_fields.h"
#include "ui/text_colours.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace {

// Whatever reaches the number field other than by a key (a paste from the
// keyboard or the context menu) keeps only what could have been typed.
class TypableOnly : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const QString kept = SelectNumberModel::Typable(input);
        pos -= int(input.size() - kept.size());
        pos = std::clamp(pos, 0, int(kept.size()));
        input = kept;
        return Acceptable;
    }
};

} // namespace

Select_Number::Select_Number(SelectionData data, QWidget* parent)
    : QDialog(parent), model_(std::move(data)) {
    build();
    Aload.setInterval(AloadIntervalMs);
    Aload.setSingleShot(true);
    connect(&Aload, &QTimer::timeout, this, [this] {
        Aload.stop();
        Option1->setChecked(true);
        optionClicked();
        load();
    });
}

void Select_Number::build() {
    setWindowTitle(QStringLiteral("Выберите номер"));
    if (parentWidget())
        setWindowIcon(parentWidget()->windowIcon());

    Label1 = new QLabel(QStringLiteral("Последний номер на сайте:"));
    Label2 = new QLabel;
    Image1 = new QLabel;
    Image1->setPixmap(AllNumber::NewspaperPicture());
    Frame2 = new QGroupBox;
    Image2 = new QLabel;
    (new QVBoxLayout(Frame2))->addWidget(Image2);
    Frame1 = new QGroupBox(QStringLiteral("Загрузить:"));
    Option1 = new QRadioButton(QStringLiteral("Найденный номер"));
    Option1->setChecked(true);
    Option2 = new QRadioButton(QStringLiteral("Другой:"));
    // Numbers run to six digits; a window squeezed onto a small screen keeps them whole.
    Text1 = new FittedLineEdit(QStringLiteral("23613"), QStringLiteral("000000"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->installEventFilter(this);
    Text1->setValidator(new TypableOnly(Text1));
    Command3 = new QPushButton(QStringLiteral("..."));
    Label3 = new QLabel(QStringLiteral("Такой номер уже есть в архиве программы"));
    QPalette warning = Label3->palette();
    warning.setColor(QPalette::WindowText, WarningColour(warning));
    Label3->setPalette(warning);
    Label3->hide();
    Command1 = new QPushButton(QStringLiteral("Загрузка"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Отмена"));

    auto* other = new QHBoxLayout;
    other->addWidget(Option2);
    other->addWidget(Text1);
    other->addWidget(Command3);
    auto* choice = new QVBoxLayout(Frame1);
    choice->addWidget(Option1);
    choice->addLayout(other);
    auto* latest = new QHBoxLayout;
    latest->addWidget(Label1);
    latest->addWidget(Label2);
    latest->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* column = new QVBoxLayout;
    column->addLayout(latest);
    column->addWidget(Frame1);
    column->addWidget(Label3);
    column->addStretch();
    column->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Image1);
    layout->addWidget(Frame2);
    layout->addLayout(column);

    connect(Option1, &QRadioButton::clicked, this, &Select_Number::optionClicked);
    connect(Option2, &QRadioButton::clicked, this, &Select_Number::optionClicked);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (showing_)
            return;
        model_.TextChanged(text);
        model_.ApplyKeyRule(text); // a paste changes the text without a key
        showState();
    });
    connect(Command3, &QPushButton::clicked, this, &Select_Number::openList);
    connect(Command1, &QPushButton::clicked, this, &Select_Number::load);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

Select_Number::Outcome Select_Number::Run() {
    model_.Open();
    showState();
    const bool newspaper = model_.IsNewspaper();
    Image1->setVisible(newspaper);
    Frame2->setVisible(!newspaper);
    if (model_.EndsAtOnce())
        return Outcome::EndProgram;
    if (model_.data().Unattended)
        Aload.start();
    // After a failed main page the number is all there is to give.
    if (model_.data().ByNumberOnly && !Text1->isReadOnly()) {
        Text1->setFocus(Qt::OtherFocusReason);
        Text1->selectAll();
    }
    outcome_ = Outcome::Cancel;
    exec();
    Aload.stop();
    return outcome_;
}

void Select_Number::showState() {
    showing_ = true;
    Label2->setText(model_.label2);
    if (Text1->text() != model_.text1)
        Text1->setText(model_.text1);
    Option2->setChecked(model_.option2Selected);
    Option1->setChecked(!model_.option2Selected);
    Option1->setEnabled(model_.option1Enabled);
    Text1->setEnabled(model_.text1Enabled);
    Text1->setReadOnly(model_.text1ReadOnly);
    Command3->setEnabled(model_.command3Enabled);
    Command1->setEnabled(model_.command1Enabled);
    Label3->setVisible(model_.label3Visible);
    if (!model_.IsNewspaper())
        Image2->setPixmap(AllNumber::CoverPicture(model_.cover));
    showing_ = false;
}

void Select_Number::optionClicked() {
    model_.SelectOption(Option2->isChecked());
    showState();
}

bool Select_Number::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && !Text1->isReadOnly()) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            // Ctrl+letter edits or uses the clipboard, whatever it types.
            const bool shortcut = key->modifiers() & Qt::ControlModifier;
            if (!shortcut && !SelectNumberModel::AcceptsKey(key->key(), key->text()))
                return true; // dropped
            model_.ApplyKeyRule(Text1->text());
            showState();
        } else if (event->type() == QEvent::KeyRelease) {
            model_.ApplyKeyRule(Text1->text());
            showState();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Select_Number::openList() {
    AllNumber list(model_.data(), this);
    if (listHook_)
        listHook_(list);
    list.exec();
    if (const auto& pick = list.Picked()) {
        model_.TakePick(pick->number, pick->selectedIssue, pick->cover, pick->IssueDateOverride);
        showState();
    }
}

void Select_Number::load() {
    outcome_ = Outcome::Load;
    accept();
}

#include "moc_select_number.cpp"
