#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace fenwold {

// Parses an absolute URL with an authority ("scheme://host…") the lenient way the Mac's URL
// parsing does on current systems: characters strict RFC 3986 does not allow in a component are
// percent-encoded rather than failing the parse. Nothing, when the text has no scheme or
// authority, a malformed scheme or port, or a host that stays invalid.
std::optional<QUrl> parseLenientURL(const QString& text);

} // namespace fenwold
