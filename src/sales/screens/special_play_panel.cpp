#include "sales/screens/special_play_panel.h"

#include "platform/dialogs.h"
#include "sales/amount_entry.h"
#include "sales/lottery_catalog.h"
#include "sales/play_seller.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/focus_colours.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace vendura {

SpecialPlayPanel::SpecialPlayPanel(SalesScreen& screen, FocusColours& colours) : screen_(screen) {
    setObjectName(u"Frame2"_s);
    auto* grid = new QGridLayout(this);
    list1_ = named(new QListWidget, "List1");
    list2_ = named(new QListWidget, "List2");
    for (QListWidget* list : {list1_, list2_}) {
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        list->setMinimumHeight(110);
    }
    numero_ = named(new QLineEdit, "Numero");
    numero_->setMaxLength(3);
    numero_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,3}"_s), numero_));
    monto_ = named(new QLineEdit, "Monto");
    monto_->setMaxLength(15);
    monto_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*[.]?[0-9]*"_s), monto_));
    auto* label6 = named(new QLabel(u"(+/-) Siguiente jugada"_s), "Label6");
    grid->addWidget(named(new QLabel(u"(L) Loterías"_s), "Label3"), 0, 0);
    grid->addWidget(named(new QLabel(u"(J) Jugadas"_s), "Label4"), 0, 1);
    grid->addWidget(list1_, 1, 0);
    grid->addWidget(list2_, 1, 1);
    grid->addWidget(label6, 2, 1);
    grid->addWidget(new QLabel(u"(N) Número:"_s), 3, 0);
    grid->addWidget(new QLabel(u"Monto:"_s), 3, 1);
    grid->addWidget(numero_, 4, 0);
    grid->addWidget(monto_, 4, 1);

    auto* frame3 = named(new QGroupBox, "Frame3");
    auto* options = new QHBoxLayout(frame3);
    auto* normal = named(new QRadioButton(u"(N)ormal"_s), "ESPNORMAL");
    auto* permuta = named(new QRadioButton(u"(P)ermuta"_s), "ESPEPERMUTA");
    auto* series = named(new QRadioButton(u"(S)eries"_s), "ESPESERIES");
    auto* terminal = named(new QPushButton(u"(M) Terminales"_s), "Esterminal");
    normal->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{normal, permuta, series, terminal}) {
        w->setFocusPolicy(Qt::NoFocus);
        options->addWidget(w);
    }
    grid->addWidget(frame3, 5, 0, 1, 2);
    connect(normal, &QRadioButton::clicked, this, &SpecialPlayPanel::focusNumber);
    connect(permuta, &QRadioButton::clicked, this,
            [this] { screen_.run(SalesCommand::EspecialPermuta); });
    connect(series, &QRadioButton::clicked, this,
            [this] { screen_.run(SalesCommand::EspecialSerie); });
    connect(terminal, &QPushButton::clicked, this,
            [this] { screen_.run(SalesCommand::EspecialTerminal); });

    colours.watch(list1_, false);
    colours.watch(list2_, false);
    colours.watch(numero_, false);
    colours.watch(monto_, true);
}

bool SpecialPlayPanel::fill(const SpecialPlay& play, const SpecialCatalog& catalog,
                            const LotteryCatalog& rsloterias, const QString& loteriascerradas) {
    list1_->clear();
    list2_->clear();
    const QStringList lotteries = catalog.lotteryEntries(play.code, rsloterias, loteriascerradas);
    const QStringList variants = catalog.variantEntries(play.code);
    if (lotteries.isEmpty() || variants.isEmpty()) return false;
    setTitle(play.caption());
    list1_->addItems(lotteries);
    list2_->addItems(variants);
    list1_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    list2_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    return true;
}

void SpecialPlayPanel::clearEntry() {
    numero_->clear();
    monto_->clear();
}

void SpecialPlayPanel::clearSelection() {
    list1_->clearSelection();
    list2_->clearSelection();
}

void SpecialPlayPanel::dropLottery(const QString& code) {
    for (int i = list1_->count() - 1; i >= 0; --i) {
        if (entryCode(list1_->item(i)->text()).compare(code, Qt::CaseInsensitive) == 0)
            delete list1_->takeItem(i);
    }
}

SpecialSelection SpecialPlayPanel::selection() const {
    SpecialSelection s;
    s.especial = primerapalabra(title());
    for (QListWidget* list : {list1_, list2_}) {
        QStringList& entries = list == list1_ ? s.lotteryEntries : s.variantEntries;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->isSelected()) entries << list->item(i)->text();
        }
    }
    return s;
}

void SpecialPlayPanel::focusLotteries() {
    list1_->setFocus(Qt::OtherFocusReason);
}

void SpecialPlayPanel::focusVariants() {
    list2_->setFocus(Qt::OtherFocusReason);
}

void SpecialPlayPanel::focusNumber() {
    enterField(numero_);
}

// "+" and "-": the next or the previous variant becomes the one selected.
void SpecialPlayPanel::moveVariant(int step) {
    if (list2_->count() > 0) {
        const int row = qBound(0, list2_->currentRow() + step, list2_->count() - 1);
        list2_->clearSelection();
        list2_->setCurrentRow(row, QItemSelectionModel::Select);
    }
    focusNumber();
}

void SpecialPlayPanel::invertLotteries() {
    invertSelection(list1_);
}

bool SpecialPlayPanel::fieldKey(QObject* watched, QKeyEvent* key) {
    if (watched == list1_ || watched == list2_)
        return listKey(static_cast<QListWidget*>(watched), key);
    if (watched == numero_) return numberKey(key);
    if (watched == monto_) return amountKey(key);
    return false;
}

bool SpecialPlayPanel::listKey(QListWidget* list, QKeyEvent* key) {
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Space) {
        toggleAndAdvance(list);
        return true;
    }
    if (isEnter(key)) {
        if (list == list1_) {
            focusVariants();
        } else {
            focusNumber();
        }
        return true;
    }
    if (c >= u'0' && c <= u'9') {
        startNumber(numero_, c);
        return true;
    }
    return !(key->key() == Qt::Key_Backspace || c.isNull());
}

bool SpecialPlayPanel::numberKey(QKeyEvent* key) {
    if (isEnter(key)) {
        if (!numero_->text().trimmed().isEmpty()) enterField(monto_);
        return true;
    }
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint()) return false;
    return !(c >= u'0' && c <= u'9');
}

bool SpecialPlayPanel::amountKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up) {
        focusNumber();
        return true;
    }
    if (isEnter(key)) {
        if (!monto_->text().trimmed().isEmpty()) sell();
        return true;
    }
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint()) return false;
    return !amountFieldAccepts(monto_->text(), c);
}

void SpecialPlayPanel::sell() {
    SalesState& state = screen_.state();
    Session& s = screen_.link().session();
    Dialogs& dialogs = screen_.dialogs();
    state.jugadaactual = u"Especial"_s;
    typedAmount_ = monto_->text();
    const QString numero = numero_->text().trimmed();
    const auto typed = Money::parse(typedAmount_);
    if (!typed || !typed.value().isPositive() || numero.isEmpty()) {
        focusNumber();
        return;
    }
    auto amount = amountToSend(typedAmount_, state.montobsf, 8);
    if (!amount) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion, amount.error().description);
        enterField(monto_);
        return;
    }
    const SpecialSelection chosen = selection();
    if (chosen.lotteryEntries.isEmpty()) {
        dialogs.message(DialogIcon::Critical, kTituloPuntoVenta,
                        u"Debe por lo menos seleccionar una loteria"_s);
        return;
    }
    if (chosen.variantEntries.isEmpty()) {
        dialogs.message(DialogIcon::Critical, kTituloPuntoVenta,
                        u"Debe  por lo menos seleccionar una jugada especial"_s);
        return;
    }
    const ProcedureCall call =
        xcreaespecial(s.CodVendedor, s.Usuario, numero, amount.value(), state.NUM_ITEM,
                      chosen.lotteryCodes(), chosen.variantCodes(), chosen.especial, state.nticket);
    const auto items = specialItems(chosen, markNumber(numero), amount.value(), state.especiales);
    auto outcome = sellPlay(screen_.link(), state, call, items, u"2"_s);
    if (!outcome) return;
    numero_->clear();
    screen_.applySale(*outcome);
    monto_->setText(typedAmount_);
    focusNumber();
}

}  // namespace vendura
