#include "office/screens/counters_screen.h"

#include "office/open_tickets.h"
#include "office/screens/key_hook.h"
#include "office/screens/live_reading.h"
#include "office/screens/table_rows.h"
#include "platform/dialogs.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace vendura::office {
namespace {
const QString kTitle = u"Puntos en línea"_s;
}

CountersScreen::CountersScreen(AdminLink& link, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), link_(link), dialogs_(dialogs) {
    setObjectName(u"CountersScreen"_s);
    summary_ = new QLabel(this);
    summary_->setObjectName(u"lblResumen"_s);
    tickets_ = new QTableWidget(0, 6, this);
    tickets_->setObjectName(u"tblTickets"_s);
    tickets_->setHorizontalHeaderLabels({u"Punto"_s, u"Ticket"_s, u"Abierto"_s, u"Última jugada"_s,
                                         u"Jugadas"_s, u"Cupo retenido"_s});
    tickets_->horizontalHeader()->setStretchLastSection(true);
    tickets_->verticalHeader()->hide();
    tickets_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tickets_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    new KeyHook(this, Qt::Key_Delete, {tickets_}, [this] { releaseSelected(false); });
    new KeyHook(this, QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete), {tickets_},
                [this] { releaseSelected(true); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(tickets_, 1);
    layout->addWidget(new QLabel(
        u"Supr libera el ticket elegido: su cupo vuelve a la venta y el punto sigue con otro. "
        u"Mayús+Supr libera todos los del punto elegido."_s,
        this));
    setFocusProxy(tickets_);
    timer_ = new QTimer(this);
    timer_->setInterval(kLiveRefreshMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (isVisible()) refresh();
    });
}

void CountersScreen::showEvent(QShowEvent* event) {
    refresh();
    timer_->start();
    QWidget::showEvent(event);
}

void CountersScreen::refresh() {
    auto open = openTickets(link_);
    if (!open) {
        // said on the screen; the next round tries again
        summary_->setText(readAgainFailed(u"No se pudo leer de nuevo"_s, open.error().description));
        return;
    }
    Money held;
    QStringList points;
    std::vector<QStringList> rows;
    for (const OpenTicket& t : open.value()) {
        held += t.quota;
        if (!points.contains(t.vendor)) points << t.vendor;
        rows.push_back({t.vendor, t.ticket, t.opened, t.lastPlay, QString::number(t.plays),
                        t.quota.display()});
    }
    showRows(tickets_, rows, 4);
    tickets_->resizeColumnsToContents();
    summary_->setText(QString::number(points.size()) + u" punto(s) con ticket abierto, "_s +
                      QString::number(open.value().size()) + u" ticket(s), cupo retenido "_s +
                      held.display() + readAgainEvery());
}

void CountersScreen::releaseSelected(bool everyTicketOfThePoint) {
    const int row = tickets_->currentRow();
    if (row < 0) return;
    const QString vendor = tickets_->item(row, 0)->text();
    const QString ticket = everyTicketOfThePoint ? QString() : tickets_->item(row, 1)->text();
    const QString which =
        everyTicketOfThePoint ? u"todos los tickets abiertos"_s : u"el ticket "_s + ticket;
    if (!dialogs_.question(
            DialogIcon::Question, kTitle,
            u"¿Liberar "_s + which + u" del punto "_s + vendor + u"? Su cupo vuelve a la venta."_s,
            false)) {
        return;
    }
    auto released = releaseTickets(link_, vendor, ticket);
    if (!released) dialogs_.message(DialogIcon::Critical, kTitle, released.error().description);
    refresh();
}

}  // namespace vendura::office
