#include "archive/arhiv.h"

#include "archive/open_page.h"
#include "htmlview/html_label.h"
#include "search/index_progress.h"
#include "ui/window_place.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

Arhiv::Arhiv(const QString& programFolder, Settings& settings, Messenger& messenger,
             QWidget* parent)
    : QDialog(parent), browser_(programFolder, settings), messenger_(messenger),
      optionsFile_(OptionsFilePath(programFolder)) {
    build();
    RestoreWindowPlace(*this, optionsFile_, "Archive");
    fillList();
    // Showing a set option is the option's first change (it moves no focus).
    connect(Check1, &QCheckBox::toggled, this, &Arhiv::browserOptionChanged);
    Check1->setChecked(settings.UseIE);
    // A selected entry, by mouse or keys, is a click; the current entry the
    // list takes when it gets the focus is none.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = List1->selectedItems();
        if (browser_.Searching && !selected.isEmpty()) {
            browser_.SelectHit(List1->row(selected.first()));
            showSelection();
        } else {
            select(selected.isEmpty() ? QString() : selected.first()->text());
        }
    });
    // Enter in the field searches; the dialog must not take it for "Открыть".
    SearchField->installEventFilter(this);
    // Clearing the field brings the issues back without Enter.
    connect(SearchField, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.trimmed().isEmpty() && browser_.Searching)
            search();
    });
    showInfo();
    showPreviewState();
}

void Arhiv::build() {
    setWindowTitle(QStringLiteral("Архив"));
    if (parentWidget())
        setWindowIcon(parentWidget()->window()->windowIcon());

    SearchField = new QLineEdit;
    SearchField->setPlaceholderText(QStringLiteral("Поиск по архиву"));
    SearchField->setClearButtonEnabled(true);
    SearchField->setToolTip(QStringLiteral(
        "Слова в любой форме; \"слова в кавычках\" — фраза; -слово — без него. Enter — искать"));
    List1 = new QListWidget;
    // Fixed pitch asked for in so many words: the system's fixed font alone
    // is matched, on some font sets, to one whose letters differ in width.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    List1->setFont(fixed);
    Frame1 = new QGroupBox(QStringLiteral("Информация"));
    Frame1->setLayout(new QVBoxLayout);
    Frame1->layout()->addWidget(buildPanel());

    HTMLLabel1 = new htmlview::HTMLLabel;
    HTMLLabel1->setEnableScroll(true);
    HTMLLabel1->setMinimumSize(420, 240);
    connect(HTMLLabel1, &htmlview::HTMLLabel::LoadImage, this, &Arhiv::loadImage);

    PreviewOffPicture = style()->standardIcon(QStyle::SP_FileDialogContentsView);
    PreviewOnPicture = style()->standardIcon(QStyle::SP_FileDialogListView);
    Command3 = new QToolButton;
    Command3->setToolTip(QStringLiteral("Предварительный просмотр"));
    Command3->setIconSize(QSize(24, 24));
    Check1 = new QCheckBox(QStringLiteral("Открывать в выбранном браузере"));
    Command4 = new QPushButton(QStringLiteral("Книга EPUB"));
    Command4->setToolTip(QStringLiteral("Создать книгу номера для читалки"));
    Command1 = new QPushButton(QStringLiteral("Открыть"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Отмена"));

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(SearchField);
    listColumn->addWidget(List1, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn, 1);
    top->addWidget(Frame1, 1);
    top->addWidget(HTMLLabel1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addWidget(Check1);
    buttons->addStretch();
    buttons->addWidget(Command4);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top, 1);
    whole->addLayout(buttons);
    resize(600, 380);

    connect(Command3, &QToolButton::clicked, this, &Arhiv::togglePreview);
    connect(Command4, &QPushButton::clicked, this, &Arhiv::makeBook);
    connect(Command1, &QPushButton::clicked, this, &Arhiv::open);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void Arhiv::done(int result) {
    SaveWindowPlace(*this, optionsFile_, "Archive");
    QDialog::done(result);
}

QWidget* Arhiv::buildPanel() {
    auto* panel = new QWidget;
    auto* form = new QFormLayout(panel);
    auto value = [form](const char* caption) {
        auto* label = new QLabel;
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromUtf8(caption), label);
        return label;
    };
    NumberValue = value("Номер:");
    DateValue = value("Дата:");
    BuiltValue = value("Загружен:");
    PagesValue = value("Страниц в номере:");
    PicturesValue = value("С изображениями:");
    return panel;
}

void Arhiv::select(const QString& issue) {
    if (issue.isEmpty())
        return;
    browser_.Select(issue);
    showSelection();
}

bool Arhiv::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SearchField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            search();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// On another thread: an archive without an index is indexed whole first.
// Meanwhile the window repaints and counts the issues in its list; what the
// user types or clicks waits, as the search changes the browser's state.
void Arhiv::search() {
    const auto progress = std::make_shared<search::IndexProgress>();
    std::future<void> searching =
        std::async(std::launch::async, [this, query = SearchField->text(), progress] {
            browser_.Search(query, search::IndexProgress::Reporter(progress));
        });
    search::WaitAnswering(
        searching, *progress,
        [this](const QString& text) {
            List1->clear();
            List1->addItem(text);
        },
        QEventLoop::ExcludeUserInputEvents);
    fillList();
}

// The issues, or the hits with a line that says why there are none (or
// that the index was built anew), which cannot be chosen.
void Arhiv::fillList() {
    List1->clear();
    if (!browser_.Searching) {
        List1->addItems(browser_.Issues);
        return;
    }
    for (const search::SearchHit& hit : browser_.Hits)
        List1->addItem(ArchiveBrowser::HitLine(hit));
    if (!browser_.SearchText.isEmpty()) {
        auto* note = new QListWidgetItem(browser_.SearchText);
        note->setFlags(Qt::NoItemFlags);
        List1->addItem(note);
    }
}

void Arhiv::showSelection() {
    showInfo();
    HTMLLabel1->setDocumentHTML(browser_.Preview);
    HTMLLabel1->Refresh();
    showPreviewState();
}

void Arhiv::showInfo() {
    const IssueInfo& info = browser_.Info;
    NumberValue->setText(info.Number);
    DateValue->setText(info.Date);
    BuiltValue->setText(info.Built);
    PagesValue->setText(info.Pages);
    PicturesValue->setText(info.Pictures);
    Command4->setEnabled(browser_.CanMakeBook());
}

void Arhiv::togglePreview() {
    browser_.TogglePreview();
    showPreviewState();
    if (browser_.PreviewOn) {
        // Laid out at the size the preview now has.
        HTMLLabel1->Refresh();
        Command1->setFocus(Qt::OtherFocusReason);
    } else {
        List1->setFocus(Qt::OtherFocusReason);
    }
}

void Arhiv::showPreviewState() {
    const bool on = browser_.PreviewOn;
    Command3->setVisible(browser_.PreviewButtonVisible);
    Command3->setIcon(on ? PreviewOnPicture : PreviewOffPicture);
    // The search field goes with the list it fills.
    SearchField->setVisible(!on);
    List1->setVisible(!on);
    Frame1->setVisible(!on);
    HTMLLabel1->setVisible(on);
}

void Arhiv::browserOptionChanged(bool ticked) {
    if (browser_.ChangeBrowserOption(ticked))
        Command1->setFocus(Qt::OtherFocusReason);
}

// The window closes before the browser starts, with or without the option.
void Arhiv::open() {
    const QString page = browser_.PageToOpen();
    if (page.isEmpty())
        return;
    accept();
    OpenIssuePage(page, browser_.settings(), messenger_);
}

// The book of a large issue takes some seconds on the window's thread.
void Arhiv::makeBook() {
    browser_.MakeBook(messenger_, [](bool working) {
        if (working)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
}

// Pictures of the previewed index come from its own folder; addresses that
// lead out of it (other sites, other folders) show no picture.
void Arhiv::loadImage(const QString& source, QImage& image) const {
    const QString folder = browser_.IssueFolder();
    if (folder.isEmpty() || source.contains(QLatin1Char(':')))
        return;
    const QString path = QDir::cleanPath(folder + "/" + source);
    if (path.startsWith(folder + "/") && QFileInfo(path).isFile())
        image.load(path);
}

#include "moc_arhiv.cpp"
