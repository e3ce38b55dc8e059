#include "KeyLayoutTable.h"

namespace fenwold {

namespace {

// A US keyboard from key code 0 up; control characters mark the keys that type none.
constexpr char16_t kUsPlain[] = u"asdfhgzxcv§bqweryt123465=97-80]ou[ip\rlj'k;\\,/nm.\t `";
constexpr char16_t kUsShifted[] = u"ASDFHGZXCV±BQWERYT!@#$^%+(&_*)}OU{IP\rLJ\"K:|<?NM>\t ~";
static_assert(std::size(kUsPlain) == kMainBlockKeys + 1 && std::size(kUsShifted) == kMainBlockKeys + 1);

char32_t characterOf(const KeyTranslation& key) {
    if (key.deadKey || key.text.size() != 1) return 0;
    const char16_t c = key.text.front().unicode();
    // Return, Tab, Escape, the arrows and function keys type control characters.
    if (c < 0x20 || c == 0x7F || QChar::isSurrogate(c)) return 0;
    return c;
}

} // namespace

KeyLayoutTable KeyLayoutTable::from(const LayoutTranslations& keys) {
    KeyLayoutTable table;
    for (int code = 0; code < kLayoutKeyCount; ++code) {
        table.plain_[code] = characterOf(keys.plain[code]);
        table.shifted_[code] = characterOf(keys.shifted[code]);
    }
    table.sourceID_ = keys.sourceID;
    table.keyboardType_ = keys.keyboardType;
    return table;
}

KeyLayoutTable KeyLayoutTable::us(uint32_t keyboardType) {
    LayoutTranslations keys;
    for (int code = 0; code < kMainBlockKeys; ++code) {
        keys.plain[code].text = QChar(kUsPlain[code]);
        keys.shifted[code].text = QChar(kUsShifted[code]);
    }
    for (const KeypadKey& k : kKeypadKeys)
        keys.plain[k.code].text = keys.shifted[k.code].text = QChar(k.character);
    keys.keyboardType = keyboardType;
    return from(keys);
}

char32_t KeyLayoutTable::character(int64_t keyCode, bool shift) const {
    if (keyCode < 0 || keyCode >= kLayoutKeyCount) return 0;
    return (shift ? shifted_ : plain_)[static_cast<std::size_t>(keyCode)];
}

std::optional<KeyStroke> KeyLayoutTable::keyFor(char32_t character) const {
    if (character == 0) return std::nullopt;
    for (const bool shift : {false, true}) {
        const auto& level = shift ? shifted_ : plain_;
        for (int code = 0; code < kMainBlockKeys; ++code)
            if (level[code] == character) return KeyStroke{static_cast<uint16_t>(code), shift};
    }
    return std::nullopt;
}

QChar keycap(char32_t character) {
    return QChar(static_cast<char16_t>(character)).toUpper();
}

} // namespace fenwold
