#include "cash/screens/expense_edit_screen.h"

#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura {

ExpenseEditScreen::ExpenseEditScreen(ServerLink& link, const QString& vendorLabel, bool modify,
                                     const expenses::Movement& movement, QWidget* parent)
    : CounterScreen(link, u"ActualizaGastos"_s, u"Actualiza Gastos"_s, parent),
      modify_(modify),
      txtnomov_(named(new QLineEdit(movement.number.trimmed(), this), "txtnomov")),
      txtdescriMov_(named(new QComboBox(this), "txtdescri_mov")),
      txtmontoMov_(named(new QLineEdit(movement.amount.trimmed(), this), "txtmonto_mov")),
      desdes_(named(new QLabel(session().FechaServidor, this), "desdes")),
      txtobservaMov_(named(new QLineEdit(movement.observation, this), "txtobserva_mov")) {
    txtnomov_->setMaxLength(10);
    txtnomov_->setReadOnly(modify);
    txtdescriMov_->addItems(expenses::kinds());
    QString kind = movement.kind;
    while (kind.endsWith(u' ')) kind.chop(1);
    txtdescriMov_->setCurrentIndex(modify ? int(expenses::kinds().indexOf(kind)) : -1);
    txtmontoMov_->setMaxLength(14);
    txtobservaMov_->setMaxLength(200);

    auto* form = new QFormLayout;
    form->addRow(u"Vendedor:"_s, named(new QLabel(vendorLabel, this), "Label7"));
    form->addRow(u"Nro. Documento:"_s, txtnomov_);
    form->addRow(u"Tipo de Movimiento:"_s, txtdescriMov_);
    form->addRow(u"Monto Egreso Bs."_s, txtmontoMov_);
    form->addRow(u"Fecha:"_s, desdes_);
    form->addRow(u"Observación:"_s, txtobservaMov_);
    QPushButton* grabarButton = button("Grabar", u"&Grabar"_s);
    QPushButton* deshacer = button("Deshacer", u"&Deshacer"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(grabarButton);
    buttons->addWidget(deshacer);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    for (QWidget* w :
         std::initializer_list<QWidget*>{txtnomov_, txtdescriMov_, txtmontoMov_, txtobservaMov_}) {
        watch(w);
        w->installEventFilter(this);
    }
    connect(grabarButton, &QPushButton::clicked, this, &ExpenseEditScreen::grabar);
    connect(deshacer, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* ExpenseEditScreen::firstField() const {
    return modify_ ? txtmontoMov_ : txtnomov_;
}

bool ExpenseEditScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return CounterScreen::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == txtmontoMov_) {
        if (enter) {
            txtobservaMov_->setFocus(Qt::OtherFocusReason);
            txtobservaMov_->selectAll();
            return true;
        }
        const QString typed = key->text();
        if (typed.size() != 1 || !typed[0].isPrint()) return false;
        // what stays of the field once the typed character replaces the selection
        QString kept = txtmontoMov_->text();
        if (txtmontoMov_->hasSelectedText()) {
            kept.remove(txtmontoMov_->selectionStart(), txtmontoMov_->selectedText().size());
        }
        return !expenses::amountAccepts(kept, typed[0]);
    }
    if (enter) {
        grabar();
        return true;
    }
    return CounterScreen::eventFilter(watched, event);
}

bool ExpenseEditScreen::grabar() {
    const expenses::Movement movement{txtnomov_->text(), txtdescriMov_->currentText(),
                                      txtmontoMov_->text(), txtobservaMov_->text()};
    if (const auto problem = expenses::problem(movement)) {
        const bool noNumber = movement.number.trimmed().isEmpty();
        dialogs().message(noNumber ? DialogIcon::Critical : DialogIcon::None, kTituloAtencion,
                          *problem);
        return false;
    }
    const expenses::Mode mode = modify_ ? expenses::Mode::Modify : expenses::Mode::Add;
    auto answer = expenses::call(
        link(), expenses::save(mode, movement, session().FechaServidor, session().CodVendedor),
        expenses::savedBefore(mode, movement));
    if (!answer) return false;
    const bool saved = answer.value().returnText() == u"0"_s;
    dialogs().message(DialogIcon::None, kTituloAtencion,
                      saved ? u"Movimiento Grabado Correctamente"_s
                            : u"Hubo problemas para actualizar registro"_s);
    accept();
    return saved;
}

}  // namespace vendura
