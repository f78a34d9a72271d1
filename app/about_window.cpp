#include "app/about_window.h"

#include "settings/sites.h"
#include "settings/utf8_text.h"
#include "settings/version.h"
#include "ui/labels.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The site's home page; a host may carry ":port" and "https://".
QUrl HomePage(const ByteText& host, const char* path = "/") {
    return QUrl(QString::fromLatin1(SiteAddress(host)) + QLatin1String(path));
}

} // namespace

About::About(const Sites& sites, QWidget* parent) : QDialog(parent) {
    setWindowTitle(U("О программе"));
    if (parent)
        setWindowIcon(parent->windowIcon());
    const QString programSite = QString::fromLatin1(sites.HomePage);

    auto* picture = new QLabel;
    picture->setPixmap(QPixmap(QStringLiteral(":/norvel/norvel2.png")));
    picture->setAlignment(Qt::AlignTop);
    ProgramLink =
        new LinkLabel(U("Норвел"), HomePage(sites.HomePage), U("Посетить сайт программы"));
    QFont large = ProgramLink->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    ProgramLink->setFont(large);
    VersionLabel = new QLabel(U("Версия: ") + QLatin1String(ProgramVersion));
    auto* purpose = new QLabel(U("Загрузка свежих номеров газеты «Ведомир» и журнала «Зенитра»\n"
                                 "для чтения без подключения к сети."));

    SiteLink = new LinkLabel(programSite, HomePage(sites.HomePage));
    ForumLink = new LinkLabel(U("Форум программы"), HomePage(sites.HomePage, "/forum/index.php"),
                              U("Обсудить программу на форуме"));
    MailLink = new LinkLabel(U("Написать автору"),
                             QUrl(QStringLiteral("mailto:") + QLatin1String(AuthorMail) +
                                  QStringLiteral("?subject=Norvel2 message")),
                             U("Отправить письмо автору программы"));
    auto* links = new QGridLayout;
    links->addWidget(new QLabel(U("Сайт:")), 0, 0);
    links->addWidget(SiteLink, 0, 1);
    links->addWidget(new QLabel(U("Вопросы и пожелания:")), 1, 0);
    links->addWidget(ForumLink, 1, 1);
    links->addWidget(MailLink, 2, 1);
    links->setColumnStretch(2, 1);

    NewspaperLink = new LinkLabel(U("газета «Ведомир»"), HomePage(sites.Newspaper),
                                  U("Посетить сайт газеты «Ведомир»"));
    MagazineLink = new LinkLabel(U("журнал «Зенитра»"), HomePage(sites.MagazineMain),
                                 U("Посетить сайт журнала «Зенитра»"));
    auto* rights = new QGroupBox(U("Права на материалы"));
    auto* rightsText = new QLabel(U("Права на материалы, которые загружает программа, "
                                    "принадлежат их издателям:"));
    rightsText->setWordWrap(true);
    auto* publishers = new QHBoxLayout;
    publishers->addWidget(NewspaperLink);
    publishers->addWidget(new QLabel(U("и")));
    publishers->addWidget(MagazineLink);
    publishers->addStretch();
    auto* rightsLayout = new QVBoxLayout(rights);
    rightsLayout->addWidget(rightsText);
    rightsLayout->addLayout(publishers);

    CloseButton = new QPushButton(U("Закрыть"));
    CloseButton->setDefault(true);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(ProgramLink);
    text->addWidget(VersionLabel);
    text->addWidget(purpose);
    text->addSpacing(8);
    text->addLayout(links);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top);
    whole->addWidget(rights);
    whole->addLayout(buttons);
}

#include "moc_about_window.cpp"
