#include "office/screens/exposure_screen.h"

#include "office/input.h"
#include "office/screens/exposure_grid.h"
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
    top_ = new QTableWidget(0, 8, this);
    top_->setObjectName(u"tblPrimeros"_s);
    top_->setHorizontalHeaderLabels({u"Número"_s, u"Vendido"_s, u"Cupo restante"_s, u"% del cupo"_s,
                                     u"Paga si sale primero"_s, u"si sale segundo"_s,
                                     u"si sale tercero"_s, u"En especiales"_s});
    top_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    top_->verticalHeader()->hide();
    top_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshMs);

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
    fields->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(grid_, 1);
    body->addWidget(top_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(summary_);
    layout->addLayout(body, 1);

    for (QLineEdit* edit : {lottery_, day_}) {
        connect(edit, &QLineEdit::returnPressed, this, &ExposureScreen::refresh);
    }
    connect(show, &QPushButton::clicked, this, &ExposureScreen::refresh);
    setFocusProxy(lottery_);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (isVisible()) refresh();
    });
}

void ExposureScreen::refresh() {
    const QString lottery = lottery_->text().trimmed().toUpper();
    if (lottery.isEmpty()) return;
    auto day = isoDate(day_->text().trimmed());
    auto rows =
        day ? link_.call(u"exposicion"_s, {lottery, day.value()}) : Result<RecordSet>(day.error());
    auto numbers =
        rows ? readExposure(rows.value()) : Result<std::vector<NumberExposure>>(rows.error());
    if (!numbers) {
        timer_->stop();
        dialogs_.message(DialogIcon::Critical, u"Exposición"_s, numbers.error().description);
        return;
    }
    Money sold, worst;
    for (const NumberExposure& n : numbers.value()) {
        sold += n.vendido;
        worst = std::max(worst, n.pagaPrimero);
    }
    summary_->setText(u"Sorteo "_s + lottery + u" del "_s + day.value() +
                      u": vendido en triples "_s + sold.display() +
                      u"; el número que más pagaría: "_s + worst.display() +
                      u" (se lee de nuevo cada "_s + QString::number(kRefreshMs / 1000) + u" s)"_s);
    const auto top = topExposures(numbers.value(), kTopNumbers);
    top_->setRowCount(int(top.size()));
    // second and third prizes and special plays apart, where the draw has them
    bool shown[3] = {false, false, false};
    for (const NumberExposure& n : numbers.value()) {
        shown[0] = shown[0] || !n.pagaSegundo.isZero();
        shown[1] = shown[1] || !n.pagaTercero.isZero();
        shown[2] = shown[2] || !n.especial.isZero();
    }
    for (int c = 0; c < 3; ++c) top_->setColumnHidden(5 + c, !shown[c]);
    for (int r = 0; r < int(top.size()); ++r) {
        const NumberExposure& n = top[size_t(r)];
        int column = 0;
        for (const QString& text :
             {n.numero, n.vendido.display(), n.quotaLeft().display(),
              QString::number(n.soldShare() / 100), n.pagaPrimero.display(),
              n.pagaSegundo.display(), n.pagaTercero.display(), n.especial.display()}) {
            auto* item = new QTableWidgetItem(text);
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            top_->setItem(r, column++, item);
        }
    }
    // the list as wide as its figures; the grid takes the rest
    top_->setMinimumWidth(top_->horizontalHeader()->length() + 2 * top_->frameWidth() +
                          top_->verticalScrollBar()->sizeHint().width());
    grid_->setNumbers(std::move(numbers.value()));
    timer_->start();
}

}  // namespace vendura::office
