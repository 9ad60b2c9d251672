#include "platform/dialogs.h"
#include "sales/screens/sales_screen.h"
#include "sales/screens/special_play_panel.h"
#include "session/screens/focus_colours.h"
#include "session/screens/named.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QHBoxLayout>
#include <QHeaderView>
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

namespace vendura {

void SalesScreen::buildControls() {
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    const Session& s = deps_.link.session();
    colours_ = new FocusColours(s.ColorFoco, s.ColorNormal, this);

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
    label8_->setMinimumWidth(label8_->fontMetrics().horizontalAdvance(u"F9 - Monto Bs.F. "_s));
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

    entryRow_ = new QWidget;
    auto* entry = new QHBoxLayout(entryRow_);
    entry->setContentsMargins(0, 0, 0, 0);
    numeroJugar_ = named(new QLineEdit, "NumeroJugar");
    numeroJugar_->setMaxLength(3);
    numeroJugar_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,3}"_s), numeroJugar_));
    montoJugada_ = named(new QLineEdit, "MONTO_JUGADA");
    montoJugada_->setMaxLength(15);
    montoJugada_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*[.]?[0-9]*"_s), montoJugada_));
    QFont big = numeroJugar_->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    numeroJugar_->setFont(big);
    montoJugada_->setFont(big);
    entry->addWidget(new QLabel(u"Número:"_s));
    entry->addWidget(numeroJugar_);
    entry->addWidget(new QLabel(u"Monto:"_s));
    entry->addWidget(montoJugada_);
    middle->addWidget(entryRow_);

    special_ = new SpecialPlayPanel(*this, *colours_);
    special_->hide();
    middle->addWidget(special_);

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
    lTicket_->setColumnWidth(TicketModel::Especiales, 160);
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
    outer->addWidget(buildButtons(), 2);
    setCentralWidget(central);

    auto* bar = named(new QStatusBar, "StatusBar1");
    panelUser_ = new QLabel;
    panelTicket_ = new QLabel;
    panelKeys_ = new QLabel;
    bar->addWidget(panelUser_, 3);
    bar->addWidget(panelTicket_, 2);
    bar->addPermanentWidget(panelKeys_);
    setStatusBar(bar);

    timer1_ = named(new QTimer(this), "Timer1");
    timer1_->setInterval(60000);
    connect(timer1_, &QTimer::timeout, this, &SalesScreen::timerTick);

    colours_->watch(numeroJugar_, false);
    colours_->watch(montoJugada_, true);
    colours_->watch(lLoterias_, false);
    colours_->watch(lTicket_, false);
    for (QWidget* w : central->findChildren<QWidget*>()) w->installEventFilter(this);
    resize(1180, 760);
}

QWidget* SalesScreen::buildButtons() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    command1_ = named(new QPushButton(u"Z-Jugadas Especiales"_s), "Command1");
    command1_->setFocusPolicy(Qt::NoFocus);
    connect(command1_, &QPushButton::clicked, this,
            [this] { run(SalesCommand::JugadasEspeciales); });
    layout->addWidget(command1_);
    for (const CommandButton& button : commandButtons()) {
        auto* b = named(new QPushButton(QString::fromUtf8(button.caption)), button.name);
        b->setProperty("permiso", QString::fromLatin1(button.permiso));
        b->setFocusPolicy(Qt::NoFocus);
        buttons_.insert(QString::fromLatin1(button.name), b);
        layout->addWidget(b);
        const SalesCommand command = button.command;
        const QString name = QString::fromLatin1(button.name);
        const QString jugada = button.jugada ? QString::fromUtf8(button.jugada) : QString();
        connect(b, &QPushButton::clicked, this, [this, command, name, jugada] {
            if (command == SalesCommand::Terminales && !model_.total().isPositive()) {
                dialogs().message(
                    DialogIcon::Information, kTituloPuntoVenta,
                    u"No Hay Triples para Vender los Terminales... Verifique por Favor"_s);
                return;
            }
            if (!jugada.isEmpty()) state_.jugadaactual = jugada;
            runGuarded(command, name);
        });
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
    for (QRadioButton* o : {option3, option4}) {
        o->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(o);
    }
    layout->addStretch();
    return panel;
}

}  // namespace vendura
