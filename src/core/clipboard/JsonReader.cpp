#include "JsonReader.h"

#include <QByteArrayView>
#include <cstring>

namespace fenwold {

namespace {

// Deeper documents are refused rather than walked, as the Mac's JSON reader refuses them.
constexpr std::size_t kMaxDepth = 512;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Printable ASCII without an escape needs no further check; the loop vectorises, so long Base64
// values cost one pass.
bool isPlainAscii(std::string_view bytes) {
    unsigned char outside = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        outside |= static_cast<unsigned char>((byte < 0x20) | (byte >= 0x80) | (byte == '\\'));
    }
    return outside == 0;
}

// How far from the start the bytes are all printable ASCII other than a quote or a backslash,
// told in whole blocks: the stretch ends within the block after. A long string is so crossed once
// rather than once for its closing quote and once more for what needs checking.
std::size_t plainBlocks(const char* bytes, std::size_t size) {
    constexpr std::size_t block = 64;
    std::size_t at = 0;
    for (; at + block <= size; at += block) {
        unsigned char stop = 0;
        for (std::size_t k = 0; k < block; ++k) {
            const auto byte = static_cast<unsigned char>(bytes[at + k]);
            stop |=
                static_cast<unsigned char>((byte < 0x20) | (byte >= 0x80) | (byte == '\\') | (byte == '"'));
        }
        if (stop) break;
    }
    return at;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t c = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

JsonReader::JsonReader(std::string_view input) : input_(input) {
    // A byte-order mark may open the document.
    if (input_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool JsonReader::fail() {
    failed_ = true;
    return false;
}

void JsonReader::skipWhiteSpace() {
    while (pos_ < input_.size()) {
        const char c = input_[pos_];
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return;
        ++pos_;
    }
}

JsonReader::Kind JsonReader::peek() {
    if (failed_) return Kind::invalid;
    skipWhiteSpace();
    if (pos_ >= input_.size()) return Kind::invalid;
    switch (input_[pos_]) {
    case '{':
        return Kind::object;
    case '[':
        return Kind::array;
    case '"':
        return Kind::string;
    case 't':
    case 'f':
        return Kind::boolean;
    case 'n':
        return Kind::null;
    default:
        return input_[pos_] == '-' || isDigit(input_[pos_]) ? Kind::number : Kind::invalid;
    }
}

bool JsonReader::enter(char open) {
    if (failed_) return false;
    skipWhiteSpace();
    if (pos_ >= input_.size() || input_[pos_] != open || levels_.size() >= kMaxDepth) return fail();
    ++pos_;
    levels_.push_back({open == '{' ? '}' : ']', true});
    return true;
}

bool JsonReader::enterObject() {
    return enter('{');
}

bool JsonReader::enterArray() {
    return enter('[');
}

bool JsonReader::more() {
    if (failed_ || levels_.empty()) return fail();
    skipWhiteSpace();
    if (pos_ >= input_.size()) return fail();
    Level& level = levels_.back();
    if (input_[pos_] == level.close) {
        ++pos_;
        levels_.pop_back();
        return false;
    }
    if (!level.first) {
        if (input_[pos_] != ',') return fail();
        ++pos_;
    }
    level.first = false;
    return true;
}

bool JsonReader::key(std::string_view& name) {
    if (!string(name)) return false;
    skipWhiteSpace();
    if (pos_ >= input_.size() || input_[pos_] != ':') return fail();
    ++pos_;
    return true;
}

bool JsonReader::string(std::string_view& value) {
    if (peek() != Kind::string) return fail();
    const std::size_t start = pos_ + 1;
    const char* begin = input_.data() + start;
    const std::size_t rest = input_.size() - start;
    const std::size_t plain = plainBlocks(begin, rest);
    const void* quote = std::memchr(begin + plain, '"', rest - plain);
    if (!quote) return fail();
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(quote) - begin);
    const std::string_view raw = input_.substr(start, length);
    if (!isPlainAscii(raw.substr(plain))) {
        if (std::memchr(begin, '\\', length)) {
            if (!unescape(start)) return false;
            value = scratch_;
            return true;
        }
        for (const char c : raw)
            if (static_cast<unsigned char>(c) < 0x20) return fail();
        if (!isValidUtf8(raw)) return fail();
    }
    pos_ = start + length + 1;
    value = raw;
    return true;
}

bool JsonReader::unescape(std::size_t from) {
    scratch_.clear();
    std::size_t i = from;
    std::size_t plain = from; // start of the stretch not yet copied
    auto readHex4 = [&](std::size_t at, char32_t& unit) {
        if (input_.size() - at < 4) return false;
        unit = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const int digit = hexValue(input_[at + k]);
            if (digit < 0) return false;
            unit = unit * 16 + static_cast<char32_t>(digit);
        }
        return true;
    };
    while (true) {
        if (i >= input_.size()) return fail();
        const auto c = static_cast<unsigned char>(input_[i]);
        if (c == '"' || c == '\\') {
            const std::string_view stretch = input_.substr(plain, i - plain);
            for (const char s : stretch)
                if (static_cast<unsigned char>(s) < 0x20) return fail();
            if (!isValidUtf8(stretch)) return fail();
            scratch_.append(stretch);
            if (c == '"') break;
            if (i + 1 >= input_.size()) return fail();
            const char escape = input_[i + 1];
            i += 2;
            switch (escape) {
            case '"':
            case '\\':
            case '/':
                scratch_ += escape;
                break;
            case 'b':
                scratch_ += '\b';
                break;
            case 'f':
                scratch_ += '\f';
                break;
            case 'n':
                scratch_ += '\n';
                break;
            case 'r':
                scratch_ += '\r';
                break;
            case 't':
                scratch_ += '\t';
                break;
            case 'u': {
                char32_t unit = 0;
                if (!readHex4(i, unit)) return fail();
                i += 4;
                if (unit >= 0xDC00 && unit <= 0xDFFF) return fail(); // a lone low surrogate
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    char32_t low = 0;
                    if (input_.substr(i, 2) != "\\u" || !readHex4(i + 2, low) || low < 0xDC00 || low > 0xDFFF)
                        return fail();
                    i += 6;
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(scratch_, unit);
                break;
            }
            default:
                return fail();
            }
            plain = i;
            continue;
        }
        ++i;
    }
    pos_ = i + 1;
    return true;
}

bool JsonReader::number(double& value) {
    if (peek() != Kind::number) return fail();
    const std::size_t start = pos_;
    std::size_t i = pos_;
    auto digits = [&] {
        const std::size_t first = i;
        while (i < input_.size() && isDigit(input_[i]))
            ++i;
        return i > first;
    };
    const bool negative = input_[i] == '-';
    if (negative) ++i;
    const bool belowOne = i < input_.size() && input_[i] == '0';
    if (belowOne) {
        ++i;
    } else if (!digits()) {
        return fail();
    }
    if (i < input_.size() && input_[i] == '.') {
        ++i;
        if (!digits()) return fail();
    }
    bool shrinks = false;
    if (i < input_.size() && (input_[i] == 'e' || input_[i] == 'E')) {
        ++i;
        shrinks = i < input_.size() && input_[i] == '-';
        if (i < input_.size() && (input_[i] == '+' || input_[i] == '-')) ++i;
        if (!digits()) return fail();
    }
    bool ok = false;
    value = QByteArrayView(input_.data() + start, static_cast<qsizetype>(i - start)).toDouble(&ok);
    if (!ok) {
        // Too small for a double reads as zero; too large is refused rather than read as infinity.
        if (!belowOne && !shrinks) return fail();
        value = negative ? -0.0 : 0.0;
    }
    pos_ = i;
    return true;
}

bool JsonReader::literal(std::string_view word) {
    if (input_.substr(pos_, word.size()) != word) return fail();
    pos_ += word.size();
    return true;
}

bool JsonReader::skip() {
    const std::size_t depth = levels_.size();
    // One value at this level, or the start of a container whose contents the loop walks.
    auto step = [this] {
        std::string_view ignored;
        double number = 0;
        switch (peek()) {
        case Kind::object:
            return enterObject();
        case Kind::array:
            return enterArray();
        case Kind::string:
            return string(ignored);
        case Kind::number:
            return this->number(number);
        case Kind::boolean:
            return input_[pos_] == 't' ? literal("true") : literal("false");
        case Kind::null:
            return literal("null");
        case Kind::invalid:
            break;
        }
        return fail();
    };
    if (!step()) return false;
    while (levels_.size() > depth) {
        if (!more()) {
            if (failed_) return false;
            continue;
        }
        std::string_view name;
        if (levels_.back().close == '}' && !key(name)) return false;
        if (!step()) return false;
    }
    return !failed_;
}

bool JsonReader::finish() {
    if (failed_ || !levels_.empty()) return fail();
    skipWhiteSpace();
    return pos_ == input_.size() || fail();
}

} // namespace fenwold
