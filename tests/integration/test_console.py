"""The console in the real game: opened with Tab during a time-attack run,
"debug on" typed and run, and the play state's yellow debug overlay seen in
screenshots while the console is open and after it is closed again."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

SETTINGS = harness.settings_ini(windowed=1, width=1024, height=768, Sounds=0)


def is_yellow(rgb):
    r, g, b = rgb
    return r > 200 and g > 200 and b < 120


def is_console_grey(rgb):
    r, g, b = rgb
    return abs(r - g) < 12 and abs(g - b) < 12 and 50 < r < 110


def clock_glyphs(shot):
    """Bright pixels where the run's clock stands, bottom right."""
    top = 768 - int(768 * 0.06)
    return shot.count(lambda rgb: min(rgb) > 200,
                      (int(1024 * 0.78), top - 4, int(1024 * 0.95), top + int(0.03 * 768)))


CONSOLE_BOX = (600, 20, 1000, 200)


def console_open(shot):
    # The grey panel covers the top 30 % of the window.
    return shot.count(is_console_grey, box=CONSOLE_BOX) > 20000


class ConsoleTest(unittest.TestCase):
    def start_run(self, game):
        game.start()
        game.wait_for_window()
        game.wait_for_picture()
        game.key("Return")   # menu entry 0: time attack map list
        game.key("Return")   # the first map
        game.wait_for_screen(lambda shot: clock_glyphs(shot) > 40, what="the run and its clock")

    def toggle_console(self, game, opened):
        game.key("Tab")
        return game.wait_for_screen(lambda shot: console_open(shot) == opened,
                                    what="the console to %s" % ("open" if opened else "close"))

    # The debug lines stand at the left edge near the top of the window.
    DEBUG_BOX = (0, 0, 300, 160)

    def test_debug_on_shows_the_yellow_overlay(self):
        with harness.Game(settings=SETTINGS) as game:
            self.start_run(game)
            self.assertEqual(game.screenshot().count(is_yellow, box=self.DEBUG_BOX), 0)

            shot = self.toggle_console(game, True)
            self.assertGreater(shot.count(is_console_grey, box=CONSOLE_BOX), 20000,
                               "console not open")

            game.type_text("debug on")
            game.key("Return")
            opened = game.wait_for_screen(
                lambda shot: shot.count(is_yellow, box=self.DEBUG_BOX) > 100,
                what="the debug lines")
            shot_dir = os.environ.get("TAVRELO_DOCS_SHOTS")
            if shot_dir:
                opened.save_png(os.path.join(shot_dir, "console.png"))
            # The paused run underneath now draws its debug lines.
            self.assertGreater(opened.count(is_yellow, box=self.DEBUG_BOX), 100)

            closed = self.toggle_console(game, False)
            self.assertGreater(closed.count(is_yellow, box=self.DEBUG_BOX), 100)
            self.assertLess(closed.count(is_console_grey, box=CONSOLE_BOX), 20000)
            self.assertTrue(game.running())

    # The front face of the block under the craft, below the console panel.
    TRACK_BOX = (400, 620, 630, 700)

    def test_texset_reloads_the_block_textures_at_once(self):
        with harness.Game(settings=SETTINGS) as game:
            self.start_run(game)
            first = game.screenshot().mean(*self.TRACK_BOX)

            def change_from_first(shot):
                return sum(abs(a - b) for a, b in zip(first, shot.mean(*self.TRACK_BOX)))

            self.toggle_console(game, True)
            game.type_text("texset 1")
            game.key("Return")
            self.toggle_console(game, False)
            second = game.wait_for_screen(lambda shot: change_from_first(shot) > 60,
                                          what="the blocks in set 1").mean(*self.TRACK_BOX)
            change = sum(abs(a - b) for a, b in zip(first, second))
            self.assertGreater(change, 60, "set 1 looks like set 0: %s %s" % (first, second))

            # Up brings "texset 1" back: shorten it to "texset 0".
            self.toggle_console(game, True)
            game.key("Up", "BackSpace")
            game.type_text("0")
            game.key("Return")
            self.toggle_console(game, False)
            back = game.wait_for_screen(lambda shot: change_from_first(shot) < 10,
                                        what="the blocks in set 0").mean(*self.TRACK_BOX)
            self.assertLess(sum(abs(a - b) for a, b in zip(first, back)), 10,
                            "texset 0 did not bring the first set back: %s %s" % (first, back))
            self.assertTrue(game.running())

    def test_unknown_input_prints_the_help(self):
        with harness.Game(settings=SETTINGS) as game:
            self.start_run(game)
            before = self.toggle_console(game, True)

            def light(rgb):
                return min(rgb) > 180

            # Nine help lines appear in the history area above the input line.
            history = (0, 20, 1024, 220)
            lit_before = before.count(light, box=history)
            game.type_text("hello")
            game.key("Return")
            after = game.wait_for_screen(lambda shot: shot.count(light, box=history) > lit_before + 500,
                                         what="the help lines")
            self.assertGreater(after.count(light, box=history), before.count(light, box=history) + 500)


if __name__ == "__main__":
    unittest.main()
