#!/usr/bin/env python3
"""The playground driven as a person drives it: real X pointer and keyboard input on a virtual
display, outcomes read from the program's own state (front application, windows, panels, shelf,
event log).

    real_input.py APP --list          the tests' names
    real_input.py APP NAME            runs one test; exit 0 passed, 1 failed
"""

import subprocess
import sys
import time

from harness import Failure, Playground, centre

TESTS = {}

# The default display is the one a newcomer might have; the large one shows the screen at 1:1.
DEFAULT = (1600, 1000)
LARGE = (3200, 1200)


def test(*sizes, prefs=None):
    """Registers a test at each display size, with the preferences the playground starts with."""
    def register(function):
        for size in sizes:
            suffix = "" if size == DEFAULT else "_actual_size"
            TESTS[function.__name__ + suffix] = (function, size, prefs or {})
        return function
    return register


def check(condition, what, state=None):
    if not condition:
        from harness import summary
        raise Failure(what + ("\n" + summary(state) if state else ""))


def visible_windows(state):
    return [w for w in state["windows"] if not w["minimized"]]


def front_window(state):
    return visible_windows(state)[0]


def hover(pg, title, name, done):
    """The pointer onto a control of a panel, where it is drawn now (the panel may still be
    sliding in), until `done` holds."""
    def moved_there(state):
        if done(state):
            return True
        pg.move(*centre(pg.target(pg.panel(state, title), name)))
        return False
    pg.wait_for(f"the pointer over {name}", moved_there)


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def hint_clear_of(pg, title):
    """The heads-up, once it shows, does not cover the named panel."""
    state = pg.wait_for("the heads-up", lambda s: pg.panel(s, "Shortcut hint") and pg.panel(s, title) and s)
    hint, panel = pg.panel(state, "Shortcut hint")["frame"], pg.panel(state, title)["frame"]
    check(not overlaps(hint, panel), f"the heads-up {hint} covers {title} {panel}", state)


# --- Alt+Tab ------------------------------------------------------------------------------------

def open_switcher(pg):
    pg.key_down("alt")
    pg.key("Tab")
    pg.wait_for("the switcher", lambda s: pg.panel(s, "Window switcher") and pg.panel(s, "Window switcher")["tiles"])
    return pg.settled("Window switcher")


@test(DEFAULT, LARGE)
def switcher_clicks(pg):
    """Hover lights a tile; a click on a tile picks its window and ends the session; a tile's
    minimise, close and quit buttons do what they say."""
    pg.through_welcome()
    state = pg.state()
    x, y, w, h = state["playgroundWindow"]
    check(x >= 0 and y >= 0 and x + w <= pg.width and y + h <= pg.height,
          f"the playground window {state['playgroundWindow']} is larger than the display", state)
    # On a display with room the simulated screen is drawn at 1:1, on the smaller one scaled down.
    scale = state["screen"]["scale"]
    check(scale == 1 if (pg.width, pg.height) == LARGE else scale < 1, f"the screen is drawn at {scale}", state)
    open_switcher(pg)
    state = pg.state()
    switcher = pg.panel(state, "Window switcher")
    tiles = switcher["tiles"]
    pick = next(i for i, t in enumerate(tiles) if t["app"] == "Safari")
    pg.move(*centre(pg.target(switcher, f"tile {pick}")))
    pg.wait_for("the tile under the pointer lit",
                lambda s: pg.panel(s, "Window switcher")["hoveredTile"] == pick)
    pg.click(pg.target(switcher, f"tile {pick}"))
    state = pg.wait_for("the switcher closed", lambda s: not pg.panel(s, "Window switcher") and s)
    pg.key_up("alt")
    state = pg.front("Safari")
    check(front_window(state)["title"] == tiles[pick]["title"], "the clicked tile's window is not in front", state)

    # Minimise from a tile.
    open_switcher(pg)
    switcher = pg.panel(pg.state(), "Window switcher")
    victim = next(i for i, t in enumerate(switcher["tiles"]) if t["app"] == "TextEdit")
    title = switcher["tiles"][victim]["title"]
    pg.move(*centre(pg.target(switcher, f"tile {victim}")))
    pg.wait_for("the tile's buttons", lambda s: pg.panel(s, "Window switcher")["hoveredTile"] == victim)
    pg.click(pg.target(pg.panel(pg.state(), "Window switcher"), f"tile {victim}/Minimize"))
    pg.wait_for("the window minimised", lambda s: any(w["title"] == title and w["minimized"] for w in s["windows"]))

    # Close from a tile: the window goes, the switcher stays for the others.
    switcher = pg.panel(pg.state(), "Window switcher")
    victim = next(i for i, t in enumerate(switcher["tiles"]) if t["app"] == "Safari")
    title = switcher["tiles"][victim]["title"]
    pg.move(*centre(pg.target(switcher, f"tile {victim}")))
    pg.wait_for("the tile's buttons", lambda s: pg.panel(s, "Window switcher")["hoveredTile"] == victim)
    pg.click(pg.target(pg.panel(pg.state(), "Window switcher"), f"tile {victim}/Close"))
    pg.wait_for("the window closed", lambda s: all(w["title"] != title for w in s["windows"]))

    # Quit from a tile.
    switcher = pg.wait_for("the switcher still open", lambda s: pg.panel(s, "Window switcher"))
    victim = next(i for i, t in enumerate(switcher["tiles"]) if t["app"] == "Preview")
    pg.move(*centre(pg.target(switcher, f"tile {victim}")))
    pg.wait_for("the tile's buttons", lambda s: pg.panel(s, "Window switcher")["hoveredTile"] == victim)
    pg.click(pg.target(pg.panel(pg.state(), "Window switcher"), f"tile {victim}/Quit"))
    pg.wait_for("Preview quit", lambda s: "Preview quit" in s["log"])
    pg.key_up("alt")


# --- Dock peek ----------------------------------------------------------------------------------

@test(DEFAULT, LARGE)
def dock_peek_clicks(pg):
    """Resting on Safari's Dock icon shows its windows; a click on a preview brings that window
    forward, and a preview's close button closes it."""
    pg.through_welcome()
    state = pg.state()
    icon = next(p["rect"] for p in state["places"] if p["name"] == "dock Safari")
    pg.move(*centre(icon))
    pg.wait_for("the Dock peek", lambda s: pg.panel(s, "Dock peek") and pg.panel(s, "Dock peek").get("tiles"))
    peek = pg.settled("Dock peek")
    back = peek["tiles"][-1]["title"]
    pg.click(pg.target(peek, f"tile {len(peek['tiles']) - 1}"))
    state = pg.front("Safari")
    pg.wait_for("the clicked preview's window in front", lambda s: front_window(s)["title"] == back)

    pg.move(*centre(icon))
    pg.wait_for("the Dock peek again", lambda s: pg.panel(s, "Dock peek") and pg.panel(s, "Dock peek").get("tiles"))
    peek = pg.settled("Dock peek")
    title = peek["tiles"][0]["title"]
    pg.move(*centre(pg.target(peek, "tile 0")))
    pg.wait_for("the preview's buttons", lambda s: pg.panel(s, "Dock peek")["hoveredTile"] == 0)
    pg.click(pg.target(pg.panel(pg.state(), "Dock peek"), "tile 0/Close"))
    pg.wait_for("the window closed", lambda s: all(w["title"] != title for w in s["windows"]))


# --- Clipboard shelf ----------------------------------------------------------------------------

def copy_lines(pg, *lines):
    pg.front("TextEdit")
    for line in lines:
        pg.key("ctrl+a")
        pg.type(line)
        pg.key("ctrl+a", "ctrl+c")
        pg.wait_for(f"{line!r} copied", lambda s: s["pasteboard"] == line)


def changed_pixels(before, after, rect):
    x, y, w, h = (round(v) for v in rect)
    crop = ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
    out = subprocess.run(["compare", "-metric", "AE", "(", before, *crop, ")", "(", after, *crop, ")", "null:"],
                         capture_output=True, text=True)
    return int(float(out.stderr.split()[0]))


def open_shelf(pg):
    pg.key("super+v")
    pg.wait_for("the shelf", lambda s: s["shelf"]["open"] and pg.panel(s, "Clipboard shelf") and
                pg.panel(s, "Clipboard shelf")["cards"])
    return pg.settled("Clipboard shelf")


@test(DEFAULT, LARGE)
def shelf_clicks(pg):
    """Chips filter and a card's pin pins with the shelf staying open; the options menu and a
    card's context menu act on their item; a double-click on a card pastes it."""
    pg.through_welcome()
    copy_lines(pg, "first clip", "second clip")
    before = pg.dir + "/before-shelf.png"
    pg.screenshot(before)
    pg.key("super+v")
    shelf = pg.wait_for("the shelf", lambda s: s["shelf"]["open"] and pg.panel(s, "Clipboard shelf"))
    # As it slides in, the shelf is drawn in its frame at the screen's scale, not at its own size
    # over what lies beside it.
    opening = pg.dir + "/opening-shelf.png"
    pg.screenshot(opening)
    shelf = pg.settled("Clipboard shelf")
    x, y, w, h = shelf["frame"]
    band = [x, max(0, y - 60), w, 50]
    check(changed_pixels(before, opening, band) < w * 50 // 20,
          f"the opening shelf drew outside its frame {shelf['frame']}", pg.last)
    check(all(c["shown"] for c in shelf["cards"] if c["selected"]), "the selected card is cut off", pg.last)
    # Over the search field the pointer is an I-beam, though the program is not active.
    hover(pg, "Clipboard shelf", "Search clipboard history", lambda s: s["cursor"] == "iBeam")
    hover(pg, "Clipboard shelf", "card 0", lambda s: s["cursor"] == "arrow")

    pg.click(pg.target(shelf, "Pinned"))
    pg.wait_for("the Pinned filter", lambda s: s["shelf"]["filter"] == "Pinned")
    check(pg.state()["shelf"]["open"], "the shelf closed on a chip")
    pg.click(pg.target(pg.panel(pg.state(), "Clipboard shelf"), "All"))
    shelf = pg.wait_for("every clip again", lambda s: s["shelf"]["filter"] == "All" and pg.panel(s, "Clipboard shelf"))

    pg.click(pg.target(shelf, "card 1/pin"))
    pg.wait_for("the older clip pinned", lambda s: s["shelf"]["pinned"] == ["first clip"])
    check(pg.state()["shelf"]["open"], "the shelf closed on a pin")

    # The options menu: pausing capture is said in the footer, and the shelf stays.
    pg.click(pg.target(pg.panel(pg.state(), "Clipboard shelf"), "Clipboard options"))
    item = pg.wait_for("the options menu", lambda s: pg.menu_item(s, "Pause capture"))
    pg.click(item)
    pg.wait_for("capture paused", lambda s: s["shelf"]["paused"] and not s["menus"])
    check(pg.state()["shelf"]["open"], "the shelf closed on its options menu")

    # A card's context menu: "Remove from history" removes that clip, the shelf stays.
    shelf = pg.panel(pg.state(), "Clipboard shelf")
    pg.click(pg.target(shelf, "card 0"), button=3)
    item = pg.wait_for("the card's menu", lambda s: pg.menu_item(s, "Remove from history"))
    pg.click(item)
    shelf = pg.wait_for("the clip removed", lambda s: s["shelf"]["open"] and
                        [c["text"] for c in pg.panel(s, "Clipboard shelf")["cards"]] == ["first clip"] and
                        pg.panel(s, "Clipboard shelf"))

    # A double-click on a card pastes it into the editor and closes the shelf.
    pg.click(pg.target(shelf, "card 0"), count=2)
    pg.wait_for("the clip pasted", lambda s: not s["shelf"]["open"] and
                "first clip" in front_window(s)["content"].replace("second clip", ""))


@test(DEFAULT)
def shelf_selection_after_search(pg):
    """Typing a search and clearing it, with Backspace or the field's clear button, leaves ←/→
    moving the selection."""
    pg.through_welcome()
    copy_lines(pg, "apples", "pears", "plums")
    shelf = open_shelf(pg)
    check(all(c["shown"] for c in shelf["cards"] if c["selected"]), "the selected card is cut off", pg.last)

    def selected(s):
        return [c["selected"] for c in pg.panel(s, "Clipboard shelf")["cards"]].index(True)

    def arrow(key, step):
        before = selected(pg.state())
        pg.key(key)
        pg.wait_for(f"{key} moving the selection", lambda s: selected(s) == before + step)

    pg.type("pe")
    pg.wait_for("the search", lambda s: s["shelf"]["query"] == "pe")
    pg.key("BackSpace", "BackSpace")
    pg.wait_for("the search cleared", lambda s: s["shelf"]["query"] == "")
    arrow("Left", -1)
    arrow("Right", 1)
    pg.type("pl")
    shelf = pg.wait_for("the search", lambda s: s["shelf"]["query"] == "pl" and pg.panel(s, "Clipboard shelf"))
    pg.click(pg.target(shelf, "Clear search"))
    pg.wait_for("the search cleared", lambda s: s["shelf"]["query"] == "")
    arrow("Right", 1)
    arrow("Left", -1)


# --- Snap assist, snap layouts, menus -----------------------------------------------------------

@test(DEFAULT)
def snap_clicks(pg):
    """A click on a snap-assist tile snaps that window into the other half; a click on a Win+Z
    zone snaps the front window there."""
    pg.through_welcome()
    state = pg.state()
    visible = state["screen"]["visible"]
    pg.key("super+Left")
    pg.wait_for("snap assist", lambda s: pg.panel(s, "Snap assist") and pg.panel(s, "Snap assist")["tiles"])
    assist = pg.settled("Snap assist")
    title = assist["tiles"][0]["title"]
    hint_clear_of(pg, "Snap assist")
    pg.click(pg.target(assist, "tile 0"))
    state = pg.wait_for("the picked window snapped right", lambda s: not pg.panel(s, "Snap assist") and
                        any(w["title"] == title and w["frame"][0] > visible[0] + visible[2] / 3
                            for w in s["windows"]) and s)

    pg.key("super+z")
    pg.wait_for("snap layouts", lambda s: pg.panel(s, "Snap layouts"))
    zones = pg.settled("Snap layouts")
    hint_clear_of(pg, "Snap layouts")
    pg.move(*centre(pg.target(zones, "zone 0.0")))
    pg.wait_for("the zone under the pointer lit", lambda s: pg.panel(s, "Snap layouts")["hoveredZone"] == "0.0")
    before = front_window(pg.state())["title"]
    pg.click(pg.target(zones, "zone 0.0"))
    pg.wait_for("the front window in the left half", lambda s: not pg.panel(s, "Snap layouts") and
                front_window(s)["title"] == before and abs(front_window(s)["frame"][0] - visible[0]) < 2 and
                abs(front_window(s)["frame"][2] - visible[2] / 2) < 2)


def near(a, b, tolerance=2):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


@test(DEFAULT, LARGE)
def drag_to_edge_snaps(pg):
    """A window dragged by its title bar with the held button: resting against the screen's left
    edge shows the outline of the left half; Esc calls that snap off and the window stays where
    it is dropped; the next drag there snaps it into the left half and offers snap assist."""
    pg.through_welcome()
    state = pg.state()
    vx, vy, vw, vh = state["screen"]["visible"]
    window = front_window(state)
    title, (x, y, w, h) = window["title"], window["frame"]
    left = [vx, vy, vw / 2, vh]

    def frame(s):
        return next(w["frame"] for w in s["windows"] if w["title"] == title)

    def drag_to_left_edge(height):
        x, y = frame(pg.state())[:2]
        # Near the right end of the title bar, which stays on the screen after a drop at the edge.
        pg.move(*pg.point(x + w - 100, y + 12))
        pg.xdotool("mousedown", 1)
        pg.move(*pg.point(vx + vw / 4, vy + vh / 3))
        pg.move(*pg.point(vx, vy + vh * height))
        scale, sx, sy = pg.last["screen"]["scale"], pg.last["screen"]["x"], pg.last["screen"]["y"]
        on_display = [sx + left[0] * scale, sy + left[1] * scale, left[2] * scale, left[3] * scale]
        pg.wait_for("the outline of the left half", lambda s: pg.panel(s, "Snap outline") and
                    near(pg.panel(s, "Snap outline")["frame"], on_display, 3))

    drag_to_left_edge(0.5)
    pg.key("Escape")
    pg.wait_for("the outline gone", lambda s: not pg.panel(s, "Snap outline"))
    pg.xdotool("mouseup", 1)
    state = pg.wait_for("the window dropped at its own size", lambda s: near(frame(s)[2:], [w, h]) and s)
    check(not near(frame(state), left), "Esc did not call the snap off", state)

    # Not back to where this drag picks the window up: when the main thread first looks, a window
    # carried away and back already is where it was pressed, which reads as a click, not a drag.
    drag_to_left_edge(0.6)
    pg.xdotool("mouseup", 1)
    pg.wait_for("the window in the left half", lambda s: near(frame(s), left) and not pg.panel(s, "Snap outline"))
    pg.wait_for("snap assist for the right half", lambda s: pg.panel(s, "Snap assist"))


@test(DEFAULT, LARGE)
def drag_away_restores(pg):
    """A window snapped into the left half and dragged away by its title bar straight after gets
    its size from before the snap back, its title bar still under the pointer."""
    pg.through_welcome()
    state = pg.state()
    vx, vy, vw, vh = state["screen"]["visible"]
    window = front_window(state)
    title, (w, h) = window["title"], window["frame"][2:]

    def frame(s):
        return next(w["frame"] for w in s["windows"] if w["title"] == title)

    pg.key("super+Left")
    pg.wait_for("the window in the left half", lambda s: near(frame(s), [vx, vy, vw / 2, vh]))
    pg.key("Escape")
    pg.wait_for("snap assist gone", lambda s: not pg.panel(s, "Snap assist"))
    x, y = frame(pg.state())[:2]
    pg.move(*pg.point(x + vw / 4, y + 12))
    pg.xdotool("mousedown", 1)
    pg.move(*pg.point(x + vw / 4 + 150, y + 100))
    pg.move(*pg.point(x + vw / 4 + 300, y + 200))
    state = pg.wait_for("the size from before the snap", lambda s: near(frame(s)[2:], [w, h]) and s)
    pg.xdotool("mouseup", 1)
    fx, fy, fw, _ = frame(state)
    check(fx < x + vw / 4 + 300 < fx + fw and fy < y + 212 < fy + 28, "the title bar is not under the pointer", state)


@test(DEFAULT, LARGE, prefs={"dockMinimizes": "true"})
def green_button_and_dock_clicks(pg):
    """With the welcome's green-button choice ticked, a click on the front window's green button
    maximises it and a second click gives back its size. With the Dock's switch on, a click on the
    front application's Dock icon minimises its front window, a Shift-click all of its windows, and
    the next click brings back the one minimised last."""
    welcome = pg.wait_for("the welcome window", lambda s: pg.window(s, "Welcome to Fenwold"))
    pg.click(pg.target(welcome, "Click the green button"))
    pg.wait_for("the green-button choice ticked", lambda s: pg.find(
        pg.window(s, "Welcome to Fenwold"), "Click the green button")["checked"])
    pg.through_welcome()
    state = pg.state()
    visible = state["screen"]["visible"]
    window = front_window(state)
    title, (x, y, w, h) = window["title"], window["frame"]

    def frame(s):
        return next(w["frame"] for w in s["windows"] if w["title"] == title)

    # The light is drawn 52 points in from the window's left edge and 8 down, 12 across.
    pg.click(pg.point(x + 58, y + 14))
    pg.wait_for("the window maximised", lambda s: near(frame(s), visible))
    pg.click(pg.point(visible[0] + 58, visible[1] + 14))
    pg.wait_for("the window's own size back", lambda s: near(frame(s), [x, y, w, h]))

    app = pg.state()["front"]
    icon = next(p["rect"] for p in pg.last["places"] if p["name"] == "dock " + app)

    def minimized(s):
        return {w["title"]: w["minimized"] for w in s["windows"] if w["app"] == app}

    others = [t for t in minimized(pg.last) if t != title]
    check(others, f"{app} has one window only", pg.last)
    pg.move(*centre(icon))
    time.sleep(0.3)  # the Dock is looked at while the pointer moves over it
    pg.click(icon)
    pg.wait_for("its front window minimised", lambda s: minimized(s)[title] and
                not all(minimized(s)[t] for t in others))
    time.sleep(0.6)  # not a double click
    pg.key_down("shift")
    pg.click(icon)
    pg.key_up("shift")
    pg.wait_for("all of its windows minimised", lambda s: all(minimized(s).values()))
    time.sleep(0.6)
    pg.click(icon)
    state = pg.wait_for("the window minimised last back", lambda s: not all(minimized(s).values()) and s)
    back = [t for t, m in minimized(state).items() if not m]
    check(len(back) == 1 and back[0] in others, f"brought back {back}", state)


@test(DEFAULT)
def menu_clicks(pg):
    """Alt+Space's window menu and Win+X's quick link menu take clicks."""
    pg.through_welcome()
    title = front_window(pg.state())["title"]
    pg.key("alt+space")
    item = pg.wait_for("the window menu", lambda s: pg.menu_item(s, "Minimize"))
    pg.click(item)
    pg.wait_for("the window minimised", lambda s: any(w["title"] == title and w["minimized"] for w in s["windows"]))

    pg.key("super+x")
    item = pg.wait_for("the quick link menu", lambda s: pg.menu_item(s, "Terminal"))
    pg.click(item)
    pg.front("Terminal")


# --- Settings -----------------------------------------------------------------------------------

def dominant_share(path, rect):
    """How much of a rectangle of a screenshot is its most common colour: near 1 for an empty box."""
    x, y, w, h = (round(v) for v in rect)
    out = subprocess.run(["convert", path, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-format", "%c", "histogram:info:-"],
                         capture_output=True, text=True, check=True)
    counts = [int(line.split(":")[0]) for line in out.stdout.splitlines() if ":" in line]
    return max(counts) / sum(counts)


@test(DEFAULT, LARGE)
def settings_shortcuts_list(pg):
    """The Shortcuts page's list draws its rows inside the window, a click selects a row, and the
    window fits the screen's visible frame with the exclusions reachable."""
    pg.through_welcome()
    state = pg.state()
    pg.click(next(p["rect"] for p in state["places"] if p["name"] == "status item"))
    menu = pg.wait_for("the status menu", lambda s: pg.menu_item(s, "Settings") and s["menus"][0])
    keys = {t["name"]: t["keys"] for t in menu["targets"]}
    check(keys.get("Settings\u2026") == "\u2318," and keys.get("Quit Fenwold") == "\u2318Q",
          f"the status menu does not show the Mac's key equivalents: {keys}")
    pg.click(pg.menu_item(pg.last, "Settings"))
    settings = pg.wait_for("the settings window", lambda s: pg.window(s, "Fenwold Settings"))
    pg.click(pg.target(settings, "Shortcuts"))
    settings = pg.wait_for("the list", lambda s: pg.target(pg.window(s, "Fenwold Settings"), "list") and
                           pg.window(s, "Fenwold Settings"))
    state = pg.last
    frame = settings["frame"]
    screen = state["screen"]
    vx, vy, vw, vh = screen["visible"]
    top = screen["y"] + vy * screen["scale"]
    bottom = screen["y"] + (vy + vh) * screen["scale"]
    check(frame[1] >= top - 1 and frame[1] + frame[3] <= bottom + 1,
          f"the settings window {frame} is not inside the visible frame ({top}..{bottom})", state)
    listed = pg.target(settings, "list")
    check(listed[1] >= frame[1] and listed[1] + listed[3] <= frame[1] + frame[3],
          f"the list {listed} is not inside the window {frame}", state)
    path = pg.dir + "/settings.png"
    pg.screenshot(path)
    check(dominant_share(path, listed) < 0.85, "the list draws no rows inside its box", state)
    row = next(t for t in settings["targets"] if t["name"].startswith("row ") and not t.get("current")
               and t["rect"][1] > listed[1] + listed[3] / 3)
    pg.click(row["rect"])
    pg.wait_for("the row selected", lambda s: pg.find(pg.window(s, "Fenwold Settings"), row["name"])["current"])
    # The exclusions under the list: the pane scrolls to them with the wheel, and "+" opens the
    # chooser of applications.
    listed = pg.target(pg.window(pg.state(), "Fenwold Settings"), "list")
    pg.move(round(frame[0] + 6), round(listed[1] - 8))
    for _ in range(40):
        add = pg.target(pg.window(pg.state(), "Fenwold Settings"), "Add an app")
        if add:
            break
        pg.xdotool("click", "5")
    check(add, "the exclusions' + cannot be reached", pg.last)
    pg.click(add)
    pg.wait_for("the chooser of applications", lambda s: len(s["programWindows"]) == 2)


# --- Windows keys in Finder and on other layouts ------------------------------------------------

@test(DEFAULT)
def windows_keys_in_finder_and_on_german(pg):
    """With the welcome's Windows-key choice, Win+X then Win+V in Finder open the quick link menu
    and the clipboard shelf and post nothing to Finder (no copy, no move); on German, where no key
    types \u2318[, Alt+Left in Safari goes back, through its History menu."""
    pg.through_welcome()
    pg.click(next(p["rect"] for p in pg.state()["places"] if p["name"] == "dock Finder"))
    pg.front("Finder")
    lines = len(pg.last["log"])
    pg.key("super+x")
    pg.wait_for("the quick link menu", lambda s: pg.menu_item(s, "Terminal"))
    pg.key("Escape")
    pg.wait_for("the quick link menu closed", lambda s: not s["menus"])
    pg.key("super+v")
    pg.wait_for("the shelf", lambda s: s["shelf"]["open"])
    pg.key("Escape")
    pg.wait_for("the shelf closed", lambda s: not s["shelf"]["open"])
    posted = [line for line in pg.state()["log"][lines:] if line.startswith("posted") and "Finder" in line]
    check(not posted, f"keys were posted to Finder: {posted}", pg.last)

    pg.click(next(p["rect"] for p in pg.last["places"] if p["name"] == "dock Safari"))
    pg.front("Safari")
    pg.key("alt+d")
    pg.type("wetter")
    pg.key("Return")
    pg.wait_for("the typed page", lambda s: front_window(s)["content"].splitlines()[0].endswith("wetter"))
    pg.click(next(p["rect"] for p in pg.last["places"] if p["name"] == "input menu"))
    pg.click(pg.wait_for("the input menu", lambda s: pg.menu_item(s, "German")))
    pg.wait_for("German selected", lambda s: "keyboard layout: German" in s["log"])
    pg.key("alt+Left")
    pg.wait_for("the page before", lambda s: not front_window(s)["content"].splitlines()[0].endswith("wetter"))


# --- The simulated Mac acts out requests --------------------------------------------------------

@test(DEFAULT)
def acted_out_requests(pg):
    """Win+E opens Finder, Win+X's items open their applications, Ctrl+Shift+Esc Activity Monitor,
    Win+D moves the windows aside and back, each with a line in the event log; a click on the
    input menu opens it."""
    pg.through_welcome()
    for item, app in (("Disk Utility", "Disk Utility"), ("System Settings", "System Settings"),
                      ("Activity Monitor", "Activity Monitor"), ("Terminal", "Terminal")):
        lines = len(pg.state()["log"])
        pg.key("super+x")
        pg.click(pg.wait_for("the quick link menu", lambda s: pg.menu_item(s, item)))
        pg.front(app)
        check(any(line.startswith("open ") and app in line for line in pg.last["log"][lines:]),
              f"opening {app} left no line in the event log", pg.last)
    lines = len(pg.state()["log"])
    pg.key("super+e")
    pg.front("Finder")
    check(any(line.startswith("open ") for line in pg.last["log"][lines:]),
          "Win+E left no line in the event log", pg.last)
    pg.key("ctrl+shift+Escape")
    pg.front("Activity Monitor")

    before = {w["title"]: w["frame"] for w in visible_windows(pg.state())}
    pg.key("super+d")
    pg.wait_for("the windows moved aside", lambda s: all(
        w["frame"] != before.get(w["title"], w["frame"]) for w in visible_windows(s)) and visible_windows(s))
    pg.key("super+d")
    pg.wait_for("the windows back", lambda s: all(
        w["frame"] == before[w["title"]] for w in visible_windows(s) if w["title"] in before))

    pg.click(next(p["rect"] for p in pg.state()["places"] if p["name"] == "input menu"))
    pg.wait_for("the input menu", lambda s: pg.menu_item(s, "German"))


def main():
    app = sys.argv[1]
    if sys.argv[2] == "--list":
        print(";".join(TESTS))
        return 0
    function, (width, height), prefs = TESTS[sys.argv[2]]
    pg = Playground(app, width, height, prefs)
    try:
        function(pg)
    except Failure as failure:
        print(f"{sys.argv[2]}: FAILED\n{failure}")
        print("0 passed, 1 failed")
        return 1
    finally:
        pg.close()
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
