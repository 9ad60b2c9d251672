#include "sales/screens/sales_screen.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "sales/amount_entry.h"
#include "sales/lottery_catalog.h"
#include "sales/messages.h"
#include "sales/screens/entry_keys.h"
#include "sales/screens/message_window.h"
#include "sales/screens/special_play_panel.h"
#include "session/installation.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/text.h"
#include "tickets/journal.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

static void initSalesImages() {
    Q_INIT_RESOURCE(sales_images);
}

namespace vendura {
namespace {

const QString kHelpPanel =
    u"PUNTO DE VENTA FISCAL -> USE « Esc » para Imprimir El TICKET, o F1 para ayuda"_s;

}  // namespace

SalesScreen::SalesScreen(SalesScreenDeps deps, QWidget* parent)
    : QMainWindow(parent), deps_(deps), model_(this) {
    initSalesImages();
    setObjectName(u"Form1"_s);
    setWindowTitle(u"KALVORA ON LINE - PUNTO DE VENTA"_s);
    buildControls();
}

SalesScreen::~SalesScreen() = default;

Dialogs& SalesScreen::dialogs() {
    return deps_.link.dialogs();
}

void SalesScreen::load() {
    Session& s = deps_.link.session();
    state_.montobsf = false;
    showAmountUnit();
    pendingMessages_ = leemensajesnuevos(deps_.link).value_or(QStringList());

    s.FechaTicket.clear();
    s.HoraTicket.clear();
    s.ClienteCedula.clear();
    s.ClienteNombre.clear();
    state_.ticks = 0;
    leaveSpecialMode();
    numUltick_->clear();
    montoUltick_->clear();
    state_.claveTicket = QString::number(deps_.random.ticketNumber());
    model_.clear();
    state_.NUM_ITEM = 0;
    state_.jugadaactual = u"Venta Normal"_s;
    state_.nticket = s.NroTicketTmp;
    state_.loteriascerradas.clear();
    readTables();

    panelUser_->setText(kHelpPanel);
    updateTicketPanel();
    recomputeTotal();

    const QStringList entries = openLotteryEntries();
    setClosedState(s.estadovendura == u"3"_s || entries.isEmpty());
    lLoterias_->clear();
    if (!closed_) {
        lLoterias_->addItems(entries);
        lLoterias_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        lLoterias_->setFocus(Qt::OtherFocusReason);
    }
    timer1_->start();
    if (isVisible() && !pendingMessages_.isEmpty()) showMessageLines(pendingMessages_);
}

void SalesScreen::readTables() {
    DatabaseGateway* db = deps_.link.session().Conexion.get();
    if (!db) return;
    auto all = db->exec(u"xdsplot 'X', 'A'"_s);
    if (!all) {
        handleCallFailure(deps_.link, all.error());
        return;
    }
    state_.rsloterias = LotteryCatalog(all.value().rows);
    auto especiales = db->exec(u"DSPjugadase"_s);
    auto detalles = especiales ? db->exec(u"DSPjugadeta"_s) : especiales;
    if (!especiales || !detalles) {
        handleCallFailure(deps_.link, especiales ? detalles.error() : especiales.error());
        return;
    }
    state_.especiales = SpecialCatalog(especiales.value().rows, detalles.value().rows);
    const auto& plays = state_.especiales.plays();
    command1_->setText(plays.empty() ? u"Z-Jugadas Especiales"_s : u"Z-"_s + plays[0].caption());
}

QStringList SalesScreen::openLotteryEntries() {
    DatabaseGateway* db = deps_.link.session().Conexion.get();
    if (!db) return {};
    auto open = db->exec(u"xdsplot '4', 'A'"_s);
    if (!open) {
        handleCallFailure(deps_.link, open.error());
        return {};
    }
    return LotteryCatalog(open.value().rows).straightPlayEntries();
}

void SalesScreen::setClosedState(bool closed) {
    closed_ = closed;
    for (QWidget* w : std::initializer_list<QWidget*>{numeroJugar_, montoJugada_, lLoterias_,
                                                      lTicket_, command1_}) {
        w->setEnabled(!closed);
    }
    for (int i = 1; i <= 12; ++i) {
        if (QPushButton* b = buttons_.value(u"XPButton"_s + QString::number(i)))
            b->setEnabled(!closed);
    }
    for (const char* name : {"XPButton18", "XPButton22"}) {
        buttons_.value(QString::fromLatin1(name))->setEnabled(!closed);
    }
    cerradopv_->setVisible(closed);
    // with every field off the window itself takes the keys: F11 opens the lotteries again
    if (closed) setFocus(Qt::OtherFocusReason);
}

void SalesScreen::setUserPanel(const QString& text) {
    panelUser_->setText(text);
}

QString SalesScreen::userPanel() const {
    return panelUser_->text();
}

void SalesScreen::updateTicketPanel() {
    panelTicket_->setText(u"Venta del Ticket #: "_s + state_.nticket);
    // Esc issues only in working mode "0"; "D" issues in any
    panelKeys_->setText(deps_.link.session().ModoTrabajo == u"0"_s
                            ? u"Esc o D: imprimir ticket  F1: ayuda"_s
                            : u"D: imprimir ticket  Esc: eliminar por lotería  F1: ayuda"_s);
}

QStringList SalesScreen::selectedLotteryEntries() const {
    QStringList entries;
    for (int i = 0; i < lLoterias_->count(); ++i) {
        if (lLoterias_->item(i)->isSelected()) entries << lLoterias_->item(i)->text();
    }
    return entries;
}

SpecialSelection SalesScreen::specialSelection() const {
    return special_->selection();
}

void SalesScreen::recomputeTotal() {
    totTicket_->setText(model_.total().display());
}

void SalesScreen::enviarfoco() {
    if (!lLoterias_->selectedItems().isEmpty()) enterField(numeroJugar_);
}

void SalesScreen::focusNumber() {
    if (state_.modoEspecial) {
        special_->focusNumber();
    } else {
        enterField(numeroJugar_);
    }
}

void SalesScreen::invertLotterySelection() {
    invertSelection(lLoterias_);
}

void SalesScreen::toggleAmountUnit() {
    state_.montobsf = !state_.montobsf;
    showAmountUnit();
}

void SalesScreen::showAmountUnit() {
    label8_->setText(amountUnitCaption(state_.montobsf));
    image1_->setPixmap(QPixmap(state_.montobsf ? u":/imgs/bsf2.jpg"_s : u":/imgs/bsn2.jpg"_s));
}

void SalesScreen::enterSpecialMode() {
    const auto& plays = state_.especiales.plays();
    if (plays.empty() || !special_->fill(plays.front(), state_.especiales, state_.rsloterias,
                                         state_.loteriascerradas)) {
        dialogs().message(
            DialogIcon::Information, kTituloPuntoVenta,
            u"Usted No tiene Jugadas Especiales Asignadas para Vender!... Revise Por Favor..."_s);
        return;
    }
    entryRow_->hide();
    numUltick_->hide();
    montoUltick_->hide();
    special_->show();
    state_.modoEspecial = true;
    special_->focusLotteries();
}

void SalesScreen::leaveSpecialMode() {
    special_->hide();
    special_->clearEntry();
    numUltick_->show();
    montoUltick_->show();
    entryRow_->show();
    const bool wasSpecial = state_.modoEspecial;
    state_.modoEspecial = false;
    if (!wasSpecial) return;
    if (lLoterias_->selectedItems().isEmpty()) {
        lLoterias_->setFocus(Qt::OtherFocusReason);
    } else {
        enterField(numeroJugar_);
    }
}

void SalesScreen::openHelp() {
    const QString path = deps_.link.installation().helpPath();
    if (!QFileInfo::exists(path)) {
        dialogs().message(DialogIcon::Information, kTituloPuntoVenta,
                          u"No se encuentra el archivo de ayuda "_s + path);
        return;
    }
    if (!deps_.launcher.openDocument(path)) {
        dialogs().message(DialogIcon::Information, kTituloPuntoVenta,
                          u"No se pudo abrir el archivo de ayuda "_s + path);
    }
}

void SalesScreen::timerTick() {
    if (++state_.ticks >= 5) {
        state_.ticks = 0;
        readMessages(false);
    }
}

// leemensajesnuevos at the timer, and on demand (F10, XPButton20), where no message is said.
void SalesScreen::readMessages(bool onDemand) {
    const auto lines = leemensajesnuevos(deps_.link);
    if (!lines) return;
    if (lines->isEmpty()) {
        if (onDemand) {
            dialogs().message(DialogIcon::Information, kTituloPuntoVenta,
                              u"No Hay Mensajes nuevos por leer..."_s);
        }
        return;
    }
    showMessageLines(*lines);
}

void SalesScreen::showMessageLines(const QStringList& lines) {
    // an open window takes the new lines; a closed one is on its way out
    if (!messages_ || !messages_->isVisible()) messages_ = new MessageWindow(this);
    messages_->addLines(lines);
    messages_->open();
    pendingMessages_.clear();
}

void SalesScreen::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // a kiosk has no window manager to give the window the keyboard
    activateWindow();
    if (!pendingMessages_.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            if (!pendingMessages_.isEmpty()) showMessageLines(pendingMessages_);
        });
    }
}

void SalesScreen::closeEvent(QCloseEvent* event) {
    timer1_->stop();
    cleanJournals(deps_.link.installation().journalFolder, deps_.clock.now().date());
    event->accept();
    deps_.programEnd.end();
}

}  // namespace vendura
