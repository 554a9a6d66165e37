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


class ConsoleTest(unittest.TestCase):
    def start_run(self, game):
        game.start()
        game.wait_for_window()
        game.pause(500)
        game.key("Return")   # menu entry 0: time attack map list
        game.pause(500)
        game.key("Return")   # the first map
        game.pause(1000)

    # The debug lines stand at the left edge near the top of the window.
    DEBUG_BOX = (0, 0, 300, 160)

    def test_debug_on_shows_the_yellow_overlay(self):
        with harness.Game(settings=SETTINGS) as game:
            self.start_run(game)
            self.assertEqual(game.screenshot().count(is_yellow, box=self.DEBUG_BOX), 0)

            game.key("Tab")
            game.pause(300)
            shot = game.screenshot()
            # The grey panel covers the top 30 % of the window.
            self.assertGreater(shot.count(is_console_grey, box=(600, 20, 1000, 200)), 20000,
                               "console not open")

            game.type_text("debug on")
            game.key("Return")
            game.pause(300)
            opened = game.screenshot()
            shot_dir = os.environ.get("TAVRELO_DOCS_SHOTS")
            if shot_dir:
                opened.save_png(os.path.join(shot_dir, "console.png"))
            # The paused run underneath now draws its debug lines.
            self.assertGreater(opened.count(is_yellow, box=self.DEBUG_BOX), 100)

            game.key("Tab")
            game.pause(300)
            closed = game.screenshot()
            self.assertGreater(closed.count(is_yellow, box=self.DEBUG_BOX), 100)
            self.assertLess(closed.count(is_console_grey, box=(600, 20, 1000, 200)), 20000)
            self.assertTrue(game.running())

    # The front face of the block under the craft, below the console panel.
    TRACK_BOX = (400, 620, 630, 700)

    def test_texset_reloads_the_block_textures_at_once(self):
        with harness.Game(settings=SETTINGS) as game:
            self.start_run(game)
            first = game.screenshot().mean(*self.TRACK_BOX)

            game.key("Tab")
            game.pause(300)
            game.type_text("texset 1")
            game.key("Return")
            game.pause(500)
            game.key("Tab")
            game.pause(300)
            second = game.screenshot().mean(*self.TRACK_BOX)
            change = sum(abs(a - b) for a, b in zip(first, second))
            self.assertGreater(change, 60, "set 1 looks like set 0: %s %s" % (first, second))

            # The input line is kept: shorten "texset 1" to "texset 0".
            game.key("Tab")
            game.pause(300)
            game.key("BackSpace")
            game.type_text("0")
            game.key("Return")
            game.pause(500)
            game.key("Tab")
            game.pause(300)
            back = game.screenshot().mean(*self.TRACK_BOX)
            self.assertLess(sum(abs(a - b) for a, b in zip(first, back)), 10,
                            "texset 0 did not bring the first set back: %s %s" % (first, back))
            self.assertTrue(game.running())

    def test_unknown_input_prints_the_help(self):
        with harness.Game(settings=SETTINGS) as game:
            self.start_run(game)
            game.key("Tab")
            game.pause(300)
            before = game.screenshot()
            game.type_text("hello")
            game.key("Return")
            game.pause(300)
            after = game.screenshot()

            def light(rgb):
                return min(rgb) > 180

            # Nine help lines appear in the history area above the input line.
            history = (0, 20, 1024, 220)
            self.assertGreater(after.count(light, box=history), before.count(light, box=history) + 500)


if __name__ == "__main__":
    unittest.main()
