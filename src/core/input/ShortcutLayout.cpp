#include "ShortcutLayout.h"

#include "ports/KeyboardLayout.h"
#include "ports/Log.h"
#include "ports/MainQueue.h"

namespace fenwold {

ShortcutLayout::ShortcutLayout(KeyboardLayout& layouts, MainQueue& mainQueue, Log& log)
    : layouts_(layouts), mainQueue_(mainQueue), log_(log), keyboardType_(layouts.keyboardType()) {
    rebuild();
    changes_ = layouts_.observeChanges([this] { rebuild(); });
}

ShortcutLayout::~ShortcutLayout() = default;

void ShortcutLayout::keyboardTyped(uint32_t keyboardType) {
    if (keyboardType == 0 || keyboardType == table().keyboardType()) return;
    // One rebuild per new type, however many keys arrive before it runs.
    if (requestedType_.exchange(keyboardType) == keyboardType) return;
    mainQueue_.post([this, keyboardType] {
        keyboardType_ = keyboardType;
        rebuild();
    });
}

void ShortcutLayout::rebuild() {
    const std::optional<KeyboardInputSource> source = layouts_.currentSource();
    std::optional<LayoutTranslations> keys;
    if (source && source->asciiCapable) keys = layouts_.translate(LayoutChoice::current, keyboardType_);
    // A non-Latin source, or a layout without Unicode data: what the system uses for shortcuts.
    if (!keys) keys = layouts_.translate(LayoutChoice::asciiCapable, keyboardType_);
    if (!keys) {
        log_.line(QStringLiteral("Fenwold: no keyboard layout could be read — shortcuts use US key labels"));
        publish(KeyLayoutTable::us(keyboardType_));
        return;
    }
    publish(KeyLayoutTable::from(*keys));
}

void ShortcutLayout::publish(KeyLayoutTable table) {
    const KeyLayoutTable* now = current_.load(std::memory_order_relaxed);
    if (now && *now == table) return;
    const KeyLayoutTable* chosen = nullptr;
    for (const auto& kept : published_)
        if (*kept == table) chosen = kept.get();
    if (!chosen) {
        published_.push_back(std::make_unique<const KeyLayoutTable>(std::move(table)));
        chosen = published_.back().get();
    }
    current_.store(chosen, std::memory_order_release);
    if (!chosen->sourceID().isEmpty())
        log_.line(QStringLiteral("Fenwold: shortcuts follow the keyboard layout %1").arg(chosen->sourceID()));
}

} // namespace fenwold
