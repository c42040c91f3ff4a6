#include "foundation/fb/FbStatement.h"

#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbStatus.h"
#include "foundation/fb/FbTransaction.h"
#include "platform/Cp1251.h"

#include <QDateTime>
#include <cmath>
#include <cstring>

using namespace Firebird;

namespace {

struct Field
{
    unsigned type = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
    unsigned charSet = 0;
    unsigned subType = 0;
};

template <typename T> T readAt(const unsigned char* buffer, unsigned offset)
{
    T value;
    std::memcpy(&value, buffer + offset, sizeof value);
    return value;
}

QDate decodeDate(ISC_DATE date)
{
    unsigned y = 0, m = 0, d = 0;
    FbClient::util()->decodeDate(date, &y, &m, &d);
    return QDate(int(y), int(m), int(d));
}

QTime decodeTime(ISC_TIME time)
{
    unsigned h = 0, mi = 0, s = 0, frac = 0;
    FbClient::util()->decodeTime(time, &h, &mi, &s, &frac);
    return QTime(int(h), int(mi), int(s), int(frac / 10));
}

QVariant scaled(qint64 raw, int scale)
{
    if (scale == 0)
        return QVariant(raw);
    return QVariant(double(raw) * std::pow(10.0, scale));
}

QString readBlobText(FbStatus& status, IAttachment* att, ITransaction* tra, ISC_QUAD id)
{
    IBlob* blob = status.run([&](auto* s) { return att->openBlob(s, tra, &id, 0, nullptr); });
    QByteArray bytes;
    char chunk[8192];
    for (;;) {
        unsigned got = 0;
        const int rc = status.run([&](auto* s) { return blob->getSegment(s, sizeof chunk, chunk, &got); });
        if (rc == IStatus::RESULT_NO_DATA)
            break;
        bytes.append(chunk, got);
    }
    status.run([&](auto* s) {
        blob->close(s);
        return 0;
    });
    return cp1251::decode(bytes);
}

QVariant decodeField(FbStatus& status, IAttachment* att, ITransaction* tra, const Field& f,
                     const unsigned char* buffer)
{
    if (readAt<short>(buffer, f.nullOffset))
        return {};
    const unsigned char* p = buffer + f.offset;
    switch (f.type) {
    case SQL_TEXT: {
        QString text = cp1251::decode(QByteArrayView(reinterpret_cast<const char*>(p), f.length));
        while (text.endsWith(QLatin1Char(' '))) // CHAR columns come padded
            text.chop(1);
        return text;
    }
    case SQL_VARYING: {
        const auto length = readAt<unsigned short>(buffer, f.offset);
        return cp1251::decode(QByteArrayView(reinterpret_cast<const char*>(p + 2), length));
    }
    case SQL_SHORT:
        return scaled(readAt<short>(buffer, f.offset), f.scale);
    case SQL_LONG:
        return scaled(readAt<int>(buffer, f.offset), f.scale);
    case SQL_INT64:
        return scaled(readAt<qint64>(buffer, f.offset), f.scale);
    case SQL_FLOAT:
        return double(readAt<float>(buffer, f.offset));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return readAt<double>(buffer, f.offset);
    case SQL_BOOLEAN:
        return bool(*p);
    case SQL_TYPE_DATE:
        return decodeDate(readAt<ISC_DATE>(buffer, f.offset));
    case SQL_TYPE_TIME:
        return decodeTime(readAt<ISC_TIME>(buffer, f.offset));
    case SQL_TIMESTAMP: {
        const auto ts = readAt<ISC_TIMESTAMP>(buffer, f.offset);
        return QDateTime(decodeDate(ts.timestamp_date), decodeTime(ts.timestamp_time));
    }
    case SQL_BLOB:
        return readBlobText(status, att, tra, readAt<ISC_QUAD>(buffer, f.offset));
    default:
        throw DbError(QStringLiteral("Непідтримуваний тип поля %1").arg(f.type));
    }
}

} // namespace

struct FbStatement::Impl
{
    FbConnection* connection = nullptr;
    IAttachment* attachment = nullptr;
    ITransaction* transaction = nullptr;
    IStatement* statement = nullptr;
    IMessageMetadata* meta = nullptr;
    IResultSet* cursor = nullptr;
    unsigned flags = 0;
    std::vector<Field> fields;
    QStringList columns;
    std::vector<unsigned char> buffer;
    qint64 affected = 0;
    FbStatus status;

    ~Impl()
    {
        if (cursor)
            cursor->release();
        if (meta)
            meta->release();
        if (statement)
            statement->release();
    }

    void appendRow(FbRows& into)
    {
        std::vector<QVariant> row;
        row.reserve(fields.size());
        for (const Field& f : fields)
            row.push_back(decodeField(status, attachment, transaction, f, buffer.data()));
        into.rows.push_back(std::move(row));
    }

    void closeCursor()
    {
        IResultSet* open = cursor;
        cursor = nullptr;
        try {
            status.run([&](auto* s) {
                open->close(s);
                return 0;
            });
        } catch (const DbError&) {
            open->release();
            throw;
        }
    }
};

FbStatement::FbStatement(FbTransaction& transaction, const QString& sql) : m(std::make_unique<Impl>())
{
    cp1251::EncodeError encodeError;
    const auto text = cp1251::encode(sql, &encodeError);
    if (!text)
        throw DbError(encodeError.message());
    m->connection = &transaction.connection();
    FbConnection::CallScope scope(*m->connection);
    m->transaction = transaction.handle();
    m->attachment = transaction.connection().attachment();
    FbStatus& status = m->status;
    m->statement = status.run([&](auto* s) {
        return m->attachment->prepare(s, m->transaction, 0, text->constData(), 3,
                                      IStatement::PREPARE_PREFETCH_METADATA);
    });
    m->meta = status.run([&](auto* s) { return m->statement->getOutputMetadata(s); });
    const unsigned count = status.run([&](auto* s) { return m->meta->getCount(s); });
    m->flags = status.run([&](auto* s) { return m->statement->getFlags(s); });
    m->fields.resize(count);
    for (unsigned i = 0; i < count; ++i) {
        status.run([&](auto* s) {
            IMessageMetadata* meta = m->meta;
            m->fields[i] =
                Field{meta->getType(s, i) & ~1u,       meta->getScale(s, i),      meta->getLength(s, i),
                      meta->getOffset(s, i),           meta->getNullOffset(s, i), meta->getCharSet(s, i),
                      unsigned(meta->getSubType(s, i))};
            m->columns << QString::fromLatin1(meta->getAlias(s, i)).toUpper();
            return 0;
        });
    }
    m->buffer.resize(count ? status.run([&](auto* s) { return m->meta->getMessageLength(s); }) : 0);
}

FbStatement::~FbStatement() = default;

const QStringList& FbStatement::columns() const
{
    return m->columns;
}

void FbStatement::execute(FbRows& into)
{
    FbStatus& status = m->status;
    FbConnection::CallScope scope(*m->connection);
    const bool hasOutput = !m->fields.empty();
    if (hasOutput && (m->flags & IStatement::FLAG_HAS_CURSOR)) {
        m->cursor = status.run([&](auto* s) {
            return m->statement->openCursor(s, m->transaction, nullptr, nullptr, m->meta, 0);
        });
        return;
    }
    status.run([&](auto* s) {
        return m->statement->execute(s, m->transaction, nullptr, nullptr, hasOutput ? m->meta : nullptr,
                                     hasOutput ? m->buffer.data() : nullptr);
    });
    if (hasOutput) // EXECUTE PROCEDURE returns its outputs as one row
        m->appendRow(into);
    m->affected = qint64(status.run([&](auto* s) { return m->statement->getAffectedRecords(s); }));
}

qint64 FbStatement::affectedRows() const
{
    return m->affected;
}

bool FbStatement::fetch(FbRows& into, int maxRows)
{
    if (!m->cursor)
        return false;
    FbConnection::CallScope scope(*m->connection);
    for (int fetched = 0; maxRows < 0 || fetched < maxRows; ++fetched) {
        if (m->status.run([&](auto* s) { return m->cursor->fetchNext(s, m->buffer.data()); }) !=
            IStatus::RESULT_OK) {
            m->closeCursor();
            return false;
        }
        m->appendRow(into);
    }
    return true;
}

bool FbStatement::cursorOpen() const
{
    return m->cursor != nullptr;
}
