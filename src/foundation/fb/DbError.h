#pragma once

#include <QString>
#include <stdexcept>

// A failure of the database layer with the text the dispatcher sees.
class DbError : public std::runtime_error
{
public:
    enum class Kind {
        Other,
        // A row this transaction wanted is locked or was changed by another one: nothing
        // was written, and trying again later may succeed.
        LockConflict,
        // The link to the server is gone (or did not answer in time).
        LinkLost,
    };

    explicit DbError(const QString& message, Kind kind = Kind::Other)
        : std::runtime_error(message.toStdString()), m_message(message), m_kind(kind)
    {
    }
    const QString& message() const { return m_message; }
    Kind kind() const { return m_kind; }
    bool lockConflict() const { return m_kind == Kind::LockConflict; }
    bool linkLost() const { return m_kind == Kind::LinkLost; }

    // What the dispatcher reads for a lock conflict.
    static QString lockConflictMessage()
    {
        return QStringLiteral("Дані змінилися: запис зараз змінює інший користувач програми. При потребі "
                              "повторіть спробу.");
    }

private:
    QString m_message;
    Kind m_kind;
};
