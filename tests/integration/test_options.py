"""The options screen in the real game: reached from the menu with key
events, a key rebound for each player, graphics switched, and the file that
Escape writes checked line by line."""

import os
import resource
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

BASE = dict(windowed=1, width=1024, height=768, Sounds=0)


def read_lines(path):
    with open(path, encoding="ascii") as settings_file:
        return settings_file.read().split("\n")


# The key and graphics rows of the options screen (top-down pixels).
ROWS_BOX = (150, 150, 800, 460)


# Below the frame: the line saying a save failed (top-down pixels).
NOTICE_BOX = (40, 725, 900, 760)


def is_red(rgb):
    r, g, b = rgb
    return r > 180 and g < 110 and b < 110


def is_magenta(rgb):
    r, g, b = rgb
    return r > 150 and b > 150 and g < 90


class OptionsScreenTest(unittest.TestCase):
    def open_options(self, game):
        game.start()
        self.enter_options(game)

    def enter_options(self, game):
        game.wait_for_window()
        menu = game.wait_for_picture()
        # The ring turns one entry per Right; Options is the fourth entry.
        game.turn_menu("Right", times=3, before=menu)
        game.key("Return")
        game.wait_for_screen(lambda shot: shot.count(is_magenta, box=ROWS_BOX) > 50,
                             what="the options screen")

    def leave_options(self, game):
        """Escape writes settings.ini and returns to the menu."""
        before = game.file_stamp("settings.ini")
        game.key("Escape")
        game.wait_for_file("settings.ini", since=before)

    def key_rows_magenta(self, game):
        # The selected row's label and key name are drawn in magenta.
        shot = game.screenshot()
        return shot.count(is_magenta, box=ROWS_BOX)

    def test_rebinding_and_switches_are_written_on_escape(self):
        with harness.Game(settings=harness.settings_ini(**BASE)) as game:
            self.open_options(game)
            self.assertGreater(self.key_rows_magenta(game), 50, "options screen not shown")

            game.key("Return", "k")          # Player 1 Forward (Forward2)
            game.key("Right", "Return", "j")  # Player 2 Forward (Forward1)
            game.key("Down")                 # to Backward
            game.key("Return", "Down")       # bound to cursor down: also moves on
            for _ in range(5):               # Right .. Use, then Glow
                game.key("Down")
            game.key("Right")                # Glow off
            for _ in range(4):
                game.key("Down")
            game.key("Right", "Right")       # Details low -> medium -> high
            game.screenshot().save_png(game.path("options.png"))
            shot_dir = os.environ.get("TAVRELO_DOCS_SHOTS")
            if shot_dir:
                game.screenshot().save_png(os.path.join(shot_dir, "options.png"))
            self.leave_options(game)

            written = read_lines(game.path("settings.ini"))
            expected = harness.settings_ini(
                Forward2=ord("k"), Forward1=ord("j"), Backward1=274, Glow=0, Details=2,
                **BASE).split("\n")
            self.assertEqual(len(written), len(expected))
            for number, (got, want) in enumerate(zip(written, expected), start=1):
                self.assertEqual(got, want, "settings.ini line %d" % number)

            # Back on the menu: no options rows left on screen.
            game.wait_for_screen(lambda shot: shot.count(is_magenta, box=ROWS_BOX) < 20,
                                 what="the menu after the options")
            self.assertLess(self.key_rows_magenta(game), 20)
            self.assertTrue(game.running())

    def test_reentering_reads_the_file_again(self):
        with harness.Game(settings=harness.settings_ini(Jump2=ord("q"), **BASE)) as game:
            self.open_options(game)
            # Move to Jump and rebind it, then leave: the file gets "x".
            for _ in range(4):
                game.key("Down")
            game.key("Return", "x")
            self.leave_options(game)
            lines = read_lines(game.path("settings.ini"))
            self.assertEqual(lines[13], "Jump2\t\t= %d" % ord("x"))
            # Someone edits the file while the menu shows; entering the
            # options again takes the file's values, not the old ones.
            game.write_file("settings.ini", harness.settings_ini(Jump2=ord("z"), **BASE))
            game.key("Return")  # the menu still stands on Options
            self.leave_options(game)
            lines = read_lines(game.path("settings.ini"))
            self.assertEqual(lines[13], "Jump2\t\t= %d" % ord("z"))

    def test_a_file_size_limit_fails_the_save_without_ending_the_game(self):
        # As `ulimit -f` or a quota would: settings.ini does not fit, the
        # write fails, the old file stays whole and the game plays on. The
        # screen says so in red below its frame and stays once.
        with harness.Game(settings=harness.settings_ini(**BASE)) as game:
            before = open(game.path("settings.ini"), "rb").read()
            soft, hard = resource.getrlimit(resource.RLIMIT_FSIZE)
            resource.setrlimit(resource.RLIMIT_FSIZE, (len(before) // 2, hard))
            try:
                game.start()  # only the game runs under the limit
            finally:
                resource.setrlimit(resource.RLIMIT_FSIZE, (soft, hard))
            self.enter_options(game)
            game.key("Escape")
            told = game.wait_for_screen(lambda shot: shot.count(is_red, box=NOTICE_BOX) > 100,
                                        what="the line saying the settings were not saved")
            told.save_png(game.path("options-not-saved.png"))
            self.assertGreater(told.count(is_magenta, box=ROWS_BOX), 50, "still on the options screen")
            game.key("Escape")
            game.wait_for_screen(lambda shot: shot.count(is_magenta, box=ROWS_BOX) < 10,
                                 what="the menu after the options screen")
            game.pause(500)
            self.assertTrue(game.running(), "the failed save ended the game: %r" % (game.output(),))
            self.assertEqual(open(game.path("settings.ini"), "rb").read(), before)
            self.assertEqual([name for name in os.listdir(game.dir) if name.startswith("settings.ini")],
                             ["settings.ini"], "a temporary file was left behind")
            result = game.stop()
        self.assertEqual(result.returncode, 0, result)


if __name__ == "__main__":
    unittest.main()
