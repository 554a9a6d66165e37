"""The two-player road in the real game: the mode selection and its
options written to multiplayer.ini, a race on a shipped map to the end
screen and round again, a castle duel won by one player, and the maps the
selection refuses."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

W, H = 1024, 768


def frame_colour(shot):
    """Mean colour of the screens' frame border on the left, halfway down."""
    x = int(W * 0.029)
    y = H - int(H * 0.5)
    return shot.mean(x, y - 20, x + 7, y + 20)


def is_cyan(rgb):
    r, g, b = rgb
    return g > 2 * r + 10 and b > 2 * r + 10


def is_red(rgb):
    r, g, b = rgb
    return r > 2 * max(g, b) + 10


def is_yellow(rgb):
    r, g, b = rgb
    return r > 2 * b + 10 and g > 2 * b + 10


def track_pixels(shot, half):
    """Lit track seams (light blue) in the middle of the lower part of a
    half: 0 is craft A's lower half, 1 craft B's upper half."""
    top = H // 2 if half == 0 else 0
    box = (int(W * 0.3), top + H // 4, int(W * 0.7), top + H // 2 - 4)
    return shot.count(lambda p: p[2] > 150 and p[1] > 90 and p[0] < 140 and p[2] > p[0] + 60, box)


def read_ini(game):
    with open(game.path("multiplayer.ini")) as f:
        return f.read()


class TwoPlayers(unittest.TestCase):
    def wait_until(self, game, predicate, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            shot = game.screenshot()
            if predicate(shot):
                return shot
            game.pause(250)
        self.fail("timed out waiting for " + what)

    def open_mode_selection(self, game):
        game.start()
        game.wait_for_window()
        game.pause(500)
        # The ring rests on Time Attack; Multiplayer is two entries on. A
        # press while the ring still turns is lost, so each turn is given
        # time to end even on a slow software renderer.
        game.key("Right")
        game.pause(2500)
        game.key("Right")
        game.pause(2500)
        game.key("Return")
        return self.wait_until(game, lambda s: is_cyan(frame_colour(s)), 10, "the mode selection")

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
            game.key("Left")  # the Race page; ra-cascade, ra-slalom, ra-sprint
            game.key("Down", "Return")
            race = self.wait_until(game, lambda s: track_pixels(s, 0) > 200 and track_pixels(s, 1) > 200, 20,
                                   "both halves of the split screen drawing the track")
            self.assertEqual(read_ini(game), "[CASTLE-ATTACK]\nlives = 5\npowerups = 1\ngravity = 8\n\n"
                                             "[RACE]\nlives = 1\ngravity = 9\n\n")
            self.assertFalse(is_cyan(frame_colour(race)))

            # Player 2 (first keys) backs off the start at once; Player 1
            # (cursor keys) drives on until the slalom's gap, which takes a
            # jump, and so drives farther.
            game.key_down("s")
            game.key_down("Up")
            end = self.wait_until(game, lambda s: is_red(frame_colour(s)), 90, "the race end screen")
            game.key_up("s")
            game.key_up("Up")
            title = (int(W * 0.17), H - int(H * 0.872), int(W * 0.9), H - int(H * 0.872) + 40)
            self.assertGreater(end.count(lambda p: p[0] > 200 and p[1] < 80 and p[2] < 80, title), 200,
                               "the red winner line")

            game.key("Return")  # the same race again, fresh lives
            self.wait_until(game, lambda s: track_pixels(s, 0) > 200 and track_pixels(s, 1) > 200, 20,
                            "a new race")
            game.key("Escape")
            self.wait_until(game, lambda s: is_cyan(frame_colour(s)), 10, "back on the mode selection")
            game.key("Escape")  # to the menu
            game.pause(800)
            game.key("Escape")  # and out
            self.assertEqual(game.wait(timeout=20).returncode, 0)

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
            # Player 2 storms Player 1's castle; Player 1 stays at home.
            game.key_down("w")
            end = self.wait_until(game, lambda s: is_yellow(frame_colour(s)), 90, "the castle end screen")
            game.key_up("w")
            self.assertTrue(is_yellow(frame_colour(end)))
            game.key("Escape")
            self.wait_until(game, lambda s: is_cyan(frame_colour(s)), 10, "back on the mode selection")

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
