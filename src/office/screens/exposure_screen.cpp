#include "office/screens/exposure_screen.h"

#include "office/input.h"
#include "office/screens/exposure_grid.h"
#include "office/screens/live_reading.h"
#include "office/screens/table_rows.h"
#include "platform/dialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace vendura::office {

ExposureScreen::ExposureScreen(AdminLink& link, Dialogs& dialogs, const QDate& today,
                               QWidget* parent)
    : QWidget(parent), link_(link), dialogs_(dialogs) {
    setObjectName(u"ExposureScreen"_s);
    lottery_ = new QLineEdit(this);
    lottery_->setObjectName(u"txtLoteria"_s);
    lottery_->setMaxLength(3);
    day_ = new QLineEdit(today.toString(Qt::ISODate), this);
    day_->setObjectName(u"txtFecha"_s);
    auto* show = new QPushButton(u"&Ver"_s, this);
    show->setObjectName(u"btnVer"_s);
    summary_ = new QLabel(u"Escriba la lotería y pulse Intro."_s, this);
    summary_->setObjectName(u"lblResumen"_s);
    grid_ = new ExposureGrid(this);
    top_ = new QTableWidget(0, 0, this);
    top_->setObjectName(u"tblPrimeros"_s);
    top_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    top_->verticalHeader()->hide();
    top_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    timer_ = new QTimer(this);
    timer_->setInterval(kLiveRefreshMs);

    lottery_->setMaximumWidth(lottery_->fontMetrics().horizontalAdvance(u'W') * 5);
    day_->setMaximumWidth(day_->fontMetrics().horizontalAdvance(u'0') * 14);
    auto* fields = new QHBoxLayout;
    for (const auto& [label, edit] :
         {std::pair{u"&Lotería"_s, lottery_}, std::pair{u"&Fecha"_s, day_}}) {
        auto* l = new QLabel(label, this);
        l->setBuddy(edit);
        fields->addWidget(l);
        fields->addWidget(edit);
    }
    fields->addWidget(show);
    number_ = new QLineEdit(this);
    number_->setObjectName(u"txtNumero"_s);
    number_->setMaxLength(3);
    number_->setMaximumWidth(number_->fontMetrics().horizontalAdvance(u'0') * 7);
    auto* numberLabel = new QLabel(u"&Número"_s, this);
    numberLabel->setBuddy(number_);
    fields->addSpacing(24);
    fields->addWidget(numberLabel);
    fields->addWidget(number_);
    numberFigures_ = new QLabel(this);
    numberFigures_->setObjectName(u"lblNumero"_s);
    fields->addStretch();
    connect(number_, &QLineEdit::returnPressed, this, &ExposureScreen::showNumber);
    auto* body = new QHBoxLayout;
    body->addWidget(grid_, 1);
    body->addWidget(top_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(summary_);
    layout->addWidget(numberFigures_);
    layout->addLayout(body, 1);

    for (QLineEdit* edit : {lottery_, day_}) {
        connect(edit, &QLineEdit::returnPressed, this, &ExposureScreen::refresh);
    }
    connect(show, &QPushButton::clicked, this, &ExposureScreen::refresh);
    setFocusProxy(lottery_);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (isVisible()) reread();
    });
}

void ExposureScreen::refresh() {
    const QString lottery = lottery_->text().trimmed().toUpper();
    if (lottery.isEmpty()) return;
    if (!read(lottery, day_->text().trimmed(), false)) return;
    shownLottery_ = lottery;
    shownDay_ = day_->text().trimmed();
    timer_->start();
}

void ExposureScreen::reread() {
    if (!shownLottery_.isEmpty()) read(shownLottery_, shownDay_, true);
}

bool ExposureScreen::read(const QString& lottery, const QString& day, bool quiet) {
    auto draw = readDrawExposure(link_, lottery, day);
    if (!draw) {
        if (quiet) {
            summary_->setText(readAgainFailed(
                u"Sorteo "_s + lottery + u" del "_s + day + u": no se pudo leer de nuevo"_s,
                draw.error().description));
        } else {
            dialogs_.message(DialogIcon::Critical, u"Exposición"_s, draw.error().description);
        }
        return false;
    }
    const DrawExposure& d = draw.value();
    summary_->setText(u"Sorteo "_s + lottery + u" del "_s + day + u": vendido "_s +
                      d.sold.display() + u"; el número que más pagaría: "_s + d.worst.display() +
                      readAgainEvery());
    const QStringList captions = exposureCaptions(d);
    top_->setColumnCount(int(captions.size()));
    top_->setHorizontalHeaderLabels(captions);
    std::vector<QStringList> rows;
    for (const NumberExposure& n : topExposures(d.numbers, kTopNumbers)) {
        rows.push_back(exposureRow(d, n));
    }
    showRows(top_, rows, 1);
    // the list as wide as its figures; the grid takes the rest
    top_->setMinimumWidth(top_->horizontalHeader()->length() + 2 * top_->frameWidth() +
                          top_->verticalScrollBar()->sizeHint().width());
    grid_->setNumbers(d.numbers);
    shown_ = d;
    if (!number_->text().isEmpty()) showNumber();
    return true;
}

void ExposureScreen::showNumber() {
    const QString typed = number_->text().trimmed();
    for (const NumberExposure& n : shown_.numbers) {
        if (n.numero != typed) continue;
        const QStringList captions = exposureCaptions(shown_), row = exposureRow(shown_, n);
        QStringList parts;
        for (int i = 1; i < captions.size(); ++i) parts << captions[i] + u" "_s + row[i];
        numberFigures_->setText(n.numero + u": "_s + parts.join(u", "_s));
        return;
    }
    numberFigures_->setText(shown_.numbers.empty() ? u"Vea primero un sorteo."_s
                                                   : u"Un número de tres dígitos, 000 a 999."_s);
}

}  // namespace vendura::office
