#pragma once

// What every fuzz target shares: a contract check that stops the run with a readable reason
// (libFuzzer then saves the input), and input helpers.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fenwold::fuzz {

[[noreturn]] inline void broken(const char* expression, const char* file, int line,
                                const std::string& detail) {
    std::fprintf(stderr, "\ncontract broken at %s:%d: %s\n%s\n", file, line, expression, detail.c_str());
    std::abort();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Text from fuzz bytes: UTF-8 when the first byte is even, otherwise the rest as raw UTF-16 code
// units, so unpaired surrogates reach the code under test too.
inline QString textOf(const uint8_t* data, size_t size) {
    if (size == 0) return {};
    if (data[0] % 2 == 0)
        return QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    QString text(static_cast<qsizetype>((size - 1) / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data + 1, static_cast<size_t>(text.size()) * 2); // the bytes may be unaligned
    return text;
}

inline std::string quoted(const QString& text) {
    return "\"" + text.toStdString() + "\"";
}

} // namespace fenwold::fuzz

// The contract holds, or the run stops with the expression, where it is and what was seen.
#define FUZZ_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition)) ::fenwold::fuzz::broken(#condition, __FILE__, __LINE__, (detail));                 \
    } while (false)
