"""What the single-player integration tests share: reading single.stat and
the recordings, telling the list screens apart on a screenshot, and the way
from the menu to the first campaign's level list."""

import os
import struct
import time
import unittest

W, H = 1024, 768
CAMPAIGN = "gentle-camp"
SOURCE_DIR = os.environ.get("TAVRELO_SOURCE_DIR",
                            os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
RECORD_BYTES = 73


def read_progress(path):
    with open(path, "rb") as f:
        data = f.read()
    count, progress = struct.unpack_from("<ii", data, 0)
    assert len(data) == 8 + RECORD_BYTES * count, "%d bytes for %d records" % (len(data), count)
    records = []
    for k in range(count):
        base = 8 + RECORD_BYTES * k
        name = data[base:base + 64].split(b"\0")[0].decode()
        skipped = data[base + 64]
        record_time, spare = struct.unpack_from("<Ii", data, base + 65)
        records.append((name, skipped, record_time, spare))
    return progress, records


def recorded_hold(level):
    """The steps of a recording that holds forward all the way, or None."""
    path = os.path.join(SOURCE_DIR, "maps", CAMPAIGN, level + ".keys")
    with open(path) as recording:
        steps = [line.split() for line in recording if line.strip() and not line.startswith("#")]
    if len(steps) == 1 and steps[0][1] == "F":
        return int(steps[0][0])
    return None


def frame_colour(shot):
    """Mean colour of the list frame's left border, halfway down."""
    x = int(W * 0.029)
    y = H - int(H * 0.5)
    return shot.mean(x, y - 20, x + 7, y + 20)


def is_list(shot):
    r, g, b = frame_colour(shot)
    return r > 60 and g > 60 and b < min(r, g) / 2


def is_map_list(shot):
    r, g, b = frame_colour(shot)
    return b > 60 and b > 2 * max(r, g)


def is_level_list(shot):
    """The level list's column heads ("Lives left" at 0.5 of the width)."""
    top = H - int(H * 0.781)
    return is_list(shot) and text_pixels(shot, (int(W * 0.5), top, int(W * 0.64), top + 20), "white") > 40


def is_finish_moment(shot):  # the yellow "Level complete" over the stopped level
    top = H - int(H * 0.71)
    return shot.count(lambda p: p[0] > 200 and p[1] > 200 and p[2] < 90,
                      (int(W * 0.35), top, int(W * 0.65), top + 26)) > 150


def row_box(row, left, right):
    top = H - int(H * (0.716 - 0.039 * row))
    return (int(W * left), top, int(W * right), top + int(0.026 * H))


def text_pixels(shot, box, colour):
    """Pixels of the box close to a text colour: 'magenta', 'white', 'red'."""
    tests = {
        "magenta": lambda p: p[0] > 150 and p[2] > 150 and p[1] < 90,
        "white": lambda p: min(p) > 170,
        "red": lambda p: p[0] > 150 and p[1] < 80 and p[2] < 80,
    }
    return shot.count(tests[colour], box)


class SinglePlayerCase(unittest.TestCase):
    def wait_until(self, game, predicate, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            if predicate(game.screenshot()):
                return
            game.pause(200)
        self.fail("timed out waiting for " + what)

    def open_campaign(self, game):
        game.start()
        game.wait_for_window()
        game.pause(500)
        game.key("Right")  # the ring turns from Time Attack to Single Player
        # The turn takes twelve frames; a loaded software renderer is slow.
        # Enter on a ring still turning opens the time-attack list (blue
        # frame): then go back and press Enter again.
        for _ in range(5):
            game.pause(1500)
            game.key("Return")
            end = time.time() + 15
            shot = game.screenshot()
            while time.time() < end and not is_list(shot) and not is_map_list(shot):
                game.pause(300)
                shot = game.screenshot()
            if is_list(shot):
                break
            if is_map_list(shot):
                game.key("Escape")
        shot = game.screenshot()
        self.assertTrue(is_list(shot), "the campaign list has its yellow frame")
        # A late Enter of the retries may already have opened the level list.
        if not is_level_list(shot):
            game.key("Return")
        self.wait_until(game, lambda shot: is_level_list(shot) and
                        text_pixels(shot, row_box(0, 0.0488, 0.34), "magenta") > 30, 30, "the level list")
