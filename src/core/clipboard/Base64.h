#pragma once

#include <QByteArray>
#include <optional>
#include <string_view>

namespace fenwold::Base64 {

// Strict standard Base64: the RFC 4648 alphabet, padded with "=" to a multiple of four, no line
// breaks or other characters; nothing for any other text. Whole blocks of characters are decoded
// at once where the processor allows it.
std::optional<QByteArray> decode(std::string_view text);

// The same, one group of four characters at a time on any processor: the reference the block
// decoding is held to.
std::optional<QByteArray> decodeByGroups(std::string_view text);

// Whether decode() takes whole blocks at once on this processor.
bool decodesBlocks();

} // namespace fenwold::Base64
