#include "app/options_window.h"

#include "app/choosers.h"
#include "settings/utf8_text.h"
#include "ui/fitted_fields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr std::array<const char*, OptionsController::PageCount> PageButtons = {
    "Общие", "Сеть", "Обработка", "Кэш", "Автокопия"};
constexpr std::array<const char*, OptionsController::PageCount> FrameCaptions = {
    "Общие", "Сеть", "Обработка", "Кэширование", "Разное"};

// An outline around a group of controls: drawn in the frame colour of the
// system while the group is active, grey (128, 128, 128) while it is not.
QFrame* outline() {
    auto* frame = new QFrame;
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    return frame;
}

void showActive(QFrame* frame, bool active) {
    QPalette palette = frame->parentWidget() ? frame->parentWidget()->palette() : QPalette();
    const QColor grey(128, 128, 128);
    if (!active)
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::WindowText, grey);
    frame->setPalette(palette);
}

void enable(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
}

QLineEdit* shownValue(int widthInDigits) {
    auto* field = new QLineEdit;
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QString(widthInDigits + 2, '0')));
    return field;
}

QLabel* note(const char* text) {
    auto* label = new QLabel(U(text));
    label->setWordWrap(true);
    return label;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
    auto* layout = new QHBoxLayout;
    for (QWidget* w : widgets)
        layout->addWidget(w);
    if (stretch)
        layout->addStretch();
    return layout;
}

} // namespace

Options::Options(OptionsController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setWindowTitle(U("Настройки"));
    if (parent)
        setWindowIcon(parent->windowIcon());

    auto* pageRow = new QHBoxLayout;
    Pages = new QStackedWidget;
    const std::array<QWidget*, OptionsController::PageCount> contents = {
        generalPage(), networkPage(), processingPage(), cashePage(), copyPage()};
    for (int i = 0; i < OptionsController::PageCount; ++i) {
        Option[i] = new QRadioButton(U(PageButtons[i]));
        pageRow->addWidget(Option[i]);
        connect(Option[i], &QRadioButton::clicked, this, [this, i] { controller_.ShowPage(i); });
        Frame[i] = new QGroupBox(U(FrameCaptions[i]));
        (new QVBoxLayout(Frame[i]))->addWidget(contents[i]);
        Pages->addWidget(Frame[i]);
    }
    pageRow->addStretch();

    Command1 = new QPushButton(U("Сохранить"));
    Command1->setDefault(true);
    Command2 = new QPushButton(U("Отмена"));
    Command6 = new QPushButton(U("По умолчанию"));
    connect(Command1, &QPushButton::clicked, this, &Options::save);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command6, &QPushButton::clicked, &controller_, &OptionsController::Command6Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command6);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* whole = new QVBoxLayout(this);
    whole->addLayout(pageRow);
    whole->addWidget(Pages, 1);
    whole->addLayout(buttons);

    connectController();
    refresh();
}

QWidget* Options::generalPage() {
    auto* formats = new QGroupBox(U("Формат каталогов для сохранения:"));
    Option5 = new QRadioButton(U("Абсолютный номер выпуска"));
    Option6 = new QRadioButton(U("Дата в формате ДД.ММ.ГГГГ"));
    Option7 = new QRadioButton(U("Дата в формате ГГГГ.ММ.ДД"));
    folderFormat_ = new QButtonGroup(this);
    auto* formatsLayout = new QVBoxLayout(formats);
    int format = 1;
    for (QRadioButton* option : {Option5, Option6, Option7}) {
        folderFormat_->addButton(option, format++);
        formatsLayout->addWidget(option);
    }
    connect(folderFormat_, &QButtonGroup::idClicked, this, [this](int id) {
        controller_.form.FolderFormat = int16_t(id);
        controller_.FormChanged();
    });
    Check8 = check("Загружать с изображениями", &OptionsForm::Check8);
    Check7 = check("Игнорировать ошибки загрузки", &OptionsForm::Check7);
    Check10 = check("Индексировать недокачанные", &OptionsForm::Check10);

    BrowserText = text(&OptionsForm::BrowserText);
    BrowserText->setPlaceholderText(U("браузер рабочего стола"));
    BrowserText->setToolTip(U("Программа, которой открываются номера, когда в окне архива "
                              "отмечено «Открывать в выбранном браузере». Пусто: браузер, "
                              "назначенный на рабочем столе."));
    BrowserChooser = chooserButton(&OptionsController::BrowserChooserClick);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(formats);
    for (QWidget* w : {Check8, Check7, Check10})
        layout->addWidget(w);
    layout->addSpacing(12);
    auto* browser = row({new QLabel(U("Браузер:")), BrowserText, BrowserChooser}, false);
    browser->setStretch(1, 1);
    layout->addLayout(browser);
    layout->addStretch();
    return page;
}

QWidget* Options::networkPage() {
    Check4 = check("Разорвать связь после загрузки (только для Dial-Up соединения)",
                   &OptionsForm::Check4);
    Check5 = check("Использовать прокси-сервер", &OptionsForm::Check5);
    AddressLabel = new QLabel(U("Адрес:"));
    Text5 = text(&OptionsForm::Text5);
    PortLabel = new QLabel(U("Порт:"));
    Text6 = text(&OptionsForm::Text6);
    Text6->setMaximumWidth(Text6->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    Check6 = check("Авторизация:", &OptionsForm::Check6);
    NameLabel = new QLabel(U("Имя:"));
    Text7 = text(&OptionsForm::Text7);
    PasswordLabel = new QLabel(U("Пароль:"));
    Text8 = text(&OptionsForm::Text8);
    Text8->setEchoMode(QLineEdit::Password);
    Base64Label = new QLabel(QStringLiteral("BASE64"));

    AuthFrame = outline();
    auto* auth = new QGridLayout(AuthFrame);
    auth->addWidget(NameLabel, 0, 0);
    auth->addWidget(Text7, 0, 1);
    auth->addWidget(PasswordLabel, 1, 0);
    auth->addWidget(Text8, 1, 1);
    auth->addWidget(Base64Label, 1, 2);
    ProxyFrame = outline();
    auto* proxy = new QVBoxLayout(ProxyFrame);
    auto* address = row({AddressLabel, Text5, PortLabel, Text6}, false);
    address->setStretch(1, 1);
    proxy->addLayout(address);
    proxy->addWidget(Check6);
    proxy->addWidget(AuthFrame);

    ConnectionsLabel = new QLabel(U("Одновременных загрузок:"));
    ConnectionsSpin = spin(MinConnections, MaxConnections, "", &OptionsForm::ConnectionsSpin);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Check4);
    layout->addLayout(row({ConnectionsLabel, ConnectionsSpin}));
    layout->addWidget(Check5);
    layout->addWidget(ProxyFrame);
    layout->addStretch();
    return page;
}

QWidget* Options::processingPage() {
    Text3 = text(&OptionsForm::Text3);
    Command4 = chooserButton(&OptionsController::Command4Click);
    Text4 = shownValue(2);
    FontScroll = scroll(MinCssFontSize, MaxCssFontSize, 1, &OptionsForm::FontScroll, Text4);
    Command10 = action("Применить к всему архиву", &OptionsController::Command10Click);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* script = row({new QLabel(U("Файл сценария:")), Text3, Command4}, false);
    script->setStretch(1, 1);
    layout->addLayout(script);
    layout->addWidget(note("Примечание: редактируя файл сценария вы можете полностью изменять "
                           "вид получаемых страниц."));
    layout->addSpacing(12);
    auto* font = row({new QLabel(U("Размер основного шрифта:")), FontScroll, Text4}, false);
    font->setStretch(1, 1);
    layout->addLayout(font);
    layout->addLayout(row({Command10}));
    layout->addWidget(note("Примечание: изменения вносятся в файл kp.css. Шрифт изменится только "
                           "во вновь загруженных номерах."));
    layout->addStretch();
    return page;
}

QWidget* Options::cashePage() {
    Check1 = check("Включить кэширование", &OptionsForm::Check1);
    CasheSizeLabel = new QLabel(U("Размер кэша:"));
    Text1 = shownValue(3);
    CasheScroll = scroll(10, 500, 10, &OptionsForm::CasheScroll, Text1);
    CasheFilesLabel = new QLabel(U("файлов"));
    Text2 = shownValue(3);
    Command3 = action("Очистить файловый кэш", &OptionsController::Command3Click);
    Check2 = check("Очистить кэш после загрузки", &OptionsForm::Check2);
    Check3 = check("Очищать кэш при выходе", &OptionsForm::Check3);
    Check11 = check("Режим быстрой докачки", &OptionsForm::Check11);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Check1);
    auto* size = row({CasheSizeLabel, CasheScroll, Text1, CasheFilesLabel}, false);
    size->setStretch(1, 1);
    layout->addLayout(size);
    layout->addLayout(
        row({new QLabel(U("Текущий размер:")), Text2, new QLabel(U("файлов")), Command3}));
    for (QWidget* w : {Check2, Check3, Check11})
        layout->addWidget(w);
    layout->addStretch();
    return page;
}

QWidget* Options::copyPage() {
    Check9 = check("Копировать номер после загрузки", &OptionsForm::Check9);
    // Filled by the chooser only: a folder typed by hand could name nothing.
    Text9 = text(&OptionsForm::Text9);
    Text9->setReadOnly(true);
    Command5 = chooserButton(&OptionsController::Command5Click);
    Check14 = check("Очистить перед копированием", &OptionsForm::Check14);
    Check12 = check("Создавать подкаталоги номеров", &OptionsForm::Check12);
    Command9 = action("Скопировать весь архив", &OptionsController::Command9Click);
    Check13 = check("Создавать сводное оглавление", &OptionsForm::Check13);
    Command7 = action("Создать сейчас", &OptionsController::Command7Click);
    Command8 = action("Просмотр", &OptionsController::Command8Click);

    CopyFrame = outline();
    auto* copy = new QGridLayout(CopyFrame);
    auto* folder = row({Text9, Command5}, false);
    folder->setStretch(0, 1);
    copy->addLayout(folder, 0, 0, 1, 3);
    copy->addWidget(Check14, 1, 0);
    copy->addWidget(Check12, 2, 0);
    copy->addWidget(Command9, 2, 1, 1, 2);
    copy->addWidget(Check13, 3, 0);
    copy->addWidget(Command7, 3, 1);
    copy->addWidget(Command8, 3, 2);
    copy->setColumnStretch(0, 1);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Check9);
    layout->addWidget(CopyFrame);
    layout->addWidget(readerFrame());
    layout->addStretch();
    return page;
}

// The issue's book after every download and how long issues stay.
QGroupBox* Options::readerFrame() {
    MakeEpubCheck = check("Создавать книгу EPUB после загрузки", &OptionsForm::MakeEpubCheck);
    KeepIssuesSpin = spin(0, MaxKeepIssues, "все", &OptionsForm::KeepIssuesSpin);
    KeepDaysSpin = spin(0, MaxKeepDays, "всегда", &OptionsForm::KeepDaysSpin);
    ReaderFrame = new QGroupBox(U("Для читалки"));
    auto* layout = new QGridLayout(ReaderFrame);
    layout->addWidget(MakeEpubCheck, 0, 0, 1, 2);
    layout->addWidget(new QLabel(U("Хранить последних номеров каждого издания:")), 1, 0);
    layout->addWidget(KeepIssuesSpin, 1, 1);
    layout->addWidget(new QLabel(U("Хранить номера после загрузки, дней:")), 2, 0);
    layout->addWidget(KeepDaysSpin, 2, 1);
    layout->setColumnStretch(0, 1);
    return ReaderFrame;
}

QSpinBox* Options::spin(int min, int max, const char* zeroText, int16_t OptionsForm::*field) {
    auto* box = new FittedSpinBox;
    box->setRange(min, max);
    box->setSpecialValueText(U(zeroText));
    connect(box, &QSpinBox::valueChanged, this, [this, field](int value) {
        if (showing_)
            return;
        controller_.form.*field = int16_t(value);
        controller_.FormChanged();
    });
    showForm_.push_back([this, box, field] { box->setValue(controller_.form.*field); });
    return box;
}

QCheckBox* Options::check(const char* caption, bool OptionsForm::*field) {
    auto* box = new QCheckBox(U(caption));
    connect(box, &QCheckBox::toggled, this, [this, field](bool checked) {
        if (showing_)
            return;
        controller_.form.*field = checked;
        controller_.FormChanged();
    });
    showForm_.push_back([this, box, field] { box->setChecked(controller_.form.*field); });
    return box;
}

QLineEdit* Options::text(QString OptionsForm::*field) {
    auto* edit = new QLineEdit;
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& value) {
        controller_.form.*field = value;
        controller_.FormChanged();
    });
    // Set only when it differs, so typing keeps its cursor.
    showForm_.push_back([this, edit, field] {
        if (edit->text() != controller_.form.*field)
            edit->setText(controller_.form.*field);
    });
    return edit;
}

QScrollBar* Options::scroll(int min, int max, int step, int16_t OptionsForm::*field,
                            QLineEdit* shown) {
    auto* bar = new QScrollBar(Qt::Horizontal);
    bar->setRange(min, max);
    bar->setSingleStep(step);
    bar->setPageStep(step);
    bar->setMinimumWidth(120);
    connect(bar, &QScrollBar::valueChanged, this, [this, field](int value) {
        if (showing_)
            return;
        controller_.form.*field = int16_t(value);
        controller_.FormChanged();
    });
    showForm_.push_back([this, bar, field, shown] {
        bar->setValue(controller_.form.*field);
        shown->setText(QString::number(controller_.form.*field));
    });
    return bar;
}

QPushButton* Options::action(const char* caption, void (OptionsController::*click)()) {
    auto* button = new QPushButton(U(caption));
    button->setAutoDefault(false);
    // Room beside the caption, also when the page is squeezed to its least.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    connect(button, &QPushButton::clicked, &controller_, click);
    return button;
}

// "..." beside a path, as narrow as its caption.
QPushButton* Options::chooserButton(void (OptionsController::*click)()) {
    QPushButton* button = action("...", click);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    return button;
}

void Options::connectController() {
    connect(&controller_, &OptionsController::changed, this, &Options::refresh);
    connect(&controller_, &OptionsController::focusSave, this,
            [this] { Command1->setFocus(Qt::OtherFocusReason); });
    connect(&controller_, &OptionsController::focusProxyField, this, [this](bool port) {
        QLineEdit* field = port ? Text6 : Text5;
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    });
}

void Options::refresh() {
    showing_ = true;
    const OptionsController& c = controller_;
    Option[c.Page]->setChecked(true);
    Pages->setCurrentIndex(c.Page);
    for (const auto& show : showForm_)
        show();
    if (QAbstractButton* format = folderFormat_->button(c.form.FolderFormat)) {
        format->setChecked(true);
    } else {
        // A format of another number selects none of the three.
        folderFormat_->setExclusive(false);
        for (QAbstractButton* option : folderFormat_->buttons())
            option->setChecked(false);
        folderFormat_->setExclusive(true);
    }
    Text2->setText(QString::number(c.form.Text2));
    Command7->setText(c.Command7Caption);
    Command10->setText(c.Command10Caption);
    Command10->setEnabled(c.Command10Enabled);
    refreshEnabled();
    showing_ = false;
}

void Options::refreshEnabled() {
    const OptionsEnabled e = controller_.enabled();
    enable({CasheSizeLabel, CasheScroll, Text1, CasheFilesLabel, Check2, Check3}, e.CasheGroup);
    enable({AddressLabel, PortLabel, Text5, Text6, Check6}, e.ProxyGroup);
    enable({NameLabel, PasswordLabel, Text7, Text8}, e.AuthGroup);
    Base64Label->setVisible(e.AuthGroup);
    enable({Text9, Command5, Check14, Check12, Check13}, e.CopyGroup);
    Command9->setEnabled(e.Command9);
    Command7->setEnabled(e.Command7);
    Command8->setEnabled(e.Command8);
    Command3->setEnabled(e.Command3);
    showActive(ProxyFrame, e.ProxyGroup);
    showActive(AuthFrame, e.AuthGroup);
    showActive(CopyFrame, e.CopyGroup);
}

void Options::save() {
    if (controller_.Save())
        accept();
}

void ShowOptions(AppState& app, Download_Control& DC, Messenger& messenger, OptionsHooks hooks,
                 QWidget* parent) {
    QWidget* owner = parent;
    if (!hooks.chooseFolder)
        hooks.chooseFolder = [&owner](const QString& title) { return OpenFolder(title, owner); };
    if (!hooks.chooseFile)
        hooks.chooseFile = [&owner](const QString& title, const QString& filter) {
            return OpenFile(title, filter, owner);
        };
    OptionsController controller(app, DC, messenger, std::move(hooks));
    Options window(controller, parent);
    owner = &window;
    controller.Open();
    window.exec();
}

#include "moc_options_window.cpp"
