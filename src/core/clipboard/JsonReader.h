#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

// A strict JSON reader (RFC 8259, UTF-8) that walks a document in order without building it:
// strings come back as views of the input when they hold no escape, so a large value is never
// copied. Any error is sticky: every later call fails.
class JsonReader {
public:
    enum class Kind { object, array, string, number, boolean, null, invalid };

    explicit JsonReader(std::string_view input);

    // The kind of the next value.
    Kind peek();
    bool enterObject();
    bool enterArray();
    // Whether the array or object entered last has another element, consuming the comma before
    // it; at its end, consumes the closing bracket and leaves it. In an object, read the key next.
    bool more();
    // The member's name and its colon; its value is next.
    bool key(std::string_view& name);
    // Unescaped, valid UTF-8; a view of the input, or of a buffer owned by the reader until the
    // next string is read when it had escapes.
    bool string(std::string_view& value);
    // Reads the next string through `take` when `take` accepts the bytes between its opening quote
    // and the next quote as they are, which it may do only when they hold no backslash, control
    // character or byte beyond ASCII: then they are the string's value, found by looking for the
    // quote alone. Otherwise reads nothing, and string() reads it or tells what is wrong.
    template <typename Take>
    bool plainString(Take take);
    bool number(double& value);
    // Any one value, checked like the rest of the document.
    bool skip();
    // Whether the document was read without error and only white space follows it.
    bool finish();
    bool failed() const { return failed_; }

private:
    bool fail();
    void skipWhiteSpace();
    bool literal(std::string_view word);
    bool unescape(std::size_t from);
    bool enter(char open);

    std::string_view input_;
    std::size_t pos_ = 0;
    bool failed_ = false;
    struct Level {
        char close;
        bool first;
    };
    std::vector<Level> levels_;
    std::string scratch_;
};

template <typename Take>
bool JsonReader::plainString(Take take) {
    if (peek() != Kind::string) return false;
    const std::string_view rest = input_.substr(pos_ + 1);
    const std::size_t length = rest.find('"');
    if (length == std::string_view::npos || !take(rest.substr(0, length))) return false;
    pos_ += length + 2;
    return true;
}

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

} // namespace fenwold
