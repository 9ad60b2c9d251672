#include "aftersale/screens/cancellation_screen.h"

#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QVBoxLayout>

namespace vendura {

CancellationScreen::CancellationScreen(ServerLink& link, QWidget* parent)
    : SecondaryScreen(parent, u"Form18"_s, u"Anulación de Tickets"_s),
      link_(link),
      cancellation_(link) {
    buildControls();
}

void CancellationScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    text1_ = named(new QLineEdit, "Text1");
    text1_->setMaxLength(10);
    text1_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,10}"_s), text1_));
    QFont big = text1_->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    text1_->setFont(big);
    fechaVenta_ = named(new QLabel, "Fecha_venta");
    horaVenta_ = named(new QLabel, "Hora_venta");
    estadoTicket_ = named(new QLabel, "Estado_ticket");
    totalTicket_ = named(new QLabel, "TOTal_TICKET1");
    const std::pair<const char*, QWidget*> rows[] = {
        {"Ticket #:", text1_},
        {"Fecha de Venta:", fechaVenta_},
        {"Hora de Venta:", horaVenta_},
        {"Estado", estadoTicket_},
        {"Total  Ticket Bs.", totalTicket_},
    };
    int row = 0;
    for (const auto& [caption, field] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption)), row, 0);
        grid->addWidget(field, row++, 1);
    }
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    eliminar_ = button("Eliminar", u"Eliminar"_s);
    command2_ = button("Command2", u"Salir"_s);
    for (QPushButton* b : {eliminar_, command2_}) buttons->addWidget(b);
    layout->addLayout(buttons);
    statusBar_ = named(new QStatusBar, "StatusBar1");
    statusBar_->setSizeGripEnabled(false);
    statusBar_->showMessage(u"Escriba el número del ticket y pulse ENTER; Esc para salir"_s);
    layout->addWidget(statusBar_);

    connect(eliminar_, &QPushButton::clicked, this, [this] { eliminar(); });
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
    const Session& s = link_.session();
    useColoursOf(s);
    watch(text1_, true);
    text1_->installEventFilter(this);
    resize(420, 260);
}

QWidget* CancellationScreen::firstField() const {
    return text1_;
}

void CancellationScreen::showDetails(const TicketDetails& details) {
    fechaVenta_->setText(details.fecha);
    horaVenta_->setText(details.hora);
    estadoTicket_->setText(details.estado);
    totalTicket_->setText(details.monto);
}

TicketCancellation::Outcome CancellationScreen::eliminar() {
    using Outcome = TicketCancellation::Outcome;
    const Outcome outcome = cancellation_.run(
        text1_->text(), [this](const TicketDetails& details) { showDetails(details); });
    switch (outcome) {
        case Outcome::Cancelled:
            estadoTicket_->setText(estadoCaption(u"ELI"_s));
            [[fallthrough]];
        case Outcome::Told:
            text1_->clear();
            [[fallthrough]];
        case Outcome::Empty:
        case Outcome::Declined:
            focusField(text1_);
            break;
        case Outcome::CallFailed:
        case Outcome::Silent:
            break;
    }
    return outcome;
}

bool CancellationScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched != text1_ || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    eliminar();
    return true;
}

}  // namespace vendura
