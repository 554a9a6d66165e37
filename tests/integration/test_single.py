"""Single-player campaigns in the real game: menu -> campaign list -> level
list -> the first level driven to the goal with its recording -> the record
and the next level listed and on disk -> a skip -> back to the menu."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from single_screens import (CAMPAIGN, SinglePlayerCase, is_finish_moment, is_list, read_progress,  # noqa: E402
                            recorded_hold, row_box, text_pixels)


class SinglePlayerRoad(SinglePlayerCase):
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
            # under a software renderer, so hold until the goal's result shows.
            game.key_down("Up")
            self.wait_until(game, is_finish_moment, 60, "the result at the goal")
            game.key_up("Up")
            game.pause(1500)
            self.assertTrue(is_finish_moment(game.screenshot()), "the result stays until a key")
            game.key("Return")
            self.wait_until(game, is_list, 30, "the level list after the result")
            game.pause(300)

            progress, records = read_progress(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.assertEqual(len(records), 13)
            self.assertEqual(progress, 1)
            name, skipped, record_time, spare = records[0]
            self.assertEqual((name, skipped, spare), ("s-01-throttle.slv", 0, 5))
            self.assertGreater(record_time, steps * 21 // 2)
            self.assertLess(record_time, 60000)
            self.assertEqual(records[1][2:], (99999999, 0), "no record yet on level 2")

            listed = game.screenshot()
            self.assertGreater(text_pixels(listed, row_box(1, *name_column), "magenta"), 50,
                               "the cursor on the second level, open now")
            time_column = (0.732, 0.95)
            self.assertGreater(text_pixels(listed, row_box(0, *time_column), "white"), 30)

            # Level 2 is the first open one: 's' skips it (thirteen levels, two skips).
            game.key("s")
            game.pause(500)
            progress, records = read_progress(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.assertEqual(progress, 2)
            self.assertEqual(records[1][1], 1, "level 2 marked skipped")
            skipped_shot = game.screenshot()
            self.assertGreater(text_pixels(skipped_shot, row_box(1, 0.348, 0.48), "magenta"), 20,
                               "SKIPPED beside the selected level")
            # The second skip goes to level 3.
            game.key("Down", "s")
            game.pause(500)
            progress, records = read_progress(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.assertEqual(progress, 3)
            self.assertEqual(records[2][1], 1, "level 3 marked skipped")
            # Both skips are used: level 4 cannot be skipped.
            game.key("Down", "s")
            game.pause(500)
            progress, records = read_progress(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.assertEqual(progress, 3)
            self.assertEqual(records[3][1], 0)
            game.key("Up", "Up", "Up")
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


if __name__ == "__main__":
    unittest.main()
