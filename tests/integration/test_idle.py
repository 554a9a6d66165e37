"""An iconified game sleeps instead of drawing, and draws again when shown."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fixture_data  # noqa: E402
import harness  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User and system time of every thread of the process so far."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def cores_used(game, seconds):
    """Share of one core the game used over the next few seconds."""
    pid = game.process.pid
    start_cpu, start = cpu_seconds(pid), time.time()
    time.sleep(seconds)
    return (cpu_seconds(pid) - start_cpu) / (time.time() - start)


class Iconified(unittest.TestCase):
    def test_hidden_window_stops_drawing_and_shown_window_draws_again(self):
        with harness.Game() as game:
            fixture_data.ensure_game_data(game)
            game.start()
            game.wait_for_window()
            game.pause(1000)
            shown = cores_used(game, 2.0)

            game.hide_window()
            game.pause(500)
            hidden = cores_used(game, 2.0)
            self.assertTrue(game.running(), game.output())

            game.show_window()
            game.pause(500)
            shown_again = cores_used(game, 2.0)
            shot = game.screenshot()
            result = game.stop(timeout=30)  # a busy machine may take a while
        self.assertEqual(result.returncode, 0, result)
        self.assertLess(hidden, 0.1, "an iconified game still uses %.2f of a core" % hidden)
        self.assertLess(hidden * 3, shown, "drawing used %.2f, hidden %.2f" % (shown, hidden))
        self.assertLess(hidden * 3, shown_again, "shown again %.2f, hidden %.2f" % (shown_again, hidden))
        # The menu is on screen again.
        self.assertGreater(sum(shot.mean(0, 0, shot.width, shot.height)), 20)


if __name__ == "__main__":
    unittest.main()
