#include "app/report_actions.h"
#include "sales_screen_fixture.h"

#include <QDialog>
#include <QListWidget>
#include <QTimer>

using namespace vendura;
using namespace vendura::test;

namespace {

class ReportActionsTest : public SalesScreenFixture {};

// F7 opens Form36 through the sales screen's registry, and "b" there the prize report on its
// own connection; each screen is closed by the test once it is up.
TEST_F(ReportActionsTest, F7OpensTheMenuAndItsLettersOpenTheReports) {
    db.admin(u"UPDATE central.usuarios SET permisos = 'B.-F7.' WHERE cod_usuario = '1001'"_s);
    SalesScreen& sales = open();
    registerReportActions(actions, *printers, seller.programEnd, seller.dir.path());
    QStringList seen;
    QTimer::singleShot(0, [&] {
        QWidget* menu = QApplication::activeModalWidget();
        ASSERT_TRUE(menu);
        seen << menu->objectName();
        QTimer::singleShot(0, [&] {
            auto* report = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(report);
            auto* list = report->findChild<QListWidget*>(u"List1"_s);
            seen << report->objectName() + u" "_s + list->item(1)->text();
            report->reject();
        });
        QTest::keyClick(menu, Qt::Key_B);
        QTest::keyClick(menu, Qt::Key_A);
        static_cast<QDialog*>(menu)->reject();
    });
    QTest::keyClick(sales.focusWidget(), Qt::Key_F7);
    EXPECT_EQ(seen, (QStringList{u"Form36"_s, u"ReporteTickets Reporte Tickets Premiados "_s}));
    EXPECT_EQ(seller.dialogs.last().text, u"Permiso de acceso denegado"_s);
}

}  // namespace
