#include "session/screens/utility_menu.h"

#include "platform/dialogs.h"
#include "session/permissions.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura {

UtilityMenu::UtilityMenu(ServerLink& link, UtilityMenuActions actions, QWidget* parent)
    : SecondaryScreen(parent, u"Form36"_s, u"Reportes/Utilidades"_s),
      link_(link),
      actions_(std::move(actions)) {
    const Session& s = link.session();
    const QString vendorLabel = s.CodVendedor + u" - "_s + s.NombreVendedor;
    auto call = [](const std::function<void()>& f) {
        return [f] {
            if (f) f();
        };
    };
    choices_ = {
        {u'A', u"A.- Cuadre de Caja"_s, call(actions_.cuadreCaja)},
        {u'B', u"B.- Tickets Premiados"_s, call(actions_.ticketsPremiados)},
        {u'C', u"C.- Relacion Final"_s, call(actions_.relacionFinal)},
        {u'D', u"D.- Saldos Operadora"_s, call(actions_.saldosOperadora)},
        {u'R', u"R.- Registrar Egreso o Gasto"_s,
         [this, vendorLabel] {
             if (actions_.egresos) actions_.egresos(vendorLabel);
         }},
        {u'M', u"M.- Monitor On Line"_s, call(actions_.monitor)},
    };

    auto* frame1 = named(new QGroupBox(u"Elija un Reporte"_s, this), "Frame1");
    auto* frame2 = named(new QGroupBox(u"Elija la utilidad"_s, this), "Frame2");
    auto* reports = new QVBoxLayout(frame1);
    auto* utilities = new QVBoxLayout(frame2);
    const char* names[] = {"XPButton1", "XPButton2", "XPButton3", "XPButton4", "XPButton5"};
    for (int i = 0; i < 5; ++i) {
        const Choice& choice = choices_[size_t(i)];
        auto* b = named(new QPushButton(choice.caption, i < 4 ? frame1 : frame2), names[i]);
        b->setAutoDefault(false);
        (i < 4 ? reports : utilities)->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { run(choices_[size_t(i)]); });
        if (i == 0) first_ = b;
    }
    auto* regresar = button("XPButton6", u"Regresar"_s);
    connect(regresar, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* frames = new QHBoxLayout;
    frames->addWidget(frame1);
    frames->addWidget(frame2);
    layout->addLayout(frames);
    layout->addWidget(new QLabel(u"M: Monitor On Line"_s, this));
    layout->addWidget(regresar);
}

QWidget* UtilityMenu::firstField() const {
    return first_;
}

void UtilityMenu::run(const Choice& choice) {
    if (!validapermiso(link_.session(), choice.caption)) {
        link_.dialogs().message(DialogIcon::Information, kTituloAtencion,
                                u"Permiso de acceso denegado"_s);
        return;
    }
    choice.open();
}

bool UtilityMenu::choose(QChar letter) {
    for (const Choice& choice : choices_) {
        if (choice.letter == letter.toUpper()) {
            run(choice);
            return true;
        }
    }
    return false;
}

void UtilityMenu::keyPressEvent(QKeyEvent* event) {
    constexpr auto kAll = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
    if (event->key() == Qt::Key_F2 && (event->modifiers() & kAll) == kAll) {
        if (actions_.auditoria) actions_.auditoria();
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && event->modifiers().testFlag(Qt::ControlModifier) == false &&
        choose(typed[0])) {
        return;
    }
    SecondaryScreen::keyPressEvent(event);
}

}  // namespace vendura
