#include "aftersale/screens/payment_screen.h"

#include "aftersale/aftersale_printing.h"
#include "aftersale/payment_voucher.h"
#include "aftersale/screens/customer_panel.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vendura {
namespace {

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = named(new QLabel(parent), name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(140);
    return label;
}

bool isEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

PaymentScreen::PaymentScreen(ServerLink& link, Printers& printers, Clock& clock,
                             QString journalFolder, QWidget* parent)
    : CounterScreen(link, u"pagaticket"_s, u"Cancelación de Tickets"_s, parent),
      printers_(printers),
      clock_(clock),
      journalFolder_(std::move(journalFolder)),
      text2_(named(new QLineEdit(this), "Text2")),
      text1_(named(new QLineEdit(this), "Text1")),
      fechaVenta_(valueLabel("Fecha_venta", this)),
      horaVenta_(valueLabel("Hora_venta", this)),
      estadoTicket_(valueLabel("Estado_ticket", this)),
      totalTicket1_(valueLabel("TOTal_TICKET1", this)),
      label11_(valueLabel("Label11", this)),
      label13_(valueLabel("Label13", this)),
      frame1_(new CustomerPanel(
          link, [this] { focusField(text2_); }, this)) {
    text2_->setMaxLength(100);
    text1_->setMaxLength(30);
    totalTicket1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* grid = new QGridLayout;
    int row = 0;
    auto add = [&](const QString& caption, QWidget* field, const char* labelName = nullptr) {
        auto* label = new QLabel(caption, this);
        if (labelName) label->setObjectName(QString::fromLatin1(labelName));
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    add(u"Ticket:"_s, text2_);
    add(u"Serial #:"_s, text1_);
    add(u"Fecha de Venta:"_s, fechaVenta_);
    add(u"Hora de Venta:"_s, horaVenta_);
    add(u"Estado"_s, estadoTicket_);
    add(u"Monto Premio Bs."_s, totalTicket1_);
    add(u"Impuesto Bs."_s, label11_, "Label12");
    add(u"Total Neto a Pagar Bs."_s, label13_, "Label14");

    QPushButton* eliminar = button("Eliminar", u"Pagar"_s);
    QPushButton* command2 = button("Command2", u"Salir"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(eliminar);
    buttons->addWidget(command2);

    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(frame1_);

    for (QLineEdit* field : {text2_, text1_}) {
        watch(field);
        field->installEventFilter(this);
    }
    for (QLineEdit* field : frame1_->fields()) watch(field);
    connect(eliminar, &QPushButton::clicked, this, &PaymentScreen::payButton);
    connect(command2, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* PaymentScreen::firstField() const {
    return text2_;
}

bool PaymentScreen::eventFilter(QObject* watched, QEvent* event) {
    if (isEnter(event)) {
        if (watched == text2_) {
            if (!text2_->text().isEmpty()) focusField(text1_);
            return true;
        }
        if (watched == text1_) {
            if (!text1_->text().isEmpty() && !text2_->text().isEmpty()) {
                runPayment(PaymentStart::EnterInSerial);
            }
            return true;
        }
    }
    return CounterScreen::eventFilter(watched, event);
}

void PaymentScreen::payButton() {
    if (text1_->text().isEmpty()) {
        dialogs().message(DialogIcon::Information, kTituloAtencion,
                          u"Debe escribir el serial que aparece en el ticket"_s);
        focusField(text1_);
        return;
    }
    if (text2_->text().isEmpty()) {
        dialogs().message(DialogIcon::Information, kTituloAtencion,
                          u"Debe escribir el Nro. del ticket"_s);
        focusField(text2_);
        return;
    }
    runPayment(PaymentStart::PayButton);
}

void PaymentScreen::runPayment(PaymentStart start) {
    const QString serial = text1_->text();
    const QString ticketNumber = text2_->text();
    PrizePayment payment(link());
    // the voucher's printer is checked before the money moves
    const PaymentOutcome outcome = payment.run(
        ticketNumber, serial, frame1_->customerId(), start,
        [this](const PaymentTicket& ticket) { showTicket(ticket); },
        [this] { return AfterSalePrinter(printers_, dialogs(), session()).ready(); });
    if (outcome.showData) showTicket(outcome.ticket);
    if (outcome.paid) {
        printVoucher(outcome, serial, ticketNumber);
        frame1_->forget();
    }
    if (outcome.offerCopy) offerCopy(serial, ticketNumber);
    if (outcome.clearFields) clearTicketFields();
}

void PaymentScreen::showTicket(const PaymentTicket& ticket) {
    fechaVenta_->setText(ticket.fecha);
    horaVenta_->setText(ticket.hora);
    estadoTicket_->setText(ticket.estado);
    totalTicket1_->setText(ticket.premio.display());
}

void PaymentScreen::clearTicketFields() {
    text1_->clear();
    text2_->clear();
    focusField(text2_);
}

void PaymentScreen::offerCopy(const QString& serial, const QString& ticketNumber) {
    if (!dialogs().question(DialogIcon::Question, u"Responda!"_s,
                            u"Desea imprimir una copia del comprobante de pago?"_s, false)) {
        return;
    }
    AfterSalePrinter printer(printers_, dialogs(), session());
    if (!printer.ready()) return;
    const auto copy = PrizePayment(link()).copy(ticketNumber, serial);
    if (!copy) return;
    VoucherData data;
    data.ticketNumber = ticketNumber.trimmed();
    data.serial = serial.trimmed();
    data.premio = copy->premio;
    data.clienteCedula = copy->cedula;
    data.clienteNombre = copy->cliente;
    data.fecha = copy->fecha;
    data.hora = copy->hora;
    data.usuario = copy->pagadoPor;
    data.copia = true;
    printer.print(layPaymentVoucher(session(), data));
}

void PaymentScreen::printVoucher(const PaymentOutcome& outcome, const QString& serial,
                                 const QString& ticketNumber) {
    const Session& s = session();
    VoucherData data;
    data.ticketNumber = ticketNumber.trimmed();
    data.serial = serial.trimmed();
    data.premio = outcome.ticket.premio;
    data.clienteCedula = frame1_->customerId();
    data.clienteNombre = frame1_->customerName();
    data.fecha = outcome.fechaPago;
    data.hora = outcome.horaPago;
    data.usuario = s.Usuario + u" "_s + s.NombreUsuario.trimmed();
    AfterSalePrinter printer(printers_, dialogs(), s);
    if (!printer.ready()) return;
    const QDate day = QDate::fromString(outcome.fechaPago, u"dd/MM/yyyy"_s);
    printer.print(layPaymentVoucher(s, data), journalFolder_,
                  day.isValid() ? day : clock_.now().date());
}

}  // namespace vendura
