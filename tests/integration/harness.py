"""Drive the real Tavrelo binary under a private X server.

Standard library only (the tests run with /usr/bin/python3). Needs the
programs Xvfb, xdotool and xwd (the Makefile installs them).

Typical use::

    import harness

    class MenuTest(unittest.TestCase):
        def test_escape_quits(self):
            with harness.Game() as game:          # own Xvfb + fresh data copy
                game.start()                      # launches ./tavrelo
                game.wait_for_window()
                game.key("Escape")
                result = game.wait(timeout=10)    # the game ends on its own
            self.assertEqual(result.returncode, 0)

``Game(settings=TEST_SETTINGS, runtime=None, fresh=True, screen=(1024, 768),
env=None, keep=False)``
    Starts Xvfb on a free display and copies the runtime directory (env
    TAVRELO_RUNTIME_DIR, else <repo>/build/runtime) into a new temporary
    directory, so tests never share settings.ini, highscore.hsc, ghosts or
    progress files and can run in parallel.

    * ``settings``: text written to settings.ini in the copy; ``None`` writes
      none (the game then uses its defaults: full screen, sound on).
      ``settings_ini(**values)`` builds a complete file; ``TEST_SETTINGS`` is a
      1024x768 window with sound off.
    * ``fresh``: remove the files the game writes (settings.ini,
      multiplayer.ini, highscore.hsc, maps/**/*.gho, maps/**/single.stat) from
      the copy before ``settings`` is written.
    * ``env``: extra environment for the game. SDL_AUDIODRIVER defaults to
      "dummy".
    * ``keep``: keep the temporary directory (also when env
      TAVRELO_KEEP_TEST_DIRS is set); its path is printed at clean-up.

    Use it as a context manager: leaving the block always kills the game and
    Xvfb and removes the temporary directory, also when a test fails.

Preparing the copy (before ``start``):
    ``game.dir`` is the copied runtime directory; ``game.path(rel)`` joins
    into it; ``game.write_file(rel, text_or_bytes)``; ``game.remove(rel)``
    (a file or a whole directory).

Running:
    ``game.start(cwd=None)`` launches the copied binary. ``cwd`` defaults to
    ``game.dir``; pass another directory to check that the game finds its
    data from anywhere. stdout and stderr go to files.
    ``game.wait_for_window(timeout=60)`` returns the X window id of the window
    named "Tavrelo 1.16b" and gives it keyboard focus.
    ``game.running()``; ``game.output()`` -> (stdout, stderr) so far;
    ``game.wait_for_output(text, timeout=30, stream="stdout")``.

Input (real XTEST events through xdotool, key names as xdotool/X keysyms:
"Return", "Escape", "Up", "Left", "space", "a", "Tab", "grave", "F1" ...):
    ``game.key(*names)`` taps each key in turn;
    ``game.key_down(name)`` / ``game.key_up(name)``;
    ``game.hold(name, ms)`` holds one key down for ms milliseconds;
    ``game.type_text(text)`` types text character by character;
    ``game.mouse_move(x, y)`` / ``game.click(button=1)`` in window pixels.
    ``game.hide_window()`` / ``game.show_window()`` unmap and map the window
    as iconifying does (no window manager runs to iconify it).
    ``game.pause(ms)`` sleeps; prefer waiting for what the player sees (below):
    on a loaded machine frames take far longer than on an idle one.
    ``game.turn_menu(key="Right", times=1, before=None, timeout=60)`` turns
    the main menu's ring and waits until it rests after each press.

Waiting (each fails the test with an AssertionError after timeout seconds):
    ``harness.wait_until(predicate, timeout=30, interval=0.1, what=...)``
    returns predicate()'s first true value.
    ``game.wait_for_screen(check, timeout=30, what=...)`` returns the first
    screenshot for which check(screenshot) is true.
    ``game.wait_for_picture(timeout=60, lit_pixels=10000)`` waits for the
    first drawn frame (the main menu after start-up) and returns it.
    ``game.wait_for_change(before, box=None, timeout=30, pixels=50)`` waits
    until the screen differs from the screenshot ``before`` in the box
    (``harness.differing_pixels(a, b, box)`` counts the differing pixels).
    ``game.file_stamp(rel)`` / ``game.wait_for_file(rel, timeout=30,
    since=None)``: waits until a file exists, or with ``since`` (a stamp
    taken before the action) until the game has written it anew.

Levels: ``harness.build_level(text, path)``; ``harness.level_tool()``.

Screenshots:
    ``game.screenshot(window=True)`` -> ``Screenshot`` of the game window
    (``window=False``: the whole X screen). A Screenshot has ``width``,
    ``height``, ``pixel(x, y)`` -> (r, g, b) with y measured downwards from
    the top row, ``pixel_gl(x, y)`` with y measured upwards as the game's 2D
    drawing does, ``mean(x0, y0, x1, y1)`` -> average (r, g, b) of the box
    [x0, x1) x [y0, y1) (top-down), ``count(predicate, box=None)`` -> number
    of pixels whose (r, g, b) satisfy predicate, and ``save_png(path)``.

Stopping:
    ``game.stop(timeout=30)`` sends SIGTERM (SDL turns it into SDL_QUIT, so
    the game shuts down normally) and waits; if the game does not end it is
    killed and ``timed_out`` is set. ``game.wait(timeout=60)`` waits for the
    game to end on its own. Both return ``Result(returncode, stdout, stderr,
    timed_out)``; returncode is negative for a signal, as in subprocess.
    ``harness.run_game(timeout=60, **game_args)`` starts a game that is
    expected to end by itself (start-up failures) and returns its Result.
"""

import os
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib
from collections import namedtuple

WINDOW_NAME = "Tavrelo 1.16b"
BINARY_NAME = "tavrelo"

Result = namedtuple("Result", "returncode stdout stderr timed_out")

# Lines of settings.ini in the game's own order and layout.
_SETTINGS_LAYOUT = [
    ("[CONTROLS]", None), ("", None),
    ("Forward1\t= %d", 119), ("Backward1\t= %d", 115), ("Right1\t\t= %d", 100),
    ("Left1\t\t= %d", 97), ("Jump1\t\t= %d", 32), ("Reset1\t\t= %d", 110),
    ("Use1\t\t= %d", 101), ("Forward2\t= %d", 273), ("Backward2\t= %d", 274),
    ("Right2\t\t= %d", 275), ("Left2\t\t= %d", 276), ("Jump2\t\t= %d", 109),
    ("Reset2\t\t= %d", 111), ("Use2\t\t= %d", 98),
    ("", None), ("[GRAPHICS]", None), ("", None),
    ("Glow\t\t= %d", 1), ("Bloom\t\t= %d", 3), ("Bloomw\t\t= %d", 256),
    ("Bloomh\t\t= %d", 256), ("Mipmaps\t\t= %d", 1), ("Style\t\t= %d", 0),
    ("Details\t\t= %d", 0), ("Draw-Dist\t= %d", 200000),
    ("Shadow-Dist\t= %d", 50000), ("AnimSpeed\t= %d", 43), ("Speed\t\t= %d", 0),
    ("Shadows\t= %d", 0),
    ("", None), ("[VIDEO]", None), ("", None),
    ("width\t\t= %d", 1024), ("height\t\t= %d", 768), ("windowed\t= %d", 0),
    ("", None), ("[SOUND]", None), ("", None),
    ("Sounds\t\t= %d", 1),
]


def settings_ini(**values):
    """A complete settings.ini with the game's defaults, overridden by the
    given keys (file words; "Draw-Dist" and "Shadow-Dist" may be written
    Draw_Dist and Shadow_Dist). AnimSpeed is the file value (43 = default)."""
    values = {key.replace("_", "-"): value for key, value in values.items()}
    known = set()
    lines = []
    for pattern, default in _SETTINGS_LAYOUT:
        if default is None:
            lines.append(pattern)
            continue
        key = pattern.split("\t")[0]
        known.add(key)
        lines.append(pattern % int(values.get(key, default)))
    unknown = set(values) - known
    if unknown:
        raise ValueError("unknown settings: %s" % ", ".join(sorted(unknown)))
    return "\n".join(lines) + "\n"


TEST_SETTINGS = settings_ini(windowed=1, width=1024, height=768, Sounds=0)


def wait_until(predicate, timeout=30, interval=0.1, what="the condition"):
    """Calls predicate() until it returns something true and returns that.
    Fails the test (AssertionError) after timeout seconds. A machine busy
    with other builds and games renders slowly: wait for what a player
    would see rather than sleeping a fixed time before a check."""
    deadline = time.time() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.time() > deadline:
            raise AssertionError("timed out after %ss waiting for %s" % (timeout, what))
        time.sleep(interval)


def differing_pixels(a, b, box, tolerance=40):
    """Pixels of the top-down box [x0, x1) x [y0, y1) in which some channel
    of the two screenshots differs by more than tolerance."""
    x0, y0, x1, y1 = a._box(box)
    found = 0
    for y in range(y0, y1):
        start, end = (y * a.width + x0) * 3, (y * a.width + x1) * 3
        row_a, row_b = a.rgb[start:end], b.rgb[start:end]
        if row_a == row_b:
            continue
        for offset in range(0, end - start, 3):
            if (abs(row_a[offset] - row_b[offset]) > tolerance
                    or abs(row_a[offset + 1] - row_b[offset + 1]) > tolerance
                    or abs(row_a[offset + 2] - row_b[offset + 2]) > tolerance):
                found += 1
    return found


def default_runtime_dir():
    runtime = os.environ.get("TAVRELO_RUNTIME_DIR")
    if runtime:
        return runtime
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.join(here, "..", "..", "build", "runtime")


def level_tool():
    """build/tools/tavrelo-level of the runtime folder's build."""
    build = os.environ.get("TAVRELO_BUILD_DIR") or os.path.join(default_runtime_dir(), "..")
    return os.path.join(build, "tools", "tavrelo-level")


def build_level(text, path):
    """Writes the level of the level tool's text form `text` to `path`."""
    with open(path + ".txt", "w") as out:
        out.write(text)
    subprocess.run([level_tool(), "build", path + ".txt", "-o", path], check=True, capture_output=True)


class Screenshot:
    """RGB pixels of a captured X drawable, rows top to bottom."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb  # bytes, 3 per pixel

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError("pixel (%d, %d) outside %dx%d" % (x, y, self.width, self.height))
        offset = (y * self.width + x) * 3
        return tuple(self.rgb[offset:offset + 3])

    def pixel_gl(self, x, y):
        return self.pixel(x, self.height - 1 - y)

    def _box(self, box):
        if box is None:
            return 0, 0, self.width, self.height
        x0, y0, x1, y1 = box
        return max(0, x0), max(0, y0), min(self.width, x1), min(self.height, y1)

    def mean(self, x0, y0, x1, y1):
        x0, y0, x1, y1 = self._box((x0, y0, x1, y1))
        total = [0, 0, 0]
        count = 0
        for y in range(y0, y1):
            row = self.rgb[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
            total[0] += sum(row[0::3])
            total[1] += sum(row[1::3])
            total[2] += sum(row[2::3])
            count += x1 - x0
        if count == 0:
            raise ValueError("empty box")
        return tuple(channel / count for channel in total)

    def count(self, predicate, box=None):
        x0, y0, x1, y1 = self._box(box)
        found = 0
        for y in range(y0, y1):
            base = y * self.width * 3
            for x in range(x0, x1):
                offset = base + x * 3
                if predicate(tuple(self.rgb[offset:offset + 3])):
                    found += 1
        return found

    def save_png(self, path):
        raw = bytearray()
        stride = self.width * 3
        for y in range(self.height):
            raw.append(0)
            raw += self.rgb[y * stride:(y + 1) * stride]

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + chunk(b"IEND", b""))


def _mask_shift(mask):
    shift = 0
    while mask and not mask & 1:
        mask >>= 1
        shift += 1
    return shift, mask


def parse_xwd(data):
    """Decodes a TrueColor XWD dump (as written by `xwd`) into a Screenshot."""
    fields = struct.unpack(">25I", data[:100])
    header_size, version = fields[0], fields[1]
    if version != 7:
        raise ValueError("unsupported xwd version %d" % version)
    width, height = fields[4], fields[5]
    byte_order = fields[7]
    bits_per_pixel = fields[11]
    bytes_per_line = fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    color_count = fields[19]
    if bits_per_pixel not in (24, 32):
        raise ValueError("unsupported xwd depth %d bits per pixel" % bits_per_pixel)
    pixels = memoryview(data)[header_size + color_count * 12:]
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    if step == 4 and (red_mask, green_mask, blue_mask) == (0xFF0000, 0xFF00, 0xFF):
        # The usual 24-bit visual: whole channels sliced out at C speed, so a
        # screenshot costs milliseconds, not seconds, on a loaded machine.
        offsets = (2, 1, 0) if order == "little" else (1, 2, 3)
        packed = bytearray(width * step * height)
        for y in range(height):
            packed[y * width * step:(y + 1) * width * step] = \
                pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        rgb = bytearray(width * height * 3)
        for channel, offset in enumerate(offsets):
            rgb[channel::3] = packed[offset::4]
        return Screenshot(width, height, bytes(rgb))
    shifts = [_mask_shift(mask) for mask in (red_mask, green_mask, blue_mask)]
    rgb = bytearray(width * height * 3)
    out = 0
    for y in range(height):
        row = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        for x in range(width):
            value = int.from_bytes(row[x * step:x * step + step], order)
            for shift, mask in shifts:
                channel = (value >> shift) & mask
                rgb[out] = channel * 255 // mask if mask else 0
                out += 1
    return Screenshot(width, height, bytes(rgb))


class XServer:
    """A private Xvfb; the display number is chosen by the server itself."""

    def __init__(self, width=1024, height=768):
        read_end, write_end = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 "%dx%dx24" % (width, height), "+extension", "GLX", "-nolisten", "tcp",
                 "-noreset"],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                start_new_session=True)
        finally:
            os.close(write_end)
        try:
            number = b""
            deadline = time.time() + 20
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.time()))
                if not ready:
                    raise RuntimeError("Xvfb did not start")
                piece = os.read(read_end, 16)
                if not piece:
                    raise RuntimeError("Xvfb exited at start")
                number += piece
        except BaseException:
            self.close()
            raise
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


_WRITTEN_FILES = ("settings.ini", "multiplayer.ini", "highscore.hsc")
_WRITTEN_SUFFIXES = (".gho",)
_WRITTEN_NAMES = ("single.stat",)


class Game:
    def __init__(self, settings=TEST_SETTINGS, runtime=None, fresh=True, screen=(1024, 768),
                 env=None, keep=False):
        self.keep = keep or bool(os.environ.get("TAVRELO_KEEP_TEST_DIRS"))
        self.process = None
        self.window = None
        self.x_server = None
        self._result = None
        self.temp_dir = tempfile.mkdtemp(prefix="tavrelo-test-")
        try:
            source = os.path.abspath(runtime or default_runtime_dir())
            if not os.path.isfile(os.path.join(source, BINARY_NAME)):
                raise RuntimeError("no game binary in %s (build it first)" % source)
            self.dir = os.path.join(self.temp_dir, "runtime")
            shutil.copytree(source, self.dir, symlinks=True)
            if fresh:
                self._remove_written_files()
            if settings is not None:
                self.write_file("settings.ini", settings)
            self.x_server = XServer(*screen)
            self.env = dict(os.environ)
            self.env["DISPLAY"] = self.x_server.display
            self.env.setdefault("SDL_AUDIODRIVER", "dummy")
            self.env.pop("XAUTHORITY", None)
            if env:
                self.env.update(env)
        except BaseException:
            self.close()
            raise

    # -- the copied data tree ------------------------------------------------

    def path(self, relative):
        return os.path.join(self.dir, relative)

    def write_file(self, relative, content):
        target = self.path(relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        mode = "wb" if isinstance(content, (bytes, bytearray)) else "w"
        with open(target, mode) as out:
            out.write(content)

    def remove(self, relative):
        target = self.path(relative)
        if os.path.isdir(target) and not os.path.islink(target):
            shutil.rmtree(target)
        elif os.path.lexists(target):
            os.remove(target)

    def file_stamp(self, relative):
        """Identity of a file as it is now (None when missing); the game
        writes by renaming a new file into place, so every write changes it."""
        try:
            info = os.stat(self.path(relative))
        except FileNotFoundError:
            return None
        return (info.st_ino, info.st_mtime_ns, info.st_size)

    def wait_for_file(self, relative, timeout=30, since=None):
        """Waits until the file exists and, given the ``since`` stamp taken
        by ``file_stamp`` before the action, until it has been written anew.
        Returns its full path."""
        def written():
            stamp = self.file_stamp(relative)
            return stamp is not None and stamp != since
        wait_until(written, timeout, interval=0.05,
                   what="%s to be %s" % (relative, "written" if since is None else "rewritten"))
        return self.path(relative)

    def _remove_written_files(self):
        for name in _WRITTEN_FILES:
            self.remove(name)
        for root, _, files in os.walk(self.path("maps")):
            for name in files:
                if name.endswith(_WRITTEN_SUFFIXES) or name in _WRITTEN_NAMES:
                    os.remove(os.path.join(root, name))

    # -- process -------------------------------------------------------------

    def start(self, cwd=None, command=None):
        """Starts the copied game, or ``command`` (an installed game, say)."""
        if self.process is not None:
            raise RuntimeError("game already started")
        self._stdout = open(os.path.join(self.temp_dir, "stdout.txt"), "wb")
        self._stderr = open(os.path.join(self.temp_dir, "stderr.txt"), "wb")
        self.process = subprocess.Popen(
            command or [self.path(BINARY_NAME)], cwd=cwd or self.dir, env=self.env,
            stdin=subprocess.DEVNULL, stdout=self._stdout, stderr=self._stderr)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def output(self):
        def read(name):
            try:
                with open(os.path.join(self.temp_dir, name), "rb") as source:
                    return source.read().decode("utf-8", "replace")
            except FileNotFoundError:
                return ""
        return read("stdout.txt"), read("stderr.txt")

    def wait_for_output(self, text, timeout=30, stream="stdout"):
        deadline = time.time() + timeout
        while True:
            stdout, stderr = self.output()
            if text in (stdout if stream == "stdout" else stderr):
                return True
            if time.time() > deadline or not self.running():
                raise AssertionError("%r not seen on %s; stdout=%r stderr=%r"
                                     % (text, stream, stdout, stderr))
            time.sleep(0.05)

    def wait_for_window(self, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if not self.running():
                stdout, stderr = self.output()
                raise AssertionError("game ended before its window appeared; stdout=%r stderr=%r"
                                     % (stdout, stderr))
            found = self._xdotool("search", "--name", "^%s$" % WINDOW_NAME, check=False)
            ids = found.split()
            if ids:
                self.window = ids[-1]
                self._focus()
                return self.window
            time.sleep(0.1)
        raise AssertionError("no window named %r after %ss" % (WINDOW_NAME, timeout))

    def _focus(self):
        # No window manager runs, so focus follows the pointer unless set.
        self._xdotool("mousemove", "--window", self.window, "1", "1", check=False)
        self._xdotool("windowfocus", "--sync", self.window, check=False)

    def wait(self, timeout=60):
        if self.process is None:
            raise RuntimeError("game not started")
        timed_out = False
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
            self.process.kill()
            self.process.wait()
        return self._finish(timed_out)

    def stop(self, timeout=30):
        if self.process is None:
            raise RuntimeError("game not started")
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        return self.wait(timeout)

    def _finish(self, timed_out):
        for stream in (self._stdout, self._stderr):
            stream.close()
        stdout, stderr = self.output()
        self._result = Result(self.process.returncode, stdout, stderr, timed_out)
        # Every message the game prints ends its line, so the next one (the
        # game's or the shell's) starts on a line of its own.
        for name, text in (("stdout", stdout), ("stderr", stderr)):
            if text and not text.endswith("\n") and not timed_out:
                raise AssertionError("the game's %s does not end its last line: %r" % (name, text[-200:]))
        return self._result

    # -- input ---------------------------------------------------------------

    def _xdotool(self, *args, check=True):
        completed = subprocess.run(["xdotool"] + list(args), env=self.env, capture_output=True,
                                   text=True, timeout=30)
        if check and completed.returncode != 0:
            raise RuntimeError("xdotool %s failed: %s" % (" ".join(args), completed.stderr))
        return completed.stdout

    def key(self, *names, delay_ms=40):
        for name in names:
            self._xdotool("key", "--delay", str(delay_ms), name)
            time.sleep(delay_ms / 1000)

    def key_down(self, name):
        self._xdotool("keydown", name)

    def key_up(self, name):
        self._xdotool("keyup", name)

    def hold(self, name, ms):
        self.key_down(name)
        try:
            time.sleep(ms / 1000)
        finally:
            self.key_up(name)

    def type_text(self, text, delay_ms=40):
        self._xdotool("type", "--delay", str(delay_ms), text)

    def mouse_move(self, x, y):
        if self.window is None:
            self._xdotool("mousemove", str(x), str(y))
        else:
            self._xdotool("mousemove", "--window", self.window, str(x), str(y))

    def click(self, button=1):
        self._xdotool("click", str(button))

    def hide_window(self):
        self._xdotool("windowunmap", "--sync", self.window)

    def show_window(self):
        self._xdotool("windowmap", "--sync", self.window)

    @staticmethod
    def pause(ms):
        time.sleep(ms / 1000)

    # -- screen --------------------------------------------------------------

    def screenshot(self, window=True):
        args = ["xwd", "-silent", "-display", self.x_server.display]
        if window:
            if self.window is None:
                self.wait_for_window()
            args += ["-id", self.window]
        else:
            args += ["-root"]
        completed = subprocess.run(args, env=self.env, capture_output=True, timeout=30)
        if completed.returncode != 0:
            raise RuntimeError("xwd failed: %s" % completed.stderr.decode(errors="replace"))
        return parse_xwd(completed.stdout)

    def wait_for_screen(self, check, timeout=30, what="the expected screen"):
        """Takes screenshots until check(screenshot) is true and returns that
        screenshot; fails the test after timeout seconds (or when the game
        ends first). Keep the test's own assertions after it."""
        last = []

        def satisfied():
            if not self.running():
                stdout, stderr = self.output()
                raise AssertionError("game ended while waiting for %s; stdout=%r stderr=%r"
                                     % (what, stdout, stderr))
            shot = self.screenshot()
            last[:] = [shot]
            return check(shot)
        wait_until(satisfied, timeout, interval=0.05, what=what)
        return last[0]

    def wait_for_picture(self, timeout=60, lit_pixels=10000):
        """Waits for the first drawn frame (the window starts black) and
        returns it: more than lit_pixels pixels brighter than black."""
        def lit_estimate(shot):
            # Every fourth pixel of every fourth row: fast enough to poll.
            found = 0
            for y in range(0, shot.height, 4):
                row = shot.rgb[y * shot.width * 3:(y + 1) * shot.width * 3]
                for offset in range(0, len(row), 12):
                    if row[offset] + row[offset + 1] + row[offset + 2] > 60:
                        found += 1
            return found * 16

        return self.wait_for_screen(lambda shot: lit_estimate(shot) > lit_pixels, timeout,
                                    what="a picture in the window")

    def wait_for_change(self, before, box=None, timeout=30, pixels=50, what=None):
        """Waits until more than ``pixels`` pixels of box differ clearly from
        the screenshot ``before``; returns the new screenshot."""
        return self.wait_for_screen(
            lambda shot: differing_pixels(before, shot, box) > pixels, timeout,
            what=what or "the screen to change in %s" % (box,))

    # The main menu at rest: the player's craft sits on the front block and
    # the label of the entry in front stands below it (fractions of the
    # window, top-down). The craft box holds only the craft's own top, as
    # the very first menu frame lights the block around it more dimly.
    MENU_CRAFT_BOX = (0.480, 0.557, 0.518, 0.578)
    MENU_LABEL_BOX = (0.376, 0.658, 0.625, 0.745)

    def _menu_box(self, fractions, shot):
        x0, y0, x1, y1 = fractions
        return (int(x0 * shot.width), int(y0 * shot.height),
                int(x1 * shot.width), int(y1 * shot.height))

    def turn_menu(self, key="Right", times=1, before=None, timeout=60):
        """Turns the main menu's ring one entry per press of key ("Right",
        "Left", "a" or "d") and waits after each press until the ring rests.
        The ring takes a press only while at rest (a press mid-turn is lost),
        and at one animation step per frame a turn lasts seconds when
        frames are slow. The menu must be showing and at rest; ``before`` is
        a screenshot of it (taken here when None). Returns the last one."""
        shot = before or self.screenshot()
        # The craft at rest looks the same in front of every entry.
        resting = shot
        craft = self._menu_box(self.MENU_CRAFT_BOX, shot)
        label = self._menu_box(self.MENU_LABEL_BOX, shot)
        craft_area = (craft[2] - craft[0]) * (craft[3] - craft[1])
        label_area = (label[2] - label[0]) * (label[3] - label[1])
        for turn in range(times):
            previous = shot
            self.key(key)
            # The craft hops for 23 steps on each turn, the ring turns for
            # 12: a new label in front with the craft back down means rest.
            # One step up or down already moves the craft by many pixels.
            shot = self.wait_for_screen(
                lambda now: (differing_pixels(previous, now, label) > label_area // 10
                             and differing_pixels(resting, now, craft) < craft_area // 10),
                timeout, what="the menu ring to rest after turn %d of %d" % (turn + 1, times))
        return shot

    # -- clean-up ------------------------------------------------------------

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for name in ("_stdout", "_stderr"):
            stream = getattr(self, name, None)
            if stream is not None and not stream.closed:
                stream.close()
        if self.x_server is not None:
            self.x_server.close()
            self.x_server = None
        if self.keep:
            print("kept test directory %s" % self.temp_dir, file=sys.stderr)
        else:
            shutil.rmtree(self.temp_dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


def run_game(timeout=60, cwd=None, prepare=None, **game_args):
    """Starts a game expected to end on its own and returns its Result.
    ``prepare(game)`` may change the copied data tree before the start."""
    with Game(**game_args) as game:
        if prepare is not None:
            prepare(game)
        game.start(cwd=cwd)
        return game.wait(timeout)
