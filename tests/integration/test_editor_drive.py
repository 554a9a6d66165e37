"""The editor's test-drive in the real game, real keys and mouse: F5 and
Escape bring the editor back pixel for pixel; the toolbar's button drives
to the goal, m sets the medal times, the save writes the proof, and the
level check proves the saved level. TAVRELO_EDITOR_SHOTS=folder keeps the
result's screenshot (the README's picture)."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from test_editor import H, W, Editor, dialog_entries, read_level, rows  # noqa: E402

ROAD = """medals 0 0 0
block plain pos=900,0,0 size=1800,500,9600 repeat=3,1,16
block SPEED pos=900,0,9600 size=1800,500,1200 repeat=3,1,2
block plain pos=900,0,10800 size=1800,500,2400 repeat=3,1,4
block GOAL pos=900,0,13200 size=1800,500,1200 repeat=3,1,2
"""


def driving(shot):
    """The drive's line at the top left, pale green."""
    top, bottom = rows(0.96)
    return shot.count(lambda p: p[1] > 200 and 110 < p[0] < 200 and 110 < p[2] < 200,
                      box=(0, top, W // 2, bottom)) > 60


def goal_panel(shot):
    """The result's green title: "Test-drive: goal!"."""
    top, bottom = rows(0.70, 26)
    return shot.count(lambda p: p[1] > 200 and p[0] < 150 and p[2] < 150,
                      box=(int(0.23 * W), top, int(0.6 * W), bottom)) > 60


class EditorDriveRoad(unittest.TestCase):
    def test_drive_return_medals_and_proof(self):
        shots = os.environ.get("TAVRELO_EDITOR_SHOTS")
        with harness.Game(settings=harness.settings_ini(windowed=1, width=W, height=H, Sounds=0, Details=2)) as game:
            harness.build_level(ROAD, game.path("maps/drive.slv"))
            game.start()
            game.wait_for_window()
            ed = Editor(game)
            game.turn_menu("Left", times=2, before=game.wait_for_picture())
            game.key("Return")
            ed.wait_for_editor()
            ed.toolbar(0.22)                                  # load drive.slv from the list
            for _ in range(dialog_entries(game.path("maps")).index("drive.slv")):
                game.key("Down")
            game.key("Return")
            for _ in range(8):                                # closer, another tool, a block chosen
                ed.click(W // 2, H // 2, button=4)
            ed.block_tool(1)
            ed.click(W // 2 + 10, H // 2 - 40)
            game.mouse_move(W // 2, H - 60)
            game.pause(400)
            before = game.screenshot()

            game.key("F5")
            game.wait_for_screen(driving, what="the test-drive")
            game.hold("Up", 300)
            game.key("Escape")
            game.wait_for_screen(lambda shot: harness.differing_pixels(before, shot, (0, 0, W, H)) == 0,
                                 what="the editor exactly as it was")

            ed.click(18, int(0.355 * H))                      # the toolbar's test-drive button
            game.wait_for_screen(driving, what="the test-drive from the button")
            game.key_down("Up")
            result = game.wait_for_screen(goal_panel, timeout=120, what="the goal's result")
            game.key_up("Up")
            if shots:
                result.save_png(os.path.join(shots, "editor-drive.png"))
            game.key("m")

            ed.toolbar(0.16)                                  # save as mydrive, with its proof
            game.type_text("mydrive")
            game.key("Return", "Return")
            game.wait_for_file("maps/mydrive.keys")
            medals, _ = read_level(game.path("maps/mydrive.slv"))
            self.assertTrue(0 < medals[0] < medals[1] < medals[2], "gold, silver, bronze from the drive")
            check = subprocess.run([harness.level_tool(), "check", game.path("maps/mydrive.slv")],
                                   capture_output=True, text=True)
            self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
            self.assertFalse(game.stop().timed_out)


if __name__ == "__main__":
    unittest.main()
