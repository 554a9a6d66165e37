"""The real game starts under Xvfb, keeps running and ends cleanly."""

import os
import resource
import signal
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fixture_data  # noqa: E402
import harness  # noqa: E402

DEFAULTS_NOTICE = "Error: settings.ini not found - using default settings."


class StartUp(unittest.TestCase):
    def test_defaults_without_settings_file_then_sigterm(self):
        # No settings.ini: full screen 1024x768 with sound on (dummy driver).
        with harness.Game(settings=None) as game:
            fixture_data.ensure_game_data(game)
            game.start()
            game.wait_for_window()
            game.pause(3000)
            self.assertTrue(game.running(), "the game ended on its own: %r" % (game.output(),))
            shot = game.screenshot()
            self.assertEqual((shot.width, shot.height), (1024, 768))
            result = game.stop()
        self.assertFalse(result.timed_out, "SIGTERM did not end the game")
        self.assertEqual(result.returncode, 0, result)
        self.assertIn(DEFAULTS_NOTICE + "\n", result.stderr)
        self.assertFalse(os.path.exists(game.path("settings.ini")),
                         "the settings file is only written by the options screen")

    def test_window_from_another_folder_shows_the_menu_frame(self):
        with harness.Game() as game, tempfile.TemporaryDirectory() as elsewhere:
            fixture_data.ensure_game_data(game)
            game.start(cwd=elsewhere)
            game.wait_for_window()
            game.pause(1000)
            self.assertTrue(game.running(), "the game ended: %r" % (game.output(),))
            shot = game.screenshot()
            if os.environ.get("TAVRELO_SCREENSHOT_DIR"):
                shot.save_png(os.path.join(os.environ["TAVRELO_SCREENSHOT_DIR"], "startup.png"))
            self.assertEqual((shot.width, shot.height), (1024, 768))
            result = game.stop()
        self.assertEqual(result.returncode, 0, result)
        self.assertNotIn(DEFAULTS_NOTICE, result.stderr)
        self.assertNotIn("not found", result.stdout)
        self.assertFalse(os.path.exists(os.path.join(elsewhere, "settings.ini")))

    def test_fatal_signal_at_the_menu_ends_the_game_with_it(self):
        # A crash must look like one: no frozen window, the signal as the
        # exit status. No core files from the deliberate crashes.
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
        with_sound = harness.settings_ini(windowed=1, Sounds=1)  # the audio device starts too
        cases = [(signal.SIGSEGV, harness.TEST_SETTINGS), (signal.SIGBUS, harness.TEST_SETTINGS),
                 (signal.SIGFPE, harness.TEST_SETTINGS), (signal.SIGQUIT, harness.TEST_SETTINGS),
                 (signal.SIGSEGV, with_sound)]
        for fatal, settings in cases:
            with self.subTest(signal=fatal.name, sound=settings is with_sound), \
                    harness.Game(settings=settings) as game:
                fixture_data.ensure_game_data(game)
                game.start()
                game.wait_for_window()
                game.wait_for_picture()
                game.process.send_signal(fatal)
                result = game.wait(timeout=5)
                self.assertFalse(result.timed_out, "%s left the game frozen" % fatal.name)
                self.assertEqual(result.returncode, -fatal, result)


class HarnessSelfCheck(unittest.TestCase):
    def test_settings_text_has_the_game_layout(self):
        text = harness.settings_ini(windowed=1, Draw_Dist=150000)
        lines = text.split("\n")
        self.assertEqual(len(lines), 42)  # 41 lines, each ending in a newline
        self.assertEqual(lines[0], "[CONTROLS]")
        self.assertEqual(lines[2], "Forward1\t= 119")
        self.assertEqual(lines[26], "Draw-Dist\t= 150000")
        self.assertEqual(lines[36], "windowed\t= 1")
        self.assertEqual(lines[40], "Sounds\t\t= 1")
        with self.assertRaises(ValueError):
            harness.settings_ini(Volume=3)


if __name__ == "__main__":
    unittest.main()
