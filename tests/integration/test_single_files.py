"""Campaign folders whose files are damaged or cannot be written, in the
real game: the lists open without a crash and nothing unsaved looks kept."""

import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from single_screens import CAMPAIGN, H, W, SinglePlayerCase, is_list, row_box, text_pixels  # noqa: E402


# The list's one line about a failed save or levels left out.
NOTICE_BOX = (int(W * 0.0488), H - int(H * 0.265) - 4, int(W * 0.9), H - int(H * 0.265) + 16)


class CampaignFiles(SinglePlayerCase):
    def test_damaged_progress_and_descriptions_open_without_a_crash(self):
        with harness.Game() as game:
            # A count far beyond the bytes, progress beyond the levels, a cut record.
            damaged = struct.pack("<ii", 1000000, 99) + b"s-01-throttle.slv".ljust(64, b"\0") + b"\1\2"
            game.write_file("maps/%s/single.stat" % CAMPAIGN, damaged)
            game.write_file("maps/zz-broken-camp/description.txt", b"\xff\0#\n" * 40)
            game.write_file("maps/zz-broken-camp/single.stat", b"\xff" * 7)
            os.makedirs(game.path("maps/zz-folder-camp/description.txt"))
            self.open_campaign(game)
            listed = game.screenshot()
            self.assertTrue(game.running())
            self.assertTrue(is_list(listed))
            # Progress is clamped to the eight levels: all of them are open.
            for row in range(8):
                self.assertGreater(text_pixels(listed, row_box(row, 0.0488, 0.34), "white" if row else "magenta"),
                                   30, "row %d listed" % row)
            game.key("Escape")
            game.pause(400)
            # Sorted by name: gentle, hard, horizon, then the two broken campaigns.
            for downs in (3, 4):
                game.key(*(["Down"] * downs))
                game.key("Return")
                game.pause(600)
                self.assertTrue(game.running())
                self.assertTrue(is_list(game.screenshot()))
                game.key("Return")  # no levels: nothing to start
                game.pause(400)
                self.assertTrue(game.running())
                game.key("Escape")
                game.pause(400)
            game.key("Escape")
            game.pause(600)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)

    def test_a_skip_that_cannot_be_saved_is_not_shown_as_kept(self):
        with harness.Game() as game:
            # A folder where the progress file should be: the save fails.
            os.makedirs(game.path("maps/%s/single.stat" % CAMPAIGN))
            self.open_campaign(game)
            game.key("s")
            game.wait_for_output("Progress could not be saved to maps/%s/single.stat" % CAMPAIGN,
                                 timeout=10, stream="stderr")
            game.pause(400)
            shot = game.screenshot()
            self.assertEqual(text_pixels(shot, row_box(0, 0.348, 0.48), "magenta"), 0, "no SKIPPED mark")
            self.assertLess(text_pixels(shot, row_box(1, 0.0488, 0.34), "white"), 10, "level 2 still closed")
            notice = NOTICE_BOX
            self.assertGreater(shot.count(lambda p: p[0] > 150 and p[1] < 120, notice), 30,
                               "the list says so in one line")
            game.key("Escape", "Escape")
            game.pause(600)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)

    def test_a_level_whose_name_single_stat_cannot_hold_is_left_out_with_a_line(self):
        long_name = "s-09-" + "x" * 55 + ".slv"  # 64 bytes: one more than single.stat keeps
        with harness.Game() as game:
            with open(game.path("maps/%s/s-01-throttle.slv" % CAMPAIGN), "rb") as level:
                game.write_file("maps/%s/%s" % (CAMPAIGN, long_name), level.read())
            self.open_campaign(game)
            shot = game.screenshot()
            if os.environ.get("TAVRELO_SCREENSHOT_DIR"):
                shot.save_png(os.path.join(os.environ["TAVRELO_SCREENSHOT_DIR"], "single-left-out.png"))
            notice = NOTICE_BOX
            self.assertGreater(shot.count(lambda p: p[0] > 150 and p[1] < 120, notice), 30,
                               "the list says a level was left out")
            game.key("Escape", "Escape")
            game.pause(600)
            game.key("Escape")
            result = game.wait(timeout=15)
        self.assertEqual(result.returncode, 0)


if __name__ == "__main__":
    unittest.main()
