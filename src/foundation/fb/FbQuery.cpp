#include "foundation/fb/FbQuery.h"

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

const FbRows& FbQuery::exec(const QString& sql)
{
    m_rows = FbRows();
    m_affected = 0;
    cp1251::EncodeError encodeError;
    const auto text = cp1251::encode(sql, &encodeError);
    if (!text)
        throw DbError(encodeError.message());

    FbConnection& connection = m_transaction.connection();
    FbConnection::CallScope scope(connection);
    ITransaction* tra = m_transaction.handle();
    IAttachment* att = connection.attachment();
    FbStatus status;
    IStatement* stmt = status.run([&](auto* s) {
        return att->prepare(s, tra, 0, text->constData(), 3, IStatement::PREPARE_PREFETCH_METADATA);
    });
    IMessageMetadata* meta = nullptr;
    IResultSet* cursor = nullptr;
    try {
        meta = status.run([&](auto* s) { return stmt->getOutputMetadata(s); });
        const unsigned count = status.run([&](auto* s) { return meta->getCount(s); });
        const unsigned flags = status.run([&](auto* s) { return stmt->getFlags(s); });
        std::vector<Field> fields(count);
        for (unsigned i = 0; i < count; ++i) {
            status.run([&](auto* s) {
                fields[i] =
                    Field{meta->getType(s, i) & ~1u,       meta->getScale(s, i),      meta->getLength(s, i),
                          meta->getOffset(s, i),           meta->getNullOffset(s, i), meta->getCharSet(s, i),
                          unsigned(meta->getSubType(s, i))};
                m_rows.columns << QString::fromLatin1(meta->getAlias(s, i)).toUpper();
                return 0;
            });
        }
        const unsigned length = count ? status.run([&](auto* s) { return meta->getMessageLength(s); }) : 0;
        std::vector<unsigned char> buffer(length);
        auto appendRow = [&] {
            std::vector<QVariant> row;
            row.reserve(count);
            for (const Field& f : fields)
                row.push_back(decodeField(status, att, tra, f, buffer.data()));
            m_rows.rows.push_back(std::move(row));
        };
        if (count > 0 && (flags & IStatement::FLAG_HAS_CURSOR)) {
            cursor = status.run([&](auto* s) { return stmt->openCursor(s, tra, nullptr, nullptr, meta, 0); });
            while (status.run([&](auto* s) { return cursor->fetchNext(s, buffer.data()); }) ==
                   IStatus::RESULT_OK)
                appendRow();
            status.run([&](auto* s) {
                cursor->close(s);
                return 0;
            });
            cursor = nullptr;
        } else {
            status.run([&](auto* s) {
                return stmt->execute(s, tra, nullptr, nullptr, count ? meta : nullptr,
                                     count ? buffer.data() : nullptr);
            });
            if (count > 0) // EXECUTE PROCEDURE returns its outputs as one row
                appendRow();
            m_affected = qint64(status.run([&](auto* s) { return stmt->getAffectedRecords(s); }));
        }
    } catch (...) {
        if (cursor)
            cursor->release();
        if (meta)
            meta->release();
        stmt->release();
        throw;
    }
    meta->release();
    stmt->release();
    return m_rows;
}
