#include "tickets/screens/ticket_list_screen.h"

#include "session/installation.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QDateEdit>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura {
namespace {

const QString kDateFormat = u"dd/MM/yyyy"_s;

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TicketListScreen::TicketListScreen(ServerLink& link, Printers& printers, QWidget* parent)
    : SecondaryScreen(parent, u"Form35"_s, u"Consulta Tickets"_s),
      link_(link),
      reprint_(link, printers, link.installation().journalFolder) {
    buildControls();
    // the day of the last ticket issued, else the server's day
    const Session& s = link_.session();
    const QString opening = s.FechaTicket.isEmpty() ? s.FechaServidor : s.FechaTicket;
    const QDate day = QDate::fromString(opening, kDateFormat);
    {
        const QSignalBlocker quiet(esdesde_);
        if (day.isValid()) esdesde_->setDate(day);
    }
    fill(day.isValid() ? opening : pickedDate());
}

void TicketListScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    esdesde_ = named(new QDateEdit, "esdesde");
    esdesde_->setDisplayFormat(kDateFormat);
    esdesde_->setCalendarPopup(true);
    top->addWidget(new QLabel(u"Fecha"_s));
    top->addWidget(esdesde_);
    top->addStretch();
    layout->addLayout(top);

    auto* lists = new QGridLayout;
    list1_ = named(new QListWidget, "List1");
    list1_->setMinimumWidth(380);
    list2_ = named(new QListWidget, "List2");
    list2_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list2_->setMinimumWidth(360);
    list2_->setFocusPolicy(Qt::NoFocus);
    lists->addWidget(list1_, 0, 0, 2, 1);
    lists->addWidget(named(new QLabel(u"Detalle del Ticket Elegido"_s), "Label2"), 0, 1);
    lists->addWidget(list2_, 1, 1);
    layout->addLayout(lists, 1);
    layout->addWidget(named(
        new QLabel(
            u"Pulse la tecla ENTER para visualizar el ticket que esta Seleccionado Actualmente..."_s),
        "Label1"));

    auto* buttons = new QHBoxLayout;
    xpButton1_ = button("XPButton1", u"Imprimir"_s);
    command2_ = button("Command2", u"Salir"_s);
    for (QPushButton* b : {xpButton1_, command2_}) buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(xpButton1_, &QPushButton::clicked, this, [this] { printShown(); });
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
    connect(esdesde_, &QDateEdit::dateChanged, this, [this] { fill(pickedDate()); });

    const Session& s = link_.session();
    useColoursOf(s);
    watch(esdesde_, true);
    watch(list1_, false);
    list1_->installEventFilter(this);
    esdesde_->installEventFilter(this);
    resize(860, 560);
}

QWidget* TicketListScreen::firstField() const {
    return list1_;
}

QString TicketListScreen::pickedDate() const {
    return esdesde_->date().toString(kDateFormat);
}

void TicketListScreen::fill(const QString& date) {
    date_ = date;
    list1_->clear();
    list2_->clear();
    tickets_.clear();
    shown_ = IssuedTicket();
    if (!link_.ensureOpen()) return;
    const Session& s = link_.session();
    auto tickets = ticketsOfTheDay(*s.Conexion, s.CodVendedor, date);
    if (!tickets) {
        handleCallFailure(link_, tickets.error());
        return;
    }
    tickets_ = std::move(tickets).value();
    for (const TicketSummary& t : tickets_) {
        auto* item = new QListWidgetItem(listLine(t), list1_);
        if (!t.impreso) item->setForeground(Qt::darkRed);
    }
    if (list1_->count() > 0) list1_->setCurrentRow(0);
}

void TicketListScreen::showSelected() {
    const int row = list1_->currentRow();
    if (row < 0 || row >= int(tickets_.size())) return;
    if (!link_.ensureOpen()) return;
    const Session& s = link_.session();
    auto ticket =
        ticketOfTheDay(*s.Conexion, tickets_[size_t(row)].nroticket, s.CodVendedor, date_);
    if (!ticket) {
        handleCallFailure(link_, ticket.error());
        return;
    }
    shown_ = std::move(ticket).value();
    list2_->clear();
    list2_->addItems(reprint_.image(shown_));
}

ReprintOutcome TicketListScreen::printShown() {
    QStringList image;
    for (int i = 0; i < list2_->count(); ++i) image << list2_->item(i)->text();
    const ReprintOutcome outcome = reprint_.print(shown_, image);
    if (outcome == ReprintOutcome::Original) {
        // the mark of a ticket never printed goes from the list
        const int row = list1_->currentRow();
        fill(date_);
        list1_->setCurrentRow(qMin(row, list1_->count() - 1));
        showSelected();
    }
    focusField(list1_);
    return outcome;
}

bool TicketListScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isEnter(key)) return false;
    if (watched == list1_) {
        showSelected();
        return true;
    }
    if (watched == esdesde_) {
        focusField(list1_);
        return true;
    }
    return false;
}

}  // namespace vendura
