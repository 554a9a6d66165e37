"""Time attack in the real game: from the menu to a map, to the goal, a
record with a name, and back out to a clean exit."""

import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

W, H = 1024, 768
ENTRY_BYTES = 108
LEVEL = "first-steps.slv"
# The list is sorted by name: chain-reaction, ferry, first-steps, ...
LEVEL_ROW = 2


def read_highscores(path):
    with open(path, "rb") as f:
        data = f.read()
    (count,) = struct.unpack_from("<i", data, 0)
    assert len(data) == 4 + ENTRY_BYTES * count, "record file of %d bytes for %d entries" % (len(data), count)
    entries = {}
    for k in range(count):
        base = 4 + ENTRY_BYTES * k
        name = data[base:base + 64].split(b"\0")[0].decode()
        file_time, record, medal = struct.unpack_from("<iii", data, base + 64)
        holder = data[base + 76:base + 108].split(b"\0")[0].decode()
        entries[name] = (file_time, record, medal, holder)
    return entries


def lit_mask(shot, box):
    """Which pixels of the box hold text, whatever its colour."""
    x0, y0, x1, y1 = box
    return [min(shot.pixel(x, y)) > 150 for y in range(y0, y1) for x in range(x0, x1)]


def mismatch(shot, box_a, box_b):
    """Fraction of pixels whose text/no-text state differs between two
    equally sized boxes; a few background stars make it a little above 0."""
    a, b = lit_mask(shot, box_a), lit_mask(shot, box_b)
    return sum(1 for x, y in zip(a, b) if x != y) / float(len(a))


def row_box(row, left, right):
    """Top-down pixel box around the glyphs of a map list row."""
    top = H - int(H * (0.716 - 0.039 * row))
    return (int(W * left), top, int(W * right), top + int(0.026 * H))


def frame_colour(shot):
    """Mean colour of the list frame's left border, halfway down."""
    x = int(W * 0.029)
    y = H - int(H * 0.5)
    return shot.mean(x, y - 20, x + 7, y + 20)


def timer_glyphs(shot):
    """Bright pixels where the run's clock stands, bottom right."""
    top = H - int(H * 0.06)
    box = (int(W * 0.78), top - 4, int(W * 0.95), top + int(0.03 * H))
    return shot.count(lambda rgb: min(rgb) > 200, box)


class TimeAttackRoad(unittest.TestCase):
    def wait_until(self, game, predicate, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            if predicate(game.screenshot()):
                return
            game.pause(200)
        self.fail("timed out waiting for " + what)

    def test_record_run_is_kept_and_listed(self):
        with harness.Game() as game:
            game.start()
            game.wait_for_window()
            game.pause(500)
            game.key("Return")  # the ring rests on Time Attack
            game.pause(600)
            listed = game.screenshot()
            r, g, b = frame_colour(listed)
            self.assertGreater(b, 2 * max(r, g) + 10, "the map list has its blue frame")
            holder_column = (0.439, 0.72)
            self.assertLess(mismatch(listed, row_box(LEVEL_ROW, *holder_column),
                                     row_box(LEVEL_ROW - 1, *holder_column)), 0.005,
                            "both levels start with the default holder")

            game.key("Down", "Down", "Return")
            game.pause(800)
            game.key_down("Up")
            # The straight level takes about three seconds at full speed;
            # under a software renderer the game runs slower.
            self.wait_until(game, lambda shot: frame_colour(shot)[1] > 60, 40, "the record screen")
            game.key_up("Up")
            finished = game.screenshot()
            r, g, b = frame_colour(finished)
            self.assertGreater(g, 2 * max(r, b) + 10, "a first finish is a new record: green frame")

            game.type_text("Ada~x")  # "~" is refused
            game.key("BackSpace")
            game.pause(300)
            game.key("Escape")
            game.pause(800)

            entries = read_highscores(game.path("highscore.hsc"))
            # Race maps are time-attack maps too; castle maps are not.
            self.assertEqual(set(entries), {"chain-reaction.slv", "ferry.slv", "first-steps.slv",
                                            "icebridge.slv", "ra-cascade.slv", "ra-slalom.slv",
                                            "ra-sprint.slv", "switchback.slv"})
            file_time, record, medal, holder = entries[LEVEL]
            self.assertEqual(holder, "Ada")
            self.assertGreater(record, 1000)
            self.assertLess(record, 60000)
            self.assertIn(medal, (-1, 0, 1, 2))
            self.assertEqual(file_time, int(os.stat(game.path("maps/" + LEVEL)).st_mtime))
            self.assertEqual(entries["ferry.slv"][1:], (999999, -1, "Brannoc"))

            ghost = game.path("maps/first-steps.gho")
            self.assertTrue(os.path.exists(ghost), "the record run's ghost is saved")
            with open(ghost, "rb") as f:
                data = f.read()
            (samples,) = struct.unpack_from("<i", data, 0)
            self.assertEqual(len(data), 4 + 12 * samples)
            self.assertGreater(samples, 10)
            _, y0, z0 = struct.unpack_from("<iii", data, 4)
            _, _, z_last = struct.unpack_from("<iii", data, 4 + 12 * (samples - 1))
            self.assertEqual((y0, z0), (150, 500), "sample 0 is the start position")
            self.assertGreater(z_last, 30000, "the last sample is near the goal")

            relisted = game.screenshot()
            r, g, b = frame_colour(relisted)
            self.assertGreater(b, 2 * max(r, g) + 10, "back on the map list")
            self.assertGreater(mismatch(relisted, row_box(LEVEL_ROW, *holder_column),
                                        row_box(LEVEL_ROW - 1, *holder_column)), 0.02,
                               "the list shows the new holder")
            time_column = (0.732, 0.9)
            self.assertGreater(mismatch(relisted, row_box(LEVEL_ROW, *time_column),
                                        row_box(LEVEL_ROW - 1, *time_column)), 0.02,
                               "the list shows the new time")

            # Map list -> menu -> turn the ring left onto "Quit" -> Enter.
            game.key("Escape")
            game.pause(500)
            self.assertTrue(game.running())
            game.key("Left")
            game.pause(1200)
            game.key("Return")
            result = game.wait(timeout=15)
        self.assertFalse(result.timed_out)
        self.assertEqual(result.returncode, 0)

    def test_driving_again_and_leaving_without_record(self):
        with harness.Game() as game:
            game.start()
            game.wait_for_window()
            game.pause(500)
            game.key("Return")
            game.pause(500)
            game.key("Down", "Down", "Return")
            game.pause(800)
            game.key_down("Up")
            self.wait_until(game, lambda shot: frame_colour(shot)[1] > 60, 40, "the record screen")
            game.key_up("Up")
            game.key("Return")  # store the record and drive the same level again
            game.pause(800)
            self.assertTrue(os.path.exists(game.path("maps/first-steps.gho")))
            # Waiting at the start: the clock stands still and no ghost is drawn.
            game.pause(1000)
            # Dawdle: this run is slower than the record.
            game.hold("Up", 600)
            game.pause(2500)
            game.key_down("Up")
            self.wait_until(game, lambda shot: frame_colour(shot)[0] > 60, 60, "the red result screen")
            game.key_up("Up")
            game.type_text("Bo")
            game.key("Escape")
            game.pause(800)
            entries = read_highscores(game.path("highscore.hsc"))
            self.assertNotEqual(entries[LEVEL][3], "Bo", "a slower run keeps the old holder")
            game.key("Escape")
            game.pause(500)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)

    def test_level_gone_after_listing_keeps_the_list(self):
        with harness.Game() as game:
            game.start()
            game.wait_for_window()
            game.pause(500)
            game.key("Return")
            game.pause(600)
            # The list was read on entry; the first level disappears behind it.
            game.remove("maps/chain-reaction.slv")
            game.key("Return")
            game.wait_for_output("Level not found.", timeout=10, stream="stderr")
            game.pause(500)
            self.assertTrue(game.running())
            shot = game.screenshot()
            r, g, b = frame_colour(shot)
            self.assertGreater(b, 2 * max(r, g) + 10, "still on the map list, not in an empty run")
            self.assertLess(timer_glyphs(shot), 10, "no clock on the list")
            # The next level still starts, and Escape from it returns to a
            # list that no longer holds the missing one.
            game.key("Down", "Return")
            game.pause(800)
            self.assertGreater(timer_glyphs(game.screenshot()), 40, "the ferry run shows its clock")
            game.key("Escape")
            game.pause(800)
            listed = game.screenshot()
            r, g, b = frame_colour(listed)
            self.assertGreater(b, 2 * max(r, g) + 10, "back on the map list")
            # Time attack lists every level but the castle and campaign ones.
            left = len([name for name in os.listdir(game.path("maps"))
                        if name.endswith(".slv") and not name.startswith(("ca-", "s-"))])
            self.assertLess(mismatch(listed, row_box(left, 0.0488, 0.4), row_box(left + 1, 0.0488, 0.4)), 0.005,
                            "%d levels left: the next row is empty" % left)
            game.key("Escape")
            game.pause(500)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)

    def test_empty_map_list_ignores_enter(self):
        with harness.Game() as game:
            for name in os.listdir(game.path("maps")):
                if name.endswith(".slv"):
                    game.remove("maps/" + name)
            game.start()
            game.wait_for_window()
            game.pause(500)
            game.key("Return")
            game.pause(500)
            game.key("Return", "Down", "Up", "Return")
            game.pause(500)
            self.assertTrue(game.running())
            r, g, b = frame_colour(game.screenshot())
            self.assertGreater(b, 2 * max(r, g) + 10, "still on the (empty) map list")
            game.key("Escape")
            game.pause(500)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)


if __name__ == "__main__":
    unittest.main()
