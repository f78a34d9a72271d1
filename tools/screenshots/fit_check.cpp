#include "tools/screenshots/fit_check.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QTextDocumentFragment>

namespace {

// The widest line of text as the widget's font draws it; a '&' that marks a
// shortcut takes no room.
int TextWidth(const QWidget& widget, const QString& text, bool mnemonics) {
    const int flags = mnemonics ? int(Qt::TextShowMnemonic) : 0;
    return widget.fontMetrics().size(flags, text).width();
}

QString Describe(const QWidget& widget, const QString& text, int room, int needed) {
    QString name = widget.metaObject()->className();
    if (!widget.objectName().isEmpty())
        name += ' ' + widget.objectName();
    return QStringLiteral("%1 \"%2\": %3 px for the text, %4 needed")
        .arg(name, text)
        .arg(room)
        .arg(needed);
}

// As QLineEdit paints: the style's contents rectangle less the text margins
// and two pixels a side holds the text without scrolling when the text's
// advance and the cursor after it fit there.
QString LineEditSqueeze(const QLineEdit& edit) {
    if (edit.text().isEmpty() || edit.echoMode() != QLineEdit::Normal)
        return {};
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.contentsRect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const int room = contents.marginsRemoved(edit.textMargins()).width() - 2 * 2;
    const int needed = edit.fontMetrics().horizontalAdvance(edit.text()) + 1;
    return room < needed ? Describe(edit, edit.text(), room, needed) : QString();
}

// The style's contents rectangle of a push, radio or check button holds
// its icon and text.
QString ButtonSqueeze(const QAbstractButton& button) {
    if (button.text().isEmpty())
        return {};
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (button.inherits("QRadioButton"))
        contents = QStyle::SE_RadioButtonContents;
    else if (button.inherits("QCheckBox"))
        contents = QStyle::SE_CheckBoxContents;
    else if (!button.inherits("QPushButton"))
        return {}; // tool buttons show pictures
    const int room = button.style()->subElementRect(contents, &option, &button).width();
    int needed = TextWidth(button, button.text(), true);
    if (!button.icon().isNull())
        needed += button.iconSize().width() + 4;
    return room < needed ? Describe(button, button.text(), room, needed) : QString();
}

QString LabelSqueeze(const QLabel& label) {
    // A wrapping label takes lines instead of width; one that elides says so
    // with its "…"; a picture is no text. Rich text is measured as its plain
    // text in the label's font.
    if (label.wordWrap() || label.text().isEmpty() || label.inherits("ElidedLabel"))
        return {};
    const bool rich = label.textFormat() == Qt::RichText ||
                      (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
    const QString text =
        rich ? QTextDocumentFragment::fromHtml(label.text()).toPlainText() : label.text();
    const int indent = label.indent() > 0 ? label.indent() : 0;
    const int room = label.contentsRect().width() - 2 * label.margin() - indent;
    const int needed = TextWidth(label, text, !rich && label.buddy());
    return room < needed ? Describe(label, text, room, needed) : QString();
}

QString Squeeze(const QWidget& widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget))
        return LineEditSqueeze(*edit);
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return ButtonSqueeze(*button);
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return LabelSqueeze(*label);
    return {};
}

} // namespace

QStringList SqueezedTexts(const QWidget& window) {
    QList<const QWidget*> widgets{&window};
    for (const QWidget* child : window.findChildren<QWidget*>())
        widgets.append(child);
    QStringList squeezed;
    for (const QWidget* widget : widgets) {
        // A page of a stack or a combo box's hidden line edit shows nothing.
        if (!widget->isVisibleTo(&window) && widget != &window)
            continue;
        if (const QString line = Squeeze(*widget); !line.isEmpty())
            squeezed.append(line);
    }
    return squeezed;
}
