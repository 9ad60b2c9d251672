#include "cash/screens/expenses_screen.h"

#include "cash/expenses.h"
#include "cash/screens/expense_edit_screen.h"
#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vendura {

ExpensesScreen::ExpensesScreen(ServerLink& link, QWidget* parent)
    : CounterScreen(link, u"Gastos"_s, u"Gastos del dia"_s, parent),
      label7_(named(new QLabel(this), "Label7")),
      hastas_(named(new QDateEdit(this), "Hastas")),
      grid_(named(new QTableWidget(this), "DataGrid1")),
      grabar_(button("Grabar", u"&Incluir"_s)),
      command1_(button("Command1", u"&Modificar"_s)),
      command2_(button("Command2", u"&Eliminar"_s)) {
    hastas_->setDisplayFormat(u"dd/MM/yyyy"_s);
    hastas_->setCalendarPopup(true);
    hastas_->setKeyboardTracking(false);
    const QDate known = QDate::fromString(session().FechaServidor, u"dd/MM/yyyy"_s);
    hastas_->setDate(known.isValid() ? known : QDate::currentDate());
    grid_->setColumnCount(int(expenses::shownCaptions().size()));
    grid_->setHorizontalHeaderLabels(expenses::shownCaptions());
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setMinimumSize(520, 260);
    QPushButton* command3 = button("Command3", u"&Salir"_s);

    auto* top = new QHBoxLayout;
    top->addWidget(label7_, 1);
    top->addWidget(new QLabel(u"Fecha:"_s, this));
    top->addWidget(hastas_);
    // shown as the counter always had them; nothing fills them
    auto* summary = new QGridLayout;
    const char* summaryNames[] = {"Label1", "Label2", "Label3"};
    const QString summaryCaptions[] = {u"Total Prestamos"_s, u"Saldo Prestamos"_s,
                                       u"Saldo Loteria"_s};
    for (int i = 0; i < 3; ++i) {
        summary->addWidget(new QLabel(summaryCaptions[i], this), 0, i);
        summary->addWidget(named(new QLabel(this), summaryNames[i]), 1, i);
    }
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {grabar_, command1_, command2_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(command3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    layout->addLayout(summary);
    layout->addLayout(buttons);
    watch(hastas_);

    connect(hastas_, &QDateEdit::dateChanged, this, &ExpensesScreen::refresh);
    connect(grabar_, &QPushButton::clicked, this, &ExpensesScreen::incluir);
    connect(command1_, &QPushButton::clicked, this, &ExpensesScreen::modificar);
    connect(command2_, &QPushButton::clicked, this, &ExpensesScreen::eliminar);
    connect(command3, &QPushButton::clicked, this, &QDialog::reject);
}

void ExpensesScreen::setVendorLabel(const QString& text) {
    label7_->setText(text);
}

void ExpensesScreen::showEvent(QShowEvent* event) {
    CounterScreen::showEvent(event);
    refresh();
}

QWidget* ExpensesScreen::firstField() const {
    return hastas_;
}

void ExpensesScreen::refresh() {
    auto answer = expenses::call(
        link(), expenses::listing(hastas_->date(), expenses::vendorOfLabel(label7_->text())));
    rows_ = answer ? answer.value().rows : RecordSet();
    const QList<int>& columns = expenses::shownColumns();
    grid_->setRowCount(rows_.size());
    for (int r = 0; r < rows_.size(); ++r) {
        for (int c = 0; c < columns.size(); ++c) {
            QString text = rows_.text(r, columns[c]).trimmed();
            if (c == columns.size() - 1) {
                const auto amount = Money::parse(text);
                if (amount) text = amount.value().display();
            }
            grid_->setItem(r, c, new QTableWidgetItem(text));
        }
    }
    if (!rows_.empty()) grid_->selectRow(0);
    command1_->setEnabled(!rows_.empty());
    command2_->setEnabled(!rows_.empty());
}

expenses::Movement ExpensesScreen::current() const {
    const int r = qMax(0, grid_->currentRow());
    return {rows_.text(r, u"nrogasto"_s), rows_.text(r, u"descri_gasto"_s),
            rows_.text(r, u"monto_gasto"_s), rows_.text(r, u"observa_gasto"_s)};
}

void ExpensesScreen::edit(bool modify, const expenses::Movement& movement) {
    ExpenseEditScreen screen(link(), label7_->text(), modify, movement, this);
    screen.exec();
}

void ExpensesScreen::incluir() {
    edit(false, {});
    refresh();
}

void ExpensesScreen::modificar() {
    if (rows_.empty()) return;
    edit(true, current());
    refresh();
}

void ExpensesScreen::eliminar() {
    if (rows_.empty()) return;
    const expenses::Movement movement = current();
    if (!dialogs().question(
            DialogIcon::Question, kTituloAtencion,
            u"Desea en realidad eliminar el Documento "_s + movement.number.trimmed() + u"?"_s)) {
        return;
    }
    auto answer = expenses::call(
        link(),
        expenses::save(expenses::Mode::Delete, movement, hastas_->date().toString(u"dd/MM/yyyy"_s),
                       session().CodVendedor),
        expenses::savedBefore(expenses::Mode::Delete, movement));
    if (!answer) return;
    dialogs().message(DialogIcon::None, kTituloAtencion,
                      answer.value().returnText() == u"0"_s
                          ? u"Registro Eliminado con Exito!"_s
                          : u"Hubo problemas para actualizar registro"_s);
    refresh();
}

}  // namespace vendura
