#include "office/screens/results_screen.h"

#include "office/draw_results.h"
#include "office/screens/key_hook.h"
#include "office/screens/table_rows.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vendura::office {
namespace {
const QString kTitle = u"Resultados"_s;

QLineEdit* field(const QString& name, int digits, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(digits);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(u'0') * (digits + 4));
    return edit;
}
}  // namespace

ResultsScreen::ResultsScreen(AdminLink& link, Dialogs& dialogs, const QDate& today, QWidget* parent)
    : QWidget(parent), link_(link), dialogs_(dialogs) {
    setObjectName(u"ResultsScreen"_s);
    lottery_ = field(u"txtLoteria"_s, 3, this);
    day_ = field(u"txtFecha"_s, 10, this);
    day_->setText(today.toString(Qt::ISODate));
    triple_ = field(u"txtTriple"_s, 3, this);
    segundo_ = field(u"txtSegundo"_s, 3, this);
    tercero_ = field(u"txtTercero"_s, 3, this);
    especial_ = field(u"txtEspecial"_s, 3, this);
    correction_ = new QCheckBox(u"Corrección de resultados ya confirmados"_s, this);
    correction_->setObjectName(u"chkCorreccion"_s);
    auto* enter = new QPushButton(u"&Entrar"_s, this);
    enter->setObjectName(u"btnEntrar"_s);
    outcome_ = new QLabel(u"Los números cuentan cuando otra persona entra los mismos."_s, this);
    outcome_->setObjectName(u"lblResultado"_s);
    outcome_->setWordWrap(true);

    pending_ = new QTableWidget(0, 5, this);
    pending_->setObjectName(u"tblPendientes"_s);
    pending_->setHorizontalHeaderLabels(
        {u"Lotería"_s, u"Fecha"_s, u"Números"_s, u"Anotó"_s, u"Hora"_s});
    pending_->horizontalHeader()->setStretchLastSection(true);
    pending_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pending_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    new KeyHook(this, Qt::Key_Delete, {pending_}, [this] { discardSelected(); });
    auto* discard = new QPushButton(u"&Descartar (Supr)"_s, this);
    discard->setObjectName(u"btnDescartar"_s);

    auto* form = new QFormLayout;
    form->addRow(u"&Lotería"_s, lottery_);
    form->addRow(u"&Fecha (AAAA-MM-DD)"_s, day_);
    form->addRow(u"&Triple (primer premio)"_s, triple_);
    form->addRow(u"&Segundo"_s, segundo_);
    form->addRow(u"T&ercero"_s, tercero_);
    form->addRow(u"Es&pecial"_s, especial_);
    form->addRow(QString(), correction_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(enter);
    layout->addWidget(outcome_);
    layout->addWidget(new QLabel(u"Esperando a la segunda persona:"_s, this));
    layout->addWidget(pending_, 1);
    layout->addWidget(discard);

    for (QLineEdit* edit : {lottery_, day_, triple_, segundo_, tercero_, especial_}) {
        connect(edit, &QLineEdit::returnPressed, this, &ResultsScreen::enter);
    }
    connect(enter, &QPushButton::clicked, this, &ResultsScreen::enter);
    setFocusProxy(lottery_);
    connect(discard, &QPushButton::clicked, this, &ResultsScreen::discardSelected);
    refresh();
}

void ResultsScreen::refresh() {
    auto entries = pendingEntries(link_);
    if (!entries) {
        dialogs_.message(DialogIcon::Critical, kTitle, entries.error().description);
        return;
    }
    std::vector<QStringList> rows;
    for (const PendingEntry& e : entries.value()) {
        const QString numbers = (e.correction ? u"corrección "_s : QString()) + e.numbers;
        rows.push_back({e.lottery, e.day, numbers, e.login, e.at});
    }
    showRows(pending_, rows);
    pending_->resizeColumnsToContents();
}

void ResultsScreen::enter() {
    const DrawEntry entry{lottery_->text().trimmed().toUpper(),
                          day_->text().trimmed(),
                          triple_->text().trimmed(),
                          segundo_->text().trimmed(),
                          tercero_->text().trimmed(),
                          especial_->text().trimmed()};
    auto winners = enterNumbers(link_, entry, correction_->isChecked());
    if (!winners) {
        dialogs_.message(DialogIcon::Critical, kTitle, winners.error().description);
        refresh();
        return;
    }
    const QString draw = u"Sorteo "_s + entry.lottery + u" del "_s + entry.day + u": "_s;
    outcome_->setText(winners.value()
                          ? draw + u"los números cuentan; "_s + QString::number(*winners.value()) +
                                u" jugada(s) premiada(s)."_s
                          : draw +
                                u"anotado. Cuenta cuando otra persona entre los mismos "
                                u"números."_s);
    for (QLineEdit* edit : {triple_, segundo_, tercero_, especial_}) edit->clear();
    correction_->setChecked(false);
    lottery_->setFocus();
    refresh();
}

void ResultsScreen::discardSelected() {
    const int row = pending_->currentRow();
    if (row < 0) return;
    const QString lottery = pending_->item(row, 0)->text(), day = pending_->item(row, 1)->text();
    if (!dialogs_.question(
            DialogIcon::Question, kTitle,
            u"¿Descartar los números anotados del sorteo "_s + lottery + u" del "_s + day + u"?"_s,
            false)) {
        return;
    }
    auto numbers = discardEntry(link_, lottery, day);
    if (!numbers) {
        dialogs_.message(DialogIcon::Critical, kTitle, numbers.error().description);
    } else {
        outcome_->setText(u"Sorteo "_s + lottery + u" del "_s + day + u": descartados "_s +
                          numbers.value() + u"."_s);
    }
    refresh();
}

}  // namespace vendura::office
