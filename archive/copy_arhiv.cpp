#include "archive/copy_arhiv.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CopyArhiv::CopyArhiv(const QString& programFolder, const Settings& settings, Messenger& messenger,
                     QWidget* parent)
    : QDialog(parent), copy_(programFolder), target_(settings.FolderToCopy), messenger_(messenger) {
    setWindowTitle(QStringLiteral("Копирование архива"));
    if (parentWidget())
        setWindowIcon(parentWidget()->window()->windowIcon());

    Shape1 = new QFrame;
    Shape1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Label1 = new QLabel(QStringLiteral("Подготовка к копированию..."));
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    Command1 = new QPushButton(QStringLiteral("Отмена"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* inside = new QVBoxLayout(Shape1);
    inside->addWidget(Label1);
    inside->addWidget(ProgressBar1);
    inside->addLayout(buttons);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(Shape1);
    setMinimumWidth(380);

    // The loop reaches its first folder only once the copy folder has passed
    // its checks: the bar shows from there on.
    copy_.processEvents = [this] {
        ProgressBar1->show();
        QCoreApplication::processEvents();
    };
    copy_.progress = [this](int16_t percent) { showProgress(percent); };
    connect(Command1, &QPushButton::clicked, this, &CopyArhiv::cancel);
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(StartDelayMs);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &CopyArhiv::startCopy);
    // With nothing to copy the window waits for "Отмена".
    if (!copy_.Folders().isEmpty())
        Timer1.start();
}

void CopyArhiv::startCopy() {
    Timer1.stop();
    ProgressBar1->setValue(0);
    outcome_ = copy_.Run(target_, messenger_);
    accept();
}

void CopyArhiv::showProgress(int16_t percent) {
    Label1->setText(QStringLiteral("Копирование: %1%...").arg(percent));
    ProgressBar1->setValue(percent);
    repaint();
}

void CopyArhiv::cancel() {
    Timer1.stop();
    copy_.Cancel();
    reject();
}

ArchiveCopy::Result RunArchiveCopier(const QString& programFolder, const Settings& settings,
                                     Messenger& messenger, QWidget* parent) {
    CopyArhiv window(programFolder, settings, messenger, parent);
    window.exec();
    return window.Outcome();
}

#include "moc_copy_arhiv.cpp"
