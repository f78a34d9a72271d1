// A Qt input plugin that drives the real program's windows like a user, for
// tests that run the built norvel2. A test starts the program with
//   QT_PLUGIN_PATH=<folder holding generic/> and
//   QT_QPA_GENERIC_PLUGINS=norveluidriver:<script file>
// and the toolkit loads this plugin into the program at start. The script
// has one step a line; each step waits until it can be done (at most
// StepTimeoutMs), then clicks with the mouse the way a user would:
//   click CAPTION   a visible, enabled button with that caption
//   row N           row N (from 0) of the visible list
//   link CAPTION    the visible label link that reads CAPTION
//   wait TEXT       until a visible label reads TEXT
//   minimize        minimises the visible windows (to the task bar)
//   front           until a window is shown, not minimised, and active
// Buttons, lists and links are looked for in the active modal window, or in
// every visible window when none is modal. A step that cannot be done in
// time ends the program with exit code 3 and says which on standard error.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGenericPlugin>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int StepTimeoutMs = 30'000;
constexpr int PollMs = 50;

QList<QWidget*> scopeWindows() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return {modal};
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            windows.append(w);
    }
    return windows;
}

template <typename T> QList<T*> visibleIn(const QList<QWidget*>& windows) {
    QList<T*> found;
    for (QWidget* window : windows) {
        for (T* w : window->findChildren<T*>()) {
            if (w->isVisible())
                found.append(w);
        }
    }
    return found;
}

QString caption(const QAbstractButton* button) {
    return button->text().remove(QLatin1Char('&'));
}

class UiDriver : public QObject {
public:
    explicit UiDriver(const QString& scriptFile) {
        QFile file(scriptFile);
        if (!file.open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("cannot read the script ") + scriptFile);
            return;
        }
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty())
                steps_.append(line.trimmed());
        }
        poll_.setInterval(PollMs);
        connect(&poll_, &QTimer::timeout, this, [this] { tryStep(); });
        poll_.start();
        clock_.start();
    }

private:
    // A click that opens a modal window returns only when that window has
    // closed; it runs after this poll has returned, so the poll goes on
    // driving the new window meanwhile.
    void clickLater(QWidget* widget, QPoint at) {
        QPointer<QWidget> target(widget);
        QTimer::singleShot(0, this, [target, at] {
            if (target)
                QTest::mouseClick(target, Qt::LeftButton, {}, at);
        });
    }

    bool click(const QString& text) {
        for (QAbstractButton* b : visibleIn<QAbstractButton>(scopeWindows())) {
            if (b->isEnabled() && caption(b) == text) {
                clickLater(b, b->rect().center());
                return true;
            }
        }
        return false;
    }

    bool row(int n) {
        for (QListWidget* list : visibleIn<QListWidget>(scopeWindows())) {
            if (n < 0 || n >= list->count())
                continue;
            clickLater(list->viewport(), list->visualItemRect(list->item(n)).center());
            return true;
        }
        return false;
    }

    bool link(const QString& text) {
        for (QLabel* label : visibleIn<QLabel>(scopeWindows())) {
            if (!label->text().contains(QLatin1Char('>') + text + QStringLiteral("</a>")))
                continue;
            // The label holds the link alone: its start is on the link.
            clickLater(label, QPoint(label->contentsRect().left() + 6, label->height() / 2));
            return true;
        }
        return false;
    }

    bool wait(const QString& text) {
        QList<QWidget*> all;
        for (QWidget* w : QApplication::topLevelWidgets())
            all.append(w);
        // A text too long for its label is whole in the tooltip.
        for (QLabel* label : visibleIn<QLabel>(all)) {
            if (label->text() == text || label->toolTip() == text)
                return true;
        }
        return false;
    }

    bool minimize() {
        const QList<QWidget*> windows = scopeWindows();
        for (QWidget* w : windows)
            w->showMinimized();
        return !windows.isEmpty();
    }

    bool front() {
        QWidget* active = QApplication::activeWindow();
        return active && active->isVisible() && !active->isMinimized();
    }

    bool done(const QString& step) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString rest = step.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("click"))
            return click(rest);
        if (verb == QLatin1String("row"))
            return row(rest.toInt());
        if (verb == QLatin1String("link"))
            return link(rest);
        if (verb == QLatin1String("wait"))
            return wait(rest);
        if (verb == QLatin1String("minimize"))
            return minimize();
        if (verb == QLatin1String("front"))
            return front();
        fail(QStringLiteral("unknown step: ") + step);
        return false;
    }

    void tryStep() {
        if (next_ >= steps_.size()) {
            poll_.stop();
            return;
        }
        const QString step = steps_.at(next_);
        if (done(step)) {
            std::fprintf(stderr, "ui driver: %s\n", qPrintable(step));
            ++next_;
            clock_.restart();
        } else if (clock_.elapsed() > StepTimeoutMs) {
            fail(QStringLiteral("not done in time: ") + step);
        }
    }

    [[noreturn]] static void fail(const QString& why) {
        std::fprintf(stderr, "ui driver: %s\n", qPrintable(why));
        std::fflush(stderr);
        std::_Exit(3);
    }

    QStringList steps_;
    qsizetype next_ = 0;
    QTimer poll_;
    QElapsedTimer clock_;
};

} // namespace

class UiDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ui_driver.json")

public:
    QObject* create(const QString& key, const QString& scriptFile) override {
        if (key.compare(QLatin1String("norveluidriver"), Qt::CaseInsensitive) != 0)
            return nullptr;
        return new UiDriver(scriptFile);
    }
};

#include "ui_driver.moc"
