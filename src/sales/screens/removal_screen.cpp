#include "sales/screens/removal_screen.h"

#include "platform/dialogs.h"
#include "sales/removal.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vendura {

void removeSelectedPlays(SalesScreen& screen) {
    if (!screen.dialogs().question(DialogIcon::Critical, kTituloPuntoVenta,
                                   u"¿Deseas Eliminar los Números  Seleccionados ?"_s, false)) {
        return;
    }
    screen.link().session().ModoTrabajo = u"1"_s;
    QList<int> rows;
    for (const QModelIndex& index : screen.ticketView()->selectionModel()->selectedRows())
        rows << index.row();
    screen.ticketView()->clearSelection();
    screen.afterRemoval(removePlays(screen.link(), screen.state().nticket, screen.ticket(), rows));
}

RemovalByLotteryScreen::RemovalByLotteryScreen(SalesScreen& screen)
    : SecondaryScreen(&screen), screen_(screen) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(u"Form13"_s);
    setWindowTitle(u"Eliminar jugadas por Loterias"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"Seleccione las Loterias"_s));
    list1_ = named(new QListWidget, "List1");
    list1_->setSelectionMode(QAbstractItemView::MultiSelection);
    list1_->addItems(lotteriesOnTicket(screen.ticket().rows()));
    list1_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    list1_->installEventFilter(this);
    layout->addWidget(list1_);
    auto* buttons = new QHBoxLayout;
    auto* command1 = named(new QPushButton(u"[Enter] - Eliminar Seleccionadas"_s), "Command1");
    auto* command2 = named(new QPushButton(u"F12 - Eliminar Todas"_s), "Command2");
    for (QPushButton* b : {command1, command2}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(command1, &QPushButton::clicked, this, &RemovalByLotteryScreen::removeSelected);
    connect(command2, &QPushButton::clicked, this, &RemovalByLotteryScreen::removeAll);
    resize(420, 320);
}

void RemovalByLotteryScreen::showEvent(QShowEvent* event) {
    SecondaryScreen::showEvent(event);
    list1_->setFocus(Qt::OtherFocusReason);
}

void RemovalByLotteryScreen::removeSelected() {
    QStringList selected;
    for (int i = 0; i < list1_->count(); ++i) {
        if (list1_->item(i)->isSelected()) selected << list1_->item(i)->text();
    }
    const bool all = selected.size() == list1_->count();
    const RemovalOutcome outcome =
        removeLotteries(screen_.link(), screen_.state().nticket, screen_.ticket(), selected);
    if (outcome.callFailed) return;
    if (all && outcome.refusal == 0) screen_.ticket().clear();
    screen_.afterRemoval(outcome, all);
    close();
}

void RemovalByLotteryScreen::removeAll() {
    list1_->selectAll();
    removeSelected();
}

bool RemovalByLotteryScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list1_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F12) {
        removeAll();
        return true;
    }
    if (isEnter(key)) {
        removeSelected();
        return true;
    }
    if (key->key() == Qt::Key_Space) {
        toggleAndAdvance(list1_);
        return true;
    }
    return false;
}

void openRemovalByLottery(SalesScreen& screen) {
    auto* form13 = new RemovalByLotteryScreen(screen);
    form13->open();
}

}  // namespace vendura
