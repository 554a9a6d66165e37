"""The two-player race in the real game: the options written to
multiplayer.ini, a race on a shipped map to its end screen and round again,
and the maps the mode selection refuses."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from multiplayer_screens import (H, W, TwoPlayerTest, frame_colour, half_line, is_cyan, is_player1,  # noqa: E402
                                 is_player2, is_red, read_ini, track_pixels)


class RaceRoad(TwoPlayerTest):
    def test_options_then_a_race_to_the_end_and_round_again(self):
        with harness.Game() as game:
            shot = self.open_mode_selection(game)
            self.assertIn("Error: multiplayer.ini not found - using default settings.", game.output()[1])
            # Options page: race lives 5 -> 6, 7, 8, 1; race gravity 8 -> 9.
            game.key("Right", "Right")
            game.key("Down", "Down", "Down")
            game.key("space", "space", "space", "space")
            game.key("Down", "space")
            game.pause(300)
            self.assertFalse(os.path.exists(game.path("multiplayer.ini")), "nothing is written before a start")
            # Left and Right turn the pages: arrows flank the page names, each
            # with its thin tip on the side it points to.
            shot, top = game.screenshot(), H - int(H * 0.714) - 2
            for left, tip in ((0.049, 0), (0.575, -1)):
                lit = [n for n in (shot.count(is_cyan, (x, top, x + 1, top + 21))
                                   for x in range(int(W * left) - 4, int(W * left) + 24)) if n]
                self.assertLess(lit[tip] + 2, lit[-1 - tip], "the arrow at %s points outward" % left)
            game.key("Left")  # the Race page; ra-canyon, ra-cascade, ra-slalom, ra-sprint
            game.key("Down", "Return")
            race = self.wait_until(game, lambda s: track_pixels(s, 0) > 200 and track_pixels(s, 1) > 200, 20,
                                   "both halves of the split screen drawing the track")
            self.assertEqual(read_ini(game), "[CASTLE-ATTACK]\nlives = 5\npowerups = 1\ngravity = 8\n\n"
                                             "[RACE]\nlives = 1\ngravity = 9\n\n")
            self.assertFalse(is_cyan(frame_colour(race)))
            # Two crafts of two colours in each half, its lives in its colour.
            for half, colour in ((0, is_player2), (1, is_player1)):
                crafts = (int(W * 0.3), (1 - half) * H // 2 + H // 4, int(W * 0.7), (2 - half) * H // 2 - 20)
                self.assertGreater(min(race.count(is_player1, crafts), race.count(is_player2, crafts)), 40)
                self.assertGreater(half_line(race, half, 0.75, 0.95, 0.15, colour), 60, "Lives: 1")

            # Player 2 (first keys) backs off the start at once; Player 1
            # (cursor keys) drives on until the cascade's first gap, which
            # takes a jump, and so drives farther.
            game.key_down("s")
            game.key_down("Up")
            end = self.wait_until(game, lambda s: is_red(frame_colour(s)), 90, "the race end screen")
            game.key_up("s")
            game.key_up("Up")
            title = (int(W * 0.17), H - int(H * 0.872), int(W * 0.9), H - int(H * 0.872) + 40)
            self.assertGreater(end.count(is_player1, title), 200, "Player 1 wins, in Player 1's amber")

            game.key("Return")  # the same race again, fresh lives
            self.wait_until(game, lambda s: track_pixels(s, 0) > 200 and track_pixels(s, 1) > 200, 20,
                            "a new race")
            game.key("Escape")
            self.wait_until(game, lambda s: is_cyan(frame_colour(s)), 10, "back on the mode selection")
            game.key("Escape")  # to the menu
            game.pause(800)
            game.key("Escape")  # and out
            self.assertEqual(game.wait(timeout=20).returncode, 0)

    def test_unplayable_maps_keep_the_players_on_the_selection(self):
        with harness.Game() as game:
            # Sorted first on their pages: an empty race map and a castle
            # map without castles.
            game.write_file("maps/ra-0broken.slv", b"")
            with open(game.path("maps/ra-sprint.slv"), "rb") as f:
                game.write_file("maps/ca-0nocastle.slv", f.read().replace(b"\x0a\x00\x00\x00", b"\x00\x00\x00\x00"))
            self.open_mode_selection(game)
            game.key("Return")
            game.pause(1500)
            self.assertTrue(is_cyan(frame_colour(game.screenshot())), "still on the selection")
            game.key("Right", "Return")
            game.pause(1500)
            self.assertTrue(is_cyan(frame_colour(game.screenshot())), "still on the selection")
            self.assertEqual(game.output()[1].count("Level not found."), 2)
            self.assertFalse(os.path.exists(game.path("multiplayer.ini")), "a refused start writes nothing")


if __name__ == "__main__":
    unittest.main()
