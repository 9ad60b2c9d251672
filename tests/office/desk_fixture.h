#pragma once
// The desk's screens against a real central database, as the people of the office use them.
#include "office/admin_link.h"
#include "recorders.h"
#include "test_database.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace vendura::test {

class DeskTest : public ::testing::Test {
  protected:
    DeskTest() {
        db.seedVendor();
        db.seedLotteries();  // the clock on 2026-12-07 10:00: the draws of the 6th are closed
    }
    office::ConnectionOptions as(const QString& login,
                                 const QString& password = u"oficina-prueba"_s) {
        office::ConnectionOptions o;
        o.host = Cluster::get().host;
        o.port = Cluster::get().port;
        o.database = db.name();
        o.user = login;
        o.password = password;
        return o;
    }
    std::unique_ptr<office::AdminLink> linkOf(int person) {
        auto link = office::PqAdminLink::connect(as(db.officeLogin(person)));
        EXPECT_TRUE(link.ok());
        return link ? std::unique_ptr<office::AdminLink>(std::move(link.value())) : nullptr;
    }
    // The office login of a person who is a supervisor.
    std::unique_ptr<office::AdminLink> supervisorLink(int person) {
        db.admin(
            u"INSERT INTO central.oficinistas (cuenta, nombre, rol) VALUES ($1, 'JEFE', "
            u"'SUPERVISOR') ON CONFLICT DO NOTHING"_s,
            {db.officeLogin(person)});
        return linkOf(person);
    }
    // Types the numbers of a draw into a results screen and presses Enter.
    static void type(QWidget* screen, const QString& lottery, const QString& triple) {
        for (const auto& [name, text] :
             {std::pair{u"txtLoteria"_s, lottery}, std::pair{u"txtTriple"_s, triple}}) {
            auto* edit = screen->findChild<QLineEdit*>(name);
            edit->clear();
            QTest::keyClicks(edit, text);
        }
        QTest::keyClick(screen->findChild<QLineEdit*>(u"txtTriple"_s), Qt::Key_Return);
    }
    static QString said(const QWidget* screen) {
        return screen->findChild<QLabel*>(u"lblResultado"_s)->text();
    }
    QString lastMessage() const {
        return dialogs.shown.empty() ? QString() : dialogs.shown.back().text;
    }

    TestDatabase db;
    DialogRecorder dialogs;
};

}  // namespace vendura::test
