#include "logged_in.h"
#include "platform/files.h"
#include "platform/http_download.h"
#include "platform/profile_file.h"
#include "screen_helpers.h"
#include "session/database_account.h"
#include "session/screens/startup_screen.h"
#include "session/server_link.h"
#include "tiny_http_server.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

const auto kAllThree = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
const QStringList kConnectionFailure{
    u"No se puede Conectar con el Servidor de Datos Remotos... Finalizando"_s,
    u"Ocurrieron Errores al Intentar Conectarse!... Finalizando el Sistema"_s};

// The start-up screen with a configuration that knows the test server, database and user.
class LoginScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        const ProfileFile ini(installation.iniPath());
        ini.write(u"Comunicaciones"_s, u"DIRIP_1"_s, Cluster::get().host);
        ini.write(u"Comunicaciones"_s, u"BDONLine"_s, db.name());
        ini.write(u"Usuario Actual"_s, u"Usuario"_s, u"1001"_s);
    }

    StartupScreen& open() {
        screen = std::make_unique<StartupScreen>(env.link, launcher, programEnd, http,
                                                 [this] { ++salesOpened; });
        screen->show();
        QApplication::setActiveWindow(screen.get());
        return *screen;
    }
    template <typename W = QLineEdit>
    W* field(const char* name) {
        return screen->findChild<W*>(QString::fromLatin1(name));
    }
    // Types the user and password and presses Enter in the password field.
    void loginWith(const QString& user, const QString& password) {
        retype(field("Text1"), user);
        retype(field("Text2"), password);
        QTest::keyClick(field("Text2"), Qt::Key_Return);
    }
    QStringList boxes() const { return test::boxes(dialogs); }
    TestDatabase db;
    LoggedIn env{db};
    Installation& installation = env.installation;
    Session& session = env.session;
    DialogRecorder& dialogs = env.dialogs;
    LauncherRecorder& launcher = env.launcher;
    ProgramEndRecorder& programEnd = env.programEnd;
    HttpDownload http;
    std::unique_ptr<StartupScreen> screen;
    int salesOpened = 0;
};

// With a configuration file the connection fields stay hidden until Ctrl+Alt+Shift+F2, and
// typing in them needs Ctrl+Alt+Shift+F8; a first installation shows them ready to type.
TEST_F(LoginScreenTest, ShowsItsControlsStartsOnThePasswordAndF2AndF8OpenTheConnectionFields) {
    ASSERT_TRUE(files::append(installation.serverListPath(), "central\r\n10.0.0.7\r\n").ok());
    StartupScreen& s = open();
    EXPECT_EQ((QStringList{s.windowTitle(), s.statusBar()->currentMessage(),
                           field<QLabel>("Banner")->text(), field<QPushButton>("busca_ip")->text(),
                           field("Text1")->text(), field("Text2")->text()}),
              (QStringList{u"Bienvenidos a Kalvora - PUNTO DE VENTA"_s,
                           u"Kalvora On Line - PUNTO DE VENTA"_s,
                           u"SOFTWARE ON LINE PARA CENTROS DE APUESTAS DE LOTERIAS"_s,
                           u"Busca Servidores en la Red"_s, u"1001"_s, QString()}));
    EXPECT_FALSE(field<QFrame>("Frame1")->isVisible());
    EXPECT_EQ(screen->focusWidget(), field("Text2"));
    field("Text1")->setText(QString(5000, u'9'));
    EXPECT_EQ(field("Text1")->text().size(), 5);

    // a listed server can be chosen, though nothing can be typed before F8
    auto* server = field<QComboBox>("Text3");
    QTest::keyClick(field("Text2"), Qt::Key_F2, kAllThree);
    EXPECT_TRUE(field<QFrame>("Frame1")->isVisible());
    server->setFocus();
    QTest::keyClick(server, Qt::Key_Down);
    QTest::keyClicks(server->lineEdit(), u"x"_s);
    QTest::keyClicks(field("Text4"), u"x"_s);
    EXPECT_EQ(server->currentText() + u' ' + field("Text4")->text(), u"10.0.0.7 "_s + db.name());
    QTest::keyClick(field("Text2"), Qt::Key_F8, kAllThree);
    QTest::keyClicks(server->lineEdit(), u"1"_s);
    EXPECT_EQ(server->currentText(), u"10.0.0.71"_s);
    QTest::keyClick(field("Text2"), Qt::Key_F2, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(field<QFrame>("Frame1")->isVisible());  // all three must be held
    QTest::keyClick(field("Text2"), Qt::Key_F2, kAllThree);
    EXPECT_FALSE(field<QFrame>("Frame1")->isVisible());

    ASSERT_TRUE(QFile::remove(installation.iniPath()));
    open();
    EXPECT_TRUE(field<QFrame>("Frame1")->isVisible());
    QTest::keyClicks(field<QComboBox>("Text3")->lineEdit(), u"10.0.0.9"_s);
    QTest::keyClicks(field("Text4"), u"vendura"_s);
    EXPECT_EQ(field<QComboBox>("Text3")->currentText() + u' ' + field("Text4")->text(),
              u"10.0.0.9 vendura"_s);
}

// A server name goes to the resolver: one longer than it takes is refused with its reason, an
// unknown one ends in the connection messages, a known one logs in. A failed call afterwards
// gets the common message, then the link is opened again.
TEST_F(LoginScreenTest, ALoginThroughAServerNameFillsTheSessionAndOpensTheSalesScreen) {
    open();
    auto server = [&](const QString& name) { field<QComboBox>("Text3")->setEditText(name); };
    server(u"servidor-central-de-la-red"_s);  // 26 characters
    loginWith(u"1001"_s, u"1234"_s);
    EXPECT_EQ(boxes(), QStringList{u"Critical|Atención!|El nombre del servidor "
                                   u"\"servidor-central-de-la-red\" tiene más de 20 caracteres: "
                                   u"escriba su dirección o un nombre de hasta 20 caracteres"_s});
    EXPECT_FALSE(session.Conexion);
    dialogs.clear();
    server(u"  servidor';--central0  "_s);  // twenty characters reach the resolver
    loginWith(u"1001"_s, u"1234"_s);
    EXPECT_EQ(session.Servidor, u"0"_s);
    EXPECT_EQ(dialogs.texts(), kConnectionFailure);

    dialogs.clear();
    server(u"central"_s);
    loginWith(u"1001"_s, u"1234"_s);
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(salesOpened, 1);
    const ProfileFile ini(installation.iniPath());
    EXPECT_EQ((QStringList{session.Servidor, session.CodVendedor, session.NombreVendedor,
                           session.NombreUsuario, session.Margen,
                           ini.read(u"Usuario Actual"_s, u"NombreUser"_s),
                           ini.read(u"Comunicaciones"_s, u"ModoTrabajo"_s)}),
              (QStringList{u"127.0.0.1"_s, u"00012"_s, u"AGENCIA LA FORTUNA"_s, u"ANA PEREZ"_s,
                           u"  "_s, u"ANA PEREZ"_s, u"0"_s}));
    EXPECT_EQ(session.NroTicketTmp.size(), 10);
    EXPECT_EQ(session.NroTicketTmp,
              db.value(u"SELECT nticket FROM central.tickets_temporales WHERE estado = 'ABI'"_s));
    EXPECT_EQ(programEnd.ends, 0);

    db.admin(
        u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        u"WHERE datname = current_database() AND usename <> 'postgres'"_s);
    ProcedureCall call{u"nregresaticket"_s, {}};
    call.in(u"@xcodigo_vend"_s, u"00012"_s, 5);
    auto lost = session.Conexion->call(call);
    ASSERT_FALSE(lost.ok());
    EXPECT_EQ(handleCallFailure(env.link, lost.error()), FailureHandling::Reported);
    auto unusable = session.Conexion->call(call);
    ASSERT_FALSE(unusable.ok());
    EXPECT_EQ(handleCallFailure(env.link, unusable.error()), FailureHandling::Reconnected);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(boxes()[0].startsWith(
        u"Information|Atención!|Ha ocurrido un error probablemente por la perdida de conexión con "
        u"el servidor por favor, salga de la aplicacion y vuelva a ingresar si el error persiste, "
        u"Gracias!. Error Número: -2147467259 Descripción: "_s));
    EXPECT_TRUE(session.Conexion->call(call).ok());
}

TEST_F(LoginScreenTest, AnUnusableAccountOrAHostileDatabaseNameEndsInTheConnectionMessages) {
    const QString good = db.cuentaBD();
    const std::pair<QString, QString> cases[] = {
        {QString(), db.name()},
        {u"!!no es base64!!"_s, db.name()},
        {u"c2luIHNhbHRv"_s, db.name()},
        {encodeAccount({db.account(u"00012"_s), u"otra-clave"_s}), db.name()},
        {encodeAccount({u"vendura_app"_s, u"kalvora-pv-1756"_s}), db.name()},
        {good, u"x\";User id=postgres;Password=\"'"_s}};
    for (const auto& [cuenta, base] : cases) {
        ProfileFile(installation.iniPath()).write(u"Comunicaciones"_s, u"CuentaBD"_s, cuenta);
        open();
        field("Text4")->setText(base);
        dialogs.clear();
        loginWith(u"1001"_s, u"1234"_s);
        EXPECT_EQ(dialogs.texts(), kConnectionFailure)
            << cuenta.toStdString() << base.toStdString();
    }
}

// Empty fields (refused before anything is sent), inactive, suspended, unknown or hostile users
// get their box between the wrong passwords and do not count toward the fifth, which ends.
TEST_F(LoginScreenTest, RefusedLoginsGetTheirBoxAndTheFifthWrongPasswordEndsTheProgram) {
    open();
    const QString atencion = u"Critical|Atención!|"_s;
    const QString denied = u"Critical|ZIZIZ OR ERAV|Acceso Denegado.. Intente de Nuevo..."_s;
    const std::tuple<const char*, const char*, QString> cases[] = {
        {"1001", "   ", atencion + u"Debe llenar todos los campos"_s},
        {"1001", "0000", denied},
        {"1002", "1234", atencion + u"Vendedor Inactivo!"_s},
        {"1001", "0000", denied},
        {"1003", "1234", atencion + u"Vendedor Suspendido!"_s},
        {"1001", "0000", denied},
        {"9999", "1234", atencion + u"Usuario no existe!"_s},
        {"1';--", "x' OR '1'='1", atencion + u"Usuario no existe!"_s},
        {"1001", "0000", denied}};
    for (const auto& [user, password, box] : cases) {
        dialogs.clear();
        loginWith(QString::fromLatin1(user), QString::fromLatin1(password));
        EXPECT_EQ(boxes(), QStringList{box}) << user;
        EXPECT_TRUE(!box.endsWith(u"campos"_s) || screen->focusWidget() == field("Text1"));
    }
    EXPECT_EQ(programEnd.ends, 0);
    loginWith(u"1001"_s, u" 1234"_s);  // blanks are part of the password
    EXPECT_EQ(dialogs.last().text, u"Acceso Denegado al Sistema.. Terminando..."_s);
    EXPECT_EQ(programEnd.ends, 1);
    EXPECT_EQ(salesOpened, 0);
}

// "1" offers the updater, "2" forces it, "3" offers it to sell and is remembered when declined.
TEST_F(LoginScreenTest, TheVersionCheckOffersOrForcesTheUpdater) {
    const QString offer =
        u"Question|Responda!|Existe una nueva version de la vendura!, Desea actualizarla ahora?"_s;
    const QString forced =
        u"Critical|Atención!|Existe una nueva version de la vendura y debe actualizarla para "
        u"poder acceder a ella"_s;
    const QString toSell =
        u"Information|Responda!|Existe una nueva version de la vendura y para porder vender debe "
        u"actualizarla, Desea actualizarla ahora?"_s;
    const std::tuple<const char*, bool, const char*, QString> cases[] = {{"1", true, "", offer},
                                                                         {"1", false, "", offer},
                                                                         {"2", false, "", forced},
                                                                         {"3", true, "", toSell},
                                                                         {"3", false, "3", toSell}};
    for (const auto& [state, answer, estado, box] : cases) {
        db.admin(u"UPDATE central.parametros_terminal SET estadovendura = $1"_s,
                 {QString::fromLatin1(state)});
        session.estadovendura.clear();
        dialogs.clear();
        dialogs.answers = {answer};
        launcher.started.clear();
        const int ends = programEnd.ends, sales = salesOpened;
        open();
        loginWith(u"1001"_s, u"1234"_s);
        EXPECT_EQ(boxes(), QStringList{box}) << state;
        // the updater and the end, or the sales screen
        const bool updater = answer || box == forced;
        EXPECT_EQ(launcher.started,
                  updater ? QStringList{installation.updaterPath() + u" /1"_s} : QStringList());
        EXPECT_EQ((std::pair{programEnd.ends - ends, salesOpened - sales}),
                  (updater ? std::pair{1, 0} : std::pair{0, 1}))
            << state << answer;
        EXPECT_EQ(session.estadovendura, QString::fromLatin1(estado)) << state << answer;
    }
}

// A fetched list replaces the old one and the program ends to read it; a failed fetch leaves
// no list and the program running. An answer that came after the screen closed or the login
// went through would end the program over the sales screen: it is never called back.
TEST_F(LoginScreenTest, TheServerListIsFetchedOrRemovedAndARefreshCutShortNeverCallsBack) {
    QByteArray list;
    for (int i = 0; i < 300; ++i) list += "servidor-" + QByteArray::number(i) + "\r\n";
    auto fetch = [&](TinyHttpServer& server) {
        ProfileFile(installation.iniPath())
            .write(u"Comunicaciones"_s, u"HostActualizacion"_s, server.host());
        open();
        field<QPushButton>("busca_ip")->click();
        EXPECT_TRUE(field<QLabel>("Label7")->isVisible());
        EXPECT_FALSE(field<QPushButton>("busca_ip")->isEnabled());
    };
    for (const auto& [status, box] : {std::pair{200, "La busqueda ha sido exitosa!"},
                                      {404, "Ha ocurrido un error probablemente"}}) {
        TinyHttpServer server(status, status == 200 ? list : "no");
        ASSERT_TRUE(files::writeInChunks(installation.serverListPath(), "viejo\r\n", 64).ok());
        dialogs.clear();
        fetch(server);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown.empty(); }, 10000));
        EXPECT_EQ(server.paths, QStringList{u"/update/server.txt"_s});
        EXPECT_TRUE(boxes().size() == 1 &&
                    boxes()[0].startsWith(u"Information|Atención!|"_s + QString::fromUtf8(box)));
        EXPECT_EQ(programEnd.ends, 1);  // only the fetched list ends the program
        EXPECT_TRUE(field<QPushButton>("busca_ip")->isEnabled());
        const auto written = files::read(installation.serverListPath());
        EXPECT_EQ(written ? written.value() : QByteArray(), status == 200 ? list : QByteArray());
    }

    TinyHttpServer held(200, "servidor-nuevo\r\n");
    held.holding = true;
    dialogs.clear();
    fetch(held);
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.paths.size() == 1; }, 10000));
    screen.reset();
    fetch(held);
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.paths.size() == 2; }, 10000));
    loginWith(u"1001"_s, u"1234"_s);
    ASSERT_EQ(salesOpened, 1);
    EXPECT_FALSE(field<QLabel>("Label7")->isVisible());
    EXPECT_TRUE(field<QPushButton>("busca_ip")->isEnabled());
    held.release();
    QTest::qWait(300);
    screen.reset();
    QTest::qWait(300);
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(programEnd.ends, 1);
    EXPECT_FALSE(files::exists(installation.serverListPath()));
}

// A platform that refuses to shut down is told in a message, and the program still ends.
TEST_F(LoginScreenTest, ApagarAndReiniciarAskFirstThenShutDownThroughTheLauncher) {
    open();
    dialogs.answers = {false, true, true};  // the first question is declined
    field<QPushButton>("XPButton1")->click();
    field<QPushButton>("XPButton1")->click();
    launcher.shutdownRefusal = u"systemctl reboot: Access denied"_s;
    field<QPushButton>("XPButton2")->click();
    EXPECT_EQ(launcher.shutdowns, (std::vector{ShutdownMode::PowerOff, ShutdownMode::Restart}));
    EXPECT_EQ(programEnd.ends, 2);
    EXPECT_EQ(boxes(), (QStringList{u"Question|Atención!|Desea en realidad apagar?"_s,
                                    u"Question|Atención!|Desea en realidad apagar?"_s,
                                    u"Question|Atención!|Desea en realidad reiniciar?"_s,
                                    u"Critical|Atención!|Error detected\rModule:  "
                                    u"clsReboot.SetShutdownPriviledge\rAPI Call:  systemctl "
                                    u"reboot: Access denied"_s}));
}

}  // namespace
