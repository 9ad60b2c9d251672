#include "aftersale/screens/customer_panel.h"

#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vendura {
namespace {

const QString kContinuar = u"Continuar"_s;
const QString kGrabar = u"Grabar"_s;

QPushButton* panelButton(const char* name, const QString& caption, QWidget* parent) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

CustomerPanel::CustomerPanel(ServerLink& link, std::function<void()> finished, QWidget* parent)
    : QGroupBox(u"Información Fiscal"_s, parent),
      link_(link),
      record_(link),
      finished_(std::move(finished)),
      text6_(named(new QLineEdit(this), "Text6")),
      text5_(named(new QLineEdit(this), "Text5")),
      text3_(named(new QLineEdit(this), "Text3")),
      text4_(named(new QLineEdit(this), "Text4")),
      xpButton1_(panelButton("XPButton1", u"Buscar"_s, this)),
      xpButton2_(panelButton("XPButton2", kContinuar, this)),
      xpButton3_(panelButton("XPButton3", u"Cerrar"_s, this)) {
    setObjectName(u"Frame1"_s);
    text6_->setMaxLength(15);
    text5_->setMaxLength(50);
    text3_->setMaxLength(100);
    text4_->setMaxLength(100);
    auto* form = new QFormLayout;
    form->addRow(u"Cedula/Rif:"_s, text6_);
    form->addRow(u"Nombre:"_s, text5_);
    form->addRow(u"Direccion:"_s, text3_);
    form->addRow(u"Teléfonos:"_s, text4_);
    auto* row = new QHBoxLayout;
    row->addWidget(xpButton1_);
    row->addWidget(xpButton2_);
    row->addWidget(xpButton3_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row);
    setDetailsEnabled(false);
    text6_->installEventFilter(this);
    connect(xpButton1_, &QPushButton::clicked, this, &CustomerPanel::lookUp);
    connect(xpButton2_, &QPushButton::clicked, this, &CustomerPanel::continueOrSave);
    connect(xpButton3_, &QPushButton::clicked, this, &CustomerPanel::closePanel);
}

QList<QLineEdit*> CustomerPanel::fields() const {
    return {text6_, text5_, text3_, text4_};
}

QList<QPushButton*> CustomerPanel::buttons() const {
    return {xpButton1_, xpButton2_, xpButton3_};
}

QString CustomerPanel::customerId() const {
    const QString typed = text6_->text().trimmed();
    return typed.isEmpty() ? link_.session().ClienteCedula : typed;
}

QString CustomerPanel::customerName() const {
    return text6_->text().trimmed().isEmpty() ? link_.session().ClienteNombre
                                              : text5_->text().trimmed();
}

Customer CustomerPanel::typed() const {
    return {text6_->text().trimmed(), text5_->text().trimmed(), text3_->text().trimmed(),
            text4_->text().trimmed()};
}

void CustomerPanel::clearFields() {
    for (QLineEdit* f : fields()) f->clear();
}

void CustomerPanel::setDetailsEnabled(bool enabled) {
    for (QLineEdit* f : {text5_, text3_, text4_}) f->setEnabled(enabled);
}

void CustomerPanel::lookUp() {
    auto found = record_.lookUp(typed());
    if (!found) return;
    Dialogs& dialogs = link_.dialogs();
    if (const auto& customer = found.value()) {
        text5_->setText(customer->nombre);
        text3_->setText(customer->direccion);
        text4_->setText(customer->telefonos);
        if (dialogs.question(DialogIcon::Question, u"Responda!"_s,
                             u"Cliente Encontrado, desea continuar?"_s)) {
            Session& s = link_.session();
            s.ClienteCedula = customer->cedula;
            s.ClienteNombre = customer->nombre;
            s.CodigoCliente = customer->cedula;
        }
        return;
    }
    setDetailsEnabled(true);
    text5_->setFocus(Qt::OtherFocusReason);
    text5_->selectAll();
    xpButton2_->setText(kGrabar);
}

void CustomerPanel::continueOrSave() {
    if (xpButton2_->text() == kContinuar) {
        clearFields();
        return;
    }
    Dialogs& dialogs = link_.dialogs();
    if (!dialogs.question(DialogIcon::Question, u"Responda!"_s,
                          u"Dese grabar los datos del cliente?"_s)) {
        return;
    }
    const Customer customer = typed();
    auto saved = record_.save(customer);
    if (!saved) return;
    if (!saved.value()) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"Hubo problemas al registrar el cliente!"_s);
        return;
    }
    // the customer just registered is the one the prize is paid to
    Session& s = link_.session();
    s.ClienteCedula = customer.cedula;
    s.ClienteNombre = customer.nombre;
    s.CodigoCliente = customer.cedula;
    dialogs.message(DialogIcon::Information, kTituloAtencion,
                    u"Cliente registrado sin problemas"_s);
    clearFields();
    setDetailsEnabled(false);
    xpButton2_->setText(kContinuar);
    finished_();
}

void CustomerPanel::closePanel() {
    forget();
    link_.session().CodigoCliente = u"0000"_s;
    hide();
    finished_();
}

void CustomerPanel::forget() {
    clearFields();
    Session& s = link_.session();
    s.ClienteCedula.clear();
    s.ClienteNombre.clear();
    s.CodigoCliente.clear();
}

bool CustomerPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text6_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lookUp();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace vendura
