"""Helpers of the two-player integration tests: screen probes and the way
from the menu to the mode selection."""

import os
import time
import unittest

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


def is_player1(rgb):  # Player 1's amber (craft B, the upper half)
    return rgb[0] > 200 and 110 < rgb[1] < 210 and rgb[2] < 100


def is_player2(rgb):  # Player 2's green (craft A, the lower half)
    return rgb[1] > 190 and rgb[0] < 160 and rgb[2] < 170 and rgb[1] > rgb[0] + 60


def half_line(shot, half, left, right, y, colour):
    """Pixels of a colour on a HUD line, y a fraction of the half (0 the lower one)."""
    bottom = H if half == 0 else H // 2
    top = bottom - int(H / 2 * y)
    return shot.count(colour, (int(W * left), top - 2, int(W * right), top + int(0.026 * H)))


def track_pixels(shot, half):
    """Lit track seams (light blue) in the middle of the lower part of a
    half: 0 is craft A's lower half, 1 craft B's upper half."""
    top = H // 2 if half == 0 else 0
    box = (int(W * 0.3), top + H // 4, int(W * 0.7), top + H // 2 - 4)
    return shot.count(lambda p: p[2] > 150 and p[1] > 90 and p[0] < 140 and p[2] > p[0] + 60, box)


def read_ini(game):
    with open(game.path("multiplayer.ini")) as f:
        return f.read()


class TwoPlayerTest(unittest.TestCase):
    def wait_until(self, game, predicate, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            shot = game.screenshot()
            if predicate(shot):
                return shot
            game.pause(250)
        self.fail("timed out waiting for " + what)

    def wait_for_rest(self, game, timeout=30):
        """Until two screenshots a moment apart show the same picture."""
        def signature(shot):
            return [shot.mean(x, y, x + 64, y + 64)
                    for x in range(0, W, 128) for y in range(H // 4, 3 * H // 4, 128)]
        before = signature(game.screenshot())
        end = time.time() + timeout
        while time.time() < end:
            game.pause(400)
            now = signature(game.screenshot())
            if max(abs(a - b) for p, q in zip(before, now) for a, b in zip(p, q)) < 1.0:
                return
            before = now
        self.fail("the menu ring never came to rest")

    def open_mode_selection(self, game):
        game.start()
        game.wait_for_window()
        # Keys count only once the menu runs: wait for its first frame.
        self.wait_until(game, lambda s: s.count(lambda p: max(p) > 120, (0, 0, W, H // 2)) > 2000, 30,
                        "the menu")
        game.pause(500)
        self.wait_for_rest(game)
        # The entries beside the front one turn their labels to the player:
        # "Single Player" (yellow) on the right, "Quit" (red) on the left.
        menu = game.screenshot()
        self.assertGreater(menu.count(is_yellow, (700, 400, W, 520)), 600, "Single Player reads")
        self.assertGreater(menu.count(lambda p: p[0] > 180 and max(p[1:]) < 110, (0, 400, 300, 520)), 600, "Quit")
        # The ring rests on Time Attack; Multiplayer is two entries on. A
        # press while the ring still turns is lost, so each turn is waited
        # out, however slowly the software renderer draws.
        for _ in range(2):
            game.key("Right")
            game.pause(300)
            self.wait_for_rest(game)
        game.key("Return")
        return self.wait_until(game, lambda s: is_cyan(frame_colour(s)), 10, "the mode selection")

