#include "ToolCredentials.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ToolCredentials {

QString firstLine(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

QString readPasswordFile(const QString& path, QString* error)
{
    error->clear();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *error = QStringLiteral("cannot read the password file %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    // The file judged is the one opened (a symbolic link by its target), so the file
    // whose mode was checked is the file read.
    struct stat st = {};
    QString password;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = QStringLiteral("the password file %1 is not a regular file").arg(path);
    } else if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        *error = QStringLiteral("the password file %1 can be read or changed by others than its owner "
                                "(mode %2); make it owner-only: chmod 600 %1")
                     .arg(path)
                     .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    } else {
        QByteArray bytes;
        char buffer[4096];
        ssize_t n = 0;
        // Only the first line counts.
        while (!bytes.contains('\n') && bytes.size() < 65536 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, n);
        if (n < 0)
            *error = QStringLiteral("cannot read the password file %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        else if ((password = firstLine(bytes)).isEmpty())
            *error = QStringLiteral("the password file %1 holds no password on its first line").arg(path);
    }
    ::close(fd);
    return error->isEmpty() ? password : QString();
}

QString take(QStringList& args, ConnectionParameters& params)
{
    QString passwordFile;
    for (int i = 0; i < args.size();) {
        const QString& option = args[i];
        if (option == QLatin1String("--password") || option.startsWith(QLatin1String("--password=")))
            return QStringLiteral("a password on the command line can be read by every user of this "
                                  "computer; give it in ISC_PASSWORD or in --password-file FILE "
                                  "(readable by its owner only)");
        if (option != QLatin1String("--user") && option != QLatin1String("--password-file")) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("%1 needs a value").arg(option);
        (option == QLatin1String("--user") ? params.user : passwordFile) = args[i + 1];
        args.remove(i, 2);
    }
    if (!passwordFile.isEmpty()) {
        QString error;
        params.password = readPasswordFile(passwordFile, &error);
        return error;
    }
    if (!qEnvironmentVariableIsEmpty("ISC_PASSWORD"))
        params.password = qEnvironmentVariable("ISC_PASSWORD");
    return {};
}

} // namespace ToolCredentials
