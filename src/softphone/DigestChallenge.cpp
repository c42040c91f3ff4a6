#include "softphone/DigestChallenge.h"

namespace {

bool isTokenChar(char c)
{
    if (c >= 'a' && c <= 'z')
        return true;
    if (c >= 'A' && c <= 'Z')
        return true;
    if (c >= '0' && c <= '9')
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~/:@[]?").contains(c);
}

class Tokenizer
{
public:
    explicit Tokenizer(QByteArrayView text) : m_text(text) {}

    void skipSpaces()
    {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t'))
            ++m_at;
    }
    bool atEnd() const { return m_at >= m_text.size(); }
    bool take(char c)
    {
        if (atEnd() || m_text[m_at] != c)
            return false;
        ++m_at;
        return true;
    }
    // A value may also hold "=" (token68 padding, RFC 7235 section 2.1).
    QByteArray token(bool isValue = false)
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size() && (isTokenChar(m_text[m_at]) || (isValue && m_text[m_at] == '=')))
            ++m_at;
        return m_text.sliced(start, m_at - start).toByteArray();
    }
    // RFC 7230 section 3.2.6 quoted-string with backslash escapes.
    std::optional<QByteArray> quoted()
    {
        if (!take('"'))
            return std::nullopt;
        QByteArray value;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return value;
            if (c == '\\') {
                if (m_at >= m_text.size())
                    return std::nullopt;
                value.append(m_text[m_at++]);
            } else {
                value.append(c);
            }
        }
        return std::nullopt;
    }

private:
    QByteArrayView m_text;
    qsizetype m_at = 0;
};

} // namespace

std::optional<DigestChallenge> DigestChallenge::Parse(QByteArrayView header)
{
    Tokenizer input(header);
    input.skipSpaces();
    if (input.token().toLower() != "digest")
        return std::nullopt;

    DigestChallenge challenge;
    for (;;) {
        input.skipSpaces();
        while (input.take(','))
            input.skipSpaces();
        if (input.atEnd())
            break;
        const QByteArray name = input.token();
        input.skipSpaces();
        if (name.isEmpty() || !input.take('='))
            return std::nullopt;
        input.skipSpaces();
        std::optional<QByteArray> value = input.quoted();
        if (!value) {
            QByteArray plain = input.token(true);
            if (plain.isEmpty())
                return std::nullopt;
            value = plain;
        }
        challenge.m_parameters.append({name.toLower(), *value});
        input.skipSpaces();
        if (!input.atEnd() && !input.take(','))
            return std::nullopt;
    }
    return challenge;
}

QByteArray DigestChallenge::Parameter(QByteArrayView name) const
{
    const QByteArray wanted = name.toByteArray().toLower();
    for (const auto& [key, value] : m_parameters)
        if (key == wanted)
            return value;
    return {};
}

bool DigestChallenge::HasParameter(QByteArrayView name) const
{
    const QByteArray wanted = name.toByteArray().toLower();
    for (const auto& parameter : m_parameters)
        if (parameter.first == wanted)
            return true;
    return false;
}
