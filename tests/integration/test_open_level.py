"""`tavrelo LEVEL.slv` (a relative path from another folder, data and user
folders apart) drives the file in time attack at once; its record and ghost
land in the user folder's opened/, and Escape leaves to the menu. A file
that is no level ends the start with a line saying so."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from test_timeattack import H, W, frame_colour, read_highscores, timer_glyphs  # noqa: E402

ROAD = """block plain pos=600,0,0 size=1200,500,9000
block GOAL pos=600,0,9000 size=1200,500,1200
"""


def record_screen(shot):
    r, g, b = frame_colour(shot)
    return g > 2 * max(r, b) + 10


class OpenLevel(unittest.TestCase):
    def test_a_file_starts_a_run_whose_record_stays_with_the_player(self):
        with harness.Game(settings=None) as game:
            elsewhere, user = os.path.join(game.temp_dir, "downloads"), os.path.join(game.temp_dir, "user")
            os.makedirs(elsewhere)
            harness.build_level(ROAD, os.path.join(elsewhere, "my.road.slv"))
            game.start(cwd=elsewhere, command=[game.path("tavrelo"), "--windowed", "--size", "%dx%d" % (W, H),
                                               "--user", user, "my.road.slv"])
            game.wait_for_window()
            game.wait_for_screen(lambda shot: timer_glyphs(shot) > 20, what="the run's clock")
            game.key_down("Up")
            game.wait_for_screen(record_screen, timeout=240, what="the record screen's green frame")
            game.key_up("Up")
            game.type_text("Ann")
            game.key("Escape")
            game.turn_menu("Right")  # only the menu turns
            record = read_highscores(os.path.join(user, "opened/my_road.hsc"))
            self.assertEqual(record["my_road.slv"][3], "Ann")
            self.assertTrue(os.path.isfile(os.path.join(user, "opened/my_road.gho")))
            self.assertFalse(os.path.exists(game.path("opened")), "nothing in the data folder")
            self.assertFalse(game.stop().timed_out)

        with harness.Game() as game:
            game.start(command=[game.path("tavrelo"), game.path("settings.ini")])
            result = game.wait(timeout=30)
        self.assertEqual(result.returncode, 1)
        self.assertIn("cannot drive", result.stderr)


if __name__ == "__main__":
    unittest.main()
