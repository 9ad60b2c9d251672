#include "session/screens/utility_menu.h"
#include "platform/pq_gateway.h"
#include "recorders.h"
#include "screen_helpers.h"
#include "session/installation.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class UtilityMenuTest : public ::testing::Test {
  protected:
    UtilityMenuTest() {
        session.CodVendedor = u"00012"_s;
        session.NombreVendedor = u"AGENCIA LA FORTUNA"_s;
    }
    // Form36 whose functions write down what they were asked to open.
    std::unique_ptr<UtilityMenu> open(const QString& permisos) {
        session.Permisos = permisos;
        auto note = [this](const QString& what) { return [this, what] { opened << what; }; };
        auto menu = std::make_unique<UtilityMenu>(
            link, UtilityMenuActions{note(u"A"_s), note(u"B"_s), note(u"C"_s), note(u"D"_s),
                                     [this](const QString& label) { opened << u"R "_s + label; },
                                     note(u"M"_s), note(u"auditoria"_s)});
        menu->show();
        QApplication::setActiveWindow(menu.get());
        return menu;
    }

    Session session;
    PqConnector connector{5};
    DialogRecorder dialogs;
    Installation installation;
    ServerLink link{session, connector, dialogs, installation};
    QStringList opened;
};

// Letters of either case and the buttons open what the permissions allow; the rest is denied.
// The audit keys need all three held; Esc and Regresar close the menu.
TEST_F(UtilityMenuTest, ButtonsLettersAndKeysOpenWhatThePermissionsAllow) {
    const QString r = u"R 00012 - AGENCIA LA FORTUNA"_s;
    const std::tuple<QString, QString, QString, int> cases[] = {
        {QString(), u"abcdrmABCDRM"_s, QString(), 12},
        {u"A.-B.-C.-D.-R.-M.-"_s, u"aBcDrM"_s, u"A,B,C,D,"_s + r + u",M"_s, 0},
        {u"f2.f4.b.-"_s, u"bBa"_s, u"B,B"_s, 1},
        {u"A.-B.-C.-D.-R.-"_s, u"xz9 "_s, QString(), 0},
        {QString(1000, u'x') + u"r.-"_s, u"rc"_s, r, 1}};
    for (const auto& [permisos, keys, allowed, denied] : cases) {
        opened.clear();
        dialogs.clear();
        auto menu = open(permisos);
        QTest::keyClicks(menu.get(), keys);
        EXPECT_EQ(opened.join(u','), allowed) << permisos.left(20).toStdString();
        EXPECT_EQ(boxes(dialogs),
                  QStringList(denied, u"Information|Atención!|Permiso de acceso denegado"_s))
            << permisos.left(20).toStdString();
    }
    opened.clear();
    auto menu = open(u"B.-"_s);
    EXPECT_EQ(menu->windowTitle(), u"Reportes/Utilidades"_s);
    menu->findChild<QPushButton*>(u"XPButton2"_s)->click();
    QTest::keyClick(menu.get(), Qt::Key_F2, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(menu.get(), Qt::Key_F2,
                    Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(opened, (QStringList{u"B"_s, u"auditoria"_s}));
    QTest::keyClick(menu.get(), Qt::Key_Escape);
    auto again = open(u"B.-"_s);
    again->findChild<QPushButton*>(u"XPButton6"_s)->click();
    EXPECT_FALSE(menu->isVisible() || again->isVisible());
}

}  // namespace
