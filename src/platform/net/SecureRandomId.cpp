#include "platform/net/SecureRandomId.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdlib>

namespace {

void fillRandom(char* target, std::size_t length)
{
    std::size_t filled = 0;
    while (filled < length) {
        const ssize_t got = ::getrandom(target + filled, length - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            std::abort(); // without a random source every identifier would be guessable
        }
        filled += static_cast<std::size_t>(got);
    }
}

} // namespace

QByteArray NewRawId()
{
    QByteArray id(16, '\0');
    fillRandom(id.data(), 16);
    return id;
}

QByteArray NewHexId()
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const QByteArray raw = NewRawId();
    QByteArray hex(32, '0');
    for (int i = 0; i < 16; ++i) {
        const auto byte = static_cast<unsigned char>(raw[i]);
        hex[2 * i] = digits[byte >> 4];
        hex[2 * i + 1] = digits[byte & 0x0F];
    }
    return hex;
}

quint32 RandomUInt32()
{
    quint32 value = 0;
    fillRandom(reinterpret_cast<char*>(&value), sizeof value);
    return value;
}
