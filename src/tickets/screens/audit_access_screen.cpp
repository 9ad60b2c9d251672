#include "tickets/screens/audit_access_screen.h"

#include "platform/dialogs.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"
#include "tickets/journal_audit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vendura {

AuditAccessScreen::AuditAccessScreen(ServerLink& link, QWidget* parent)
    : SecondaryScreen(parent, u"FormAuditoria"_s, u"Autenticación de Auditoria"_s), link_(link) {
    const Session& s = link.session();
    useColoursOf(s);
    auto* row = new QHBoxLayout;
    const char* names[] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
    for (size_t i = 0; i < groups_.size(); ++i) {
        QLineEdit* field = named(new QLineEdit(this), names[i]);
        field->setMaxLength(4);
        field->setFixedWidth(70);
        field->setValidator(
            new QRegularExpressionValidator(QRegularExpression(u"[A-Za-z0-9]{0,4}"_s), field));
        watch(field, true);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            // the group is written as the key is printed, and a full one hands over the next
            const int at = groups_[i]->cursorPosition();
            groups_[i]->setText(text.toUpper());
            groups_[i]->setCursorPosition(at);
            if (text.size() == 4 && i + 1 < groups_.size()) focusField(groups_[i + 1]);
        });
        if (i > 0) row->addWidget(new QLabel(u"-"_s, this));
        row->addWidget(field);
        groups_[i] = field;
    }
    auto* aceptarButton = button("Command1", u"Aceptar"_s);
    auto* cancelar = button("Command2", u"Cancelar"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(aceptarButton);
    buttons->addWidget(cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"Clave de Auditoría del día:"_s, this));
    layout->addLayout(row);
    layout->addLayout(buttons);
    connect(aceptarButton, &QPushButton::clicked, this, &AuditAccessScreen::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* AuditAccessScreen::firstField() const {
    return groups_[0];
}

bool AuditAccessScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            aceptar();
            return true;
        }
    }
    return SecondaryScreen::eventFilter(watched, event);
}

void AuditAccessScreen::clearKey() {
    for (QLineEdit* g : groups_) g->clear();
    focusField(groups_[0]);
}

void AuditAccessScreen::aceptar() {
    QStringList typed;
    for (QLineEdit* g : groups_) typed << g->text();
    auto answer = journal_audit::checkKey(link_, journal_audit::joinGroups(typed));
    if (!answer) return;
    if (answer.value() == journal_audit::KeyAnswer::Valid) {
        accept();
        return;
    }
    Dialogs& dialogs = link_.dialogs();
    if (answer.value() == journal_audit::KeyAnswer::Locked ||
        ++failures_ >= journal_audit::kAttempts) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"3 intentos fallidos, pruebe mas tarde!"_s);
        reject();
        return;
    }
    dialogs.message(DialogIcon::Exclamation, kTituloAtencion,
                    u"La clave de auditoría no es válida"_s);
    clearKey();
}

}  // namespace vendura
