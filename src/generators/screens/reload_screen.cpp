#include "generators/screens/reload_screen.h"

#include "platform/dialogs.h"
#include "sales/lottery_catalog.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/focus_colours.h"
#include "session/screens/named.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace vendura {

ReloadScreen::ReloadScreen(SalesScreen& sales)
    : GeneratorScreen(sales, "Form17", u"Cargar desde un Ticket ya Vendido"_s) {
    text1_ = addField("Label1", u"Ticket #:"_s, "Text1", 100);
    list2_ = named(new QListWidget, "List2");
    list1_ = named(new QListWidget, "List1");
    const std::pair<const char*, const char*> captions[] = {
        {"Label2", "Loterias en el ticket"}, {"Label3", "Loterias para las que Vendera"}};
    int i = 0;
    for (QListWidget* list : {list2_, list1_}) {
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        for (const Lottery& l : sales.state().rsloterias.all())
            list->addItem(l.code + u" "_s + l.description);
        list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        list->installEventFilter(this);
        watch(list, false);
        auto* label = named(new QLabel(QString::fromUtf8(captions[i].second)), captions[i].first);
        label->installEventFilter(this);
        addRow(label, list);
        ++i;
    }
    addAmount("Label4", u"Nuevo Monto Bs."_s);
    setFirstField(list2_);
    setTabOrder(list2_, list1_);
    setTabOrder(list1_, text1_);
    setTabOrder(text1_, amountField());
    resize(520, 560);
}

QStringList ReloadScreen::selected(const QListWidget* list) const {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) entries << list->item(i)->text();
    }
    return entries;
}

bool ReloadScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QString name = watched->objectName();
        if (name == u"Label2"_s || name == u"Label3"_s) {
            invertSelection(name == u"Label2"_s ? list2_ : list1_);
            return true;
        }
    }
    // one source lottery: leaving List2 with more than one selected is refused
    if (watched == list2_ && event->type() == QEvent::FocusOut && !warning_ &&
        selected(list2_).size() >= 2) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            warning_ = true;
            sales().dialogs().message(DialogIcon::Exclamation, u"Atención!"_s,
                                      u"Debe seleccionar una sola loteria de origen"_s);
            QTimer::singleShot(0, this, [this] {
                list2_->setFocus(Qt::OtherFocusReason);
                warning_ = false;
            });
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && watched == text1_ &&
        isEnter(static_cast<QKeyEvent*>(event))) {
        if (!text1_->text().trimmed().isEmpty()) focusField(amountField());
        return true;
    }
    if (event->type() == QEvent::KeyPress && (watched == list1_ || watched == list2_))
        return listKey(static_cast<QListWidget*>(watched), static_cast<QKeyEvent*>(event));
    return GeneratorScreen::eventFilter(watched, event);
}

bool ReloadScreen::listKey(QListWidget* list, QKeyEvent* key) {
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Space) {
        if (list == list2_) {
            const int row = list2_->currentRow();
            list2_->clearSelection();
            if (row >= 0) list2_->item(row)->setSelected(true);
            if (row + 1 < list2_->count()) {
                list2_->selectionModel()->setCurrentIndex(list2_->model()->index(row + 1, 0),
                                                          QItemSelectionModel::NoUpdate);
            }
        } else {
            toggleAndAdvance(list);
        }
        return true;
    }
    if (isEnter(key)) {
        if (!selected(list).isEmpty()) focusField(text1_);
        return true;
    }
    if (c >= u'0' && c <= u'9') {
        startNumber(text1_, c);
        return true;
    }
    return !(key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint());
}

void ReloadScreen::sell() {
    sales().state().jugadaactual = u"Jugada repetida"_s;
    const auto amount = amountOrZero();
    if (!amount) return;
    const QStringList origin = selected(list2_);
    if (sellCopies(xcargaticket(caller(), *amount, codeList(selected(list1_)),
                                origin.isEmpty() ? QString() : entryCode(origin.first()),
                                text1_->text().trimmed())))
        close();
}

}  // namespace vendura
