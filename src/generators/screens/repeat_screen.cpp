#include "generators/screens/repeat_screen.h"

#include "sales/lottery_catalog.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/focus_colours.h"
#include "session/screens/named.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace vendura {

RepeatScreen::RepeatScreen(SalesScreen& sales)
    : GeneratorScreen(sales, "Form12", u"Repetir jugada por Loterias"_s) {
    auto* label1 = named(new QLabel(u"Seleccione las Loterias"_s), "Label1");
    label1->installEventFilter(this);
    list1_ = named(new QListWidget, "List1");
    list1_->setSelectionMode(QAbstractItemView::MultiSelection);
    list1_->installEventFilter(this);
    watch(list1_, false);
    addRow(label1, list1_);
    addAmount("Label2", u"Monto Bs."_s);
    addWaitText(u"Espere por Favor que se estan Generando las jugadas Solicitadas..."_s);
    setFirstField(list1_);
    setTabOrder(list1_, amountField());
    resize(460, 420);
}

// Each time it opens: the lotteries of the sales screen's list in use, none selected.
void RepeatScreen::showEvent(QShowEvent* event) {
    list1_->clear();
    if (sales().isSpecialMode()) {
        const auto* frame2 = sales().findChild<QWidget*>(u"Frame2"_s);
        if (const auto* special = frame2 ? frame2->findChild<QListWidget*>(u"List1"_s) : nullptr) {
            for (int i = 0; i < special->count(); ++i) list1_->addItem(special->item(i)->text());
        }
    } else {
        for (int i = 0; i < sales().loterias()->count(); ++i)
            list1_->addItem(sales().loterias()->item(i)->text());
    }
    list1_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    amountField()->clear();
    GeneratorScreen::showEvent(event);
}

bool RepeatScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched->objectName() == u"Label1"_s) {
        invertSelection(list1_);
        return true;
    }
    if (watched != list1_ || event->type() != QEvent::KeyPress)
        return GeneratorScreen::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space) {
        toggleAndAdvance(list1_);
        return true;
    }
    if (isEnter(key)) {
        const auto typed = Money::parse(amountField()->text());
        if (!typed || typed.value().isZero()) amountField()->setText(u"0"_s);
        // only amounts that end in 0 or 5 are sent from the list
        const QString amount = amountField()->text().trimmed();
        if (QStringLiteral("05.,").contains(amount.right(1))) sell();
        return true;
    }
    const QChar c = typedChar(key);
    return !(key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint() ||
             (c >= u'0' && c <= u'9'));
}

void RepeatScreen::sell() {
    sales().state().jugadaactual = u"Jugada repetida"_s;
    const auto amount = amountOrZero();
    if (!amount) return;
    QStringList targets;
    for (int i = 0; i < list1_->count(); ++i) {
        if (list1_->item(i)->isSelected()) targets << list1_->item(i)->text();
    }
    const QStringList origin = sales().isSpecialMode() ? sales().specialSelection().lotteryEntries
                                                       : sales().selectedLotteryEntries();
    if (sellCopies(xREPITEXLOTERIA(caller(), *amount, codeList(targets), codeList(origin))))
        close();
}

}  // namespace vendura
