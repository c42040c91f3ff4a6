#include "IntakeFixture.h"

#include "foundation/SettingKeys.h"
#include "foundation/SqlLiteral.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"
#include "orders/intake/ClientCardEditor.h"
#include "orders/intake/ClientLookup.h"
#include "orders/intake/ClientWarnings.h"
#include "orders/intake/PreviousAddresses.h"
#include "orders/intake/RoutePointLookup.h"

#include <thread>

class ClientCards : public IntakeFixture
{
protected:
    void SetUp() override
    {
        IntakeFixture::SetUp();
        lookup = std::make_unique<ClientLookup>(*ws->dani, ws->prompts);
        editor = std::make_unique<ClientCardEditor>(*ws->dani, ws->store, ws->prompts, clock, *lookup);
        ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kFirstNewClientCode,
                           QStringLiteral("100"));
    }
    void TearDown() override
    {
        editor.reset();
        lookup.reset();
        IntakeFixture::TearDown();
    }
    QStringList names()
    {
        QStringList found;
        EXPECT_TRUE(lookup->requery());
        for (int row = 1; row <= lookup->list().recordCount(); ++row)
            found << lookup->list().valueAt(row, QStringLiteral("KLIENT_FIO")).toString();
        return found;
    }
    qint64 withCode(const QString& code)
    {
        return count(QStringLiteral("SELECT COUNT(*) FROM KLIENT WHERE ") +
                     sql::clientCodeCondition(QStringLiteral("KLIENT_DODATKOVO"), typedInteger(code)));
    }
    NewClientCard newCard(const QString& code)
    {
        NewClientCard card;
        card.code = code;
        card.name = QStringLiteral("Мар'яна О'Ніл");
        card.street = QStringLiteral("вул. Лук'янівська");
        card.house = QStringLiteral("3'А");
        card.apartment = QStringLiteral("12");
        card.telephones = QStringLiteral("0671234567 332211");
        card.password = QStringLiteral("п'ять");
        return card;
    }

    std::unique_ptr<ClientLookup> lookup;
    std::unique_ptr<ClientCardEditor> editor;
};

TEST_F(ClientCards, SearchesByCodeNameAddressAndTelephone)
{
    addClient(QStringLiteral("00000"), QStringLiteral("Невідомий клієнт"));
    addClient(QStringLiteral("00042"), QStringLiteral("Д'Артаньян"), QStringLiteral("0671234567 332211"));
    addClient(QStringLiteral("00420"), QStringLiteral("Петренко"), QStringLiteral("+380501112233"));
    db->exec(QStringLiteral(
        "UPDATE KLIENT SET KLIENT_ADRESS = 'вул. Лесі Українки 5/1' WHERE KLIENT_FIO = 'Петренко'"));

    lookup->filterUnknownClient();
    EXPECT_EQ(names(), QStringList{QStringLiteral("Невідомий клієнт")});
    lookup->filterByCode(42);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Д'Артаньян")});
    lookup->filterByCodeText(QStringLiteral("420"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Петренко")});
    lookup->filterByCodeText(QStringLiteral("42'; --"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Невідомий клієнт")}); // not a number: the unknown client
    lookup->filterByName(QStringLiteral("Д'Арт"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Д'Артаньян")});
    lookup->filterByAddress(QStringLiteral("Лесі"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Петренко")});
    lookup->filterByTelephone(QStringLiteral("332211"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Д'Артаньян")});

    // The caller's number from the network: only what a telephone number holds.
    EXPECT_TRUE(lookup->filterByCaller(QStringLiteral("+38 050 111-22-33")));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Петренко")});
    EXPECT_TRUE(lookup->filterByCaller(QStringLiteral("0671234567' OR ''='")));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Д'Артаньян")});
    EXPECT_FALSE(lookup->filterByCaller(QStringLiteral("anonymous")));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Д'Артаньян")}); // the filter stayed

    const auto card = lookup->current();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->code, QStringLiteral("00042"));
    EXPECT_EQ(card->password, QStringLiteral("pw"));
    EXPECT_EQ(card->codeNumber(), 42);
}

TEST_F(ClientCards, OrderingOnlyByAPlainColumn)
{
    addClient(QStringLiteral("00001"), QStringLiteral("Яковенко"));
    addClient(QStringLiteral("00002"), QStringLiteral("Іваненко"));
    addClient(QStringLiteral("00003"), QStringLiteral("Антоненко"));
    lookup->filterByName(QString());
    EXPECT_TRUE(lookup->orderBy(QStringLiteral("KLIENT_FIO")));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Антоненко"), QStringLiteral("Іваненко"),
                                    QStringLiteral("Яковенко")}));
    for (const char* bad :
         {"KLIENT_FIO DESC", "1", "KLIENT_FIO; DELETE FROM KLIENT", "RDB$DB_KEY", "klient_fio", ""})
        EXPECT_FALSE(lookup->orderBy(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(ws->dani->clientsSort, QStringLiteral("ORDER BY KLIENT_FIO"));
    EXPECT_TRUE(lookup->orderBy(QStringLiteral("KLIENT_DODATKOVO")));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Яковенко"), QStringLiteral("Іваненко"),
                                    QStringLiteral("Антоненко")}));
}

TEST_F(ClientCards, AssignsTheFirstFreeCodeAfterTheReservedOnes)
{
    addClient(QStringLiteral("00101"), QStringLiteral("А"));
    addClient(QStringLiteral("00102"), QStringLiteral("Б"));
    addClient(QStringLiteral("00105"), QStringLiteral("В"));
    const ClientCardEditor::Assignment a = editor->assignCode();
    EXPECT_EQ(a.code, QStringLiteral("00103"));
    EXPECT_EQ(a.clientCount, 3);
    EXPECT_EQ(a.hint, QStringLiteral("Присвоїти код клієнту.\rОстанній код який підбирався : [00103]\r"
                                     "Попередній підрахунок кількості клієнтів : [3]"));
    ws->store.setValue(SettingsStore::kOrderLogicGroup, SettingKeys::kFirstNewClientCode,
                       QStringLiteral("123455"));
    EXPECT_EQ(editor->assignCode().code, QStringLiteral("123456"));
}

TEST_F(ClientCards, CreatesAndEditsAClientWithApostrophes)
{
    NewClientCard card = newCard(editor->assignCode().code);
    card.birthDate = QDate(1984, 2, 29);
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(editor->create(card), ClientCardEditor::Outcome::Done);
    EXPECT_TRUE(ws->prompts.messages().isEmpty());

    const FbRows rows =
        db->exec(QStringLiteral("SELECT KLIENT_NUMBER, KLIENT_FIO, KLIENT_ADRESS, KLIENT_TELEFON, "
                                "KLIENT_DODATKOVO, KLIENT_BALANS, KLIENT_DATA_BALANSA, "
                                "KLIENT_DATA_NARODZENNIA, KLIENT_KIL_FREE_VIKLIK FROM KLIENT"));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.rows[0][0].toLongLong(), 1);
    EXPECT_EQ(rows.rows[0][1].toString(), QStringLiteral("Мар'яна О'Ніл"));
    EXPECT_EQ(rows.rows[0][2].toString(), QStringLiteral("вул. Лук'янівська 3'А/12"));
    EXPECT_EQ(rows.rows[0][3].toString(), QStringLiteral("0671234567 332211"));
    EXPECT_EQ(rows.rows[0][4].toString(), QStringLiteral("[00101] приватний (п'ять)"));
    EXPECT_EQ(rows.rows[0][5].toDouble(), 0.0);
    EXPECT_EQ(rows.rows[0][6].toDate(), QDate(2026, 3, 2));
    EXPECT_EQ(rows.rows[0][7].toDate(), QDate(1984, 2, 29));

    // The list now shows the new client, and on 28 February of a common year he has
    // his birthday.
    const auto shown = lookup->current();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->name, QStringLiteral("Мар'яна О'Ніл"));
    EXPECT_EQ(shown->birthDate, QDate(1984, 2, 29));
    EXPECT_TRUE(ClientWarnings::isBirthday(shown->birthDate, QDate(2027, 2, 28)));
    EXPECT_TRUE(ClientWarnings::isBirthday(shown->birthDate, QDate(2028, 2, 29)));

    EditedClientCard edited{shown->code,
                            QStringLiteral("Мар'яна О'Ніл-Коваль"),
                            QString(),
                            QStringLiteral("050'1"),
                            QStringLiteral("нов'ий"),
                            std::nullopt};
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(editor->edit(edited), ClientCardEditor::Outcome::Done);
    const FbRows after =
        db->exec(QStringLiteral("SELECT KLIENT_FIO, KLIENT_ADRESS, KLIENT_TELEFON, KLIENT_DODATKOVO, "
                                "KLIENT_DATA_NARODZENNIA FROM KLIENT"));
    EXPECT_EQ(after.rows[0][0].toString(), QStringLiteral("Мар'яна О'Ніл-Коваль"));
    EXPECT_FALSE(after.rows[0][1].isValid()); // empty address: NULL
    EXPECT_EQ(after.rows[0][2].toString(), QStringLiteral("050'1"));
    EXPECT_EQ(after.rows[0][3].toString(), QStringLiteral("[00101] приватний (нов'ий)"));
    EXPECT_FALSE(after.rows[0][4].isValid());
    EXPECT_EQ(lookup->current()->name, QStringLiteral("Мар'яна О'Ніл-Коваль"));

    // Without a blank before the password's parenthesis, one is put in.
    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_DODATKOVO = '[00101]картка'"));
    ASSERT_TRUE(lookup->requery());
    edited.address = QStringLiteral("пл. Театральна 1");
    edited.birthDate = QDate(1990, 1, 5);
    ws->prompts.answerQuestion(true);
    ASSERT_EQ(editor->edit(edited), ClientCardEditor::Outcome::Done);
    EXPECT_EQ(db->exec(QStringLiteral("SELECT KLIENT_DODATKOVO FROM KLIENT")).rows[0][0].toString(),
              QStringLiteral("[00101]картка (нов'ий)"));
}

TEST_F(ClientCards, CardsWithoutNameOrCodeAreRefused)
{
    NewClientCard card = newCard(QStringLiteral("00000"));
    EXPECT_EQ(editor->create(card), ClientCardEditor::Outcome::Invalid);
    card.code = QStringLiteral("00101");
    card.name = QStringLiteral("  ");
    EXPECT_EQ(editor->create(card), ClientCardEditor::Outcome::Invalid);
    EXPECT_EQ(ws->prompts.messages(), QStringList(2, ClientCardEditor::kNoNameOrCodeMessage));
    card.name = QStringLiteral("Петро");
    ws->prompts.answerQuestion(false);
    EXPECT_EQ(editor->create(card), ClientCardEditor::Outcome::Declined);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM KLIENT")), 0);
    // Editing needs a client in the list.
    lookup->filterByCode(101);
    ASSERT_TRUE(lookup->requery());
    EXPECT_EQ(editor->edit({QStringLiteral("00101"), QStringLiteral("Петро"), {}, {}, {}, {}}),
              ClientCardEditor::Outcome::Invalid);
}

TEST_F(ClientCards, ACodeAnotherWorkstationTookFirstIsNotStoredTwice)
{
    const QString code = editor->assignCode().code;
    // The other workstation stores the same code while the card is being filled in.
    addClient(code, QStringLiteral("Інший клієнт"));
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(editor->create(newCard(code)), ClientCardEditor::Outcome::CodeTaken);
    EXPECT_EQ(ws->prompts.messages(), QStringList{ClientCardEditor::kCodeChangedMessage});
    EXPECT_EQ(withCode(code), 1);
}

TEST_F(ClientCards, TwoWorkstationsStoringOneCodeAtOnceStoreItOnce)
{
    const QString code = editor->assignCode().code;
    // The other workstation has inserted the same code, numbered as the workstation
    // numbers clients, and not committed yet; it commits while this one inserts.
    FbTransaction other(db->other(), QStringLiteral("OTHER_WORKSTATION"));
    FbQuery otherQuery(other);
    otherQuery.exec(
        QStringLiteral(
            "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_DODATKOVO) VALUES (%1, 'Інший', %2)")
            .arg(sql::nextNumber(QStringLiteral("KLIENT_NUMBER"), QStringLiteral("KLIENT"), 1),
                 sql::text(QLatin1Char('[') + code + QStringLiteral("] приватний ()"))));
    std::thread committer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.commit();
    });
    ws->prompts.answerQuestion(true);
    const ClientCardEditor::Outcome outcome = editor->create(newCard(code));
    committer.join();
    EXPECT_EQ(outcome, ClientCardEditor::Outcome::CodeTaken);
    EXPECT_EQ(ws->prompts.messages(), QStringList{ClientCardEditor::kCodeChangedMessage});
    EXPECT_EQ(withCode(code), 1);

    // When the other workstation gives up instead, this one stores the client.
    FbTransaction other2(db->other(), QStringLiteral("OTHER_WORKSTATION_2"));
    FbQuery otherQuery2(other2);
    const QString next = editor->assignCode().code;
    otherQuery2.exec(
        QStringLiteral(
            "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_DODATKOVO) VALUES (%1, 'Інший', %2)")
            .arg(sql::nextNumber(QStringLiteral("KLIENT_NUMBER"), QStringLiteral("KLIENT"), 1),
                 sql::text(QLatin1Char('[') + next + QStringLiteral("] приватний ()"))));
    std::thread rollbacker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other2.rollback();
    });
    ws->prompts.answerQuestion(true);
    const ClientCardEditor::Outcome second = editor->create(newCard(next));
    rollbacker.join();
    EXPECT_EQ(second, ClientCardEditor::Outcome::Done);
    EXPECT_EQ(withCode(next), 1);
}

TEST_F(ClientCards, EditingAClientThatChangedMeanwhileIsRefused)
{
    addClient(QStringLiteral("00042"), QStringLiteral("Петро"));
    lookup->filterByCode(42);
    ASSERT_TRUE(lookup->requery());
    // The card's code no longer matches the row shown.
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(editor->edit({QStringLiteral("00043"), QStringLiteral("Павло"), {}, {}, {}, {}}),
              ClientCardEditor::Outcome::CodeTaken);
    // The row went away on another workstation.
    db->exec(QStringLiteral("DELETE FROM KLIENT"));
    ws->prompts.answerQuestion(true);
    EXPECT_EQ(editor->edit({QStringLiteral("00042"), QStringLiteral("Павло"), {}, {}, {}, {}}),
              ClientCardEditor::Outcome::CodeTaken);
    EXPECT_EQ(ws->prompts.messages().size(), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM KLIENT")), 0);
}

TEST_F(ClientCards, PreviousAddressesFromRecentAndArchivedOrders)
{
    const auto order = [&](const char* table, const char* prefix, qint64 number, qint64 client,
                           const QString& start, int status) {
        db->exec(QStringLiteral("INSERT INTO %1 (%2NUMBER, %2NOMER_KLIENT, %2POCHAT_PUNKT, %2STATUS_ZAMOVL) "
                                "VALUES (%3, %4, %5, %6)")
                     .arg(QLatin1String(table), QLatin1String(prefix), sql::integer(number),
                          sql::integer(client), sql::text(start), sql::integer(status)));
    };
    order("CLOSEZAMOVLENNIA", "CZ_", 10, 42, QStringLiteral("[вул. Ринкова]{1}кв.2"), 1);
    order("CLOSEZAMOVLENNIA", "CZ_", 11, 42, QStringLiteral("Вокзал"), 1);
    order("CLOSEZAMOVLENNIA", "CZ_", 12, 42, QStringLiteral("Лікарня"), -1); // deleted: not offered
    order("CLOSEZAMOVLENNIA", "CZ_", 13, 7, QStringLiteral("Чужа адреса"), 1);
    order("ZAMOVLENNIA", "ZAMOVL_", 20, 42, QStringLiteral("[вул. Ринкова]{1}"), 1);
    order("ZAMOVLENNIA", "ZAMOVL_", 21, 42, QStringLiteral("[вул. Соборна]{9}"), 1);
    order("ZAMOVLENNIA", "ZAMOVL_", 22, 42, QStringLiteral("[вул. Мостова]{4}"), 0); // still open
    EXPECT_EQ(PreviousAddresses::forClient(*ws->dani, 42),
              (QStringList{QStringLiteral("[вул. Соборна]{9}"), QStringLiteral("[вул. Ринкова]{1}"),
                           QStringLiteral("Вокзал"), QStringLiteral("[вул. Ринкова]{1}кв.2")}));
    EXPECT_TRUE(PreviousAddresses::forClient(*ws->dani, 0).isEmpty());

    // Chosen from the list, an address becomes a route point again.
    addMapPoint(5, QStringLiteral("[вул. Соборна]{9}"));
    addMapPoint(6, QStringLiteral("Магазин [вул. Ринкова]{1}"));
    addMapPoint(7, QStringLiteral("Вокзал"));
    RoutePointLookup points(*ws->dani);
    const auto contains = RoutePointLookup::BuildingMatch::LabelContains;
    const auto exact = RoutePointLookup::BuildingMatch::ExactLabel;
    EXPECT_EQ(points.itemFor(QStringLiteral("[вул. Соборна]{9}кв.3"), contains)->text(),
              QStringLiteral("[вул. Соборна]{9}кв.3<5>"));
    EXPECT_EQ(points.itemFor(QStringLiteral("[вул. Ринкова]{1}"), contains)->text(),
              QStringLiteral("[вул. Ринкова]{1}<6>"));
    EXPECT_EQ(points.itemFor(QStringLiteral("[вул. Ринкова]{1}"), exact)->text(),
              QStringLiteral("[вул. Ринкова]{1}</E>"));
    EXPECT_EQ(points.itemFor(QStringLiteral("Вокзал"), contains)->text(), QStringLiteral("Вокзал<7>"));
    EXPECT_EQ(points.itemFor(QStringLiteral("Вокз"), contains)->text(), QStringLiteral("Вокз</E>"));
    EXPECT_FALSE(points.itemFor(QString(), exact));
}

TEST_F(ClientCards, TheSuffixLookupFindsWhatLikeFindsAndFollowsEveryChange)
{
    addClient(QStringLiteral("00001"), QStringLiteral("Перший"), QStringLiteral("0671234567 332211"));
    addClient(QStringLiteral("00002"), QStringLiteral("Другий"), QStringLiteral("+380671234567"));
    addClient(QStringLiteral("00003"), QStringLiteral("Третій"), QStringLiteral("  *21#  050 1234"));
    addClient(QStringLiteral("00004"), QStringLiteral("Четвертий"), QString());
    const QString longNumber = QStringLiteral("1234567890123456789012345678901234567890");
    addClient(QStringLiteral("00005"), QStringLiteral("П'ятий"), longNumber);
    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_TELEFON = NULL WHERE KLIENT_FIO = 'Четвертий'"));
    lookup->orderBy(QStringLiteral("KLIENT_NUMBER"));

    const auto likeFinds = [&](const QString& number) {
        QStringList found;
        for (const auto& row : db->exec(QStringLiteral("SELECT KLIENT_FIO FROM KLIENT WHERE ") +
                                        sql::containsCondition(QStringLiteral("KLIENT_TELEFON"), number) +
                                        QStringLiteral(" ORDER BY KLIENT_NUMBER"))
                                   .rows)
            found << row[0].toString();
        return found;
    };
    const QStringList numbers = {
        QStringLiteral("0671234567"), QStringLiteral("671234"), QStringLiteral("7"),
        QStringLiteral("332211"),     QStringLiteral("+38"),    QStringLiteral("*21#"),
        QStringLiteral("21#"),        QStringLiteral("050"),    QStringLiteral("0501234"),
        QStringLiteral("9999"),       longNumber.mid(8, 32),    longNumber.right(32)};
    const auto checkAll = [&] {
        for (const QString& number : numbers) {
            lookup->filterByTelephone(number);
            ASSERT_TRUE(ws->dani->clientsFilter.startsWith(QLatin1String("JOIN"))) << number.toStdString();
            EXPECT_EQ(names(), likeFinds(number)) << number.toStdString();
        }
    };
    checkAll();
    EXPECT_EQ(likeFinds(QStringLiteral("671234")).size(), 2);

    // Edits, renumbering and deletion on another workstation.
    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_TELEFON = '0509998877' WHERE KLIENT_FIO = 'Перший'"));
    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_NUMBER = 40 WHERE KLIENT_FIO = 'Другий'"));
    db->exec(QStringLiteral("UPDATE KLIENT SET KLIENT_TELEFON = '7 7' WHERE KLIENT_FIO = 'Четвертий'"));
    db->exec(QStringLiteral("DELETE FROM KLIENT WHERE KLIENT_FIO = 'Третій'"));
    checkAll();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM KLIENT_TELEFON_SUFIKS WHERE KT_KLIENT_NUMBER = 3")),
              0);

    // Text with blanks or wildcards goes the LIKE way, as typed.
    lookup->filterByTelephone(QStringLiteral("050 1"));
    EXPECT_TRUE(ws->dani->clientsFilter.startsWith(QLatin1String("WHERE")));
}

TEST(ClientLookupWithoutSuffixes, ADatabaseWithoutTheSuffixTableIsSearchedWithLike)
{
    TestDatabase older;
    older.exec(QStringLiteral("DROP TRIGGER TR_KLIENT_TELEFON_SUFIKS"));
    older.exec(QStringLiteral("DROP TABLE KLIENT_TELEFON_SUFIKS"));
    older.exec(QStringLiteral(
        "INSERT INTO KLIENT (KLIENT_NUMBER, KLIENT_FIO, KLIENT_TELEFON) VALUES (1, 'Старий', '0671234567')"));
    TestWorkstation station(older.serverSettings());
    ASSERT_TRUE(station.connect());
    ClientLookup lookup(*station.dani, station.prompts);
    EXPECT_TRUE(lookup.filterByCaller(QStringLiteral("+38 067 123")));
    EXPECT_TRUE(station.dani->clientsFilter.startsWith(QLatin1String("WHERE (KLIENT_TELEFON LIKE")));
    ASSERT_TRUE(lookup.requery());
    EXPECT_EQ(lookup.list().recordCount(), 0); // "+38067123" is not in "0671234567"
    EXPECT_TRUE(lookup.filterByCaller(QStringLiteral("067 123")));
    ASSERT_TRUE(lookup.requery());
    EXPECT_EQ(lookup.list().recordCount(), 1);
}

TEST_F(ClientCards, TheCardButtonsAddATelephoneOfDigitsAndOfferTheStreetsHoldingTheText)
{
    using Card = ClientCardEditor::Card;
    ws->prompts.answerInput(QStringLiteral("+38 (067) 123-45-67"));
    EXPECT_EQ(editor->askTelephone(Card::New, QStringLiteral("00101"), QString()),
              QStringLiteral("38 067 1234567"));
    ASSERT_EQ(ws->prompts.shown().size(), 1);
    EXPECT_EQ(ws->prompts.shown()[0].title, QStringLiteral("Добавлення телефона до коду клієнта : 00101"));
    // A cancelled box gives what it offered: the telephone search text.
    ws->prompts.cancelInput();
    EXPECT_EQ(editor->askTelephone(Card::Edited, QStringLiteral("00042"), QStringLiteral("0501112233")),
              QStringLiteral("0501112233"));
    EXPECT_EQ(ws->prompts.shown()[1].title,
              QStringLiteral("Добавлення нового телефона до існуючого коду клієнта : 00042"));
    ws->prompts.answerInput(QStringLiteral("немає"));
    EXPECT_FALSE(editor->askTelephone(Card::Edited, QStringLiteral("00042"), QStringLiteral("0501112233")));

    db->exec(QStringLiteral("DELETE FROM VULICA_LUCK"));
    int number = 0;
    for (const char* street :
         {"вул. Лук'янівська", "вул. Лук'янівська", "пров. Лук'янівський", "вул. Соборна"})
        db->exec(
            QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER, SPISOK_VUL_VULICA) VALUES (%1, %2)")
                .arg(sql::integer(++number), sql::text(QString::fromUtf8(street))));
    db->exec(QStringLiteral("INSERT INTO VULICA_LUCK (SPISOK_VUL_NOMER) VALUES (99)"));
    EXPECT_EQ(editor->streetsContaining(QStringLiteral("Лук'ян")),
              (QStringList{QStringLiteral("вул. Лук'янівська"), QStringLiteral("пров. Лук'янівський")}));
    EXPECT_EQ(editor->streetsContaining(QString()).size(), 3);
}
