// What the sales screen does with its ticket: plays booked or refused, plays taken off, a ticket
// the server released, and the issue.
#include "sales/screens/sales_screen.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "sales/amount_entry.h"
#include "sales/lottery_catalog.h"
#include "sales/play_seller.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/special_play_panel.h"
#include "sales/ticket_sync.h"
#include "session/installation.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/temporary_ticket.h"
#include "session/text.h"
#include "tickets/ticket_issue.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

namespace vendura {

// No plays and a total of "0": a ticket issued, released or started over.
void SalesScreen::emptyTicket() {
    model_.clear();
    totTicket_->setText(u"0"_s);
}

void SalesScreen::dropClosedLotteries(const QString& codes) {
    state_.loteriascerradas += codes;
    for (qsizetype at = 0; at + 3 <= codes.size(); at += 3) {
        const QString code = codes.mid(at, 3).trimmed();
        for (int i = lLoterias_->count() - 1; i >= 0; --i) {
            if (entryCode(lLoterias_->item(i)->text()) == code) delete lLoterias_->takeItem(i);
        }
        special_->dropLottery(code);
    }
}

void SalesScreen::applySale(const SaleOutcome& outcome) {
    if (outcome.refusalCode == 80) {
        showSaleMessages(dialogs(), outcome);
        return startOverReleasedTicket();
    }
    if (outcome.refusalCode == 74) {
        // the server holds plays under those item numbers: the list shows what it holds
        showSaleMessages(dialogs(), outcome);
        syncTicketWithServer(deps_.link, state_, model_);
        return recomputeTotal();
    }
    model_.append(outcome.rows);
    numeroJugar_->clear();
    showSaleMessages(dialogs(), outcome);
    if (!outcome.closedCodes.isEmpty()) dropClosedLotteries(outcome.closedCodes);
    if (model_.rowCount() > 0) {
        lTicket_->scrollToBottom();
        focusNumber();
    }
    recomputeTotal();
}

// The server released the open ticket (no play for too long, or the central office): nothing of it
// is sold, so the screen shows none of it and goes on under a new number.
void SalesScreen::startOverReleasedTicket() {
    emptyTicket();
    Session& s = deps_.link.session();
    if (auto number = takeTemporaryTicket(s)) {
        state_.nticket = number.value();
    } else {
        handleCallFailure(deps_.link, number.error());
    }
    updateTicketPanel();
    focusNumber();
}

void SalesScreen::afterRemoval(const RemovalOutcome& outcome, bool wholeTicket) {
    if (outcome.refusal != 0) {
        dialogs().message(DialogIcon::Critical, kTituloAtencion, removalRefusal(outcome.refusal));
        if (outcome.refusal == 80) return startOverReleasedTicket();
        wholeTicket = false;
    }
    numeroJugar_->clear();
    if (wholeTicket) {
        totTicket_->setText(u"0"_s);
    } else {
        recomputeTotal();
    }
    updateTicketPanel();
    focusNumber();
}

void SalesScreen::sellStraightPlay() {
    Session& s = deps_.link.session();
    state_.jugadaactual = u"Venta Normal"_s;
    typedAmount_ = montoJugada_->text();
    const QString numero = numeroJugar_->text().trimmed();
    if (numero.isEmpty()) {
        enterField(numeroJugar_);
        return;
    }
    auto amount = amountToSend(typedAmount_, state_.montobsf, 9);
    if (!amount) {
        dialogs().message(DialogIcon::Critical, kTituloAtencion, amount.error().description);
        enterField(montoJugada_);
        return;
    }
    const QStringList selected = selectedLotteryEntries();
    const QString codes = codeList(selected);
    if (codes.size() > 500) {
        dialogs().message(DialogIcon::Critical, kTituloAtencion,
                          u"Hay demasiadas loterías seleccionadas para una sola jugada."_s);
        return;
    }
    std::vector<PlannedItem> items;
    for (const QString& entry : selected)
        items.push_back({entry, markNumber(numero), amount.value(), {}, {}});
    const ProcedureCall call = xcreanormal(s.CodVendedor, s.Usuario, numero, amount.value(),
                                           state_.NUM_ITEM, codes, state_.nticket);
    auto outcome = sellPlay(deps_.link, state_, call, items, u"1"_s);
    if (!outcome) return;
    applySale(*outcome);
    montoJugada_->setText(typedAmount_);
    recomputeTotal();
}

void SalesScreen::imprimeTicket() {
    TicketIssue issue(deps_.link, deps_.printers, deps_.random, deps_.clock,
                      deps_.link.installation().journalFolder);
    const IssueOutcome outcome = issue.IMPRIMETICK22(model_.rows(), state_.nticket, userPanel());
    updateTicketPanel();
    if (outcome.kind == IssueOutcome::Nothing || outcome.kind == IssueOutcome::PrinterNotReady) {
        return;
    }
    if (!outcome.ticketNumber.isEmpty()) numUltick_->setText(outcome.ticketNumber);
    if (outcome.nextTicket.isEmpty()) return;
    state_.nticket = outcome.nextTicket;
    deps_.link.session().NroTicketTmp = outcome.nextTicket;
    updateTicketPanel();
    if (outcome.kind == IssueOutcome::Refused) return;
    if (outcome.kind == IssueOutcome::Released) return emptyTicket();

    montoUltick_->setText(outcome.kind == IssueOutcome::Issued ? outcome.issuedTotal.display()
                                                               : u"0"_s);
    emptyTicket();
    state_.claveTicket = QString::number(deps_.random.ticketNumber());
    state_.jugadaactual = u"Venta Normal"_s;
    special_->clearSelection();
    if (outcome.kind == IssueOutcome::Issued && deps_.link.session().ScreenVuelto == u"1"_s) {
        run(SalesCommand::Vuelto);
    }
}

}  // namespace vendura
