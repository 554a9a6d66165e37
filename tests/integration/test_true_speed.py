"""Time attack at its true speed whatever the frame rate. A straight that
forward alone finishes, driven with forward held from before the run starts
(no fresh press), takes the same steps and shows the same record time with
every frame held to 100 ms or 40 ms (TAVRELO_FRAME_MS) as at full speed, and
about that long on the wall clock."""

import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import test_timeattack as timeattack  # noqa: E402

# First in the map list, which is sorted by name.
LEVEL = "a-straight.slv"
LEVEL_TEXT = ("medals 0 0 0\n"
              "block plain pos=800,0,0 size=1600,500,140000\n"
              "block GOAL pos=800,0,140000 size=1600,500,2000\n")
STEP_MS = 21


def build_level(target):
    tool = os.path.join(os.environ.get("TAVRELO_BUILD_DIR", "build"), "tools", "tavrelo-level")
    with tempfile.NamedTemporaryFile("w", suffix=".slv.txt") as text:
        text.write(LEVEL_TEXT)
        text.flush()
        subprocess.run([tool, "build", text.name, "-o", target], check=True)


class TrueSpeed(unittest.TestCase):
    def drive(self, frame_ms):
        """The record time of one run and its seconds on the wall clock."""
        env = {"TAVRELO_FRAME_MS": str(frame_ms)} if frame_ms else None
        with harness.Game(env=env) as game:
            build_level(game.path("maps/" + LEVEL))
            game.start()
            game.wait_for_window()
            game.wait_for_picture()
            game.key("Return")  # the ring rests on Time Attack
            game.wait_for_screen(timeattack.on_map_list, 60, what="the map list")
            game.key_down("Up")  # held before the run starts: it drives at once
            started = time.time()
            game.key("Return")
            game.wait_for_screen(lambda shot: timeattack.result_frame(shot) is not None, 90,
                                 what="the record screen, forward held from the start")
            wall = time.time() - started
            game.key_up("Up")
            game.type_text("Tru")
            game.key("Escape")  # keeps the record
            game.wait_for_screen(timeattack.on_map_list, 60, what="the map list after the record")
            record = timeattack.read_highscores(game.path("highscore.hsc"))[LEVEL][1]
            game.key("Escape")
            game.pause(500)
            game.key("Escape")
            self.assertEqual(game.wait(timeout=60).returncode, 0)
        return record, wall

    def test_slow_frames_keep_the_steps_the_time_and_the_pace(self):
        full_record, _ = self.drive(0)
        self.assertGreater(full_record, 5000)
        for frame_ms in (100, 40):
            record, wall = self.drive(frame_ms)
            self.assertLessEqual(abs(record - full_record), STEP_MS,
                                 "%d ms frames: record %d ms, at full speed %d ms" % (frame_ms, record, full_record))
            # One step a frame would take 100/21 times as long on the wall.
            self.assertLess(wall, 1.5 * record / 1000.0 + 3,
                            "%d ms frames: %.1f s on the wall for a %d ms run" % (frame_ms, wall, record))


if __name__ == "__main__":
    unittest.main()
