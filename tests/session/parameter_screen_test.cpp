#include "session/screens/parameter_screen.h"
#include "logged_in.h"
#include "screen_helpers.h"
#include "session/parameters.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// The parameter screen of seller 1001 of the sales point 00012, against a test database.
class ParameterScreenTest : public ::testing::Test {
  protected:
    ParameterScreenTest() { db.seedVendor(); }

    ParameterScreen& open() {
        EXPECT_TRUE(seller.login()) << seller.dialogs.texts().join(u" | "_s).toStdString();
        seller.dialogs.clear();
        screen = std::make_unique<ParameterScreen>(seller.link);
        EXPECT_TRUE(screen->load()) << seller.dialogs.texts().join(u" | "_s).toStdString();
        screen->show();
        QApplication::setActiveWindow(screen.get());
        return *screen;
    }
    template <typename W = QLineEdit>
    W* text(const char* name) {
        auto* w = screen->findChild<W*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QComboBox* combo(const char* name) { return text<QComboBox>(name); }
    void retype(const char* name, const QString& keys) { test::retype(text(name), keys); }
    // Walks a combo to an entry with the arrow keys, as a seller would.
    void choose(const char* name, const QString& entry) {
        QComboBox* c = combo(name);
        c->setFocus();
        const int target = c->findText(entry);
        ASSERT_GE(target, 0) << name;
        while (c->currentIndex() < target) QTest::keyClick(c, Qt::Key_Down);
        while (c->currentIndex() > target) QTest::keyClick(c, Qt::Key_Up);
    }
    // "name=value" of each control named, combo or text field.
    QString shown(std::initializer_list<const char*> names) {
        QStringList out;
        for (const char* n : names) {
            auto* c = screen->findChild<QComboBox*>(QString::fromLatin1(n));
            out << QString::fromLatin1(n) + u'=' + (c ? c->currentText() : text(n)->text());
        }
        return out.join(u' ');
    }
    void save() {
        QTest::mouseClick(screen->findChild<QPushButton*>(u"XPButton1"_s), Qt::LeftButton);
    }
    TestDatabase db;
    LoggedIn seller{db};
    std::unique_ptr<ParameterScreen> screen;
};

// Enter walks the fields, which take digits only (the print type C or N, following its combo);
// a value out of range is refused with its field's message and focus; Esc leaves unsaved.
TEST_F(ParameterScreenTest, ShowsTheServersParametersAndKeysWalkFilterAndRefuse) {
    open();
    EXPECT_EQ(shown({"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7", "Combo8",
                     "Combo9", "Text1", "Text4", "Text5", "Text6", "Text7", "Text8", "Text11",
                     "Text17", "Text2", "Text13"}),
              u"Combo1=LPT1 Combo2=COM1 Combo3=9600 Combo4=Resumida Combo5=Si Combo6=Si Combo7=No "
              u"Combo8=Comprimida Combo9=No Text1=3 Text4=2 Text5=3 Text6=3 Text7=C Text8=A "
              u"Text11= Text17=9600,8,N,1 Text2=KALVDATA Text13=127.0.0.1"_s);
    // the working mode is shown, never chosen nor sent
    EXPECT_FALSE(combo("Combo10")->isEnabled());
    EXPECT_TRUE(combo("Combo10")->currentText().startsWith(u"0.- On Line"_s));
    EXPECT_EQ(screen->focusWidget(), combo("Combo1"));
    const QString before = db.checksum();
    QTest::keyClick(combo("Combo1"), Qt::Key_Return);
    QTest::keyClick(combo("Combo8"), Qt::Key_Return);
    QTest::keyClick(text("Text7"), Qt::Key_Return);
    EXPECT_EQ(screen->focusWidget(), text("Text4"));
    EXPECT_EQ(text("Text4")->selectedText(), u"2"_s);

    // the days a prize is paid are the central office's: shown, out of the keyboard's reach
    EXPECT_TRUE(text("Text1")->isReadOnly());
    EXPECT_EQ(text("Text1")->focusPolicy(), Qt::NoFocus);
    for (const auto& [name, typed, kept] : {std::tuple{"Text4", "a1.b2", "12"},
                                            {"Text1", "999", "3"},
                                            {"Text7", "x", ""},
                                            {"Text7", "n", "N"}}) {
        retype(name, QString::fromLatin1(typed));
        EXPECT_EQ(text(name)->text(), QString::fromLatin1(kept)) << name << " " << typed;
    }
    EXPECT_EQ(combo("Combo8")->currentText(), u"Normal"_s);
    choose("Combo8", u"Comprimida"_s);
    EXPECT_EQ(text("Text7")->text(), u"C"_s);

    choose("Combo1", u"LPT3"_s);
    const char* refused[][4] = {
        {"Text4", "45", "2", "El margen izquierdo debe estar entre 0 y 40"},
        {"Text6", "0", "3", "El número de columnas debe estar entre 1 y 6"},
        {"Text5", "61", "3", "El número de filas de salto debe estar entre 0 y 60"}};
    for (const auto& [name, bad, good, message] : refused) {
        seller.dialogs.clear();
        retype(name, QString::fromLatin1(bad));
        save();
        EXPECT_EQ(boxes(seller.dialogs),
                  QStringList{u"Critical|Atención!|"_s + QString::fromUtf8(message)});
        EXPECT_EQ(screen->focusWidget(), text(name));
        EXPECT_EQ(text(name)->selectedText(), QString::fromLatin1(bad));
        retype(name, QString::fromLatin1(good));
    }
    EXPECT_EQ(seller.session.PuertoPrinter, u"LPT1"_s);
    QTest::keyClick(text("Text4"), Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(db.checksum(), before);
    EXPECT_EQ(seller.dialogs.shown.size(), 1u);  // no question on the way out
}

// Every field reaches its own column: the emptied serial settings take the default, yes and no
// become 1/S and 0/N, the list form its number.
TEST_F(ParameterScreenTest, SavingAppliesItsRulesUpdatesTheSessionAndIsReadBack) {
    open();
    const char* typed[][2] = {
        {"Text17", ""},         {"Text4", "5"},         {"Text9", "0212"},
        {"Text11", "0241"},     {"Text12", "5550000"},  {"Text16", "vendura"},
        {"Text15", "10.0.0.1"}, {"Text14", "10.0.0.2"}, {"Text13", "10.0.0.3"},
        {"Text2", "LOCAL"},     {"Text3", "clave9"}};
    for (const auto& [name, keys] : typed) retype(name, QString::fromLatin1(keys));
    const char* chosen[][2] = {{"Combo9", "Si"},        {"Combo7", "Si"},    {"Combo5", "No"},
                               {"Combo6", "No"},        {"Combo1", "COM2"},  {"Combo2", "COM3"},
                               {"Combo4", "Detallada"}, {"Combo8", "Normal"}};
    for (const auto& [name, entry] : chosen) choose(name, QString::fromLatin1(entry));
    save();

    ASSERT_EQ(boxes(seller.dialogs),
              QStringList{u"Information|Atención!|Se Actualizo Correctamente..."_s});
    EXPECT_EQ(text("Text17")->text(), u"9600,8,N,1 "_s);
    const QString row = db.value(u"SELECT t::text FROM central.parametros_terminal t"_s);
    EXPECT_EQ(
        row,
        u"(00012,J-12345678-9,0012345678,0,\"GRACIAS POR SU COMPRA\",\"AV. BOLIVAR, LOCAL 4\","
        u"5,1,S,3,N,COM2,COM3,\"9600,8,N,1 \",0212,N,5550000,A,1,vendura,10.0.0.1,10.0.0.2,"
        u"10.0.0.3,LOCAL,3,clave9,7,,0241)"_s)
        << row.toStdString();
    // the session at once, the margin rounded to blanks; the working mode of the login stays
    const Session& s = seller.session;
    EXPECT_EQ((QStringList{s.VelocidadFax, s.Margen, s.TipoLetra, s.PuertoPrinter, s.ScreenVuelto,
                           s.ImprimePorLoteria, s.ModoTrabajo, s.ModoTrabajoInicial,
                           QString::number(s.FilasSalto), QString::number(s.nrocolumnas)}),
              (QStringList{u"9600,8,N,1 "_s, u"     "_s, u"N"_s, u"COM2"_s, u"1"_s, u"S"_s, u"1"_s,
                           u"0"_s, u"3"_s, u"3"_s}));
    // audited field by field, the off-line password only as changed
    EXPECT_EQ(db.auditActions().last(), u"PARAMETROS|00012|1001"_s);
    const QString detail =
        db.value(u"SELECT detalle FROM central.auditoria ORDER BY id DESC LIMIT 1"_s);
    EXPECT_TRUE(detail.contains(u"margenizquierdo: 2 -> 5"_s)) << detail.toStdString();
    EXPECT_TRUE(detail.contains(u"claveoffline cambiada"_s));
    EXPECT_FALSE(detail.contains(u"clave9"_s));

    // the next opening shows every field as it was saved, the second area code included; then
    // the days the central office set since, whatever the counter sent for them
    const std::initializer_list<const char*> every{
        "Combo1", "Combo8", "Text7",  "Text4",  "Text5",  "Text6", "Combo9", "Text17", "Combo3",
        "Combo4", "Text1",  "Combo5", "Combo7", "Combo2", "Text9", "Combo6", "Text11", "Text12",
        "Text8",  "Text16", "Text15", "Text14", "Text13", "Text2", "Text3"};
    const QString saved = shown(every);
    screen = std::make_unique<ParameterScreen>(seller.link);
    ASSERT_TRUE(screen->load());
    EXPECT_EQ(shown(every).toStdString(), saved.toStdString());
    db.admin(u"SELECT admin.fijar_dias_caducidad('00012', 5)"_s);
    screen = std::make_unique<ParameterScreen>(seller.link);
    ASSERT_TRUE(screen->load());
    EXPECT_EQ(shown({"Combo9", "Combo1", "Combo4", "Text4", "Text11", "Text1"}),
              u"Combo9=Si Combo1=COM2 Combo4=Detallada Text4=5 Text11=0241 Text1=5"_s);
    LoggedIn again(db);
    ASSERT_TRUE(again.login());
    EXPECT_EQ(again.session.ImprimePorLoteria + again.session.ScreenVuelto + again.session.Margen,
              u"S1     "_s);

    // the other side of every choice; anything but "Normal" prints compressed
    screen->show();
    const char* others[][2] = {{"Combo9", "No"}, {"Combo7", "No"},       {"Combo5", "Si"},
                               {"Combo6", "Si"}, {"Combo4", "Resumida"}, {"Combo8", "Comprimida"}};
    for (const auto& [name, entry] : others) choose(name, QString::fromLatin1(entry));
    retype("Text17", u"4800,7,E,2"_s);
    text("Text1")->setText(u"999"_s);
    save();
    EXPECT_EQ(
        db.value(u"SELECT dias_caduca FROM central.vendedores WHERE cod_vendedor = '00012'"_s),
        u"5"_s);
    EXPECT_EQ(db.value(u"SELECT concat_ws('|', codtel2, screenvuelto, tiempoanular, nrotel1, "
                       u"modotrabajo, tipoletra, velocidadfax) FROM central.parametros_terminal"_s),
              u"N|0|1|S|0|C|4800,7,E,2"_s);
}

// The margin travels in blanks, rounded; anything but a number gives none.
TEST(Parameters, TheMarginBecomesBlanks) {
    for (const auto& [margin, blanks] : {std::pair{"2.4", 2},
                                         {"2,5", 3},
                                         {"2.7", 3},
                                         {"0", 0},
                                         {"", 0},
                                         {"x", 0},
                                         {"-3", 0},
                                         {"1e9", 1000}}) {
        EXPECT_EQ(marginBlanks(QString::fromLatin1(margin)), QString(blanks, u' ')) << margin;
    }
}

}  // namespace
