#include "cash/screens/lottery_activation_screen.h"

#include "cash/lottery_activation.h"
#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura {

LotteryActivationScreen::LotteryActivationScreen(ServerLink& link, QWidget* parent)
    : SecondaryScreen(parent), link_(link) {
    useColoursOf(link.session());
    setObjectName(u"activarloterias"_s);
    setWindowTitle(u"Activar Loterias"_s);

    auto* layout = new QVBoxLayout(this);
    label1_ = named(new QLabel(u"Seleccionar Loterias"_s), "Label1");
    label1_->setToolTip(u"Clic o «*»: invertir la selección"_s);
    label1_->installEventFilter(this);
    list1_ = named(new QListWidget, "List1");
    list1_->setSelectionMode(QAbstractItemView::MultiSelection);
    list1_->setMinimumSize(360, 320);
    list1_->installEventFilter(this);
    watch(list1_, false);
    layout->addWidget(label1_);
    layout->addWidget(list1_);

    auto* buttons = new QHBoxLayout;
    auto* grabar = named(new QPushButton(u"&Grabar"_s), "XPButton1");
    auto* regresar = named(new QPushButton(u"&Regresar"_s), "XPButton18");
    buttons->addWidget(grabar);
    buttons->addWidget(regresar);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(grabar, &QPushButton::clicked, this, &LotteryActivationScreen::grabar);
    connect(regresar, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* LotteryActivationScreen::firstField() const {
    return list1_;
}

bool LotteryActivationScreen::load() {
    list1_->clear();
    Session& s = link_.session();
    if (!link_.ensureOpen()) return false;
    auto answer = Dsplotactiva(*s.Conexion, s.CodVendedor);
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return false;
    }
    for (const ActivationEntry& e : activationEntries(answer.value().rows)) {
        list1_->addItem(e.text());
        if (e.open) list1_->item(list1_->count() - 1)->setSelected(true);
    }
    if (list1_->count() > 0) list1_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    return true;
}

void LotteryActivationScreen::grabar() {
    QStringList entries;
    std::vector<bool> selected;
    for (int i = 0; i < list1_->count(); ++i) {
        entries << list1_->item(i)->text();
        selected.push_back(list1_->item(i)->isSelected());
    }
    Session& s = link_.session();
    if (!link_.ensureOpen()) return;
    auto answer = activaloterias(*s.Conexion, s.CodVendedor, activationChoice(entries, selected));
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return;
    }
    link_.dialogs().message(DialogIcon::Information, kTituloAtencion,
                            u"Registros grabados sin problemas "_s);
    accept();
}

void LotteryActivationScreen::invertSelection() {
    for (int i = 0; i < list1_->count(); ++i) {
        list1_->item(i)->setSelected(!list1_->item(i)->isSelected());
    }
}

bool LotteryActivationScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label1_ && event->type() == QEvent::MouseButtonPress) {
        invertSelection();
        return true;
    }
    if (watched == list1_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == u"*"_s) {
            invertSelection();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusField(findChild<QPushButton*>(u"XPButton1"_s));
            return true;
        }
    }
    return SecondaryScreen::eventFilter(watched, event);
}

}  // namespace vendura
