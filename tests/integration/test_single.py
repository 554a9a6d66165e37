"""Single-player campaigns in the real game: menu -> campaign list -> level
list -> the first level driven to the goal with its recording -> the record
and the next level listed and on disk -> a skip -> back to the menu; and
campaign folders whose files are damaged or cannot be written."""

import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

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
    steps = [line.split() for line in open(path) if line.strip() and not line.startswith("#")]
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


class SinglePlayerRoad(unittest.TestCase):
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
        self.assertTrue(is_list(game.screenshot()), "the campaign list has its yellow frame")
        game.key("Return")
        self.wait_until(game, lambda shot: text_pixels(shot, row_box(0, 0.0488, 0.34), "magenta") > 30, 15,
                        "the level list")

    def test_campaign_road_from_menu_to_goal_and_back(self):
        steps = recorded_hold("s-01-throttle")
        self.assertIsNotNone(steps, "the first level's recording holds forward to the goal")
        with harness.Game() as game:
            self.open_campaign(game)
            levels = game.screenshot()
            self.assertTrue(is_list(levels))
            name_column = (0.0488, 0.34)
            self.assertGreater(text_pixels(levels, row_box(0, *name_column), "magenta"), 50,
                               "the first level is listed and selected")
            self.assertLess(text_pixels(levels, row_box(1, *name_column), "white"), 10,
                            "the second level is not open yet")

            game.key("Return")
            game.pause(800)
            self.assertFalse(is_list(game.screenshot()), "the level is being played")
            # The recording holds forward for every step; the game runs slower
            # under a software renderer, so hold until the list is back.
            game.key_down("Up")
            self.wait_until(game, is_list, 60, "the level list after the goal")
            game.key_up("Up")
            game.pause(300)

            progress, records = read_progress(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.assertEqual(len(records), 8)
            self.assertEqual(progress, 1)
            name, skipped, record_time, spare = records[0]
            self.assertEqual((name, skipped, spare), ("s-01-throttle.slv", 0, 5))
            self.assertGreater(record_time, steps * 21 // 2)
            self.assertLess(record_time, 60000)
            self.assertEqual(records[1][2:], (99999999, 0), "no record yet on level 2")

            listed = game.screenshot()
            self.assertGreater(text_pixels(listed, row_box(1, *name_column), "white"), 50,
                               "the second level is open")
            time_column = (0.732, 0.95)
            self.assertGreater(text_pixels(listed, row_box(0, *time_column), "magenta"), 30)

            # Level 2 is the first open one: 's' skips it (eight levels, one skip).
            game.key("Down", "s")
            game.pause(500)
            progress, records = read_progress(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.assertEqual(progress, 2)
            self.assertEqual(records[1][1], 1, "level 2 marked skipped")
            skipped_shot = game.screenshot()
            self.assertGreater(text_pixels(skipped_shot, row_box(1, 0.348, 0.48), "magenta"), 20,
                               "SKIPPED beside the selected level")
            # The only skip is used: level 3 cannot be skipped.
            game.key("Down", "s")
            game.pause(500)
            progress, records = read_progress(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.assertEqual(progress, 2)
            self.assertEqual(records[2][1], 0)
            game.key("Up", "Up")
            game.pause(300)
            self.assertGreater(text_pixels(game.screenshot(), row_box(1, 0.348, 0.48), "red"), 20,
                               "SKIPPED in red beside a level not selected")

            game.key("Escape")
            game.pause(500)
            self.assertTrue(is_list(game.screenshot()), "back on the campaign list")
            game.key("Escape")
            game.pause(800)
            self.assertFalse(is_list(game.screenshot()), "back on the menu")
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)

    def test_damaged_progress_and_descriptions_open_without_a_crash(self):
        with harness.Game() as game:
            # A count far beyond the bytes, progress beyond the levels, a cut record.
            damaged = struct.pack("<ii", 1000000, 99) + b"s-01-throttle.slv".ljust(64, b"\0") + b"\1\2"
            game.write_file("maps/%s/single.stat" % CAMPAIGN, damaged)
            game.write_file("maps/zz-broken-camp/description.txt", b"\xff\0#\n" * 40)
            game.write_file("maps/zz-broken-camp/single.stat", b"\xff" * 7)
            os.makedirs(game.path("maps/zz-folder-camp/description.txt"))
            self.open_campaign(game)
            listed = game.screenshot()
            self.assertTrue(game.running())
            self.assertTrue(is_list(listed))
            # Progress is clamped to the eight levels: all of them are open.
            for row in range(8):
                self.assertGreater(text_pixels(listed, row_box(row, 0.0488, 0.34), "white" if row else "magenta"),
                                   30, "row %d listed" % row)
            game.key("Escape")
            game.pause(400)
            # Sorted by name: gentle, hard, then the two broken campaigns.
            for downs in (2, 3):
                game.key(*(["Down"] * downs))
                game.key("Return")
                game.pause(600)
                self.assertTrue(game.running())
                self.assertTrue(is_list(game.screenshot()))
                game.key("Return")  # no levels: nothing to start
                game.pause(400)
                self.assertTrue(game.running())
                game.key("Escape")
                game.pause(400)
            game.key("Escape")
            game.pause(600)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)

    def test_a_skip_that_cannot_be_saved_is_not_shown_as_kept(self):
        with harness.Game() as game:
            # A folder where the progress file should be: the save fails.
            os.makedirs(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.open_campaign(game)
            game.key("s")
            game.wait_for_output("Progress could not be saved to maps/%s/single.stat" % CAMPAIGN,
                                 timeout=10, stream="stderr")
            game.pause(400)
            shot = game.screenshot()
            self.assertEqual(text_pixels(shot, row_box(0, 0.348, 0.48), "magenta"), 0, "no SKIPPED mark")
            self.assertLess(text_pixels(shot, row_box(1, 0.0488, 0.34), "white"), 10, "level 2 still closed")
            notice = (int(W * 0.0488), H - int(H * 0.18), int(W * 0.9), H - int(H * 0.18) + 20)
            self.assertGreater(shot.count(lambda p: p[0] > 150 and p[1] < 120, notice), 30,
                               "the list says so in one line")
            game.key("Escape", "Escape")
            game.pause(600)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)


if __name__ == "__main__":
    unittest.main()
