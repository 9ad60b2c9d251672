#include "aftersale/screens/results_screen.h"

#include "aftersale/aftersale_printing.h"
#include "aftersale/draw_results.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vendura {

ResultsScreen::ResultsScreen(ServerLink& link, Printers& printers, Clock& clock, QWidget* parent)
    : CounterScreen(link, u"Verpremiados"_s, u"Visualizador de premios"_s, parent),
      printers_(printers),
      clock_(clock),
      dtPicker1_(named(new QDateEdit(this), "DTPicker1")),
      dataGrid1_(named(new QTableWidget(0, int(resultCaptions().size()), this), "DataGrid1")),
      list1_(named(new QListWidget(this), "List1")) {
    const QDate serverDay = QDate::fromString(session().FechaServidor, u"dd/MM/yyyy"_s);
    dtPicker1_->setDate(serverDay.isValid() ? serverDay : clock.now().date());
    dtPicker1_->setDisplayFormat(u"dd/MM/yyyy"_s);
    dtPicker1_->setCalendarPopup(true);
    dataGrid1_->setHorizontalHeaderLabels(resultCaptions());
    dataGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dataGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dataGrid1_->verticalHeader()->hide();
    dataGrid1_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    dataGrid1_->setMinimumSize(760, 260);
    // the printout as it was composed last, as the printed-ticket list keeps a ticket
    list1_->hide();

    QPushButton* show = button("XPButton2", u"Mostrar"_s);
    QPushButton* print = button("XPButton18", u"Imprimir"_s);
    QPushButton* close = button("XPButton1", u"Salir"_s);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Fecha"_s, this));
    top->addWidget(dtPicker1_);
    top->addWidget(show);
    top->addWidget(print);
    top->addStretch();
    top->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(dataGrid1_);
    layout->addWidget(list1_);
    watch(dtPicker1_, false);
    connect(show, &QPushButton::clicked, this, &ResultsScreen::showResults);
    connect(print, &QPushButton::clicked, this, &ResultsScreen::printResults);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

bool ResultsScreen::load() {
    DrawResults results(link());
    auto lotteries = results.lotteries();
    if (!lotteries) return false;
    if (lotteries.value().empty()) {
        dialogs().message(DialogIcon::Information, kTituloPuntoVenta,
                          u"No hay Loterias Configuradas en el Sistema..."_s);
        return false;
    }
    return true;
}

QWidget* ResultsScreen::firstField() const {
    return dtPicker1_;
}

bool ResultsScreen::fetch() {
    DrawResults results(link());
    auto rows = results.results(dtPicker1_->date());
    if (!rows) return false;
    rows_ = rows.value();
    return true;
}

void ResultsScreen::showResults() {
    if (!fetch()) return;
    const QStringList& fields = resultFields();
    dataGrid1_->setRowCount(rows_.size());
    for (int r = 0; r < rows_.size(); ++r) {
        for (int c = 0; c < fields.size(); ++c) {
            dataGrid1_->setItem(r, c, new QTableWidgetItem(rows_.text(r, fields[c]).trimmed()));
        }
    }
}

void ResultsScreen::printResults() {
    AfterSalePrinter printer(printers_, dialogs(), session());
    if (!printer.ready()) return;
    if (!fetch()) return;
    const QDateTime now = clock_.now();
    const QStringList lines =
        layResults(session(), resultsDateText(dtPicker1_->date()), now.toString(u"dd/MM/yyyy"_s),
                   now.toString(u"HH:mm:ss"_s), rows_);
    list1_->clear();
    list1_->addItems(lines);
    printer.print(lines);
}

}  // namespace vendura
