"""The glow step at the end of start-up in the real game: a driver or data
tree without what the effect needs switches the glow off with one line on
standard output, and the game starts and draws all the same."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fixture_data  # noqa: E402
import harness  # noqa: E402

ULTRA = harness.settings_ini(windowed=1, width=1024, height=768, Sounds=0, Details=3)


def lit(rgb):
    return sum(rgb) > 60


class GlowStartUp(unittest.TestCase):
    def start(self, settings=ULTRA, env=None, prepare=None):
        """Runs the game for a moment; returns (stdout, lit pixels, Result)."""
        with harness.Game(settings=settings, env=env) as game:
            fixture_data.ensure_game_data(game)
            if prepare is not None:
                prepare(game)
            game.start()
            game.wait_for_window()
            # The first frame is slow to come when other games and builds share
            # the processor; a black window after a minute still fails.
            shot = game.wait_for_picture(lit_pixels=10000)
            self.assertTrue(game.running(), "the game ended: %r" % (game.output(),))
            lit_pixels = shot.count(lit)
            result = game.stop()
        self.assertFalse(result.timed_out, result)
        self.assertEqual(result.returncode, 0, result)
        return result.stdout, lit_pixels, result

    def test_full_driver_starts_the_effect_silently(self):
        stdout, lit_pixels, _ = self.start()
        self.assertEqual(stdout, "")
        self.assertGreater(lit_pixels, 10000, "the menu is not on the screen")

    def test_missing_extension_switches_the_glow_off(self):
        # Mesa can hide one extension from the GL_EXTENSIONS string.
        stdout, lit_pixels, _ = self.start(env={"MESA_EXTENSION_OVERRIDE": "-GL_ARB_texture_float"})
        self.assertEqual(stdout, "Could not load extensions. Shaders are deactivated.\n")
        self.assertGreater(lit_pixels, 10000, "the menu is not on the screen")

    def test_unusable_target_size_in_the_file_glows_at_the_default_size(self):
        # A 0 x 0 glow image could be no framebuffer attachment: the settings
        # reader gives such a size its default, so the glow starts without a
        # word. (A target the driver refuses is the glow pipeline GL test's.)
        settings = harness.settings_ini(windowed=1, width=1024, height=768, Sounds=0, Details=3,
                                        Bloomw=0, Bloomh=0)
        stdout, lit_pixels, _ = self.start(settings=settings)
        self.assertEqual(stdout, "")
        self.assertGreater(lit_pixels, 10000, "the window stayed black")

    def test_missing_shader_file_switches_the_glow_off(self):
        stdout, lit_pixels, _ = self.start(prepare=lambda game: game.remove("shaders/filter.frag"))
        self.assertEqual(stdout, "Could not read shaders/filter.frag. Shaders are deactivated.\n")
        self.assertGreater(lit_pixels, 10000, "the menu is not on the screen")


if __name__ == "__main__":
    unittest.main()
