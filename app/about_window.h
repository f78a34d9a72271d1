#pragma once
// The about window "О программе": the program's name and version, links to
// the program's site, its forum and a letter to the author, and a rights
// panel naming the two publishers, whose names link to their sites. The
// addresses follow the host configuration (sites.ini).

#include <QDialog>

struct Sites;
class LinkLabel;
class QLabel;
class QPushButton;

class About : public QDialog {
    Q_OBJECT

public:
    // The author's address for "Написать автору".
    static constexpr char AuthorMail[] = "author@norvel.ru";

    explicit About(const Sites& sites, QWidget* parent = nullptr);

    QLabel* VersionLabel;     // "Версия: 2.1.7"
    LinkLabel* ProgramLink;   // the program's site, with its tool tip
    LinkLabel* SiteLink;      // the program's site again, as its address
    LinkLabel* ForumLink;     // /forum/index.php of the program's site
    LinkLabel* MailLink;      // a letter to the author
    LinkLabel* NewspaperLink; // the newspaper's site, in the rights panel
    LinkLabel* MagazineLink;  // the magazine's site, in the rights panel
    QPushButton* CloseButton; // "Закрыть"
};
