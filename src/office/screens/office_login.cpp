#include "office/screens/office_login.h"

#include "platform/dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace vendura::office {

OfficeLogin::OfficeLogin(AdminConnector connector, Dialogs& dialogs,
                         const ConnectionOptions& defaults, QWidget* parent)
    : QDialog(parent), connect_(std::move(connector)), dialogs_(dialogs) {
    setObjectName(u"OfficeLogin"_s);
    setWindowTitle(u"vendura - Oficina central"_s);
    const auto field = [this](const QString& name, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(name);
        return edit;
    };
    server_ = field(u"txtServidor"_s, defaults.host);
    port_ = field(u"txtPuerto"_s, QString::number(defaults.port));
    port_->setValidator(new QIntValidator(1, 65535, port_));
    database_ = field(u"txtBase"_s, defaults.database);
    user_ = field(u"txtUsuario"_s, defaults.user);
    password_ = field(u"txtClave"_s, QString());
    password_->setEchoMode(QLineEdit::Password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* form = new QFormLayout(this);
    form->addRow(u"&Servidor"_s, server_);
    form->addRow(u"&Puerto"_s, port_);
    form->addRow(u"&Base de datos"_s, database_);
    form->addRow(u"&Usuario"_s, user_);
    form->addRow(u"&Clave"_s, password_);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &OfficeLogin::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OfficeLogin::reject);
    (defaults.user.isEmpty() ? user_ : password_)->setFocus();
}

QString OfficeLogin::login() const {
    return user_->text().trimmed();
}

void OfficeLogin::accept() {
    ConnectionOptions o;
    o.host = server_->text().trimmed();
    o.port = port_->text().toInt();
    o.database = database_->text().trimmed();
    o.user = login();
    o.password = password_->text();
    o.application = u"vendura-oficina"_s;
    auto link = connect_(o);
    if (!link) {
        dialogs_.message(DialogIcon::Critical, windowTitle(),
                         u"No se pudo entrar: "_s + link.error().description);
        password_->clear();
        password_->setFocus();
        return;
    }
    // a login that may not read the office's own list is no office login (a sales point's)
    if (!link.value()->call(u"oficinistas"_s, {})) {
        dialogs_.message(
            DialogIcon::Critical, windowTitle(),
            u"No se pudo entrar: la cuenta "_s + login() + u" no es de la oficina central."_s);
        password_->clear();
        password_->setFocus();
        return;
    }
    link_ = std::move(link.value());
    QDialog::accept();
}

}  // namespace vendura::office
