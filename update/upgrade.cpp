#include "update/upgrade.h"

#include "htmlview/html_label.h"
#include "ui/labels.h"
#include "update/release_signature.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

Upgrade::Upgrade(const UpdateInfo& info, QWidget* parent) : QDialog(parent), info_(info) {
    setWindowTitle(QString::fromUtf8("Обновление"));
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    Label1 = new QLabel(update_text::VersionLabel(info), this);
    Label2 = new QLabel(update_text::SizeLabel(info), this);
    Label3 = new QLabel(update_text::Notice(), this);
    Label3->setWordWrap(true);
    Label4 = new QLabel(LinkCaption(), this);
    Label4->installEventFilter(this);
    ShowAsLink(Label4, true);

    HTML = new htmlview::HTMLLabel(this);
    HTML->setEnableScroll(true);
    HTML->setMinimumSize(420, 180);
    HTML->hide();
    HTML->setDocumentHTML(WhatsNewDocument(info.WhatsNew));

    Command1 = new QPushButton(QString::fromUtf8("Обновить"), this);
    Command2 = new QPushButton(QString::fromUtf8("Отмена"), this);
    Command3 = new QPushButton(QString::fromUtf8("Что нового?"), this);
    // Enter keeps the download going; installing takes a deliberate click.
    // A focused push button of a dialog would take Enter for itself, so only
    // «Отмена» may, and the window opens with the focus on it.
    Command1->setAutoDefault(false);
    Command3->setAutoDefault(false);
    Command2->setDefault(true);
    Command2->setFocus();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* column = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4),
                       static_cast<QWidget*>(HTML)})
        column->addWidget(w);
    column->addLayout(buttons);

    Timer1.setInterval(Timer1IntervalMs);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &Upgrade::Timer1Tick);
    connect(Command1, &QPushButton::clicked, this, [this] {
        decision_ = UpdateDecision::Update;
        accept();
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        decision_ = UpdateDecision::Cancel;
        reject();
    });
    connect(Command3, &QPushButton::clicked, this, &Upgrade::Command3Click);
    if (DecodedSignature(info.Signature).isEmpty())
        ShowUnsigned();
}

void Upgrade::ShowUnsigned() {
    Label3->setText(update_text::Unsigned());
    Command1->setEnabled(false);
}

QString Upgrade::LinkCaption() {
    return QString::fromUtf8("Прямая ссылка (копировать)");
}

QString Upgrade::CopiedCaption() {
    return QString::fromUtf8("Cкопирована в буфер обмена");
}

UpdateDecision Upgrade::Run() {
    decision_ = UpdateDecision::Cancel;
    exec();
    return decision_;
}

void Upgrade::Command3Click() {
    const bool show = HTML->isHidden();
    HTML->setVisible(show);
    Command3->setText(show ? QString::fromUtf8("Назад") : QString::fromUtf8("Что нового?"));
    adjustSize();
    if (show)
        HTML->Refresh(false);
}

void Upgrade::Label4Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(update_text::DirectLink(info_));
    Label4->setText(CopiedCaption());
    ShowAsLink(Label4, false);
    Timer1.start();
}

void Upgrade::Timer1Tick() {
    Timer1.stop();
    Label4->setText(LinkCaption());
    ShowAsLink(Label4, true);
}

bool Upgrade::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label4Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

#include "moc_upgrade.cpp"
