#include "app/main_window.h"

#include "app/main_controller.h"
#include "ui/repaint_pacer.h"
#include "ui/text_colours.h"
#include "ui/window_place.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QPixmap logo(const char* resource) {
    QPixmap picture(QString::fromLatin1(resource));
    return picture;
}

QPushButton* button(const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setMinimumWidth(120);
    return b;
}

} // namespace

Main::Main(MainController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller),
      progressPacer_(new RepaintPacer([this] { refreshProgress(); }, this)),
      KPlogo(logo(":/norvel/kplogo.png")), KTlogo(logo(":/norvel/ktlogo.png")) {
    setWindowIcon(QIcon(QStringLiteral(":/norvel/norvel2.png")));

    Option1 = new QRadioButton(this);
    Option2 = new QRadioButton(this);
    Option1->setIcon(KPlogo);
    Option2->setIcon(KTlogo);
    Option1->setIconSize(KPlogo.size() / 2);
    Option2->setIconSize(KTlogo.size() / 2);
    Option1->setToolTip(QString::fromUtf8("Газета «Ведомир»"));
    Option2->setToolTip(QString::fromUtf8("Журнал «Зенитра»"));
    LOGO = new QLabel(this);
    LOGO->setAlignment(Qt::AlignCenter);
    LOGO->setMinimumSize(KPlogo.size().expandedTo(KTlogo.size()));

    Command1 = button("Загрузить", this);
    Command2 = button("Настройки", this);
    Command3 = button("Архив", this);
    Command4 = button("О программе", this);
    Command5 = button("Выход", this);

    Frame2 = new QFrame(this);
    Frame2->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(Frame2);
    Label2 = new QLabel(Frame2);
    auto* frameLayout = new QHBoxLayout(Frame2);
    frameLayout->addWidget(Label1);
    frameLayout->addStretch();
    frameLayout->addWidget(Label2);

    Stat = new QLabel(this);
    Stat->setFrameShape(QFrame::Panel);
    Stat->setFrameShadow(QFrame::Sunken);
    Stat->setWordWrap(true);
    OpenIssueLink = new QLabel(this);
    // Rich text takes its link colour from the application's palette when
    // it is set, not from the label's: the colour is written into the link.
    OpenIssueLink->setText(QStringLiteral("<a href=\"issue\" style=\"color: %1\">Открыть номер</a>")
                               .arg(LinkColour(OpenIssueLink->palette()).name()));
    OpenIssueLink->setToolTip(QString::fromUtf8("Открыть загруженный номер в браузере"));
    // Reached with Tab like the buttons, and pressed like them.
    OpenIssueLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                           Qt::LinksAccessibleByKeyboard);
    OpenIssueLink->setFocusPolicy(Qt::StrongFocus);
    OpenIssueLink->installEventFilter(this);
    Progress = new QProgressBar(this);
    Progress->setRange(0, 100);

    auto* sources = new QHBoxLayout;
    sources->addWidget(Option1);
    sources->addWidget(Option2);
    sources->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(LOGO);
    left->addLayout(sources);
    left->addWidget(Frame2);
    viewSlot_ = new QVBoxLayout;
    left->addLayout(viewSlot_);
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {Command1, Command2, Command3, Command4, Command5})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top);
    auto* status = new QHBoxLayout;
    status->addWidget(Stat, 1);
    status->addWidget(OpenIssueLink);
    whole->addLayout(status);
    whole->addWidget(Progress);

    connect(Option1, &QRadioButton::clicked, this,
            [this] { controller_.SelectSource(NewspaperSource); });
    connect(Option2, &QRadioButton::clicked, this,
            [this] { controller_.SelectSource(MagazineSource); });
    connect(Command1, &QPushButton::clicked, &controller_, &MainController::Command1Click);
    connect(Command2, &QPushButton::clicked, &controller_, &MainController::Command2Click);
    connect(Command3, &QPushButton::clicked, &controller_, &MainController::Command3Click);
    connect(Command4, &QPushButton::clicked, &controller_, &MainController::Command4Click);
    connect(Command5, &QPushButton::clicked, this, &QWidget::close);
    connect(OpenIssueLink, &QLabel::linkActivated, &controller_, &MainController::OpenOfferedIssue);
    connect(&controller_, &MainController::changed, this, &Main::refresh);
    connect(&controller_, &MainController::focusCommand1, this,
            [this] { Command1->setFocus(Qt::OtherFocusReason); });
    refresh();
    refreshProgress();
}

void Main::setDownloadControlView(QWidget* view) {
    viewSlot_->addWidget(view);
}

// Setters of equal values return early, except a picture's: LOGO gets one
// only when the source changes.
void Main::refresh() {
    const MainController& c = controller_;
    Option1->setChecked(c.Option1Checked);
    Option2->setChecked(c.Option2Checked);
    Option1->setEnabled(c.Option1Enabled);
    Option2->setEnabled(c.Option2Enabled);
    if (c.LogoSource != shownLogo_) {
        shownLogo_ = c.LogoSource;
        LOGO->setPixmap(c.LogoSource == MagazineSource ? KTlogo : KPlogo);
    }
    Command1->setText(c.Command1Caption);
    Command2->setEnabled(c.Command2Enabled);
    Command3->setEnabled(c.Command3Enabled);
    OpenIssueLink->setVisible(!c.OfferedIssue.isEmpty());
    Frame2->setVisible(c.Frame2Visible);
    Progress->setVisible(c.ProgressVisible);
    progressPacer_->request();
}

void Main::refreshProgress() {
    const MainController& c = controller_;
    setWindowTitle(c.WindowTitle());
    Stat->setText(c.Stat);
    Label1->setText(c.Label1);
    Label2->setText(c.Label2);
    // A progress bar repaints itself at once when its value moves; held
    // back, it is repainted with the rest of the window.
    if (Progress->value() != c.ProgressPercent || Progress->format() != c.ProgressText) {
        Progress->setUpdatesEnabled(false);
        Progress->setValue(c.ProgressPercent);
        Progress->setFormat(c.ProgressText);
        Progress->setUpdatesEnabled(true);
    }
}

void Main::BringForward() {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

bool Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == OpenIssueLink && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            controller_.OpenOfferedIssue();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Closing the window is "Выход": the unload step runs, unless the program
// is ending at once. A running download is stopped first, if the user says so.
void Main::closeEvent(QCloseEvent* event) {
    if (!controller_.ConfirmClose()) {
        event->ignore();
        return;
    }
    controller_.Unload();
    SaveWindowPlace(*this, OptionsFilePath(controller_.app().ProgramFolder), "Main");
    event->accept();
}

#include "moc_main_window.cpp"
