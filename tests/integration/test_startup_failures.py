"""Start-up failures print their one line and end the game with an error."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fixture_data  # noqa: E402
import harness  # noqa: E402


def run_without(*paths, settings=harness.TEST_SETTINGS):
    def prepare(game):
        fixture_data.ensure_game_data(game)
        for path in paths:
            relative = path.replace("{set}", fixture_data.first_texture_set(game.dir))
            target = game.path(relative)
            if not os.path.lexists(target):
                raise AssertionError("%s is not in the data tree" % relative)
            game.remove(relative)
    return harness.run_game(prepare=prepare, settings=settings)


class StartUpFailures(unittest.TestCase):
    def assertFailedWith(self, result, stdout=None, stderr=None):
        self.assertFalse(result.timed_out, "the game kept running: %r" % (result,))
        self.assertNotEqual(result.returncode, 0, result)
        if stdout is not None:
            self.assertTrue(result.stdout.endswith(stdout), result)
        if stderr is not None:
            self.assertTrue(result.stderr.endswith(stderr), result)

    def test_missing_font(self):
        result = run_without("gfx/font1.png")
        self.assertFailedWith(result, stdout="Font-texture not found.\n")

    def test_missing_titles(self):
        result = run_without("gfx/titles.png")
        self.assertFailedWith(result, stdout="Titles-texture not found.\n")
        self.assertNotIn("Font-texture", result.stdout)

    def test_missing_set_texture(self):
        def prepare(game):
            fixture_data.ensure_game_data(game)
            set_dir = game.path(os.path.join("gfx", fixture_data.first_texture_set(game.dir)))
            # menu00 cannot be animated, so no numbered frames can stand in.
            for name in os.listdir(set_dir):
                if name.startswith("menu00"):
                    os.remove(os.path.join(set_dir, name))
        result = harness.run_game(prepare=prepare)
        self.assertFailedWith(result, stdout="Textures not found.\n")

    def test_missing_root_texture(self):
        result = run_without("gfx/gui.png")
        self.assertFailedWith(result, stdout="Textures not found.\n")

    def test_no_texture_set(self):
        def prepare(game):
            fixture_data.ensure_game_data(game)
            for name in os.listdir(game.path("gfx")):
                if os.path.isdir(game.path(os.path.join("gfx", name))):
                    game.remove(os.path.join("gfx", name))
        result = harness.run_game(prepare=prepare)
        self.assertFailedWith(result, stdout="Textures not found.\n")

    def test_missing_last_sound_with_sound_on(self):
        result = run_without("sounds/life.wav", settings=harness.settings_ini(windowed=1, Sounds=1))
        self.assertFailedWith(result, stderr="One or more sound files not found.\n")

    def test_missing_sound_does_not_matter_with_sound_off(self):
        with harness.Game() as game:
            fixture_data.ensure_game_data(game)
            game.remove("sounds/life.wav")
            game.start()
            game.wait_for_window()
            result = game.stop()
        self.assertEqual(result.returncode, 0, result)

    def test_no_audio_device_plays_silent_and_keeps_the_sounds_setting(self):
        with harness.Game(settings=harness.settings_ini(windowed=1, Sounds=1),
                          env={"SDL_AUDIODRIVER": "nosuchdriver"}) as game:
            fixture_data.ensure_game_data(game)
            game.start()
            game.wait_for_window()
            menu = game.wait_for_picture()
            game.turn_menu("Right", times=3, before=menu)  # to Options
            game.key("Return")
            game.wait_for_change(menu)
            before = game.file_stamp("settings.ini")
            game.key("Escape")  # writes settings.ini
            game.wait_for_file("settings.ini", since=before)
            with open(game.path("settings.ini")) as written:
                self.assertEqual(written.read().splitlines()[40], "Sounds\t\t= 1")
            result = game.stop()
        self.assertEqual(result.returncode, 0, result)
        self.assertRegex(result.stdout, r"^Could not initialize sound: .+ - playing without sound\.\n$")
        self.assertEqual(result.stderr, "")

    def test_no_audio_device_does_not_matter_with_sound_off(self):
        # Audio is only brought up for sound: a player who switched sound off
        # can play on a machine without a sound device.
        with harness.Game(env={"SDL_AUDIODRIVER": "nosuchdriver"}) as game:
            fixture_data.ensure_game_data(game)
            game.start()
            game.wait_for_window()
            game.pause(500)
            self.assertTrue(game.running(), "the game ended: %r" % (game.output(),))
            result = game.stop()
        self.assertEqual(result.returncode, 0, result)
        self.assertEqual(result.stdout, "")

    def test_sdl_cannot_start(self):
        result = harness.run_game(prepare=fixture_data.ensure_game_data,
                                  env={"DISPLAY": ":9999", "SDL_VIDEODRIVER": "x11"})
        self.assertFailedWith(result)
        self.assertRegex(result.stdout, r"^Could not initialize SDL: .+\n$")

    def test_no_display_says_so_in_one_line(self):
        def without_display(game):
            fixture_data.ensure_game_data(game)
            game.env.pop("DISPLAY")
            game.env.pop("SDL_VIDEODRIVER", None)
        result = harness.run_game(prepare=without_display)
        self.assertEqual(result.returncode, 1, result)
        self.assertEqual(result.stdout, "Could not initialize SDL: no display (DISPLAY is not set); "
                         "Tavrelo needs a graphical desktop\n")
        self.assertEqual(result.stderr, "")

    def test_video_mode_refused(self):
        # SDL's dummy video driver has no OpenGL.
        result = harness.run_game(prepare=fixture_data.ensure_game_data,
                                  env={"SDL_VIDEODRIVER": "dummy"})
        self.assertFailedWith(result)
        self.assertRegex(result.stdout, r"^Could not set OpenGL Video Mode: .+\n$")

if __name__ == "__main__":
    unittest.main()
