#include "SimKeyboardLayout.h"

#include "ports/KeyCodes.h"

namespace fenwold {

namespace {

const QString kUS = QStringLiteral("com.apple.keylayout.US");

std::vector<SimLayout> standardLayouts() {
    constexpr std::u16string_view us = u"asdfhgzxcv§bqweryt123465=97-80]ou[ip\rlj'k;\\,/nm.\t `";
    constexpr std::u16string_view usShifted = u"ASDFHGZXCV±BQWERYT!@#$^%+(&_*)}OU{IP\rLJ\"K:|<?NM>\t ~";
    constexpr std::u16string_view dvorak = u"aoeudi;qjk§x',.pfy123465]97[80=rg/cl\rnh-ts\\wzbmv\t `";
    constexpr std::u16string_view dvorakShifted = u"AOEUDI:QJK±X\"<>PFY!@#$^%}(&{*)+RG?CL\rNH_TS|WZBMV\t ~";
    return {
        {kUS, QStringLiteral("US"), QStringLiteral("US"), true, us, usShifted, {}, {}, {}},
        {QStringLiteral("com.apple.keylayout.German"),
         QStringLiteral("German"),
         QStringLiteral("DE"),
         true,
         u"asdfhgyxcv<bqwerzt123465´97ß80+ouüip\rljäkö#,-nm.\t ^",
         u"ASDFHGYXCV>BQWERZT!\"§$&%`)/?(=*OUÜIP\rLJÄKÖ';_NM:\t °",
         {},
         {},
         u"´`^"},
        // With Command held the number row gives its digits, so ⌘1…⌘0 need no Shift.
        {QStringLiteral("com.apple.keylayout.French"), QStringLiteral("French"), QStringLiteral("FR"), true,
         u"qsdfhgwxcv<bazeryt&é\"'§(-çè)!à$ou^ip\rljùkm`;=n,:\t @",
         u"QSDFHGWXCV>BAZERYT123465_97°80*OU¨IP\rLJ%KM£.+N?/\t #",
         u"qsdfhgwxcv<bazeryt123465-97)80$ou^ip\rljùkm`;=n,:\t @",
         u"QSDFHGWXCV>BAZERYT123465_97°80*OU¨IP\rLJ%KM£.+N?/\t #", u"^¨`"},
        {QStringLiteral("com.apple.keylayout.Dvorak"),
         QStringLiteral("Dvorak"),
         QStringLiteral("DV"),
         true,
         dvorak,
         dvorakShifted,
         {},
         {},
         {}},
        {QStringLiteral("com.apple.keylayout.DVORAK-QWERTYCMD"),
         QStringLiteral("Dvorak – QWERTY ⌘"),
         QStringLiteral("DV⌘"),
         true,
         dvorak,
         dvorakShifted,
         us,
         usShifted,
         {}},
        {QStringLiteral("com.apple.keylayout.Russian"),
         QStringLiteral("Russian"),
         QStringLiteral("RU"),
         false,
         u"фыварпячсм§ийцукне123465=97-80ъщгхшз\rдоэлж\\б.тью\t ё",
         u"ФЫВАРПЯЧСМ±ИЙЦУКНЕ!\"№;:%+(?_*)ЪЩГХШЗ\rДОЭЛЖ/Б,ТЬЮ\t Ё",
         {},
         {},
         {}},
    };
}

std::optional<QChar> keyOf(std::u16string_view keys, uint16_t keyCode) {
    if (keyCode < keys.size()) return QChar(keys[keyCode]);
    for (const KeypadKey& k : kKeypadKeys)
        if (k.code == keyCode) return QChar(k.character);
    return std::nullopt;
}

std::u16string_view commandKeys(const SimLayout& layout, bool shift) {
    if (shift) return layout.commandShifted.empty() ? layout.typedShifted : layout.commandShifted;
    return layout.command.empty() ? layout.typed : layout.command;
}

KeyTranslation translation(const SimLayout& layout, uint16_t keyCode, bool shift) {
    const auto c = keyOf(commandKeys(layout, shift), keyCode);
    if (!c) return {};
    // A dead key types nothing yet; it only remembers its accent.
    if (layout.deadKeys.find(c->unicode()) != std::u16string_view::npos) return {QString(), true};
    return {QString(*c), false};
}

std::optional<TypedKey> keyIn(std::u16string_view plain, std::u16string_view shifted, QChar character) {
    const auto block = static_cast<std::size_t>(kMainBlockKeys);
    for (std::size_t code = 0; code < block; ++code)
        if (plain[code] == character.unicode()) return TypedKey{static_cast<uint16_t>(code), false};
    for (std::size_t code = 0; code < block; ++code)
        if (shifted[code] == character.unicode()) return TypedKey{static_cast<uint16_t>(code), true};
    return std::nullopt;
}

} // namespace

SimKeyboardLayout::SimKeyboardLayout(SimInputSources& sources)
    : sources_(sources), layouts_(standardLayouts()), lastAsciiCapable_(kUS) {
    selection_ = sources_.observeSelection([this] { selectionChanged(); });
    selectionChanged();
}

const SimLayout* SimKeyboardLayout::find(const QString& idOrName) const {
    for (const SimLayout& layout : layouts_) {
        const QString tail = layout.id.section(QLatin1Char('.'), -1);
        if (layout.id == idOrName || layout.name.compare(idOrName, Qt::CaseInsensitive) == 0 ||
            tail.compare(idOrName, Qt::CaseInsensitive) == 0)
            return &layout;
    }
    return nullptr;
}

bool SimKeyboardLayout::select(const QString& idOrName) {
    const SimLayout* layout = find(idOrName);
    if (!layout) return false;
    const QString id = layout->id;
    std::vector<InputSourceInfo> all;
    for (const SimLayout& l : layouts_)
        all.push_back({l.id, true, true, true});
    if (sources_.sources() != all) sources_.setSources(all, sources_.current().value_or(kUS));
    return sources_.select(id);
}

void SimKeyboardLayout::selectionChanged() {
    {
        std::lock_guard lock(mutex_);
        const SimLayout* now = find(sources_.current().value_or(QString()));
        if (now && now->asciiCapable) lastAsciiCapable_ = now->id;
    }
    observers_.notify();
}

const SimLayout& SimKeyboardLayout::typing() const {
    const SimLayout* now = find(sources_.current().value_or(QString()));
    return now ? *now : *find(kUS);
}

const SimLayout& SimKeyboardLayout::shortcuts() const {
    const SimLayout& now = typing();
    if (now.asciiCapable) return now;
    std::lock_guard lock(mutex_);
    return *find(lastAsciiCapable_);
}

std::optional<KeyboardInputSource> SimKeyboardLayout::currentSource() const {
    const auto id = sources_.current();
    if (!id) return std::nullopt;
    const SimLayout* layout = find(*id);
    return KeyboardInputSource{*id, layout && layout->asciiCapable};
}

std::optional<LayoutTranslations> SimKeyboardLayout::translate(LayoutChoice which,
                                                               uint32_t keyboardType) const {
    const SimLayout& layout = which == LayoutChoice::current ? typing() : shortcuts();
    LayoutTranslations keys;
    keys.sourceID = layout.id;
    keys.keyboardType = keyboardType;
    for (uint16_t code = 0; code < kLayoutKeyCount; ++code) {
        keys.plain[code] = translation(layout, code, false);
        keys.shifted[code] = translation(layout, code, true);
    }
    return keys;
}

uint32_t SimKeyboardLayout::keyboardType() const {
    return kKeyboardType;
}

Subscription SimKeyboardLayout::observeChanges(std::function<void()> handler) {
    return observers_.add(std::move(handler));
}

std::optional<QChar> SimKeyboardLayout::typed(uint16_t keyCode, bool shift) const {
    const SimLayout& layout = typing();
    return keyOf(shift ? layout.typedShifted : layout.typed, keyCode);
}

std::optional<QChar> SimKeyboardLayout::equivalent(uint16_t keyCode, bool shift) const {
    return keyOf(commandKeys(shortcuts(), shift), keyCode);
}

std::optional<TypedKey> SimKeyboardLayout::keyTyping(QChar character) const {
    if (character == QLatin1Char('\n')) return TypedKey{kReturn, false};
    const SimLayout& layout = typing();
    return keyIn(layout.typed, layout.typedShifted, character);
}

std::optional<TypedKey> SimKeyboardLayout::keyForShortcut(QChar character) const {
    const SimLayout& layout = shortcuts();
    if (auto key = keyIn(commandKeys(layout, false), commandKeys(layout, true), character.toLower()))
        return key;
    return keyTyping(character);
}

void SimKeyboardLayout::install(const SimLayout& layout) {
    layouts_.push_back(layout);
}

} // namespace fenwold
