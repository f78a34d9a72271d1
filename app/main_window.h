#pragma once
// The main window Main: two option buttons with the sources' logos, the
// chosen source's logo LOGO, the buttons Command1..Command5, the status line
// Stat and the progress panel Frame2 (Label1 time, Label2 traffic). It holds
// no rules of its own: it mirrors a MainController and forwards clicks.
// Buttons, options and what is visible follow the controller at once; the
// status line, the counters, the progress bar and the title, which change
// with every fetch, follow it once per frame (RepaintPacer).

#include <QPixmap>
#include <QWidget>

class MainController;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class RepaintPacer;

class Main : public QWidget {
    Q_OBJECT

public:
    explicit Main(MainController& controller, QWidget* parent = nullptr);

    // Places the download control's face in the window (below the progress
    // panel); the window takes ownership.
    void setDownloadControlView(QWidget* view);

    // Shows the window (and a window open over it) in front, restored from
    // the task bar and active: a second start of the program asks for it.
    void BringForward();

    // The source logos, drawn once: kept out of the layout, copied to LOGO.
    const QPixmap& KPlogoPicture() const { return KPlogo; }
    const QPixmap& KTlogoPicture() const { return KTlogo; }

    QRadioButton* Option1;
    QRadioButton* Option2;
    QLabel* LOGO;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QLabel* Stat;
    QLabel* OpenIssueLink; // "Открыть номер" beside Stat after a download
    QFrame* Frame2;
    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* Progress; // under Stat, while a download runs

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void refreshProgress();

    MainController& controller_;
    RepaintPacer* progressPacer_;
    int16_t shownLogo_ = 0;
    QPixmap KPlogo;
    QPixmap KTlogo;
    QVBoxLayout* viewSlot_;
};
