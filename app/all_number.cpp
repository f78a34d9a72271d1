#include "app/all_number.h"

#include "processing/issue_index.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr int CoverWidth = 120;
} // namespace

QPixmap AllNumber::CoverPicture(const QString& file) {
    QPixmap picture(file);
    if (picture.isNull())
        picture = PlaceholderCover();
    // As many pixels as the screen has: sharp on a high-density screen.
    const qreal ratio = qApp->devicePixelRatio();
    picture = picture.scaledToWidth(qRound(CoverWidth * ratio), Qt::SmoothTransformation);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

QPixmap AllNumber::PlaceholderCover() {
    QPixmap picture;
    picture.loadFromData(StockCoverBitmap(), "BMP");
    return picture;
}

QPixmap AllNumber::NewspaperPicture() {
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap picture((QSizeF(CoverWidth, 90) * ratio).toSize());
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setPen(QPen(Qt::darkGray, 2));
    p.drawRect(QRect(0, 0, CoverWidth, 90).adjusted(1, 1, -2, -2));
    QFont title = p.font();
    title.setBold(true);
    title.setPointSize(14);
    p.setFont(title);
    p.drawText(QRect(0, 8, CoverWidth, 28), Qt::AlignCenter, QStringLiteral("Ведомир"));
    for (int y = 44; y < 82; y += 8)
        p.drawLine(12, y, CoverWidth - 12, y);
    return picture;
}

AllNumber::AllNumber(const SelectionData& data, QWidget* parent) : QDialog(parent), model_(data) {
    setWindowTitle(QStringLiteral("Доступные номера"));
    if (parent)
        setWindowIcon(parent->windowIcon());

    Label3 = new QLabel(QStringLiteral("Остальные номера, доступные с главной страницы:"));
    Label1 = new QLabel(QStringLiteral("Номер"));
    Label2 = new QLabel(QStringLiteral("Дата"));
    List1 = new QListWidget;
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    List1->setFont(fixed);
    List1->addItems(model_.Rows());
    Command1 = new QPushButton(QStringLiteral("Выбрать"));
    Command1->setEnabled(false);
    Command2 = new QPushButton(QStringLiteral("Отмена"));

    Picture1 = new QLabel;
    Picture1->setPixmap(NewspaperPicture());
    Frame2 = new QGroupBox;
    Image2 = new QLabel;
    Image2->setPixmap(CoverPicture(QString()));
    auto* frameLayout = new QVBoxLayout(Frame2);
    frameLayout->addWidget(Image2);
    const bool newspaper = data.CurrentSource == 1;
    Picture1->setVisible(newspaper);
    Frame2->setVisible(!newspaper);

    auto* heads = new QHBoxLayout;
    heads->addWidget(Label1);
    heads->addWidget(Label2);
    heads->addStretch();
    alignHeads(*heads);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(Label3);
    listColumn->addLayout(heads);
    listColumn->addWidget(List1);
    auto* side = new QVBoxLayout;
    side->addWidget(Picture1);
    side->addWidget(Frame2);
    side->addStretch();
    side->addWidget(Command1);
    side->addWidget(Command2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn);
    layout->addLayout(side);

    // A pick is a row the user selected, by mouse or keys; the current row
    // the list takes with the focus is none, so "Выбрать" stays off.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!List1->selectedItems().isEmpty())
            rowClicked(List1->currentRow());
    });
    connect(Command1, &QPushButton::clicked, this, &AllNumber::choose);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

// Each heading stands over its column: "Номер" where the list's text
// begins, "Дата" where the dates begin in the fixed-pitch rows.
void AllNumber::alignHeads(QHBoxLayout& heads) {
    const QString row = model_.Rows().value(0);
    const qsizetype bar = row.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return;
    qsizetype date = bar + 1;
    while (date < row.size() && row.at(date) == QLatin1Char(' '))
        ++date;
    const int textStart =
        List1->frameWidth() +
        List1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, List1) + 1;
    heads.setSpacing(0);
    heads.setContentsMargins(textStart, 0, 0, 0);
    Label1->setFixedWidth(QFontMetrics(List1->font()).horizontalAdvance(row.left(date)));
}

void AllNumber::rowClicked(int position) {
    if (position < 0)
        return;
    model_.Click(position);
    Command1->setEnabled(model_.command1Enabled);
    Image2->setPixmap(CoverPicture(model_.cover));
}

void AllNumber::choose() {
    const int position = List1->currentRow();
    if (position >= 0)
        picked_ = model_.Choose(position);
    accept();
}

#include "moc_all_number.cpp"
