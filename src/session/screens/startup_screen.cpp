#include "session/screens/startup_screen.h"

#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "session/installation.h"
#include "session/screens/focus_colours.h"
#include "session/screens/named.h"
#include "session/server_discovery.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/shutdown.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace vendura {
namespace {

constexpr Qt::KeyboardModifiers kHiddenToggle =
    Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;

}  // namespace

StartupScreen::StartupScreen(ServerLink& link, Launcher& launcher, ProgramEnd& programEnd,
                             HttpDownload& http, std::function<void()> openSales, QWidget* parent)
    : QMainWindow(parent),
      link_(link),
      launcher_(launcher),
      programEnd_(programEnd),
      login_(link, launcher, programEnd),
      refresh_(std::make_unique<ServerListRefresh>(http, link.installation())),
      openSales_(std::move(openSales)) {
    setObjectName(u"StartupScreen"_s);
    setWindowTitle(u"Bienvenidos a Kalvora - PUNTO DE VENTA"_s);
    buildControls();
    loadConfiguration();
}

StartupScreen::~StartupScreen() = default;

void StartupScreen::buildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* banner =
        named(new QLabel(u"SOFTWARE ON LINE PARA CENTROS DE APUESTAS DE LOTERIAS"_s), "Banner");
    QFont bannerFont = banner->font();
    bannerFont.setPointSize(bannerFont.pointSize() + 4);
    bannerFont.setBold(true);
    banner->setFont(bannerFont);
    banner->setAlignment(Qt::AlignCenter);
    banner->setWordWrap(true);
    banner->setStyleSheet(u"background: #17365d; color: white; padding: 14px;"_s);
    layout->addWidget(banner);

    auto* grid = new QGridLayout;
    text1_ = named(new QLineEdit, "Text1");
    text1_->setMaxLength(5);
    text2_ = named(new QLineEdit, "Text2");
    text2_->setMaxLength(10);
    text2_->setEchoMode(QLineEdit::Password);
    grid->addWidget(named(new QLabel(u"Usuario:"_s), "Label1"), 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(named(new QLabel(u"Clave:"_s), "Label2"), 1, 0);
    grid->addWidget(text2_, 1, 1);
    layout->addLayout(grid);

    frame1_ = named(new QFrame, "Frame1");
    frame1_->setFrameShape(QFrame::StyledPanel);
    auto* frameGrid = new QGridLayout(frame1_);
    text3_ = named(new QComboBox, "Text3");
    text3_->setEditable(true);
    text3_->setInsertPolicy(QComboBox::NoInsert);
    text3_->lineEdit()->setMaxLength(60);
    text4_ = named(new QLineEdit, "Text4");
    text4_->setMaxLength(60);
    label3_ = named(new QLabel(u"Servidor:"_s), "Label3");
    label4_ = named(new QLabel(u"Base de Datos:"_s), "Label4");
    frameGrid->addWidget(label3_, 0, 0);
    frameGrid->addWidget(text3_, 0, 1);
    frameGrid->addWidget(label4_, 1, 0);
    frameGrid->addWidget(text4_, 1, 1);
    layout->addWidget(frame1_);

    auto* buttons = new QHBoxLayout;
    auto* iniciar = named(new QPushButton(u"Iniciar"_s), "Command1");
    auto* terminar = named(new QPushButton(u"Terminar"_s), "Command2");
    auto* conectar = named(new QPushButton(u"Conectar"_s), "Command3");
    auto* salir = named(new QPushButton(u"Salir"_s), "XPButton3");
    auto* apagar = named(new QPushButton(u"Apagar"_s), "XPButton1");
    auto* reiniciar = named(new QPushButton(u"Reiniciar"_s), "XPButton2");
    for (QPushButton* b : {iniciar, terminar, conectar, salir, apagar, reiniciar}) {
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    buscaIp_ = named(new QPushButton(u"Busca Servidores en la Red"_s), "busca_ip");
    label7_ = named(new QLabel(u"Espere Buscando Servidores...."_s), "Label7");
    label7_->hide();
    auto* search = new QHBoxLayout;
    search->addWidget(buscaIp_);
    search->addWidget(label7_);
    search->addStretch();
    layout->addLayout(search);

    setCentralWidget(central);
    setMinimumWidth(620);
    auto* bar = named(new QStatusBar, "StatusBar1");
    bar->showMessage(u"Kalvora On Line - PUNTO DE VENTA"_s);
    setStatusBar(bar);

    connect(iniciar, &QPushButton::clicked, this, &StartupScreen::iniciar);
    connect(terminar, &QPushButton::clicked, this, [this] { programEnd_.end(); });
    connect(salir, &QPushButton::clicked, this, [this] { programEnd_.end(); });
    connect(apagar, &QPushButton::clicked, this, [this] { confirmShutdown(1); });
    connect(reiniciar, &QPushButton::clicked, this, [this] { confirmShutdown(2); });
    connect(buscaIp_, &QPushButton::clicked, this, &StartupScreen::searchServers);

    const Session& s = link_.session();
    auto* colours = new FocusColours(s.ColorFoco, s.ColorNormal, this);
    for (QWidget* w : std::initializer_list<QWidget*>{text1_, text2_, text3_, text4_}) {
        colours->watch(w, true);
    }
    colours->watch(text3_->lineEdit(), true);
    for (QWidget* w : central->findChildren<QWidget*>()) w->installEventFilter(this);
}

void StartupScreen::loadConfiguration() {
    fields_ = LoadConfiguration(link_.session(), link_.installation());
    text3_->clear();
    text3_->addItems(fields_.servers);
    text1_->setText(fields_.user);
    text2_->clear();
    text3_->setEditText(fields_.server);
    text4_->setText(fields_.database);
    // a first installation types its server and database; later ones keep them out of sight
    // and locked against typing, though a listed server can still be chosen once shown
    setConnectionFieldsVisible(!fields_.fileExists);
    setConnectionFieldsEditable(!fields_.fileExists);
}

void StartupScreen::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // a kiosk has no window manager to give the window the keyboard
    activateWindow();
    if (text1_->text().isEmpty()) {
        text1_->setFocus(Qt::OtherFocusReason);
    } else {
        text2_->setFocus(Qt::OtherFocusReason);
    }
}

void StartupScreen::setConnectionFieldsVisible(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{frame1_, label3_, label4_, text3_, text4_}) {
        w->setVisible(visible);
    }
}

void StartupScreen::setConnectionFieldsEditable(bool editable) {
    editable_ = editable;
    text3_->lineEdit()->setReadOnly(!editable);
    text4_->setReadOnly(!editable);
}

bool StartupScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & kHiddenToggle) == kHiddenToggle) {
            if (key->key() == Qt::Key_F2) {
                setConnectionFieldsVisible(!frame1_->isVisible());
                return true;
            }
            if (key->key() == Qt::Key_F8) {
                setConnectionFieldsEditable(!editable_);
                return true;
            }
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            iniciar();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void StartupScreen::iniciar() {
    // a refresh that answered during or after the login would end the program over the sales
    // screen
    if (refresh_->running()) {
        refresh_->cancel();
        label7_->hide();
        buscaIp_->setEnabled(true);
    }
    const LoginFields fields{text1_->text(), text2_->text(), text3_->currentText(), text4_->text()};
    switch (login_.run(fields, fields_.fileExists, fields_.ipEnganche)) {
        case LoginOutcome::StayFocusUser:
            text1_->setFocus(Qt::OtherFocusReason);
            break;
        case LoginOutcome::OpenSales:
            if (openSales_) openSales_();
            close();
            break;
        case LoginOutcome::Stay:
        case LoginOutcome::Ended:
            break;
    }
}

void StartupScreen::confirmShutdown(int mode) {
    const QString text =
        mode == 1 ? u"Desea en realidad apagar?"_s : u"Desea en realidad reiniciar?"_s;
    if (!link_.dialogs().question(DialogIcon::Question, kTituloAtencion, text)) return;
    ShutdownSystem(mode == 1 ? ShutdownMode::PowerOff : ShutdownMode::Restart, launcher_,
                   link_.dialogs(), programEnd_);
}

void StartupScreen::searchServers() {
    label7_->show();
    buscaIp_->setEnabled(false);
    refresh_->start(fields_.updateHost, [this](Result<void> done) {
        label7_->hide();
        buscaIp_->setEnabled(true);
        if (!done) {
            reportCallFailure(link_.dialogs(), done.error());
            return;
        }
        link_.dialogs().message(
            DialogIcon::Information, kTituloAtencion,
            u"La busqueda ha sido exitosa!, la aplicación se cerrará automaticamente, por favor "
            u"vuelva a ejecutarla, para que pueda ver la lista de servidores actualizada haga "
            u"clic en la flecha que apunta hacia abajo"_s);
        programEnd_.end();
    });
}

}  // namespace vendura
