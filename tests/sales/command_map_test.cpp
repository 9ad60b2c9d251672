#include "sales/command_map.h"
#include "platform/result.h"

#include <QStringList>

#include <Qt>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

struct KeyCase {
    char16_t key;
    SalesCommand command;
    const char* jugada;
};

void expectTable(const KeyCommand* (*lookup)(QChar), std::span<const KeyCommand> table,
                 std::initializer_list<KeyCase> expected) {
    EXPECT_EQ(table.size(), expected.size());
    for (const KeyCase& k : expected) {
        for (const QChar typed : {QChar(k.key), QChar(k.key).toLower()}) {
            const KeyCommand* found = lookup(typed);
            ASSERT_TRUE(found) << char(typed.unicode());
            EXPECT_EQ(found->command, k.command) << char(typed.unicode());
            EXPECT_STREQ(found->jugada, k.jugada) << char(typed.unicode());
        }
    }
}

TEST(KeyTables, NormalModeLettersActLowerCaseAsUpper) {
    expectTable(&normalKeyCommand, normalKeyCommands(),
                {{u'S', SalesCommand::Series, "Series"},
                 {u'P', SalesCommand::Permutas, "sUper permutas"},
                 {u'E', SalesCommand::EliminarPorLoteria, "sEguidillas"},
                 {u'O', SalesCommand::Posicionados, "pOsicionados"},
                 {u'T', SalesCommand::Terminales, "los Terminales"},
                 {u'R', SalesCommand::RepetirPorLoteria, "Repetir x loteria"},
                 {u'G', SalesCommand::Seguidillas, nullptr},
                 {u'A', SalesCommand::ALaSuerte, "A la Suerte"},
                 {u'C', SalesCommand::CargarTicket, "Cargado desde Ticket"},
                 {u'B', SalesCommand::AnularTicket, nullptr},
                 {u'L', SalesCommand::FocoLoterias, nullptr},
                 {u'Z', SalesCommand::JugadasEspeciales, nullptr},
                 {u'*', SalesCommand::InvertirLoterias, nullptr},
                 {u'D', SalesCommand::EmitirTicket, nullptr},
                 {u'/', SalesCommand::IrAlTicket, nullptr}});
    for (const char16_t none : {u'X', u'Y', u'1', u'+', u'-', u'N', u'M', u'J'})
        EXPECT_EQ(normalKeyCommand(QChar(none)), nullptr) << char(none);
}

TEST(KeyTables, SpecialModeHasItsOwnMeanings) {
    expectTable(&specialKeyCommand, specialKeyCommands(),
                {{u'J', SalesCommand::FocoVariantes, nullptr},
                 {u'L', SalesCommand::FocoLoteriasEspeciales, nullptr},
                 {u'P', SalesCommand::EspecialPermuta, nullptr},
                 {u'S', SalesCommand::EspecialSerie, nullptr},
                 {u'M', SalesCommand::EspecialTerminal, nullptr},
                 {u'N', SalesCommand::FocoNumeroEspecial, nullptr},
                 {u'+', SalesCommand::VarianteSiguiente, nullptr},
                 {u'-', SalesCommand::VarianteAnterior, nullptr},
                 {u'*', SalesCommand::InvertirLoteriasEspeciales, nullptr}});
    for (const char16_t none : {u'D', u'/', u'Z', u'E', u'B', u'1'})
        EXPECT_EQ(specialKeyCommand(QChar(none)), nullptr) << char(none);
}

// Every guarded function key is guarded by the button that offers the same command, and that
// button carries a permission code; F1 and F9 are free.
TEST(KeyTables, FunctionKeysAndButtonsShareTheirPermission) {
    const std::pair<int, const char*> guarded[] = {
        {Qt::Key_F2, "F2."},  {Qt::Key_F3, "F3."},  {Qt::Key_F4, "F4."},
        {Qt::Key_F5, "F5."},  {Qt::Key_F6, "F6."},  {Qt::Key_F7, "F7."},
        {Qt::Key_F10, "F10"}, {Qt::Key_F11, "F11"}, {Qt::Key_F12, "F12"}};
    for (const auto& [key, permiso] : guarded) {
        const FunctionKeyCommand* f = functionKeyCommand(key);
        ASSERT_TRUE(f && f->button) << key;
        const CommandButton* b = commandButton(QString::fromLatin1(f->button));
        ASSERT_TRUE(b) << f->button;
        EXPECT_STREQ(b->permiso, permiso);
        EXPECT_EQ(b->command, f->command);
    }
    for (const int free : {Qt::Key_F1, Qt::Key_F9}) {
        ASSERT_TRUE(functionKeyCommand(free));
        EXPECT_EQ(functionKeyCommand(free)->button, nullptr);
    }
    EXPECT_EQ(functionKeyCommand(Qt::Key_F8), nullptr);
    EXPECT_EQ(functionKeyCommands().size(), 11u);

    QStringList names;
    for (const CommandButton& b : commandButtons()) names << QString::fromLatin1(b.name);
    for (int i = 1; i <= 23; ++i) {
        const bool absent = i == 13 || i == 14 || i == 16;  // no such buttons on the screen
        EXPECT_EQ(names.contains(u"XPButton"_s + QString::number(i)), !absent) << i;
    }
    // the ticket can always be issued: "D" and XPButton18 are never guarded
    EXPECT_STREQ(commandButton(u"XPButton18"_s)->permiso, "");
    EXPECT_EQ(commandButton(u"XPButton18"_s)->command, SalesCommand::EmitirTicket);
    EXPECT_EQ(commandButton(u"XPButton22"_s)->command, SalesCommand::IrAlTicket);
}

TEST(KeyTables, OnlyOtherSubsystemsCommandsGoThroughTheRegistry) {
    for (const SalesCommand c : {SalesCommand::Permutas, SalesCommand::Calculadora,
                                 SalesCommand::EspecialSerie, SalesCommand::Vuelto})
        EXPECT_FALSE(isScreenCommand(c));
    for (const SalesCommand c :
         {SalesCommand::Ayuda, SalesCommand::Mensajes, SalesCommand::EliminarPorLoteria,
          SalesCommand::EmitirTicket, SalesCommand::InvertirLoteriasEspeciales})
        EXPECT_TRUE(isScreenCommand(c));
}

}  // namespace
