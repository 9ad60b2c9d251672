#include "office/screens/money_screen.h"

#include "office/account_book.h"
#include "office/screens/action_form.h"
#include "office/screens/key_hook.h"
#include "office/screens/table_rows.h"
#include "platform/dialogs.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vendura::office {

MoneyScreen::MoneyScreen(AdminLink& link, Dialogs& dialogs, const QDate& today, QWidget* parent)
    : ActionScreen(
          link, dialogs, u"Dinero"_s,
          {u"Punto"_s, u"Documento"_s, u"Fecha"_s, u"Monto"_s, u"Movimiento"_s, u"Observación"_s},
          moneyActions(),
          u"Movimientos declarados por los puntos. Intro confirma el elegido, Supr lo "
          u"rechaza con un motivo."_s,
          parent) {
    setObjectName(u"MoneyScreen"_s);
    point_ = new QLineEdit(this);
    point_->setObjectName(u"txtPuntoCuenta"_s);
    day_ = new QLineEdit(today.toString(Qt::ISODate), this);
    day_->setObjectName(u"txtFechaCuenta"_s);
    statement_ = new QLabel(this);
    statement_->setObjectName(u"lblEstadoCuenta"_s);
    statement_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    statement_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(point_, &QLineEdit::returnPressed, this, [this] { day_->setFocus(); });
    connect(day_, &QLineEdit::returnPressed, this, &MoneyScreen::showStatement);
    auto* form = new QFormLayout;
    form->addRow(u"Estado de cuenta del &punto"_s, point_);
    form->addRow(u"al &día"_s, day_);
    auto* show = new QPushButton(u"&Ver estado"_s, this);
    show->setObjectName(u"btnVerEstado"_s);
    connect(show, &QPushButton::clicked, this, &MoneyScreen::showStatement);
    form->addRow(QString(), show);
    side()->insertLayout(0, form);
    side()->insertWidget(1, statement_);
    deposits_ = new QTableWidget(0, 4, this);
    deposits_->setObjectName(u"tblDepositos"_s);
    deposits_->setHorizontalHeaderLabels(
        {u"Depósito"_s, u"Monto"_s, u"Referencia"_s, u"Día liquidado"_s});
    deposits_->horizontalHeader()->setStretchLastSection(true);
    deposits_->verticalHeader()->hide();
    deposits_->setSelectionBehavior(QAbstractItemView::SelectRows);
    deposits_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    deposits_->setMaximumHeight(120);
    side()->insertWidget(2, deposits_);
    // Supr on a deposit of the day shown: its removal, asked before it is done
    new KeyHook(this, Qt::Key_Delete, {deposits_}, [this] {
        const int row = deposits_->currentRow();
        if (row < 0) return;
        this->form()->choose(u"deposito eliminar"_s);
        this->form()->fill(u"Número de depósito"_s, deposits_->item(row, 0)->text());
        this->form()->focusFirstEmpty();
    });
    connect(this->form(), &ActionForm::done, this, [this] {
        if (!point_->text().trimmed().isEmpty()) showStatement();
    });
}

Result<std::vector<QStringList>> MoneyScreen::rows() {
    auto pending = pendingMovements(link_);
    if (!pending) return pending.error();
    std::vector<QStringList> rows;
    for (const PendingMovement& m : pending.value()) {
        rows.push_back({m.vendor, m.document, m.day, shownValue(m.amount), m.description, m.note});
    }
    return rows;
}

void MoneyScreen::rowChosen(const QStringList& row) {
    form()->fill(u"Punto de venta"_s, row[0]);
    form()->fill(u"Documento"_s, row[1]);
    point_->setText(row[0]);
}

void MoneyScreen::rowKey(const QStringList& row, bool remove) {
    form()->choose(remove ? u"rechazar"_s : u"confirmar"_s);
    rowChosen(row);
    form()->focusFirstEmpty();
}

void MoneyScreen::showStatement() {
    auto lines = readStatement(link_, point_->text(), day_->text().trimmed());
    if (!lines) {
        dialogs_.message(DialogIcon::Critical, title_, lines.error().description);
        return;
    }
    QStringList text;
    for (const auto& [label, value] : lines.value()) {
        text << label.leftJustified(20) + shownValue(value).rightJustified(16);
    }
    statement_->setText(text.join(u'\n'));
    auto found = office::deposits(link_, point_->text(), day_->text(), day_->text());
    std::vector<QStringList> rows;
    for (const Deposit& d : found ? found.value() : std::vector<Deposit>{}) {
        rows.push_back(
            {d.number, shownValue(d.amount), d.reference, d.settled ? u"sí"_s : u"no"_s});
    }
    showRows(deposits_, rows);
}

}  // namespace vendura::office
