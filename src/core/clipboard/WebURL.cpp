#include "WebURL.h"

#include <QByteArray>
#include <algorithm>
#include <string_view>

namespace fenwold {

// The grammar: RFC 3986's split of an absolute URL, then per component its allowed characters.
//
//   URL       = scheme ":" "//" authority path [ "?" query ] [ "#" fragment ]
//   scheme    = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." )
//               (ends at the first ":", which comes before any / ? # [ ] @)
//   authority = [ userinfo "@" ] host [ ":" port ]
//               (ends at the first / ? #; the userinfo ends at the last @)
//   host      = "[" IP literal "]" / reg-name      (reg-name: unreserved, sub-delims, %XX)
//   port      = *DIGIT, at most 65535               (an empty port is dropped)
//   path      = *( pchar / "/" )                    (up to the first ? or #)
//   query     = *( pchar / "/" / "?" )              (up to the first #)
//   fragment  = *( pchar / "/" / "?" )              (the rest)
//
// A userinfo, path, query or fragment holding any other byte (a non-ASCII letter, | { } ^ " < >
// \ or a % not followed by two hex digits) is percent-encoded byte by byte as UTF-8 instead of
// failing, as the Mac's URL parsing has done since macOS 14; a host with non-ASCII letters is
// converted to its ASCII (IDNA) form. A malformed scheme, a port that is not a number of at most
// 65535 and a host that is still invalid after that fail the parse. For example
//   https://fonts.example.com/css?family=Roboto|Open+Sans
// reads as https://fonts.example.com/css?family=Roboto%7COpen+Sans, host fonts.example.com,
// while https://example.com:99999/ and https://:8080/ are no URLs.

namespace {

using Bytes = std::string_view;

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHex(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isUnreserved(char c) {
    return isAlpha(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}
bool isSubDelim(char c) {
    return Bytes("!$&'()*+,;=").find(c) != Bytes::npos;
}

enum class Part { userinfo, host, path, query };

bool allowedIn(Part part, char c) {
    if (isUnreserved(c) || isSubDelim(c)) return true;
    switch (part) {
    case Part::host:
        return false;
    case Part::userinfo:
        return c == ':';
    case Part::path:
        return c == ':' || c == '@' || c == '/';
    case Part::query:
        return c == ':' || c == '@' || c == '/' || c == '?';
    }
    return false;
}

// Whether every byte is allowed or a well-formed %XX escape.
bool isValid(Part part, Bytes text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2])) return false;
            i += 2;
        } else if (!allowedIn(part, text[i])) {
            return false;
        }
    }
    return true;
}

// The component as it is when valid, otherwise with every byte it does not allow escaped,
// "%" included.
QByteArray encoded(Part part, Bytes text) {
    if (isValid(part, text)) return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(static_cast<qsizetype>(text.size()) * 3);
    for (const char c : text) {
        if (c != '%' && allowedIn(part, c)) {
            out += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
    }
    return out;
}

bool isValidScheme(Bytes scheme) {
    if (scheme.empty() || !isAlpha(scheme.front())) return false;
    for (const char c : scheme)
        if (!isAlpha(c) && !isDigit(c) && c != '+' && c != '-' && c != '.') return false;
    return true;
}

bool isValidPort(Bytes port) {
    if (port.size() > 5) return false;
    int value = 0;
    for (const char c : port) {
        if (!isDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    return value <= 65535;
}

std::optional<QByteArray> encodedHost(Bytes host) {
    if (host.front() == '[')
        return QByteArray(host.data(), static_cast<qsizetype>(host.size())); // checked by QUrl
    if (isValid(Part::host, host)) return QByteArray(host.data(), static_cast<qsizetype>(host.size()));
    const bool ascii =
        std::all_of(host.begin(), host.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::nullopt;
    const QByteArray ace = QUrl::toAce(QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size())));
    if (ace.isEmpty() || !isValid(Part::host, Bytes(ace.constData(), static_cast<std::size_t>(ace.size()))))
        return std::nullopt;
    return ace;
}

} // namespace

std::optional<QUrl> parseLenientURL(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const Bytes url(utf8.constData(), static_cast<std::size_t>(utf8.size()));

    const std::size_t colon = url.find_first_of(":/?#[]@");
    if (colon == Bytes::npos || url[colon] != ':' || colon == 0) return std::nullopt;
    const Bytes scheme = url.substr(0, colon);
    if (!isValidScheme(scheme)) return std::nullopt;
    Bytes rest = url.substr(colon + 1);
    if (rest.substr(0, 2) != "//") return std::nullopt; // no authority, so no host
    rest.remove_prefix(2);

    const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    const Bytes authority = rest.substr(0, authorityEnd);
    rest.remove_prefix(authorityEnd);

    const std::size_t at = authority.rfind('@');
    const Bytes userinfo = at == Bytes::npos ? Bytes() : authority.substr(0, at);
    Bytes hostAndPort = at == Bytes::npos ? authority : authority.substr(at + 1);
    Bytes host = hostAndPort;
    Bytes port;
    if (!hostAndPort.empty() && hostAndPort.front() == '[' && hostAndPort.find(']') != Bytes::npos) {
        const std::size_t close = hostAndPort.find(']');
        host = hostAndPort.substr(0, close + 1);
        const Bytes after = hostAndPort.substr(close + 1);
        if (!after.empty() && after.front() != ':') return std::nullopt;
        if (!after.empty()) port = after.substr(1);
    } else if (const std::size_t portColon = hostAndPort.find(':'); portColon != Bytes::npos) {
        host = hostAndPort.substr(0, portColon);
        port = hostAndPort.substr(portColon + 1);
    }
    if (host.empty() || !isValidPort(port)) return std::nullopt;
    const auto hostText = encodedHost(host);
    if (!hostText) return std::nullopt;

    const std::size_t queryAt = rest.find('?');
    const std::size_t fragmentAt = rest.find('#');
    const std::size_t pathEnd = std::min({queryAt, fragmentAt, rest.size()});
    const Bytes path = rest.substr(0, pathEnd);

    QByteArray result = QByteArray(scheme.data(), static_cast<qsizetype>(scheme.size())) + "://";
    if (at != Bytes::npos) result += encoded(Part::userinfo, userinfo) + '@';
    result += *hostText;
    if (!port.empty()) result += ':' + QByteArray(port.data(), static_cast<qsizetype>(port.size()));
    result += encoded(Part::path, path);
    if (queryAt != Bytes::npos && queryAt < fragmentAt) {
        const std::size_t queryEnd = std::min(fragmentAt, rest.size());
        result += '?' + encoded(Part::query, rest.substr(queryAt + 1, queryEnd - queryAt - 1));
    }
    if (fragmentAt != Bytes::npos) result += '#' + encoded(Part::query, rest.substr(fragmentAt + 1));

    QUrl parsed(QString::fromLatin1(result), QUrl::StrictMode);
    if (!parsed.isValid()) return std::nullopt;
    return parsed;
}

} // namespace fenwold
