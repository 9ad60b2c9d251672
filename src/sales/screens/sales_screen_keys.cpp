#include "platform/dialogs.h"
#include "sales/amount_entry.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/removal_screen.h"
#include "sales/screens/sales_screen.h"
#include "sales/screens/special_play_panel.h"
#include "session/permissions.h"
#include "session/screens/focus_colours.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

namespace vendura {

void SalesScreen::runGuarded(SalesCommand command, const QString& buttonName) {
    const QPushButton* button = buttons_.value(buttonName);
    const QString permiso = button ? button->property("permiso").toString() : QString();
    if (!permiso.isEmpty() && !validapermiso(deps_.link.session(), permiso)) {
        dialogs().message(DialogIcon::Information, kTituloAtencion,
                          u"Permiso de acceso denegado"_s);
        return;
    }
    run(command);
}

void SalesScreen::run(SalesCommand command) {
    switch (command) {
        case SalesCommand::Ayuda:
            return openHelp();
        case SalesCommand::CambiarUnidad:
            return toggleAmountUnit();
        case SalesCommand::Mensajes:
            return readMessages(true);
        case SalesCommand::EliminarPorLoteria:
            return openRemovalByLottery(*this);
        case SalesCommand::EmitirTicket:
            return imprimeTicket();
        case SalesCommand::IrAlTicket:
            if (model_.rowCount() > 0) {
                lTicket_->setFocus(Qt::OtherFocusReason);
                if (!lTicket_->selectionModel()->hasSelection())
                    lTicket_->selectRow(model_.rowCount() - 1);
            }
            return;
        case SalesCommand::JugadasEspeciales:
            return enterSpecialMode();
        case SalesCommand::FocoLoterias:
            return lLoterias_->setFocus(Qt::OtherFocusReason);
        case SalesCommand::InvertirLoterias:
            return invertLotterySelection();
        case SalesCommand::FocoVariantes:
            return special_->focusVariants();
        case SalesCommand::FocoLoteriasEspeciales:
            return special_->focusLotteries();
        case SalesCommand::FocoNumeroEspecial:
            return special_->focusNumber();
        case SalesCommand::VarianteSiguiente:
            return special_->moveVariant(1);
        case SalesCommand::VarianteAnterior:
            return special_->moveVariant(-1);
        case SalesCommand::InvertirLoteriasEspeciales:
            return special_->invertLotteries();
        default:
            deps_.actions.run(command, *this);
    }
}

bool SalesScreen::functionKey(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const FunctionKeyCommand* f = functionKeyCommand(key->key());
    if (!f) return false;
    if (f->button) {
        runGuarded(f->command, QString::fromLatin1(f->button));
    } else {
        run(f->command);
    }
    return true;
}

// Esc and the character tables. Inside the entry fields the tables do not act (the fields
// discard what is not theirs: a "*" from the keypad while typing an amount must not change the
// lotteries), except "+" and "-" in Numero, which pick another variant between two numbers.
bool SalesScreen::characterKey(QObject* watched, QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (key->key() == Qt::Key_Escape) {
        if (state_.modoEspecial) {
            leaveSpecialMode();
        } else if (deps_.link.session().ModoTrabajo == u"0"_s) {
            imprimeTicket();
        } else {
            run(SalesCommand::EliminarPorLoteria);
        }
        return true;
    }
    const QChar c = typedChar(key);
    if (c.isNull()) return false;
    if (watched == numeroJugar_ || watched == montoJugada_ || watched == special_->monto()) {
        return false;
    }
    if (watched == special_->numero() && c != u'+' && c != u'-') return false;
    const KeyCommand* k = state_.modoEspecial ? specialKeyCommand(c) : normalKeyCommand(c);
    if (!k) return false;
    if (k->jugada) state_.jugadaactual = QString::fromUtf8(k->jugada);
    if (k->button) {
        runGuarded(k->command, QString::fromLatin1(k->button));
    } else {
        run(k->command);
    }
    return true;
}

bool SalesScreen::lotteryListKey(QKeyEvent* key) {
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Space) {
        toggleAndAdvance(lLoterias_);
        return true;
    }
    if (isEnter(key)) {
        enviarfoco();
        return true;
    }
    if (numberFieldAccepts(c)) {
        startNumber(numeroJugar_, c);
        return true;
    }
    return !(key->key() == Qt::Key_Backspace || c.isNull());
}

bool SalesScreen::numberKey(QKeyEvent* key) {
    if (isEnter(key)) {
        if (!numeroJugar_->text().trimmed().isEmpty()) enterField(montoJugada_);
        return true;
    }
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint()) return false;
    return !numberFieldAccepts(c);
}

bool SalesScreen::amountKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up) {
        enterField(numeroJugar_);
        return true;
    }
    if (isEnter(key)) {
        if (!montoJugada_->text().trimmed().isEmpty()) sellStraightPlay();
        return true;
    }
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint()) return false;
    return !amountFieldAccepts(montoJugada_->text(), c);
}

bool SalesScreen::ticketListKey(QKeyEvent* key) {
    if (key->key() != Qt::Key_Delete || model_.rowCount() == 0) return false;
    removeSelectedPlays(*this);
    return true;
}

void SalesScreen::keyPressEvent(QKeyEvent* key) {
    if (functionKey(key)) return;
    if ((!closed_ || key->key() == Qt::Key_Escape) && characterKey(this, key)) return;
    QMainWindow::keyPressEvent(key);
}

bool SalesScreen::focusNextPrevChild(bool next) {
    const bool moved = QMainWindow::focusNextPrevChild(next);
    if (moved) selectWholeText(focusWidget());
    return moved;
}

bool SalesScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == label8_) {
            toggleAmountUnit();
            return true;
        }
        if (watched->objectName() == u"Label1"_s) {
            invertLotterySelection();
            return true;
        }
        if (watched->objectName() == u"Label6"_s) {
            special_->moveVariant(1);
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (functionKey(key)) return true;
    if (closed_ && key->key() != Qt::Key_Escape) return false;
    if (characterKey(watched, key)) return true;
    // in special mode the straight play's list and fields start nothing
    if (state_.modoEspecial &&
        (watched == lLoterias_ || watched == numeroJugar_ || watched == montoJugada_)) {
        return true;
    }
    if (watched == lLoterias_) return lotteryListKey(key);
    if (watched == numeroJugar_) return numberKey(key);
    if (watched == montoJugada_) return amountKey(key);
    if (watched == lTicket_) return ticketListKey(key);
    return special_->fieldKey(watched, key);
}

}  // namespace vendura
