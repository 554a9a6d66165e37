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


# The clock's light grey text (0.9, 0.9, 0.9 through the font's own tint)
# and two of its fields, as window fractions.
CLOCK_TEXT = (230, 230, 235)
SECONDS_FIELD = (0.84, 0.895)
HUNDREDTHS_FIELD = (0.90, 0.95)


def clock_field(shot, field):
    """Which pixels of one field of the run's clock carry its text colour
    (stars and the track around it are other colours)."""
    left, right = field
    top = H - int(H * 0.06)
    return tuple(all(abs(c - t) <= 10 for c, t in zip(shot.pixel(x, y), CLOCK_TEXT))
                 for y in range(top - 4, top + int(0.03 * H))
                 for x in range(int(W * left), int(W * right)))


def field_changed(a, b):
    """A digit of another value, not a stray pixel."""
    return sum(1 for x, y in zip(a, b) if x != y) >= 6


def readable_title_pixels(shot):  # the title strip, bright enough to read on the night sky
    box = (int(W * 0.15), H - int(H * 0.932), int(W * 0.85), H - int(H * 0.842))
    return shot.count(lambda p: 0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2] > 110, box)


def gold_beside_clock(shot):
    top = H - int(H * 0.06)
    return shot.count(lambda p: p[0] > 200 and p[1] > 150 and p[2] < 90, (int(W * 0.5), top - 4, int(W * 0.77), top + 20))


def result_frame(shot):
    """The record screen's frame colour: both side borders of its panel,
    halfway down, in one strong red or green; None on any other picture."""
    y = H - int(H * 0.5)
    colours = []
    for left in (int(W * 0.029), int(W * 0.029) + int(W * 0.941) - 7):
        colours.append(shot.mean(left, y - 20, left + 7, y + 20))
    for channel in (0, 1):
        if all(c[channel] > 60 and c[channel] > 2 * max(c[k] for k in range(3) if k != channel) + 10
               for c in colours):
            return "red" if channel == 0 else "green"
    return None


def on_map_list(shot):
    """The list's blue frame, brighter than the menu's dark blue sky there."""
    r, g, b = frame_colour(shot)
    return b > 2 * max(r, g) + 10 and b > 60


# Slow frames keep the run's pace, but a loaded machine starts slowly.
DRIVE_TIMEOUT = 240


class TimeAttackRoad(unittest.TestCase):
    def wait_until(self, game, predicate, timeout, what):
        return game.wait_for_screen(predicate, timeout, what=what)

    def open_map_list(self, game):
        game.start()
        game.wait_for_window()
        game.wait_for_picture()
        game.key("Return")  # the ring rests on Time Attack
        return self.wait_until(game, on_map_list, 60, "the map list")

    def start_level(self, game, *keys):
        """Keys on the map list that start a run; waits for its clock."""
        game.key(*keys)
        return self.wait_until(game, lambda shot: timer_glyphs(shot) > 40, 60, "the run's clock")

    def clock_runs(self, game, look=1.0):
        """Whether the clock's hundredths change within `look` seconds."""
        before = clock_field(game.screenshot(), HUNDREDTHS_FIELD)
        deadline = time.time() + look
        while True:
            if field_changed(before, clock_field(game.screenshot(), HUNDREDTHS_FIELD)):
                return True
            if time.time() > deadline:
                return False

    def nudge_until_the_clock_runs(self, game):
        """Taps Up until the craft has moved and the clock runs: the craft
        creeps on at a few units per step, far slower than any record."""
        for _ in range(60):
            game.key_down("Up")
            game.key_up("Up")
            if self.clock_runs(game):
                return
        self.fail("the clock never started")

    def wait_for_clock_seconds(self, game, seconds, timeout=DRIVE_TIMEOUT):
        """Waits until the clock's seconds have turned `seconds` times: the
        run then lasts at least that many seconds, however slow the frames."""
        deadline = time.time() + timeout
        last = clock_field(game.screenshot(), SECONDS_FIELD)
        turns = 0
        while turns < seconds:
            self.assertLess(time.time(), deadline, "the clock's seconds turned %d of %d times"
                            % (turns, seconds))
            shot = game.screenshot()
            self.assertIsNone(result_frame(shot), "the crawling craft reached the goal")
            field = clock_field(shot, SECONDS_FIELD)
            if field_changed(field, last):
                turns += 1
                last = field

    def test_slow_frames_keep_the_steps_the_time_and_the_pace(self):
        """A straight forward alone finishes, forward held from before the
        run starts (no fresh press): with every frame held to 100 or 40 ms
        (TAVRELO_FRAME_MS) the same record as at full speed, within a step,
        and about that long on the wall clock."""
        records = {}
        for frame_ms in (0, 100, 40):
            with harness.Game(env={"TAVRELO_FRAME_MS": str(frame_ms)}) as game:
                harness.build_level("block plain pos=800,0,0 size=1600,500,140000\n"
                                    "block GOAL pos=800,0,140000 size=1600,500,2000\n",
                                    game.path("maps/a-straight.slv"))  # first in the list
                self.open_map_list(game)
                game.key_down("Up")
                started = time.time()
                game.key("Return")
                self.wait_until(game, lambda shot: result_frame(shot) is not None, 90, "the record screen")
                wall = time.time() - started
                game.key_up("Up")
                game.type_text("Tru")
                game.key("Escape")
                self.wait_until(game, on_map_list, 60, "the map list after the record")
                records[frame_ms] = read_highscores(game.path("highscore.hsc"))["a-straight.slv"][1]
            self.assertLessEqual(abs(records[frame_ms] - records[0]), 21, "%d ms frames: %s" % (frame_ms, records))
            # One step a frame would take 100/21 times as long on the wall.
            self.assertLess(wall, 1.5 * records[frame_ms] / 1000.0 + 3, "%d ms frames: %.1f s" % (frame_ms, wall))

    def test_record_run_is_kept_and_listed(self):
        with harness.Game() as game:
            listed = self.open_map_list(game)
            r, g, b = frame_colour(listed)
            self.assertGreater(b, 2 * max(r, g) + 10, "the map list has its blue frame")
            self.assertGreater(readable_title_pixels(listed), 1500, "TIME ATTACK reads on the backdrop")
            holder_column = (0.439, 0.72)
            self.assertLess(mismatch(listed, row_box(LEVEL_ROW, *holder_column),
                                     row_box(LEVEL_ROW - 1, *holder_column)), 0.005,
                            "both levels start with the default holder")

            run = self.start_level(game, "Down", "Down", "Return")
            self.assertGreater(gold_beside_clock(run), 60, "the gold time stands beside the clock")
            game.key_down("Up")
            # First Steps, driven by holding forward alone, takes about 26
            # seconds at full speed; under a software renderer the game runs
            # slower.
            self.wait_until(game, lambda shot: result_frame(shot) is not None, DRIVE_TIMEOUT,
                            "the record screen")
            game.key_up("Up")
            finished = game.screenshot()
            r, g, b = frame_colour(finished)
            self.assertGreater(g, 2 * max(r, b) + 10, "a first finish is a new record: green frame")

            game.type_text("Ada~x")  # "~" is refused
            game.key("BackSpace")
            game.key("Escape")
            # The record and its ghost are written before the list returns.
            relisted = self.wait_until(game, on_map_list, 60, "the map list after the record")

            entries = read_highscores(game.path("highscore.hsc"))
            # Race maps are time-attack maps too; castle maps are not.
            self.assertEqual(set(entries), {"chain-reaction.slv", "ferry.slv", "first-steps.slv",
                                            "icebridge.slv", "long-haul.slv", "needle.slv", "odyssey.slv",
                                            "ra-canyon.slv", "ra-cascade.slv", "ra-slalom.slv",
                                            "ra-sprint.slv", "skyway.slv", "switchback.slv"})
            file_time, record, medal, holder = entries[LEVEL]
            self.assertEqual(holder, "Ada")
            self.assertGreater(record, 1000)
            self.assertLess(record, DRIVE_TIMEOUT * 1000)
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

            r, g, b = frame_colour(relisted)
            self.assertGreater(b, 2 * max(r, g) + 10, "back on the map list")
            self.assertGreater(relisted.count(lambda p: p[0] > 150 and p[2] > 150 and p[1] < 90,
                                              row_box(LEVEL_ROW, *holder_column)), 60,
                               "the list shows the new holder on the chosen row")
            time_column = (0.732, 0.9)
            self.assertGreater(mismatch(relisted, row_box(LEVEL_ROW, *time_column),
                                        row_box(LEVEL_ROW - 1, *time_column)), 0.02,
                               "the list shows the new time")

            # Map list -> menu -> turn the ring left onto "Quit" -> Enter.
            game.key("Escape")
            menu = self.wait_until(game, lambda shot: not on_map_list(shot), 60, "the menu")
            self.assertTrue(game.running())
            game.turn_menu("Left", before=menu)
            game.key("Return")
            result = game.wait(timeout=60)
        self.assertFalse(result.timed_out)
        self.assertEqual(result.returncode, 0)

    def test_driving_again_and_leaving_without_record(self):
        with harness.Game() as game:
            self.open_map_list(game)
            self.start_level(game, "Down", "Down", "Return")
            game.key_down("Up")
            self.wait_until(game, lambda shot: result_frame(shot) is not None, DRIVE_TIMEOUT,
                            "the record screen")
            game.key_up("Up")
            # Store the record and drive the same level again.
            self.start_level(game, "Return")
            self.assertTrue(os.path.exists(game.path("maps/first-steps.gho")))
            record_ms = read_highscores(game.path("highscore.hsc"))[LEVEL][1]
            # Waiting at the start: the clock stands still and no ghost is drawn.
            self.assertFalse(self.clock_runs(game), "the clock waits for the first move")
            # Dawdle: this run is slower than the record. The clock adds the
            # game's own milliseconds, so the test counts the seconds it shows
            # (never the test's own time: a loaded machine makes frames, and
            # with them the record run, slow at some moments and not others).
            self.nudge_until_the_clock_runs(game)
            self.wait_for_clock_seconds(game, record_ms // 1000 + 2)
            game.key_down("Up")
            result = self.wait_until(game, result_frame, DRIVE_TIMEOUT, "the result screen")
            game.key_up("Up")
            self.assertEqual(result_frame(result), "red", "a slower run: red frame")
            game.type_text("Bo")
            game.key("Escape")
            self.wait_until(game, on_map_list, 60, "the map list after the result")
            entries = read_highscores(game.path("highscore.hsc"))
            self.assertNotEqual(entries[LEVEL][3], "Bo", "a slower run keeps the old holder")
            game.key("Escape")
            game.pause(500)
            game.key("Escape")
            result = game.wait(timeout=60)
        self.assertEqual(result.returncode, 0)

    def test_level_gone_after_listing_keeps_the_list(self):
        with harness.Game() as game:
            # The list shows eleven rows; with a few maps fewer it fits on
            # one page, so its end can be seen.
            for name in ("long-haul.slv", "needle.slv", "odyssey.slv", "skyway.slv"):
                game.remove("maps/" + name)
            self.open_map_list(game)
            # The list was read on entry; the first level disappears behind it.
            game.remove("maps/chain-reaction.slv")
            game.key("Return")
            game.wait_for_output("Level not found.", timeout=30, stream="stderr")
            game.pause(500)
            self.assertTrue(game.running())
            shot = game.screenshot()
            r, g, b = frame_colour(shot)
            self.assertGreater(b, 2 * max(r, g) + 10, "still on the map list, not in an empty run")
            self.assertLess(timer_glyphs(shot), 10, "no clock on the list")
            # The next level still starts, and Escape from it returns to a
            # list that no longer holds the missing one.
            ferry = self.start_level(game, "Down", "Return")
            self.assertGreater(timer_glyphs(ferry), 40, "the ferry run shows its clock")
            game.key("Escape")
            listed = self.wait_until(game, on_map_list, 60, "the map list after the run")
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
            result = game.wait(timeout=60)
        self.assertEqual(result.returncode, 0)

    def test_empty_map_list_ignores_enter(self):
        with harness.Game() as game:
            for name in os.listdir(game.path("maps")):
                if name.endswith(".slv"):
                    game.remove("maps/" + name)
            self.open_map_list(game)
            game.key("Return", "Down", "Up", "Return")
            game.pause(500)
            self.assertTrue(game.running())
            r, g, b = frame_colour(game.screenshot())
            self.assertGreater(b, 2 * max(r, g) + 10, "still on the (empty) map list")
            game.key("Escape")
            game.pause(500)
            game.key("Escape")
            result = game.wait(timeout=60)
        self.assertEqual(result.returncode, 0)


if __name__ == "__main__":
    unittest.main()
