#include "ShortcutCatalogue.h"

#include "Prefs.h"

namespace fenwold {

const std::vector<RemapSection>& remapSections() {
    // The one place the user-visible vocabulary of the remaps lives.
    static const std::vector<RemapSection> sections = {
        {QStringLiteral("Windows key (arrives as ⌘)"),
         QString(QStringLiteral("Windows key (arrives as ⌃)")),
         {
             {PrefKey::snapKeys, QStringLiteral("Win+← → ↑ ↓"), QStringLiteral("Snap, maximize, minimize"),
              QStringLiteral("Win+← and Win+→ snap the front window to half the screen, Win+↑ maximizes, "
                             "Win+↓ minimizes — like on Windows. ⇧Win+↑ toggles real full screen; split view "
                             "is in the window menu (Alt+Space). Hides ⌘← ⌘→ ⌘↑ ⌘↓, which go to the ends of "
                             "a line or a document in Mac text.")},
             {PrefKey::snapQuadrants, QStringLiteral("Win+↑ ↓ after a snap"),
              QStringLiteral("Quarter snapping"),
              QStringLiteral("After snapping to a half, press Win+↑ or Win+↓ to move the window into the top "
                             "or bottom quarter, like Windows 11.")},
             {PrefKey::snapAssist, QStringLiteral("After a snap"), QStringLiteral("Snap assist"),
              QStringLiteral("After snapping a window to one half, pick a window for the other half from a "
                             "preview grid. Esc dismisses it; any other shortcut dismisses it and does its "
                             "own job.")},
             {PrefKey::snapDisplays, QStringLiteral("Win+Shift+← →"),
              QStringLiteral("Move to another display"),
              QStringLiteral(
                  "Moves the front window to the display on that side, round to the first after the "
                  "last, like on Windows. A snapped or maximized window keeps its half, quarter or "
                  "size there; any other keeps its size and place. With one display nothing "
                  "happens. Hides ⇧⌘← and ⇧⌘→, which select to the ends of a line.")},
             {PrefKey::winZ, QStringLiteral("Win+Z"), QStringLiteral("Snap layouts"),
              QStringLiteral(
                  "Shows the layouts of the front window's display — halves, thirds, two-thirds "
                  "beside a third, quarters. Press a layout's digit and then a zone's, or use the "
                  "arrows and Return, or click a zone; snap assist then fills the other zones. Esc "
                  "closes it. Hides ⌘Z, which undoes — Ctrl+Z does that too.")},
             {PrefKey::winD, QStringLiteral("Win+D"), QStringLiteral("Show the desktop"),
              QStringLiteral("Press again to restore your windows. Hides ⌘D, which bookmarks the page in "
                             "browsers and duplicates files in Finder.")},
             {PrefKey::winE, QStringLiteral("Win+E"), QStringLiteral("Open a file window"),
              QStringLiteral("A new Finder window at your home folder, like Explorer. Hides ⌘E, which most "
                             "apps use for \"use selection for find\".")},
             {PrefKey::winL, QStringLiteral("Win+L"), QStringLiteral("Lock the screen"),
              QStringLiteral("Hides ⌘L, which focuses the address bar in browsers.")},
             {PrefKey::winM, QStringLiteral("Win+M · Win+Home"), QStringLiteral("Minimize all windows"),
              QStringLiteral("Win+M minimizes everything; Win+Home minimizes everything except the current "
                             "window. Hides ⌘M, which minimizes just the current window on a Mac.")},
             {PrefKey::winNum, QStringLiteral("Win+1…9"), QStringLiteral("Open Dock apps"),
              QStringLiteral("Activates the Nth pinned app in the Dock, launching it if needed. Hides ⌘1–⌘9, "
                             "which switch tabs in browsers and many other apps.")},
             {PrefKey::winTab, QStringLiteral("Win+Tab"), QStringLiteral("Task View"),
              QStringLiteral("Shows Mission Control. Hides ⌘Tab, the macOS app switcher (the ⌥Tab switcher "
                             "covers that job).")},
             {PrefKey::winCtrlArrows, QStringLiteral("Win+Ctrl+← →"), QStringLiteral("Switch desktops"),
              QStringLiteral("Moves to the Space (desktop) on the left or right, as ⌃← and ⌃→ do on a Mac. "
                             "Hides ⌃⌘← and ⌃⌘→, which few apps use.")},
             {PrefKey::winCtrlD, QStringLiteral("Win+Ctrl+D"), QStringLiteral("New desktop"),
              QStringLiteral("Opens Mission Control: on a Mac a new Space is added with the + at its top "
                             "right. Hides ⌃⌘D, which looks up the word under the pointer.")},
             {PrefKey::winR, QStringLiteral("Win+R"), QStringLiteral("Launch apps with Spotlight"),
              QStringLiteral("Opens Spotlight’s Applications view so you can browse or type an app name and "
                             "press Return to launch it. Uses Launchpad before macOS 26. Without Ctrl/⌘ "
                             "swap, this replaces ⌘R (Reload).")},
             {PrefKey::winV, QStringLiteral("Win+V"), QStringLiteral("Clipboard shelf"),
              QStringLiteral("Collects text, images, links, and code while enabled. Win+V slides out a "
                             "searchable shelf: arrows browse, Return pastes, Shift+Return pastes plain "
                             "text, Space previews, and ⌘P pins. Recent clips stay in memory (up to 100); "
                             "only pinned clips are saved on this Mac. Password-manager and confidential "
                             "copies are skipped. Pause capture or clear recent clips in the shelf’s menu. "
                             "Without Ctrl/⌘ swap, this replaces ⌘V — enable Ctrl+V for ordinary paste.")},
         }},
        {QStringLiteral("Windows key: search, settings, the system"),
         std::nullopt,
         {
             {PrefKey::winAlone, QStringLiteral("Win alone"), QStringLiteral("Search with Spotlight"),
              QStringLiteral("Pressing and letting go of the Windows key by itself opens Spotlight, like the "
                             "Start menu's search. A key, a click or another modifier in between, or holding "
                             "it longer than 0.4 seconds, leaves it the plain ⌘ key, so ⌘ shortcuts keep "
                             "working.")},
             {PrefKey::winS, QStringLiteral("Win+S"), QStringLiteral("Search"),
              QStringLiteral("Opens Spotlight (⌘Space). Hides ⌘S, which saves — Ctrl+S does that too.")},
             {PrefKey::winI, QStringLiteral("Win+I"), QStringLiteral("Settings"),
              QStringLiteral("Opens System Settings. Hides ⌘I, which italicizes text and shows Get Info in "
                             "Finder.")},
             {PrefKey::winA, QStringLiteral("Win+A"), QStringLiteral("Quick settings"),
              QStringLiteral(
                  "Opens Control Centre in the menu bar: Wi-Fi, Bluetooth, sound, brightness. Hides "
                  "⌘A, which selects all — Ctrl+A does that too.")},
             {PrefKey::winN, QStringLiteral("Win+N"), QStringLiteral("Notifications"),
              QStringLiteral("Opens Notification Centre, as a click on the menu bar's clock does. Hides ⌘N, "
                             "which opens a new window or document — Ctrl+N does that too.")},
             {PrefKey::winP, QStringLiteral("Win+P"), QStringLiteral("Display settings"),
              QStringLiteral("Opens System Settings at Displays, where a Mac mirrors and arranges its "
                             "displays. Hides ⌘P, which prints — Ctrl+P does that too.")},
             {PrefKey::winPause, QStringLiteral("Win+Pause"), QStringLiteral("About This Mac"),
              QStringLiteral(
                  "Opens About in System Settings: the Mac's model, chip, memory and macOS version. "
                  "A PC keyboard's Pause key arrives as F15; ⌘F15 does nothing on a Mac.")},
             {PrefKey::winX, QStringLiteral("Win+X"), QStringLiteral("Quick link menu"),
              QStringLiteral(
                  "A menu at the pointer: Activity Monitor, Terminal, Disk Utility, System Settings, "
                  "Finder, Force Quit, Lock Screen, Log Out…, Sleep, Restart… and Shut Down…. "
                  "Arrows, Return, Esc and the underlined letters work; Log Out, Restart and Shut "
                  "Down ask first, as in the Apple menu. Hides ⌘X, which cuts — Ctrl+X does that "
                  "too.")},
             {PrefKey::winShiftS, QStringLiteral("Win+Shift+S"), QStringLiteral("Screenshot toolbar"),
              QStringLiteral("Opens the Screenshot toolbar (⇧⌘5): a region, a window or the whole screen, to "
                             "a file or the clipboard. Hides ⇧⌘S, which is Save As or Duplicate in many "
                             "apps.")},
             {PrefKey::winEmoji, QStringLiteral("Win+. · Win+;"), QStringLiteral("Emoji and symbols"),
              QStringLiteral("Opens the Character Viewer (⌃⌘Space) at the text cursor. Hides ⌘., which "
                             "cancels in dialogs and stops a running command in terminals, and ⌘;, which "
                             "finds misspelled words.")},
         }},
        {QStringLiteral("Ctrl"),
         std::nullopt,
         {
             {PrefKey::ctrlClipboard, QStringLiteral("Ctrl+C X V"), QStringLiteral("Copy, cut, paste"),
              QStringLiteral("Edit with Ctrl like on Windows — sends the matching ⌘ shortcut. Terminal apps "
                             "are left alone so Ctrl+C still interrupts. In Finder, Ctrl+X then Ctrl+V moves "
                             "files when the Finder row below is also on.")},
             {PrefKey::insertClipboard, QStringLiteral("Ctrl+Insert · Shift+Insert · Shift+Delete"),
              QStringLiteral("Copy, paste, cut"),
              QStringLiteral("The Linux and old-Windows clipboard keys — sends ⌘C, ⌘V and ⌘X. Works in "
                             "terminals too, where Ctrl+C must stay an interrupt. In Finder, Shift+Delete "
                             "then Shift+Insert moves files when the Finder row is on.")},
             {PrefKey::ctrlSelectAll, QStringLiteral("Ctrl+A"), QStringLiteral("Select all"),
              QStringLiteral("Sends ⌘A. Hides ⌃A, which moves the cursor to the start of the line in Mac "
                             "text fields. Terminal apps are left alone.")},
             {PrefKey::ctrlLetters, QStringLiteral("Ctrl+Z Y S F N O P W T …"),
              QStringLiteral("Editing and file keys"),
              QStringLiteral(
                  "Undo, redo, save, find, new, open, print, close, new tab, reload and the rest of "
                  "the Ctrl letters do what they do on Windows. Hides the Mac's own Control-letter "
                  "text keys in every app except terminals — ⌃F ⌃B ⌃N ⌃P move the cursor, ⌃O "
                  "opens a line, ⌃T transposes (⌃A, ⌃E and ⌃K have rows of their own). "
                  "⌃Backspace deletes a word, as ⌥⌫ does on a Mac.")},
             {PrefKey::ctrlWebLetters, QStringLiteral("Ctrl+D K J"),
              QStringLiteral("Bookmark, link, downloads"),
              QStringLiteral("Sends ⌘D, ⌘K and ⌘J: bookmark the page, add a link, show the downloads. Hides "
                             "⌃D, ⌃K and ⌃J, which delete forward, delete to the end of the line and break "
                             "the line in Mac text. In Finder Ctrl+D moves to the Trash (the Del row) and "
                             "the others pass; terminals keep all three.")},
             {PrefKey::ctrlSearch, QStringLiteral("Ctrl+E"), QStringLiteral("Search box"),
              QStringLiteral("Sends ⌘E, which searches with the selection; in Finder it sends ⌘F, never ⌘E, "
                             "which ejects the selected disk there. Hides ⌃E, which goes to the end of the "
                             "line in Mac text. Terminals keep it.")},
             {PrefKey::ctrlDigits, QStringLiteral("Ctrl+1…9"), QStringLiteral("Go to a tab"),
              QStringLiteral("Sends ⌘1 to ⌘8 for the first eight tabs and ⌘9 for the last one, as browsers "
                             "and most tabbed apps read them. Terminals keep the keys.")},
             {PrefKey::ctrlZoom, QStringLiteral("Ctrl++ − 0"), QStringLiteral("Resize content"),
              QStringLiteral("Zoom in, out and back to 100% with Ctrl like on Windows — sends ⌘+, ⌘− and ⌘0. "
                             "Works with the number row and the numeric keypad.")},
             {PrefKey::wheelZoom, QStringLiteral("Ctrl+scroll"), QStringLiteral("Zoom with the wheel"),
              QStringLiteral(
                  "Hold Ctrl (or ⌘) and scroll to zoom the frontmost app in and out, like Ctrl+wheel on "
                  "Windows. Works in any app that understands ⌘= and ⌘−; press ⌘0 (or Ctrl+0) to reset.")},
             {PrefKey::ctrlWord, QStringLiteral("Ctrl+← →"), QStringLiteral("Jump by word"),
              QStringLiteral("Like Windows text editing — sends ⌥← and ⌥→; add ⇧ to select. Hides ⌃← and ⌃→, "
                             "which switch Spaces (virtual desktops) on a Mac.")},
             {PrefKey::ctrlParagraph, QStringLiteral("Ctrl+↑ ↓"), QStringLiteral("Jump by paragraph"),
              QStringLiteral("Like Windows text editing — sends ⌥↑ and ⌥↓; add ⇧ to select. Hides ⌃↑ and ⌃↓, "
                             "which open Mission Control and App Exposé on a Mac. Terminals keep the keys.")},
             {PrefKey::ctrlPageTabs, QStringLiteral("Ctrl+PgDn PgUp"),
              QStringLiteral("Next and previous tab"),
              QStringLiteral("Sends ⌃⇥ and ⌃⇧⇥, which switch tabs in browsers, Finder and most tabbed apps. "
                             "Terminals keep the keys for the programs running in them.")},
             {PrefKey::homeEnd, QStringLiteral("Home · End · Ctrl+Home End"),
              QStringLiteral("Line and document ends"),
              QStringLiteral("Home and End go to line start and end, Ctrl+Home and Ctrl+End to the start and "
                             "end of the document; add ⇧ to select. Replaces the Mac behavior of scrolling "
                             "without moving the cursor.")},
             {PrefKey::ctrlF4, QStringLiteral("Ctrl+F4"), QStringLiteral("Close the tab or document"),
              QStringLiteral("Sends ⌘W, the Mac close-tab/close-window shortcut — like Ctrl+F4 closing the "
                             "current document or tab on Windows.")},
             {PrefKey::taskMgr, QStringLiteral("Ctrl+Shift+Esc"), QStringLiteral("Task Manager"),
              QStringLiteral("Opens Activity Monitor.")},
             {PrefKey::ctrlAltDelete, QStringLiteral("Ctrl+Alt+Delete"), QStringLiteral("Force Quit"),
              QStringLiteral("Opens the Force Quit Applications window (⌥⌘Esc), the Mac's way out of an app "
                             "that stopped answering.")},
         }},
        {QStringLiteral("Alt"),
         std::nullopt,
         {
             {PrefKey::altF4, QStringLiteral("Alt+F4"), QStringLiteral("Close or quit…"),
              QStringLiteral("Choose whether Alt+F4 closes a window or quits the app.")},
             {PrefKey::altSpace, QStringLiteral("Alt+Space"), QStringLiteral("Window menu"),
              QStringLiteral("Restore, Move, Minimize, Maximize, and Close for the current window. Move lets "
                             "the arrow keys reposition it. Replaces typing a non-breaking space.")},
             {PrefKey::altBackForward, QStringLiteral("Alt+← →"), QStringLiteral("Back and forward"),
              QStringLiteral("Sends ⌘[ and ⌘], back and forward in browsers, Finder and other apps with a "
                             "history. Hides ⌥← and ⌥→, which jump by word in Mac text (the Ctrl+← → row "
                             "does that). Terminals keep them.")},
             {PrefKey::altD, QStringLiteral("Alt+D"), QStringLiteral("Address bar"),
              QStringLiteral("Sends ⌘L, which selects the address bar in browsers; in Finder it opens Go to "
                             "Folder (⇧⌘G), since ⌘L there makes an alias. Hides typing the character ⌥D "
                             "gives. Terminals keep it.")},
         }},
        {QStringLiteral("Function keys"),
         std::nullopt,
         {
             {PrefKey::f5Refresh, QStringLiteral("F5"), QStringLiteral("Refresh"),
              QStringLiteral(
                  "Sends ⌘R, which reloads the page in browsers. Finder keeps itself up to date "
                  "(⌘R there shows an alias's original) and terminals keep F5 for their programs.")},
             {PrefKey::f3FindNext, QStringLiteral("F3 · Shift+F3"), QStringLiteral("Find next, previous"),
              QStringLiteral("Sends ⌘G and ⇧⌘G. Finder (where ⇧⌘G goes to a folder) and terminals keep the "
                             "keys.")},
             {PrefKey::f11FullScreen, QStringLiteral("F11"), QStringLiteral("Full screen"),
              QStringLiteral("Sends ⌃⌘F, which enters and leaves full screen. Hides F11's Mac meaning, Show "
                             "Desktop (Win+D does that). Terminals keep F11.")},
             {PrefKey::f1Help, QStringLiteral("F1"), QStringLiteral("Help"),
              QStringLiteral("Sends ⌘? (⇧⌘/), which opens the Help menu's search. Terminals keep F1.")},
             {PrefKey::contextMenu, QStringLiteral("Shift+F10 · Menu"), QStringLiteral("Context menu"),
              QStringLiteral("Opens the context menu of the focused item, as a Control-click does; nothing "
                             "happens where it has none. Works with the Menu key of a PC keyboard too. "
                             "Terminals keep Shift+F10.")},
         }},
        {QStringLiteral("Screen and mouse"),
         std::nullopt,
         {
             {PrefKey::screenshotKeys, QStringLiteral("PrtScn · Alt+PrtScn · Shift+PrtScn"),
              QStringLiteral("Screenshots"),
              QStringLiteral(
                  "PrtScn (F13 on the Mac side) copies the full screen to the clipboard; Alt+PrtScn copies "
                  "just the current window, without its shadow — exactly like on Windows. Shift+PrtScn opens "
                  "the Screenshot app's capture bar, like Win+Shift+S.")},
             {PrefKey::dblClickMax, QStringLiteral("Double-click title bar"), QStringLiteral("Maximize"),
              QStringLiteral("Fills the screen like Windows maximize instead of the macOS zoom/minimize "
                             "double-click action.")},
         }},
        {QStringLiteral("Remote access"),
         std::nullopt,
         {
             {PrefKey::parsecMouseFix, QStringLiteral("Mouse Back · Forward"),
              QStringLiteral("Fix Parsec's mouse buttons"),
              QStringLiteral(
                  "Parsec forwards the mouse's Back and Forward buttons with Windows numbering, so on the "
                  "Mac Back acts as Forward and Forward does nothing. Renumbers them so both work. Real mice "
                  "and RustDesk already use Mac numbering and are left untouched.")},
         }},
        {QStringLiteral("In Finder"),
         std::nullopt,
         {
             {PrefKey::finderF2, QStringLiteral("F2"), QStringLiteral("Rename the selected file"),
              QStringLiteral(
                  "Like Explorer. The Mac way, pressing Return, renames while the Enter row is off.")},
             {PrefKey::finderEnter, QStringLiteral("Enter"), QStringLiteral("Open the selected file"),
              QStringLiteral("Like Explorer. Replaces the Mac behavior where Return renames — use the F2 row "
                             "for that instead.")},
             {PrefKey::finderDelete, QStringLiteral("Del · Ctrl+D"), QStringLiteral("Move to Trash"),
              QStringLiteral("The forward-delete key (Del) and Ctrl+D trash the selection, like Explorer. "
                             "While renaming, both still edit the name.")},
             {PrefKey::finderBack, QStringLiteral("Backspace"), QStringLiteral("Back"),
              QStringLiteral("Goes back to the folder shown before (⌘[), like Explorer. While renaming, "
                             "Backspace still deletes characters.")},
             {PrefKey::finderUp, QStringLiteral("Alt+↑"), QStringLiteral("Enclosing folder"),
              QStringLiteral("Opens the folder that holds this one (⌘↑), like Explorer.")},
             {PrefKey::finderInfo, QStringLiteral("Alt+Enter"), QStringLiteral("Get Info"),
              QStringLiteral("Shows the selection's Get Info window (⌘I), Explorer's Properties.")},
             {PrefKey::finderCut, QStringLiteral("Ctrl+X then Ctrl+V"), QStringLiteral("Cut and move files"),
              QStringLiteral("Cut a file, then paste to move it — like Explorer. (macOS wants ⌘C then ⌥⌘V.) "
                             "Copying with Ctrl+C cancels a pending cut.")},
         }},
    };
    return sections;
}

QString Remap::pref() const {
    const std::string_view name = prefKeyName(key);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool Remap::swapDoesIt() const {
    return declarationOf(key).kind == PrefKind::ctrlToCmd;
}

const Remap* remapNamed(const QString& pref) {
    for (const auto& section : remapSections()) {
        for (const auto& row : section.rows) {
            if (row.pref() == pref) return &row;
        }
    }
    return nullptr;
}

QString sectionHeading(const RemapSection& section, bool swapCtrlCmd) {
    return swapCtrlCmd && section.swapName ? *section.swapName : section.name;
}

bool rowDisabled(const Remap& row, bool swapCtrlCmd) {
    return row.swapDoesIt() && swapCtrlCmd;
}

QString rowAccessibilityLabel(const Remap& row, bool swapCtrlCmd) {
    return rowDisabled(row, swapCtrlCmd)
               ? row.purpose + QStringLiteral(", unavailable while Ctrl and Command are swapped")
               : row.purpose;
}

bool remapInForce(const Remap& row, const Prefs& prefs) {
    return prefs.on(row.key);
}

QString detailText(const Remap* selected, const Prefs& prefs) {
    if (!selected) return kNoSelectionPrompt;
    if (selected->key == PrefKey::altF4) return pickerDetail(readAltF4Action(prefs));
    return rowDisabled(*selected, prefs.swapCtrlCmd()) ? kSwapPrefix + selected->detail : selected->detail;
}

QString pickerLabel(AltF4Action action) {
    switch (action) {
    case AltF4Action::close:
        return QStringLiteral("Close tab/window (⌘W)");
    case AltF4Action::quit:
        return QStringLiteral("Quit app (⌘Q)");
    case AltF4Action::closeWindowOrQuit:
        break;
    }
    return QStringLiteral("Close window; quit if last (default)");
}

QString pickerDetail(AltF4Action action) {
    switch (action) {
    case AltF4Action::close:
        return QStringLiteral(
            "Sends ⌘W to close the current tab, document, or window, as the app normally would.");
    case AltF4Action::quit:
        return QStringLiteral("Sends ⌘Q to quit the frontmost app, including all its windows. The app can "
                              "ask to save changes.");
    case AltF4Action::closeWindowOrQuit:
        break;
    }
    return QStringLiteral("Closes the current window; quits the app when it's the last one.");
}

bool altF4PickerEnabled(const Prefs& prefs) {
    return prefs.altF4();
}

} // namespace fenwold
