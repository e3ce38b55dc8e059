#include "FinderKeys.h"

#include "core/hints/HintHUD.h"
#include "core/input/Inject.h"
#include "core/input/KeyLayoutTable.h"
#include "core/input/Keys.h"
#include "core/input/MenuEquivalents.h"
#include "core/settings/Prefs.h"
#include "ports/Accessibility.h"
#include "ports/Log.h"
#include "ports/MainQueue.h"
#include "ports/Workspace.h"

namespace fenwold {

CutState::Verb CutState::on(char32_t letter, bool inFinder) {
    if (inFinder) {
        if (letter == U'x') {
            cut_ = true;
            return Verb::copyInstead;
        }
        if (letter == U'c') {
            cut_ = false;
            return Verb::pass;
        }
        if (letter == U'v' && cut_) {
            cut_ = false;
            return Verb::move;
        }
        return Verb::pass;
    }
    if (letter == U'v') cut_ = false;
    return Verb::pass;
}

void CutState::macKey(char32_t letter, bool inFinder) {
    if (letter == U'v' || (inFinder && (letter == U'x' || letter == U'c'))) cut_ = false;
}

bool PlainKeyCoordinator::begin(const Mapping& mapping, uint64_t originalFlags, int32_t pid,
                                std::optional<Delivery>& repeat) {
    std::lock_guard guard(lock_);
    const auto it = pending_.find(mapping.originalKey);
    if (it == pending_.end()) {
        pending_[mapping.originalKey] = Pending{mapping, originalFlags, pid, false, std::nullopt, false};
        anyPending_.store(true, std::memory_order_release);
        return true;
    }
    if (it->second.downDelivered)
        repeat = Delivery{mapping.originalKey, originalFlags, it->second.pid, Delivery::Part::down};
    return false;
}

bool PlainKeyCoordinator::release(uint16_t key, std::optional<Delivery>& ready) {
    if (!anyPending_.load(std::memory_order_acquire)) return false;
    std::lock_guard guard(lock_);
    auto it = pending_.find(key);
    if (it == pending_.end()) return false;
    it->second.released = true;
    ready = takeIfReadyLocked(key);
    return true;
}

void PlainKeyCoordinator::resolve(uint16_t key, bool useOriginal, int32_t deliverTo,
                                  std::optional<Delivery>& ready) {
    std::lock_guard guard(lock_);
    auto it = pending_.find(key);
    if (it == pending_.end() || it->second.useOriginal) return;
    it->second.useOriginal = useOriginal;
    it->second.pid = deliverTo;
    ready = takeIfReadyLocked(key);
}

std::vector<PlainKeyCoordinator::Delivery> PlainKeyCoordinator::takeAll() {
    std::map<uint16_t, Pending> taken;
    {
        std::lock_guard guard(lock_);
        taken.swap(pending_);
        anyPending_.store(false, std::memory_order_release);
    }
    std::vector<Delivery> out;
    for (const auto& [key, p] : taken)
        out.push_back({p.mapping.originalKey, p.originalFlags, p.pid,
                       p.downDelivered ? Delivery::Part::up : Delivery::Part::press});
    return out;
}

std::optional<PlainKeyCoordinator::Delivery> PlainKeyCoordinator::takeIfReadyLocked(uint16_t key) {
    auto it = pending_.find(key);
    if (it == pending_.end() || !it->second.useOriginal) return std::nullopt;
    Pending& p = it->second;
    const bool asTyped = *p.useOriginal;
    if (asTyped && !p.released && !p.downDelivered) {
        p.downDelivered = true;
        return Delivery{p.mapping.originalKey, p.originalFlags, p.pid, Delivery::Part::down};
    }
    if (!p.released) return std::nullopt;
    const Delivery owed =
        !asTyped && p.mapping.viaMenu
            ? Delivery{p.mapping.originalKey, p.originalFlags,       p.pid,          Delivery::Part::press,
                       p.mapping.viaMenu,     p.mapping.mappedFlags, p.mapping.entry}
        : !asTyped        ? Delivery{p.mapping.mappedKey, p.mapping.mappedFlags, p.pid}
        : p.downDelivered ? Delivery{p.mapping.originalKey, p.originalFlags, p.pid, Delivery::Part::up}
                          : Delivery{p.mapping.originalKey, p.originalFlags, p.pid};
    pending_.erase(it);
    anyPending_.store(!pending_.empty(), std::memory_order_release);
    return owed;
}

FinderKeys::FinderKeys(PrefsStore& prefs, Workspace& workspace, Accessibility& accessibility,
                       MainQueue& mainQueue, const Inject& inject, HintHUD& hints, Log& log,
                       MenuEquivalents* menus)
    : prefs_(&prefs), workspace_(&workspace), accessibility_(&accessibility), mainQueue_(&mainQueue),
      inject_(&inject), hints_(&hints), log_(&log), menus_(menus) {}

namespace {

using Held = FinderKey::Held;
using S = CatalogueSection;

constexpr FinderKey kFinderKeys[] = {
    {kF2, 0, Held::nothing, PrefKey::finderF2, kReturn, 0, 0, u"F2", u"Return"},
    {kReturn, 0, Held::nothing, PrefKey::finderEnter, 0, U'o', flag::command, u"Enter", u"⌘ O ~or ⌘ ↓"},
    {kKeypadEnter, 0, Held::nothing, PrefKey::finderEnter, 0, U'o', flag::command, u"Enter", u"⌘ O ~or ⌘ ↓"},
    {kFwdDelete, 0, Held::nothing, PrefKey::finderDelete, kDelete, 0, flag::command, u"Del", u"⌘ ⌫"},
    {0, U'd', Held::ctrl, PrefKey::finderDelete, kDelete, 0, flag::command, u"Ctrl+D", u"⌘ ⌫"},
    {kDelete, 0, Held::nothing, PrefKey::finderBack, 0, U'[', flag::command, u"Backspace", u"⌘ ["},
    {kUp, 0, Held::option, PrefKey::finderUp, kUp, 0, flag::command, u"Alt+↑", u"⌘ ↑"},
    {kReturn, 0, Held::option, PrefKey::finderInfo, 0, U'i', flag::command, u"Alt+Enter", u"⌘ I"},
    {kKeypadEnter, 0, Held::option, PrefKey::finderInfo, 0, U'i', flag::command, u"Alt+Enter", u"⌘ I"},
};

// The settings window's texts for the keys of the table and for the cut, which the cut state
// decides.
constexpr ListedShortcut kFinderCatalogue[] = {
    {PrefKey::finderF2,
     {S::finder, u"F2", u"Rename the selected file",
      u"Like Explorer. The Mac way, pressing Return, renames while the Enter row is off."}},
    {PrefKey::finderEnter,
     {S::finder, u"Enter", u"Open the selected file",
      u"Like Explorer. Replaces the Mac behavior where Return renames — use the F2 row "
      u"for that instead."}},
    {PrefKey::finderDelete,
     {S::finder, u"Del · Ctrl+D", u"Move to Trash",
      u"The forward-delete key (Del) and Ctrl+D trash the selection, like Explorer. "
      u"While renaming, both still edit the name."}},
    {PrefKey::finderBack,
     {S::finder, u"Backspace", u"Back",
      u"Goes back to the folder shown before (⌘[), like Explorer. While renaming, "
      u"Backspace still deletes characters."}},
    {PrefKey::finderUp,
     {S::finder, u"Alt+↑", u"Enclosing folder",
      u"Opens the folder that holds this one (⌘↑), like Explorer."}},
    {PrefKey::finderInfo,
     {S::finder, u"Alt+Enter", u"Get Info",
      u"Shows the selection's Get Info window (⌘I), Explorer's Properties."}},
    {PrefKey::finderCut,
     {S::finder, u"Ctrl+X then Ctrl+V", u"Cut and move files",
      u"Cut a file, then paste to move it — like Explorer. (macOS wants ⌘C then ⌥⌘V.) "
      u"Copying with Ctrl+C cancels a pending cut."}},
};

QString text(std::u16string_view t) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(t.data()), static_cast<qsizetype>(t.size()));
}

// Which modifiers a key-down holds, as the table tells them apart; none for another mix.
std::optional<Held> heldOf(uint64_t flags, bool swapCtrlCmd) {
    const bool option = flags & flag::option;
    const bool ctrl = flags & ctrlMask(swapCtrlCmd);
    const bool win = flags & winMask(swapCtrlCmd);
    if (!option && !ctrl && !win) return Held::nothing;
    if (option && !ctrl && !win) return Held::option;
    if (ctrl && !option && !win && !(flags & flag::shift)) return Held::ctrl;
    return std::nullopt;
}

} // namespace

std::span<const ListedShortcut> finderListings() {
    return kFinderCatalogue;
}

std::optional<PlainKeyCoordinator::Mapping>
FinderKeys::plainMapping(int64_t key, char32_t letter, uint64_t flags, const KeyLayoutTable& layout) const {
    if (key < 0 || key > 0xFFFF) return std::nullopt;
    const auto held = heldOf(flags, Prefs(*prefs_).swapCtrlCmd());
    if (!held) return std::nullopt;
    for (std::size_t i = 0; i < std::size(kFinderKeys); ++i) {
        const FinderKey& k = kFinderKeys[i];
        if (k.held != *held || (k.letter ? k.letter != letter : k.key != key)) continue;
        PlainKeyCoordinator::Mapping m{static_cast<uint16_t>(key), k.mappedKey, k.mappedFlags,
                                       static_cast<int>(i)};
        if (k.mappedLetter) {
            if (const auto stroke = layout.keyFor(k.mappedLetter)) {
                m.mappedKey = stroke->keyCode;
                if (stroke->shift) m.mappedFlags |= flag::shift;
            } else {
                m.viaMenu = k.mappedLetter;
            }
        }
        return m;
    }
    return std::nullopt;
}

bool FinderKeys::handle(int64_t key, char32_t letter, uint64_t flags, const KeyLayoutTable& layout) {
    // Ctrl, arriving as Command under the swap, without Win or Option (a Command the Windows key
    // sends is not it).
    const bool swappedCtrl =
        (flags & flag::command) && !(flags & (flag::control | flag::option)) && Prefs(*prefs_).swapCtrlCmd();
    if (swappedCtrl && (letter == U'x' || letter == U'c' || letter == U'v'))
        return clipboardKey(letter, layout);
    const auto mapping = plainMapping(key, letter, flags, layout);
    // Most keys are none of the table's: answer before asking the workspace anything.
    if (!mapping) return false;

    const auto front = workspace_->frontmostApp();
    const bool inFinder = front && front->bundleID == QLatin1String(kFinderBundleID);
    const int32_t pid = front ? front->pid : 0;
    if (!inFinder || pid < 1 ||
        !Prefs(*prefs_).on(kFinderKeys[static_cast<std::size_t>(mapping->entry)].pref))
        return false;
    std::optional<PlainKeyCoordinator::Delivery> repeat;
    if (!coordinator_.begin(*mapping, flags, pid, repeat)) { // an autorepeat of a pending key
        if (repeat) deliver(*repeat);
        return true;
    }
    mainQueue_->post([this, original = mapping->originalKey, entry = mapping->entry, pid,
                      viaMenu = mapping->viaMenu != 0] { resolvePlain(original, entry, pid, viaMenu); });
    return true;
}

bool FinderKeys::clipboardKey(char32_t letter, const KeyLayoutTable& layout) {
    if (!Prefs(*prefs_).finderCut()) return false;
    const auto front = workspace_->frontmostApp();
    const bool inFinder = front && front->bundleID == QLatin1String(kFinderBundleID);
    const int32_t pid = front ? front->pid : 0;
    switch (cut_.on(letter, inFinder)) {
    case CutState::Verb::copyInstead: {
        const auto copy = layout.keyFor(U'c');
        if (pid < 1 || !copy) return false;
        inject_->post(copy->keyCode, flag::command, pid);
        hints_->show(QStringLiteral("Ctrl+X"), QStringLiteral("⌘ C ~then ⌥ ⌘ V"));
        return true;
    }
    case CutState::Verb::move: {
        const auto paste = layout.keyFor(U'v');
        if (pid < 1 || !paste) return false;
        inject_->post(paste->keyCode, flag::command | flag::option, pid);
        hints_->show(QStringLiteral("Ctrl+V"), QStringLiteral("⌥ ⌘ V ~moves ~the ~cut ~files"));
        return true;
    }
    case CutState::Verb::pass:
        return false;
    }
    return false;
}

bool FinderKeys::handleKeyUp(int64_t key) {
    if (key < 0 || key > 0xFFFF) return false;
    std::optional<PlainKeyCoordinator::Delivery> ready;
    if (!coordinator_.release(static_cast<uint16_t>(key), ready)) return false;
    if (ready) deliver(*ready);
    return true;
}

void FinderKeys::cancelPending() {
    for (const auto& d : coordinator_.takeAll())
        deliver(d);
}

std::optional<FinderKeys::FocusOwner> FinderKeys::focusOwner(int32_t finderPid) {
    Accessibility& ax = *accessibility_;
    // Finder's own element, with a short timeout of its own: the system-wide element would wait
    // for a hung Finder as long as the process-wide default (about six seconds, on the main
    // thread), and a timeout set on it would become that default.
    const AXElement finder = ax.application(finderPid);
    ax.setMessagingTimeout(finder, 0.15);
    auto focused = ax.attribute(finder, QStringLiteral("AXFocusedUIElement")).asElement();
    if (!focused || focused->isNull()) return std::nullopt;
    // Finder has answered, so the system-wide element no longer waits on it; only that element
    // sees another process's panel holding the keyboard while Finder stays in front (Spotlight's
    // search field), which must get the key as it was typed.
    if (const auto wide = ax.attribute(ax.systemWide(), QStringLiteral("AXFocusedUIElement")).asElement();
        wide && !wide->isNull())
        focused = wide;
    ax.setMessagingTimeout(*focused, 0.15);
    const auto pid = ax.pid(*focused);
    const auto role = ax.attribute(*focused, QStringLiteral("AXRole")).asString();
    if (!pid || !role) return std::nullopt;
    return FocusOwner{*pid, *role == QLatin1String("AXTextField") || *role == QLatin1String("AXTextArea")};
}

void FinderKeys::resolvePlain(uint16_t originalKey, int entry, int32_t pid, bool viaMenu) {
    const auto owner = focusOwner(pid);
    const bool mapped = owner && owner->pid == pid && !owner->editing;
    const FinderKey& k = kFinderKeys[static_cast<std::size_t>(entry)];
    // Through a menu item, the hint names the item once it is pressed.
    if (mapped && !viaMenu) hints_->show(text(k.win), text(k.mac));
    const int32_t deliverTo = owner && owner->pid != pid ? owner->pid : pid;
    std::optional<PlainKeyCoordinator::Delivery> ready;
    coordinator_.resolve(originalKey, !mapped, deliverTo, ready);
    if (ready) deliver(*ready);
}

void FinderKeys::deliver(const PlainKeyCoordinator::Delivery& d) const {
    using Part = PlainKeyCoordinator::Delivery::Part;
    if (d.viaMenu && menus_) {
        const FinderKey& k = kFinderKeys[static_cast<std::size_t>(d.entry)];
        // Queued: the key-up that completes a delivery arrives on the tap's thread.
        menus_->perform({text(k.win), d.pid, {d.viaMenu, d.menuFlags}, d.key, d.flags});
        return;
    }
    if (d.part == Part::press)
        inject_->post(d.key, d.flags, d.pid);
    else
        inject_->postHalf(d.key, d.part == Part::down, d.flags, d.pid);
}

} // namespace fenwold
