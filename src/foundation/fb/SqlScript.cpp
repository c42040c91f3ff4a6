#include "foundation/fb/SqlScript.h"

#include "foundation/fb/DbError.h"
#include "foundation/fb/FbConnection.h"
#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <QRegularExpression>

QStringList splitSqlScript(const QString& script)
{
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    const qsizetype n = script.size();
    auto flush = [&] {
        const QString statement = current.trimmed();
        current.clear();
        if (statement.isEmpty())
            return;
        static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
        const auto match = setTerm.match(statement);
        if (match.hasMatch())
            terminator = match.captured(1);
        else
            statements << statement;
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = script[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = script.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end + 1;
            current += script.mid(i, stop - i);
            i = stop;
        } else if (script.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = script.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end;
        } else if (script.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (script.mid(i, terminator.size()) == terminator) {
            flush();
            i += terminator.size();
        } else {
            current += c;
            ++i;
        }
    }
    flush();
    return statements;
}

void runSqlScript(FbConnection& connection, const QString& script)
{
    FbTransaction transaction(connection, QStringLiteral("SCRIPT"));
    FbQuery query(transaction);
    static const QRegularExpression ddl(QStringLiteral("^(CREATE|ALTER|DROP|RECREATE|DECLARE)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    int number = 0;
    for (const QString& statement : splitSqlScript(script)) {
        ++number;
        try {
            query.exec(statement);
            if (ddl.match(statement).hasMatch())
                transaction.commit();
        } catch (const DbError& e) {
            transaction.rollbackQuietly();
            throw DbError(QStringLiteral("Statement %1 failed: %2\n%3")
                              .arg(QString::number(number), e.message(), statement.left(300)));
        }
    }
    transaction.commit();
}
