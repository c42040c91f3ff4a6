#pragma once

#include "foundation/fb/FbTransaction.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class ClientLookup;
class IClock;
class IPrompts;
class SettingsStore;
class TDANI;

// The new-card page's boxes.
struct NewClientCard
{
    QString code = QStringLiteral("00000");
    QString name;
    QString street;
    QString house;
    QString apartment;
    QString telephones;
    QString password;
    std::optional<QDate> birthDate; // none: "без дати"
};

// The edit-card page's boxes.
struct EditedClientCard
{
    QString code;
    QString name;
    QString address; // free text; empty stores NULL
    QString telephones;
    QString password;
    std::optional<QDate> birthDate;
};

// Client codes and the create and edit commands of the client cards. Both commands end,
// when they change something, by filtering the client list to the client's code and
// running it again.
class ClientCardEditor
{
public:
    ClientCardEditor(TDANI& dani, SettingsStore& settings, IPrompts& prompts, IClock& clock,
                     ClientLookup& lookup);

    struct Assignment
    {
        QString code;
        int clientCount = 0;
        QString hint; // the assign button's hint
    };
    // The first free code after MIN_KOD_FOR_CREATE. Throws DbError.
    Assignment assignCode();
    // Every text between a "[" and the next "]" in the given KLIENT_DODATKOVO values.
    static QSet<QString> codesIn(const QStringList& extras);

    enum class Outcome {
        Invalid,   // no name or no code: told so
        Declined,  // the dispatcher said No
        CodeTaken, // another workstation took the code (or the list changed): told so
        Failed,    // the database refused: told so, nothing stored
        Done,
    };

    // Stores a new client. The code is assigned again just before the insert, and
    // counted again inside the insert's transaction: two workstations never store one
    // code (a simultaneous insert collides on KLIENT_NUMBER, which is unique).
    Outcome create(const NewClientCard& card);
    // Changes the current client of the list.
    Outcome edit(const EditedClientCard& card);

    // ---- the cards' buttons ----------------------------------------------------------
    // What a "+" button makes of a box: the addition after a blank (no blank in front of
    // it in an empty box).
    static QString appendedAfterBlank(const QString& text, const QString& addition);
    enum class Card { New, Edited };
    // The telephone to add to a card of this code, asked for with the telephone search
    // text offered; only its digits and blanks are kept, as the telephone boxes take no
    // more. None when nothing is left.
    std::optional<QString> askTelephone(Card card, const QString& code, const QString& offered);
    // The streets of VULICA_LUCK that hold the typed text, each once; none after a
    // failure, which is shown.
    QStringList streetsContaining(const QString& typed);
    // "Очистити всі поля" of the new card, after the dispatcher's Yes.
    bool confirmClearingNewCard();

    static const QString kNoNameOrCodeMessage;
    static const QString kCodeChangedMessage;
    static const QString kTelephonePrompt;

private:
    // False when the code turned out taken: nothing is stored then. Throws DbError.
    bool storeNewClient(const NewClientCard& card);

    TDANI& m_dani;
    SettingsStore& m_settings;
    IPrompts& m_prompts;
    IClock& m_clock;
    ClientLookup& m_lookup;
    FbTransaction m_transaction;
};
