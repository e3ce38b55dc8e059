"""The playground on a virtual X display, driven with the host's real input (XTest through
xdotool) and read back through the state file it writes when asked (SIGUSR1).

Every wait is for a state, never for a time: a step that needs the program to have done something
polls the state until it has, within a generous limit, so a loaded machine is slower, not flaky.
"""

import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

TIMEOUT = 30.0


def _die_with_parent():
    """The display and the program end with the test, however it ends (a timeout kills it)."""
    import ctypes
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class Failure(Exception):
    pass


def centre(rect):
    x, y, w, h = rect
    return round(x + w / 2), round(y + h / 2)


class Playground:
    """One run of the program's playground on a display of its own."""

    def __init__(self, app, width=1600, height=1000, prefs=None):
        for tool in ("Xvfb", "xdotool"):
            if not shutil.which(tool):
                raise Failure(f"{tool} is not installed (scripts/bootstrap installs it)")
        self.dir = tempfile.mkdtemp(prefix="fenwold-real-input-")
        self.state_path = os.path.join(self.dir, "state.json")
        self.requests = 0
        self.width, self.height = width, height
        self.xvfb = None
        self.app = None
        self.last = {}
        try:
            self._start_display(width, height)
            self._write_prefs(prefs or {})
            self._start_app(app)
        except BaseException:
            self.close()
            raise

    def _start_display(self, width, height):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_die_with_parent)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("the virtual X server did not start")
        self.env = dict(os.environ, DISPLAY=f":{number}", XDG_CONFIG_HOME=os.path.join(self.dir, "config"))
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)

    def _write_prefs(self, prefs):
        """Preferences the playground reads at start, where it keeps the user's."""
        if not prefs:
            return
        config = self.env["XDG_CONFIG_HOME"]
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "org.fenwold.Fenwold.ini"), "w") as f:
            f.write("[General]\n" + "".join(f"{key}={value}\n" for key, value in prefs.items()))

    def _start_app(self, app):
        self.log = open(os.path.join(self.dir, "output"), "w")
        self.app = subprocess.Popen([app, "--playground", "--state-file", self.state_path], env=self.env,
                                    stdout=self.log, stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
        deadline = time.monotonic() + TIMEOUT
        while not os.path.exists(self.state_path):
            if self.app.poll() is not None:
                raise Failure(f"the playground exited with {self.app.returncode}:\n{self.output()}")
            if time.monotonic() > deadline:
                raise Failure("the playground never wrote its state")
            time.sleep(0.05)
        self.requests = self._read()["request"]

    def output(self):
        self.log.flush()
        with open(os.path.join(self.dir, "output")) as f:
            return f.read()

    def close(self):
        for process in (self.app, self.xvfb):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)

    # --- state --------------------------------------------------------------------------------

    def _read(self):
        with open(self.state_path) as f:
            return json.load(f)

    def state(self):
        """The playground's state now: asked for, and waited for."""
        self.requests += 1
        self.app.send_signal(signal.SIGUSR1)
        deadline = time.monotonic() + TIMEOUT
        while True:
            if self.app.poll() is not None:
                raise Failure(f"the playground exited with {self.app.returncode}:\n{self.output()}")
            try:
                state = self._read()
                if state["request"] >= self.requests:
                    self.last = state
                    return state
            except (OSError, ValueError, KeyError):
                pass
            if time.monotonic() > deadline:
                raise Failure("the playground did not answer a state request")
            time.sleep(0.02)

    def wait_for(self, what, predicate, timeout=TIMEOUT):
        """Polls the state until `predicate(state)` holds; answers what it returned."""
        deadline = time.monotonic() + timeout
        while True:
            state = self.state()
            try:
                answer = predicate(state)
            except (KeyError, IndexError, TypeError, StopIteration):
                answer = None
            if answer:
                return answer
            if time.monotonic() > deadline:
                raise Failure(f"never: {what}\n{summary(state)}")
            time.sleep(0.05)

    # --- what is on the screen ----------------------------------------------------------------

    @staticmethod
    def panel(state, title):
        return next((p for p in state["panels"] if p["title"] == title), None)

    @staticmethod
    def window(state, title):
        return next((w for w in state["programWindows"] if w["title"] == title), None)

    @staticmethod
    def target(owner, name):
        """A named control of a panel, menu or window: by its exact name, its start, or a part."""
        found = Playground.named(owner, name)
        return found["rect"] if found else None

    @staticmethod
    def named(owner, name):
        if owner is None:
            return None
        for rule in (lambda n: n == name, lambda n: n.startswith(name), lambda n: name in n):
            found = [t for t in owner["targets"] if rule(t["name"])]
            if found:
                return found[0]
        return None

    @staticmethod
    def find(owner, name):
        """A named control with everything the state says of it."""
        return Playground.named(owner, name)

    @staticmethod
    def menu_item(state, name):
        for menu in state["menus"]:
            rect = Playground.target(menu, name)
            if rect:
                return rect
        return None

    def point(self, x, y):
        """A point of the simulated screen (points from its top-left) on the host's display."""
        screen = self.last["screen"]
        return round(screen["x"] + x * screen["scale"]), round(screen["y"] + y * screen["scale"])

    # --- the host's real input ----------------------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, timeout=TIMEOUT)

    def move(self, x, y):
        # --sync waits for the pointer to arrive, and for long when it is there already.
        where = subprocess.run(["xdotool", "getmouselocation", "--shell"], env=self.env, capture_output=True,
                               text=True, check=True, timeout=TIMEOUT).stdout
        if f"X={x}\nY={y}\n" not in where:
            self.xdotool("mousemove", "--sync", x, y)

    def click(self, rect_or_point, button=1, count=1):
        x, y = centre(rect_or_point) if len(rect_or_point) == 4 else rect_or_point
        self.move(x, y)
        self.xdotool("click", "--repeat", count, "--delay", 60, button)

    def key(self, *chords):
        self.xdotool("key", "--delay", 40, *chords)

    def key_down(self, key):
        self.xdotool("keydown", key)

    def key_up(self, key):
        self.xdotool("keyup", key)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True, timeout=TIMEOUT)

    # --- common steps -------------------------------------------------------------------------

    def through_welcome(self):
        """A first run: the welcome window's Windows-key choice ticked and Continue clicked."""
        welcome = self.wait_for("the welcome window", lambda s: self.window(s, "Welcome to Fenwold"))
        self.click(self.target(welcome, "Use the Windows key"))
        self.wait_for("the Windows-key choice ticked", lambda s: self.find(
            self.window(s, "Welcome to Fenwold"), "Use the Windows key")["checked"])
        self.click(self.target(welcome, "Continue"))
        self.wait_for("the welcome window closed", lambda s: not self.window(s, "Welcome to Fenwold"))

    def settled(self, title):
        """The named panel, once it has stopped moving (it slides in): where a person clicks."""
        last = {}

        def still(state):
            panel = self.panel(state, title)
            frame = panel and panel["frame"]
            answer = panel if frame and frame == last.get("frame") else None
            last["frame"] = frame
            return answer
        return self.wait_for(f"{title} at rest", still)

    def front(self, name):
        return self.wait_for(f"{name} in front", lambda s: s["front"] == name and s)


def summary(state):
    """What a failure shows of the state: enough to tell what was on the screen."""
    lines = [f"front: {state.get('front')}"]
    for p in state.get("panels", []):
        lines.append(f"panel {p['title']} at {p['frame']}: " + ", ".join(t["name"] for t in p["targets"][:12]))
    for m in state.get("menus", []):
        lines.append("menu: " + ", ".join(t["name"] for t in m["targets"]))
    for w in state.get("programWindows", []):
        lines.append(f"window {w['title']} at {w['frame']}")
    lines.append(f"shelf: {state.get('shelf')}")
    lines.append("log (last lines):")
    lines += ["  " + line for line in state.get("log", [])[-12:]]
    return "\n".join(lines)
