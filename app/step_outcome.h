#pragma once
// What a step of an issue download says when it returns: the download goes
// on with the next step, or it ends here, and how. Steps never call one
// another; the driver (IssueDownload, app/workflow.h) runs the next step
// only on done() and otherwise ends the download the way the outcome says.
// A step that asks the user (the selection window, the update window, a
// question) asks through DownloadView or the messenger itself and returns
// by the answer.

#include <QString>
#include <functional>

class StepOutcome {
public:
    enum class Kind {
        Done,    // the step did its part: the next one follows
        Stopped, // the user pressed "Стоп", which has already said so and
                 // returned the window to idle: nothing more is done
        Ended,   // the step has ended the run itself and nothing more is
                 // said (an issue already archived, an update taking over)
        Failed,  // the download ends: the window goes back to idle, its
                 // status line saying why
    };

    static StepOutcome done() { return StepOutcome(Kind::Done); }
    static StepOutcome stopped() { return StepOutcome(Kind::Stopped); }
    static StepOutcome ended() { return StepOutcome(Kind::Ended); }
    // reason is the status line's last text; empty when the step has
    // already put it there (before a message that has to follow it).
    static StepOutcome failed(const QString& reason = {}) {
        StepOutcome outcome(Kind::Failed);
        outcome.reason_ = reason;
        return outcome;
    }

    // What a failure leads to once the window is idle: the message telling
    // the user, the index of what did arrive. It may fail in turn.
    StepOutcome then(std::function<StepOutcome()> followUp) && {
        followUp_ = std::move(followUp);
        return std::move(*this);
    }

    Kind kind() const { return kind_; }
    bool isDone() const { return kind_ == Kind::Done; }
    const QString& reason() const { return reason_; }
    const std::function<StepOutcome()>& followUp() const { return followUp_; }

private:
    explicit StepOutcome(Kind kind) : kind_(kind) {}

    Kind kind_;
    QString reason_;
    std::function<StepOutcome()> followUp_;
};
