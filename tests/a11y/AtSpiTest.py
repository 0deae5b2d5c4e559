#!/usr/bin/python3
"""The real program as a screen reader sees it: its own X server (Xvfb), a private D-Bus
session with the AT-SPI accessibility bus, and pyatspi reading and pressing what the
program exposes there.

    AtSpiTest.py <path to Dorvath> <log directory>

Every wait has a timeout; the whole run ends after OVERALL_S seconds at the latest.
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import importlib.util

DEGREE = "\u00b0"
STEP_S = 60  # one start-up or one change to show; the sanitizer build is slow
OVERALL_S = 400
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

# The tools, and the Debian package each comes in.
TOOLS = [
    ("Xvfb", "xvfb"),
    ("dbus-launch", "dbus-x11"),
    ("dbus-send", "dbus-bin"),
    (BUS_LAUNCHER, "at-spi2-core"),
]


class Failure(Exception):
    pass


def missing_tools():
    missing = [f"{tool} (Debian package {package})"
               for tool, package in TOOLS if shutil.which(tool) is None]
    if importlib.util.find_spec("pyatspi") is None:
        missing.append(f"the Python module pyatspi for {sys.executable} "
                       "(Debian package python3-pyatspi, which serves /usr/bin/python3 only)")
    return missing


def wait_for(condition, timeout, what, pump=None):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        if pump:
            pump(0.1)
        else:
            time.sleep(0.1)


class Session:
    """Xvfb, a D-Bus session with the accessibility bus switched on, and the program."""

    def __init__(self, program, log_dir):
        self.program = program
        self.log_dir = log_dir
        self.processes = []  # (name, Popen), stopped in reverse order
        self.bus_pid = None
        self.runtime_dir = tempfile.mkdtemp(prefix="dorvath-atspi-")
        os.chmod(self.runtime_dir, 0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                 "AT_SPI_BUS_ADDRESS", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON",
                                 "QT_ACCESSIBILITY", "NO_AT_BRIDGE", "QT_SCALE_FACTOR",
                                 "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
                                 "XDG_SESSION_TYPE")}
        self.env["XDG_RUNTIME_DIR"] = self.runtime_dir
        self.env["QT_QPA_PLATFORM"] = "xcb"

    def start(self, name, argv, **kwargs):
        log = open(os.path.join(self.log_dir, f"atspi-{name}.log"), "wb")
        process = subprocess.Popen(argv, env=self.env, stdout=log, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, **kwargs)
        self.processes.append((name, process))
        return process

    def run(self, argv):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True,
                                timeout=STEP_S)
        if result.returncode != 0:
            raise Failure(f"{argv[0]} failed: {result.stderr.strip()}")
        return result.stdout

    def start_x(self):
        read_end, write_end = os.pipe()
        self.start("Xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                            "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + STEP_S
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 0.2)
            if ready:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        if not number.endswith(b"\n"):
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def start_buses(self):
        # A session bus of our own, so that nothing of the caller's desktop answers.
        for line in self.run(["dbus-launch", "--sh-syntax"]).splitlines():
            for name in ("DBUS_SESSION_BUS_ADDRESS", "DBUS_SESSION_BUS_PID"):
                if line.startswith(name + "="):
                    value = line[len(name) + 1:].split(";")[0].strip("'")
                    if name == "DBUS_SESSION_BUS_PID":
                        self.bus_pid = int(value)
                    else:
                        self.env[name] = value
        if "DBUS_SESSION_BUS_ADDRESS" not in self.env:
            raise Failure("dbus-launch gave no session bus address")
        self.start("at-spi-bus-launcher", [BUS_LAUNCHER, "--launch-immediately"])
        wait_for(lambda: "true" in self.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]),
            STEP_S, "the accessibility bus")
        # What a screen reader or the desktop's accessibility switch does. Qt reads it
        # once at start-up, so it comes first.
        self.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                  "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                  "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"])

    def stop(self):
        # The program first; then the session bus, whose end lets the bus launcher
        # close the accessibility bus and its registry itself; then the X server.
        def end(process):
            if process.poll() is None:
                process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait(timeout=10)
        for name, process in reversed(self.processes):
            if name == "Dorvath":
                end(process)
        if self.bus_pid:
            try:
                os.kill(self.bus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        for name, process in reversed(self.processes):
            if name == "at-spi-bus-launcher":
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    end(process)
            else:
                end(process)
        shutil.rmtree(self.runtime_dir, ignore_errors=True)


class Reader:
    """The program's objects through pyatspi, as a screen reader reaches them."""

    def __init__(self):
        # Imported only now: the library finds the accessibility bus through the
        # session bus named in the environment.
        import pyatspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.GLib = GLib
        self.notices = []  # when the picture told of a change

    def pump(self, seconds):
        loop = self.GLib.MainLoop()
        self.GLib.timeout_add(int(seconds * 1000), loop.quit)
        loop.run()

    def application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "Dorvath" and app.childCount > 0:
                return app
        return None

    def descendants(self, node):
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            yield child
            yield from self.descendants(child)

    def listen(self):
        def on_change(event):
            if event.source is not None and event.source.getRole() == self.pyatspi.ROLE_IMAGE:
                self.notices.append(time.monotonic())
        self._listener = on_change
        self.pyatspi.Registry.registerEventListener(
            on_change, "object:property-change:accessible-description")

    def press(self, button):
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            raise Failure(f"button {button.name!r} has no Press action, only {names}")
        action.doAction(names.index("Press"))


def check(condition, message, failures):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr)


def test(program, log_dir):
    failures = []
    session = Session(program, log_dir)
    try:
        session.start_x()
        session.start_buses()
        os.environ.update({k: session.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        program_process = session.start("Dorvath", [program])
        reader = Reader()

        def running_application():
            if program_process.poll() is not None:
                raise Failure(f"the program ended; see {log_dir}/atspi-Dorvath.log")
            return reader.application()
        app = wait_for(running_application, STEP_S, "the program on the accessibility bus")
        print(f"found {app.name!r} on the accessibility bus")
        P = reader.pyatspi

        # The tree: one frame named by the window's title, holding the controls.
        check(app.childCount == 1, f"the application has {app.childCount} windows", failures)
        frame = app.getChildAtIndex(0)
        check(frame.getRole() == P.ROLE_FRAME,
              f"the window's role is {frame.getRoleName()!r}, not 'frame'", failures)
        check(frame.name == "Quonsel", f"the window is named {frame.name!r}", failures)
        objects = list(reader.descendants(frame))
        buttons = [o for o in objects if o.getRole() == P.ROLE_PUSH_BUTTON]
        images = [o for o in objects if o.getRole() == P.ROLE_IMAGE]
        names = [b.name for b in buttons]
        check(names == ["Step", "Run", "Clear"], f"the buttons are named {names}", failures)
        for button in buttons:
            check(button.description != "", f"button {button.name!r} has no description",
                  failures)
            check(not button.getState().contains(P.STATE_FOCUSABLE),
                  f"button {button.name!r} takes the keyboard focus", failures)
        check(len(images) == 1, f"{len(images)} images in the window", failures)
        if len(buttons) != 3 or len(images) != 1:
            raise Failure("the window's controls are not all there; stopping")
        step, run, clear = buttons
        picture = images[0]
        check(picture.name != "", "the picture has no name", failures)

        def said(orbit, spin, state):
            return f"Orbit {orbit}{DEGREE}, spin {spin}{DEGREE}, {state}"

        def show(expected, after):
            try:
                wait_for(lambda: picture.description == expected, STEP_S,
                         f"the picture to say {expected!r} after {after}", reader.pump)
            except Failure as f:
                check(False, f"{f}; it says {picture.description!r}", failures)

        def told(count, after):
            try:
                wait_for(lambda: len(reader.notices) >= count, STEP_S,
                         f"a notice of the change after {after}", reader.pump)
            except Failure as f:
                check(False, str(f), failures)

        show(said(0, 0, "stopped"), "start-up")

        # Registering reaches the program by a signal; give it a moment to arrive.
        reader.listen()
        reader.pump(2.0)

        # Three steps move the planet to 15 degrees, each one told at once.
        for n, (orbit, spin) in enumerate([(5, 7.5), (10, 15), (15, 22.5)], start=1):
            reader.press(step)
            show(said(orbit, spin, "stopped"), f"{n} presses of Step")
            told(n, f"{n} presses of Step")

        # A run is told when it starts, then about once a second, not ten times.
        before = len(reader.notices)
        started = time.monotonic()
        reader.press(run)
        reader.pump(4.0)
        wait_for(lambda: picture.description.endswith(", running"), STEP_S,
                 "the picture to say it runs", reader.pump)
        reader.press(clear)
        ran = time.monotonic() - started
        show(said(0, 0, "stopped"), "Clear")
        during = [t for t in reader.notices[before:] if t <= started + ran]
        print(f"{len(during)} notices in {ran:.1f} s of running")
        check(len(during) >= 2, f"only {len(during)} notices in {ran:.1f} s of running",
              failures)
        check(len(during) <= ran + 2,
              f"{len(during)} notices in {ran:.1f} s of running: more than once a second",
              failures)
        check(program_process.poll() is None, "the program ended", failures)
    except Failure as f:
        failures.append(str(f))
        print("FAIL: " + str(f), file=sys.stderr)
    finally:
        session.stop()
    return failures


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    missing = missing_tools()
    if missing:
        print("FAIL: cannot run the accessibility test; missing " + "; ".join(missing) +
              ". scripts/setup.sh installs them.", file=sys.stderr)
        return 1
    program, log_dir = sys.argv[1], sys.argv[2]
    os.makedirs(log_dir, exist_ok=True)

    def overall_timeout(signum, frame):
        raise Failure(f"the whole test took longer than {OVERALL_S} s")
    signal.signal(signal.SIGALRM, overall_timeout)
    signal.alarm(OVERALL_S)
    failures = test(program, log_dir)
    signal.alarm(0)
    if failures:
        print(f"{len(failures)} failures; logs in {log_dir}/atspi-*.log", file=sys.stderr)
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
