"""Castle attack in the real game: a duel won by one player."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from multiplayer_screens import (H, W, TwoPlayerTest, frame_colour, half_line, is_cyan, is_player1,  # noqa: E402
                                 is_player2, is_yellow, read_ini, track_pixels)


class CastleRoad(TwoPlayerTest):
    def test_castle_duel_won_by_the_attacker(self):
        with harness.Game() as game:
            self.open_mode_selection(game)
            game.key("Left")  # Options, the other way round
            for _ in range(6):  # castle lives 5 -> 6 .. 10 -> 1
                game.key("space")
            game.key("Right")  # Castle Attack: ca-bastion first
            game.key("Return")
            self.wait_until(game, lambda s: track_pixels(s, 0) > 200 and track_pixels(s, 1) > 200, 20,
                            "the duel's split screen")
            self.assertIn("lives = 1\n", read_ini(game))
            duel = game.screenshot()
            # Each half names its player and labels its castle in its colour.
            for half, colour in ((0, is_player2), (1, is_player1)):
                self.assertGreater(half_line(duel, half, 0.03, 0.2, 0.1, colour), 60, "the player's name")
                self.assertGreater(half_line(duel, half, 0.03, 0.25, 0.05, colour), 150, "Your castle: 1")
            # Player 2 storms Player 1's castle, hopping all the way over the
            # hurt field in the middle (forward alone burns out there);
            # Player 1 stays at home.
            game.key_down("w")
            game.key_down("space")
            end = self.wait_until(game, lambda s: is_yellow(frame_colour(s)), 240, "the castle end screen")
            game.key_up("space")
            game.key_up("w")
            self.assertTrue(is_yellow(frame_colour(end)))
            title = (int(W * 0.17), H - int(H * 0.872), int(W * 0.9), H - int(H * 0.872) + 40)
            self.assertGreater(end.count(is_player2, title), 200, "Player 2 wins, in Player 2's green")
            game.key("Escape")
            self.wait_until(game, lambda s: is_cyan(frame_colour(s)), 10, "back on the mode selection")


if __name__ == "__main__":
    unittest.main()
