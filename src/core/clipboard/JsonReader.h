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

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

} // namespace fenwold
