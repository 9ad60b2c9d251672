#include "sales/screens/sales_screen.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "sales/amount_entry.h"
#include "sales/lottery_catalog.h"
#include "sales/play_seller.h"
#include "session/installation.h"
#include "session/permissions.h"
#include "session/screens/focus_colours.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/text.h"
#include "tickets/journal.h"
#include "tickets/ticket_issue.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

static void initSalesImages() {
    Q_INIT_RESOURCE(sales_images);
}

namespace vendura {
namespace {

const QString kHelpPanel =
    u"PUNTO DE VENTA FISCAL -> USE « Esc » para Imprimir El TICKET, o F1 para ayuda"_s;

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QChar typedChar(const QKeyEvent* key) {
    const QString text = key->text();
    return text.size() == 1 ? text[0] : QChar();
}

}  // namespace

SalesScreen::SalesScreen(SalesScreenDeps deps, QWidget* parent)
    : QMainWindow(parent), deps_(deps), model_(this) {
    initSalesImages();
    setObjectName(u"Form1"_s);
    setWindowTitle(u"KALVORA ON LINE - PUNTO DE VENTA"_s);
    buildControls();
}

SalesScreen::~SalesScreen() = default;

void SalesScreen::buildControls() {
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);

    auto* left = new QVBoxLayout;
    auto* label1 = named(new QLabel(u"Loterías (*) "_s), "Label1");
    label1->setToolTip(u"Clic o «*»: invertir la selección"_s);
    lLoterias_ = named(new QListWidget, "L_Loterias");
    lLoterias_->setSelectionMode(QAbstractItemView::MultiSelection);
    lLoterias_->setMinimumWidth(280);
    QFont listFont = lLoterias_->font();
    listFont.setPointSize(listFont.pointSize() + 2);
    lLoterias_->setFont(listFont);
    left->addWidget(label1);
    left->addWidget(lLoterias_);
    outer->addLayout(left, 2);

    auto* middle = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    image1_ = named(new QLabel, "Image1");
    label8_ = named(new QLabel, "Label8");
    top->addWidget(image1_);
    top->addWidget(label8_);
    top->addStretch();
    top->addWidget(new QLabel(u"Último Ticket:"_s));
    numUltick_ = named(new QLabel, "NUM_ULTICK");
    montoUltick_ = named(new QLabel, "MONTO_ULTICK");
    top->addWidget(numUltick_);
    top->addWidget(new QLabel(u"Bs.F.:"_s));
    top->addWidget(montoUltick_);
    middle->addLayout(top);

    cerradopv_ = named(new QLabel(u"PUNTO DE VENTA CERRADO"_s), "CERRADOPV");
    cerradopv_->setAlignment(Qt::AlignCenter);
    cerradopv_->setStyleSheet(
        u"color: white; background: #b00020; font-size: 20pt; font-weight: bold;"_s);
    cerradopv_->hide();
    middle->addWidget(cerradopv_);

    auto* entry = new QHBoxLayout;
    numeroJugar_ = named(new QLineEdit, "NumeroJugar");
    numeroJugar_->setMaxLength(3);
    numeroJugar_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,3}"_s), numeroJugar_));
    montoJugada_ = named(new QLineEdit, "MONTO_JUGADA");
    montoJugada_->setMaxLength(15);
    montoJugada_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*[.,]?[0-9]*"_s), montoJugada_));
    QFont big = numeroJugar_->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    numeroJugar_->setFont(big);
    montoJugada_->setFont(big);
    entry->addWidget(new QLabel(u"Número:"_s));
    entry->addWidget(numeroJugar_);
    entry->addWidget(new QLabel(u"Monto:"_s));
    entry->addWidget(montoJugada_);
    middle->addLayout(entry);

    frame2_ = named(new QGroupBox, "Frame2");
    auto* special = new QGridLayout(frame2_);
    list1_ = named(new QListWidget, "List1");
    list1_->setSelectionMode(QAbstractItemView::MultiSelection);
    list2_ = named(new QListWidget, "List2");
    list2_->setSelectionMode(QAbstractItemView::MultiSelection);
    numero_ = named(new QLineEdit, "Numero");
    numero_->setMaxLength(3);
    monto_ = named(new QLineEdit, "Monto");
    special->addWidget(named(new QLabel(u"Loterías"_s), "Label3"), 0, 0);
    special->addWidget(named(new QLabel(u"Jugadas"_s), "Label4"), 0, 1);
    special->addWidget(list1_, 1, 0);
    special->addWidget(list2_, 1, 1);
    special->addWidget(named(new QLabel(u"Siguiente jugada"_s), "Label6"), 2, 1);
    special->addWidget(numero_, 3, 0);
    special->addWidget(monto_, 3, 1);
    frame3_ = named(new QGroupBox, "Frame3");
    auto* options = new QHBoxLayout(frame3_);
    options->addWidget(named(new QRadioButton(u"(N)ormal"_s), "ESPNORMAL"));
    options->addWidget(named(new QRadioButton(u"(P)ermuta"_s), "ESPEPERMUTA"));
    options->addWidget(named(new QRadioButton(u"(S)eries"_s), "ESPESERIES"));
    options->addWidget(named(new QPushButton(u"(M) Terminales"_s), "Esterminal"));
    special->addWidget(frame3_, 4, 0, 1, 2);
    frame2_->hide();
    middle->addWidget(frame2_);

    lTicket_ = named(new QTableView, "L_ticket");
    lTicket_->setModel(&model_);
    lTicket_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lTicket_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lTicket_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lTicket_->verticalHeader()->hide();
    lTicket_->verticalHeader()->setDefaultSectionSize(22);
    lTicket_->horizontalHeader()->setStretchLastSection(true);
    lTicket_->setColumnWidth(TicketModel::Num, 60);
    lTicket_->setColumnWidth(TicketModel::Loterias, 220);
    lTicket_->setColumnWidth(TicketModel::Monto, 110);
    lTicket_->setColumnWidth(TicketModel::Jugada, 120);
    middle->addWidget(lTicket_, 1);

    auto* total = new QHBoxLayout;
    total->addStretch();
    total->addWidget(new QLabel(u"Total Ticket Bs.F.:"_s));
    totTicket_ = named(new QLabel, "TOT_TICKET");
    totTicket_->setFont(big);
    totTicket_->setMinimumWidth(160);
    totTicket_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    total->addWidget(totTicket_);
    middle->addLayout(total);
    outer->addLayout(middle, 6);

    auto* right = new QWidget;
    buildButtons(right);
    outer->addWidget(right, 2);
    setCentralWidget(central);

    auto* bar = named(new QStatusBar, "StatusBar1");
    panelUser_ = new QLabel(kHelpPanel);
    panelTicket_ = new QLabel;
    bar->addWidget(panelUser_, 3);
    bar->addWidget(panelTicket_, 2);
    bar->addPermanentWidget(new QLabel(u"Esc: imprimir ticket  F1: ayuda"_s));
    setStatusBar(bar);

    timer1_ = named(new QTimer(this), "Timer1");
    timer1_->setInterval(60000);
    connect(timer1_, &QTimer::timeout, this, &SalesScreen::timerTick);

    const Session& s = deps_.link.session();
    colours_ = new FocusColours(s.ColorFoco, s.ColorNormal, this);
    colours_->watch(numeroJugar_, false);
    colours_->watch(montoJugada_, true);
    colours_->watch(lLoterias_, false);
    colours_->watch(numero_, false);
    colours_->watch(monto_, true);
    colours_->watch(list1_, false);
    colours_->watch(list2_, false);

    label1->installEventFilter(this);
    label8_->installEventFilter(this);
    for (QWidget* w : central->findChildren<QWidget*>()) w->installEventFilter(this);
    resize(1180, 720);
}

void SalesScreen::buildButtons(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    command1_ = named(new QPushButton(u"Z-Jugadas Especiales"_s), "Command1");
    layout->addWidget(command1_);
    for (const CommandButton& button : commandButtons()) {
        auto* b = named(new QPushButton(QString::fromUtf8(button.caption)), button.name);
        b->setProperty("permiso", QString::fromLatin1(button.permiso));
        b->setFocusPolicy(Qt::NoFocus);
        buttons_.insert(QString::fromLatin1(button.name), b);
        layout->addWidget(b);
        const SalesCommand command = button.command;
        const QString jugada = button.jugada ? QString::fromUtf8(button.jugada) : QString();
        const bool guarded = button.permiso[0] != '\0';
        connect(b, &QPushButton::clicked, this, [this, b, command, jugada, guarded] {
            if (!jugada.isEmpty()) state_.jugadaactual = jugada;
            if (command == SalesCommand::Terminales && !model_.total().isPositive()) {
                deps_.link.dialogs().message(
                    DialogIcon::Information, kTituloPuntoVenta,
                    u"No Hay Triples para Vender los Terminales... Verifique por Favor"_s);
                return;
            }
            if (guarded) {
                runGuarded(command, b);
            } else {
                run(command);
            }
        });
    }
    for (const auto& [name, caption] :
         {std::pair{"XPButton18", "D-"}, std::pair{"XPButton22", "/-"}}) {
        auto* b = named(new QPushButton(QString::fromLatin1(caption)), name);
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
        buttons_.insert(QString::fromLatin1(name), b);
        layout->addWidget(b);
    }
    auto* option3 = named(new QRadioButton(u"(E)liminar jugadas"_s), "Option3");
    connect(option3, &QRadioButton::clicked, this, [this] {
        state_.jugadaactual = u"sEguidillas"_s;
        run(SalesCommand::EliminarPorLoteria);
    });
    auto* option4 = named(new QRadioButton(u"(R)epetir x Loteria"_s), "Option4");
    connect(option4, &QRadioButton::clicked, this, [this] {
        if (!model_.total().isPositive()) return;
        state_.jugadaactual = u"Repetir x loteria"_s;
        run(SalesCommand::RepetirPorLoteria);
    });
    for (QRadioButton* o : {option3, option4}) o->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(option3);
    layout->addWidget(option4);
    layout->addStretch();
}

void SalesScreen::load() {
    Session& s = deps_.link.session();
    state_.montobsf = false;
    showAmountUnit();
    lookForMessages();

    s.FechaTicket.clear();
    s.HoraTicket.clear();
    s.ClienteCedula.clear();
    s.ClienteNombre.clear();
    state_.ticks = 0;
    state_.modoEspecial = false;
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
    if (especiales) state_.especiales = especiales.value().rows;
    auto detalles = db->exec(u"DSPjugadeta"_s);
    if (detalles) state_.detallesEspeciales = detalles.value().rows;
    if (!especiales || !detalles) {
        handleCallFailure(deps_.link, especiales ? detalles.error() : especiales.error());
    }
    if (state_.especiales.size() > 0) {
        command1_->setText(u"Z-"_s + state_.especiales.text(0, u"especial"_s).trimmed() + u" "_s +
                           state_.especiales.text(0, u"descripcion"_s).trimmed());
    }
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
}

void SalesScreen::setUserPanel(const QString& text) {
    panelUser_->setText(text);
}

QString SalesScreen::userPanel() const {
    return panelUser_->text();
}

void SalesScreen::updateTicketPanel() {
    panelTicket_->setText(u"Venta del Ticket #: "_s + state_.nticket);
}

QStringList SalesScreen::selectedLotteryEntries() const {
    QStringList entries;
    for (int i = 0; i < lLoterias_->count(); ++i) {
        if (lLoterias_->item(i)->isSelected()) entries << lLoterias_->item(i)->text();
    }
    return entries;
}

void SalesScreen::recomputeTotal() {
    totTicket_->setText(model_.total().display());
}

void SalesScreen::enviarfoco() {
    if (!lLoterias_->selectedItems().isEmpty()) numeroJugar_->setFocus(Qt::OtherFocusReason);
}

void SalesScreen::invertLotterySelection() {
    for (int i = 0; i < lLoterias_->count(); ++i) {
        lLoterias_->item(i)->setSelected(!lLoterias_->item(i)->isSelected());
    }
}

void SalesScreen::toggleAmountUnit() {
    state_.montobsf = !state_.montobsf;
    showAmountUnit();
}

void SalesScreen::showAmountUnit() {
    label8_->setText(amountUnitCaption(state_.montobsf));
    image1_->setPixmap(QPixmap(state_.montobsf ? u":/imgs/bsf2.jpg"_s : u":/imgs/bsn2.jpg"_s));
}

void SalesScreen::applySale(const SaleOutcome& outcome) {
    model_.append(outcome.rows);
    numeroJugar_->clear();
    showSaleMessages(deps_.link.dialogs(), outcome);
    if (!outcome.closedCodes.isEmpty()) {
        state_.loteriascerradas += outcome.closedCodes;
        for (qsizetype at = 0; at + 3 <= outcome.closedCodes.size(); at += 3) {
            const QString code = outcome.closedCodes.mid(at, 3).trimmed();
            for (int i = lLoterias_->count() - 1; i >= 0; --i) {
                if (entryCode(lLoterias_->item(i)->text()) == code) delete lLoterias_->takeItem(i);
            }
        }
    }
    if (model_.rowCount() > 0) {
        lTicket_->scrollToBottom();
        numeroJugar_->setFocus(Qt::OtherFocusReason);
    }
    recomputeTotal();
}

void SalesScreen::sellStraightPlay() {
    Session& s = deps_.link.session();
    Dialogs& dialogs = deps_.link.dialogs();
    state_.jugadaactual = u"Venta Normal"_s;
    typedAmount_ = montoJugada_->text();
    const QString numero = numeroJugar_->text().trimmed();
    if (numero.isEmpty()) {
        numeroJugar_->setFocus(Qt::OtherFocusReason);
        return;
    }
    auto amount = amountToSend(typedAmount_, state_.montobsf, 9);
    if (!amount) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"Monto inválido: "_s + amount.error().description);
        montoJugada_->selectAll();
        return;
    }
    const QStringList selected = selectedLotteryEntries();
    const QString codes = codeList(selected);
    if (codes.size() > 500) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"Hay demasiadas loterías seleccionadas para una sola jugada."_s);
        return;
    }
    std::vector<PlannedItem> items;
    for (const QString& entry : selected)
        items.push_back({entry, markNumber(numero), amount.value()});
    const ProcedureCall call = xcreanormal(s.CodVendedor, s.Usuario, numero, amount.value(),
                                           state_.NUM_ITEM, codes, state_.nticket);
    auto outcome = sellPlay(deps_.link, state_, call, items, u"1"_s);
    if (!outcome) return;
    applySale(*outcome);
    montoJugada_->setText(typedAmount_);
    recomputeTotal();
}

void SalesScreen::runGuarded(SalesCommand command, QPushButton* button) {
    if (!validapermiso(deps_.link.session(), button->property("permiso").toString())) {
        deps_.link.dialogs().message(DialogIcon::Information, kTituloAtencion,
                                     u"Permiso de acceso denegado"_s);
        return;
    }
    run(command);
}

void SalesScreen::run(SalesCommand command) {
    deps_.actions.run(command, *this);
}

void SalesScreen::lookForMessages() {
    run(SalesCommand::MensajesNuevos);
}

void SalesScreen::timerTick() {
    if (++state_.ticks >= 5) {
        state_.ticks = 0;
        lookForMessages();
    }
}

void SalesScreen::leaveSpecialMode() {
    frame2_->hide();
    numUltick_->show();
    montoUltick_->show();
    numero_->clear();
    monto_->clear();
    numeroJugar_->show();
    montoJugada_->show();
    state_.modoEspecial = false;
}

bool SalesScreen::functionKey(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (key->key() == Qt::Key_F1) {
        deps_.launcher.openDocument(deps_.link.installation().helpPath());
        return true;
    }
    if (key->key() == Qt::Key_F9) {
        toggleAmountUnit();
        return true;
    }
    if (const FunctionKeyCommand* f = functionKeyCommand(key->key())) {
        runGuarded(f->command, buttons_.value(QString::fromLatin1(f->button)));
        return true;
    }
    return false;
}

bool SalesScreen::formKey(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (state_.modoEspecial) {
        const QChar c = typedChar(key).toUpper();
        if (key->key() == Qt::Key_Escape) {
            leaveSpecialMode();
        } else if (c == u'J') {
            list2_->setFocus(Qt::OtherFocusReason);
        } else if (c == u'L') {
            list1_->setFocus(Qt::OtherFocusReason);
        } else if (c == u'N') {
            numero_->setFocus(Qt::OtherFocusReason);
        } else if (c == u'P') {
            run(SalesCommand::EspecialPermuta);
        } else if (c == u'S') {
            run(SalesCommand::EspecialSerie);
        } else if (c == u'M') {
            run(SalesCommand::EspecialTerminal);
        } else if (c == u'+' || c == u'-') {
            const int row =
                qBound(0, list2_->currentRow() + (c == u'+' ? 1 : -1), list2_->count() - 1);
            list2_->setCurrentRow(row);
            numero_->setFocus(Qt::OtherFocusReason);
        } else if (c == u'*') {
            for (int i = 0; i < list1_->count(); ++i) {
                list1_->item(i)->setSelected(!list1_->item(i)->isSelected());
            }
        } else {
            return false;
        }
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        if (deps_.link.session().ModoTrabajo == u"0"_s) {
            imprimeTicket();
        } else {
            run(SalesCommand::EliminarPorLoteria);
        }
        return true;
    }
    const QChar c = typedChar(key).toUpper();
    if (c.isNull()) return false;
    if (c == u'*') {
        invertLotterySelection();
        return true;
    }
    if (c == u'L') {
        lLoterias_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (c == u'Z') return true;
    if (const LetterCommand* l = letterCommand(c)) {
        if (l->jugada) state_.jugadaactual = QString::fromUtf8(l->jugada);
        run(l->command);
        return true;
    }
    return false;
}

bool SalesScreen::lotteryListKey(QKeyEvent* key) {
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Space) {
        const int row = lLoterias_->currentRow();
        if (row >= 0) lLoterias_->item(row)->setSelected(!lLoterias_->item(row)->isSelected());
        if (row + 1 < lLoterias_->count()) {
            lLoterias_->selectionModel()->setCurrentIndex(lLoterias_->model()->index(row + 1, 0),
                                                          QItemSelectionModel::NoUpdate);
        }
        return true;
    }
    if (isEnter(key)) {
        enviarfoco();
        return true;
    }
    if (numberFieldAccepts(c)) {
        numeroJugar_->setFocus(Qt::OtherFocusReason);
        numeroJugar_->setText(c);
        numeroJugar_->setCursorPosition(1);
        return true;
    }
    if (key->key() == Qt::Key_Backspace || c.isNull()) return false;
    return true;
}

bool SalesScreen::numberKey(QKeyEvent* key) {
    if (isEnter(key)) {
        if (!numeroJugar_->text().trimmed().isEmpty()) montoJugada_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    const QChar c = typedChar(key);
    if (key->key() == Qt::Key_Backspace || c.isNull() || !c.isPrint()) return false;
    return !numberFieldAccepts(c);
}

bool SalesScreen::amountKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up) {
        numeroJugar_->setFocus(Qt::OtherFocusReason);
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
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (functionKey(key)) return true;
    if (closed_ && key->key() != Qt::Key_Escape) return false;
    if (formKey(key)) return true;
    if (watched == lLoterias_) return lotteryListKey(key);
    if (watched == numeroJugar_) return numberKey(key);
    if (watched == montoJugada_) return amountKey(key);
    return false;
}

void SalesScreen::imprimeTicket() {
    TicketIssue issue(deps_.link, deps_.printers, deps_.random, deps_.clock,
                      deps_.link.installation().journalFolder);
    const IssueOutcome outcome = issue.IMPRIMETICK22(model_.rows(), state_.nticket, userPanel());
    if (outcome.kind == IssueOutcome::Nothing || outcome.kind == IssueOutcome::PrinterNotReady) {
        return;
    }
    if (!outcome.ticketNumber.isEmpty()) numUltick_->setText(outcome.ticketNumber);
    if (outcome.nextTicket.isEmpty()) return;
    state_.nticket = outcome.nextTicket;
    deps_.link.session().NroTicketTmp = outcome.nextTicket;
    updateTicketPanel();
    if (outcome.kind == IssueOutcome::Refused) return;

    montoUltick_->setText(outcome.kind == IssueOutcome::Issued ? outcome.issuedTotal.display()
                                                               : u"0"_s);
    model_.clear();
    totTicket_->setText(u"0"_s);
    state_.claveTicket = QString::number(deps_.random.ticketNumber());
    state_.jugadaactual = u"Venta Normal"_s;
    list1_->clearSelection();
    list2_->clearSelection();
    if (outcome.kind == IssueOutcome::Issued && deps_.link.session().ScreenVuelto == u"1"_s) {
        run(SalesCommand::Vuelto);
    }
}

void SalesScreen::closeEvent(QCloseEvent* event) {
    timer1_->stop();
    cleanJournals(deps_.link.installation().journalFolder, deps_.clock.now().date());
    event->accept();
    deps_.programEnd.end();
}

}  // namespace vendura
