"""The level editor in the real game, driven with real mouse and key
events: build a level with the toolbar, items, a trigger and a motion;
Escape asks before dropping it; save it with medal times through a dialog
whose name starts empty; save it again over itself after a question; load
it back from the dialog's list, then find it in the time-attack list and
drive it to the goal. A hostile name writes nothing outside maps/.

Set TAVRELO_EDITOR_SHOTS to a folder to keep the top view, side view and
trigger dialog screenshots (the README's pictures come from there)."""

import math
import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

W, H = 1024, 768
# Eye height after zooming in as far as the wheel goes.
EYE_Y = 12000
UNITS_PER_PIXEL = 2 * EYE_Y * math.tan(math.radians(20)) / H

FLAG_MOVE_ONCE, FLAG_CHANGE_TYPE, FLAG_MOVE, FLAG_HAS_TARGET = 1, 2, 4, 8
FLAG_TOUCH_TRIGGER, FLAG_START_TRIGGER = 16, 32
FLAG_CHECKPOINT, FLAG_PUSHER = 1 << 28, 1 << 29

SPEED, ICE, GOAL = 1, 6, 10


def screen(x, z):
    """Window pixel of the world point (x, 0, z) in the zoomed top view;
    +x is the left of the screen, +z its top."""
    return int(round(W / 2 - x / UNITS_PER_PIXEL)), int(round(H / 2 - z / UNITS_PER_PIXEL))


def inside(corner):
    """A click half a grid step inside the grid cell whose corner (toward
    zero) is `corner`."""
    return corner + 150 if corner >= 0 else corner - 150


def read_level(path):
    with open(path, "rb") as f:
        data = f.read()
    marker, gold, silver, bronze, count = struct.unpack_from("<5i", data, 0)
    assert marker == -1, "the current form"
    assert len(data) == 20 + 64 * count
    blocks = []
    for k in range(count):
        fields = struct.unpack_from("<15iI", data, 20 + 64 * k)
        blocks.append(dict(zip(("type", "x", "y", "z", "width", "height", "length", "rx", "ry", "rz", "side",
                                "top", "px", "py", "pz", "flags"), fields)))
    return (gold, silver, bronze), blocks


def files_outside_maps(root):
    found = set()
    for folder, _, names in os.walk(root):
        relative = os.path.relpath(folder, root)
        if relative == "maps" or relative.startswith("maps" + os.sep):
            continue
        found.update(os.path.join(relative, name) for name in names)
    return found


def dialog_entries(maps):
    """The file dialog's list at the top of maps/: campaign folders, then
    level files, each sorted byte by byte; longer names are not listed."""
    folders, levels = [], []
    for name in os.listdir(maps):
        if len(name) > 31:
            continue
        path = os.path.join(maps, name)
        if ".slv" in name and os.path.isfile(path):
            levels.append(name)
        elif "." not in name and "camp" in name and os.path.isdir(path):
            folders.append(name)
    return sorted(folders) + sorted(levels)


def rows(fraction, height=22):
    """The window rows of a line of text whose top is at `fraction` of the
    height, measured upward."""
    top = H - int(fraction * H)
    return top, top + height


def yellow(p):
    return p[0] > 200 and p[1] > 200 and p[2] < 120


def white(p):
    return min(p) > 200


def red(p):
    return p[0] > 200 and p[1] < 140 and p[2] < 140


def light_blue(p):
    return p[2] > 200 and 110 < p[0] < 200


def is_magenta(p):
    return p[0] > 150 and p[2] > 150 and p[1] < 90


class Editor:
    """Mouse and key steps of a level author."""

    def __init__(self, game):
        self.game = game

    def still(self, timeout=30):
        """Waits until the middle of the screen stops changing (the menu ring
        only takes one turn at a time)."""
        last = None
        end = time.time() + timeout
        while time.time() < end:
            rows = self.game.screenshot().rgb[250 * W * 3:600 * W * 3]
            if rows == last:
                return
            last = rows
            self.game.pause(250)

    def click(self, x, y, button=1):
        self.game.mouse_move(x, y)
        self.game.pause(80)
        self.game.click(button)
        self.game.pause(150)

    def drag(self, start, end, control=False):
        game = self.game
        if control:
            game.key_down("Control_L")
        game.mouse_move(*start)
        game.pause(80)
        game._xdotool("mousedown", "1")
        game.pause(150)
        for step in (1, 2, 3):
            game.mouse_move(start[0] + (end[0] - start[0]) * step // 3, start[1] + (end[1] - start[1]) * step // 3)
            game.pause(120)
        game._xdotool("mouseup", "1")
        game.pause(200)
        if control:
            game.key_up("Control_L")
            game.pause(100)

    def block_tool(self, tool):
        self.click(W - 12, int(0.261 * H) + tool * int(0.0586 * H) + int(0.0586 * H) // 2)

    def item_tool(self, index):
        self.click(18, int(0.03 * H) + index * int(0.0586 * H) + int(0.0586 * H) // 2)

    def toolbar(self, fraction):
        self.click(W - 12, int(fraction * H))

    def place(self, x, z, width, length):
        """A block with its corner at (x, z), stretched to width x length."""
        self.drag(screen(inside(x), inside(z)), screen(x - width - 300, z + length + 300))

    def select(self, x, z):
        self.click(*screen(x, z))

    def wait_for_editor(self):
        """Waits for the editor's status line along the bottom edge."""
        top, bottom = rows(0.028, 16)
        self.game.wait_for_screen(
            lambda shot: shot.count(lambda p: 150 < min(p) and max(p) < 230, box=(0, top, W // 2, bottom)) > 100,
            what="the editor's status line")

    def question_pixels(self, shot=None):
        """Yellow words on the question's band (y / n)."""
        top, bottom = rows(0.34, 40)
        return (shot or self.game.screenshot()).count(yellow, box=(int(0.1 * W), top, int(0.9 * W), bottom))

    def wait_for_question(self, shown, what):
        return self.game.wait_for_screen(
            lambda shot: (self.question_pixels(shot) > 100) if shown else self.question_pixels(shot) == 0, what=what)

    def clear_name(self):
        for _ in range(32):
            self.game.key("BackSpace", delay_ms=10)


class EditorRoad(unittest.TestCase):
    def test_build_save_load_and_drive(self):
        shots = os.environ.get("TAVRELO_EDITOR_SHOTS")
        with harness.Game(settings=harness.settings_ini(windowed=1, width=W, height=H, Sounds=0, Details=2)) as game:
            game.start()
            game.wait_for_window()
            ed = Editor(game)
            menu = game.wait_for_picture()
            # The ring takes a press only at rest: Time Attack -> Quit -> Editor.
            game.turn_menu("Left", times=2, before=menu)
            game.key("Return")
            ed.wait_for_editor()
            before = files_outside_maps(game.dir)
            maps_data_before = sorted(n for n in os.listdir(game.path("maps")) if not n.endswith(".slv"))
            for _ in range(26):  # zoom in as far as the wheel goes
                ed.click(W // 2, H // 2, button=4)

            # The road: start, SPEED, a plain block with a checkpoint that a
            # touch triggers, the goal; beside it a raised block with the
            # pusher craft and an ICE block that the touch moves.
            ed.place(900, -3600, 1800, 2400)          # 0 start
            ed.block_tool(SPEED)
            ed.place(900, -1200, 1800, 1200)          # 1
            ed.block_tool(0)
            ed.place(900, 0, 1800, 1800)              # 2
            ed.block_tool(GOAL)
            ed.place(900, 1800, 1800, 600)            # 3
            ed.block_tool(0)
            ed.place(2400, -2400, 600, 600)           # 4
            ed.block_tool(ICE)
            ed.place(2400, 600, 600, 600)             # 5

            ed.item_tool(3)                           # pusher craft on 4, Medium
            ed.select(2100, -2100)
            game.key("Down", "Return")
            ed.select(2100, -2100)                    # raise 4 by one step
            game.key("m")
            ed.select(300, 300)                       # 2: touch, triggers 5
            game.key("e", "Down", "Right", "Right", "Up", "5")
            game.pause(300)
            if shots:
                game.screenshot().save_png(os.path.join(shots, "editor-trigger.png"))
            trigger_shot = game.screenshot()
            game.key("Return")
            # Control-drag 5 forward: it moves between here and where it was.
            ed.drag(screen(2100, 900), screen(2100, 3000), control=True)
            game.key("Right", "3", "Return")
            # Items last: confirming a trigger dialog takes the block's item off.
            ed.item_tool(0)                           # checkpoint gate on 2
            ed.select(-300, 900)
            game.pause(400)
            top_shot = game.screenshot()
            if shots:
                top_shot.save_png(os.path.join(shots, "editor-top.png"))
                ed.toolbar(0.03)                      # side view, closer, and back
                for _ in range(26):
                    ed.click(W // 2, H // 2, button=4)
                game.pause(500)
                game.screenshot().save_png(os.path.join(shots, "editor-side.png"))
                ed.toolbar(0.03)
                game.pause(300)

            # The trigger dialog showed its magenta choices in its panel.
            magenta = trigger_shot.count(lambda p: p[0] > 150 and p[2] > 150 and p[1] < 90,
                                         box=(int(0.15 * W), int(0.2 * H), int(0.85 * W), int(0.35 * H)))
            self.assertGreater(magenta, 100, "the trigger dialog's choices")
            # Blocks stand where they were placed: the SPEED block's middle is lit.
            sx, sy = screen(0, -600)
            self.assertGreater(sum(top_shot.mean(sx - 20, sy - 20, sx + 20, sy + 20)), 60)

            # Escape asks before the unsaved level is dropped; n keeps it.
            game.key("Escape")
            ed.wait_for_question(True, "Escape asks y / n")
            if shots:
                game.screenshot().save_png(os.path.join(shots, "editor-leave.png"))
            game.key("n")
            kept = ed.wait_for_question(False, "the question gone on n")
            sx, sy = screen(0, -600)
            self.assertGreater(sum(kept.mean(sx - 20, sy - 20, sx + 20, sy + 20)), 60, "still editing the level")

            # Save as "mytrack" with medal times 0:15, 0:20, 0:30: the dialog
            # says what it is, its name starts empty and it shows the path.
            top, bottom = rows(0.85)
            title_box = (int(0.28 * W), top, int(0.5 * W), bottom)
            top, bottom = rows(0.48)
            name_box = (int(0.28 * W), top, int(0.45 * W), bottom)  # left of the start line
            top, bottom = rows(0.451, 16)
            path_box = (int(0.28 * W), top, int(0.7 * W), bottom)
            ed.toolbar(0.16)
            opened = game.wait_for_screen(lambda shot: shot.count(white, box=title_box) > 60,
                                          what="the dialog's title over its frame")
            self.assertEqual(opened.count(white, box=name_box), 0, "an empty name")
            self.assertEqual(opened.count(light_blue, box=path_box), 0, "no path without a name")
            game.type_text("mytrack")
            typed = game.wait_for_screen(lambda shot: shot.count(white, box=name_box) > 60
                                         and shot.count(light_blue, box=path_box) > 60,
                                         what="the typed name and the path it will write")
            if shots:
                typed.save_png(os.path.join(shots, "editor-save.png"))
            game.key("Return")
            top, bottom = rows(0.545, 18)
            warned = game.wait_for_screen(
                lambda shot: shot.count(red, box=(int(0.25 * W), top, int(0.74 * W), bottom)) > 60,
                what="a warning about medal times of 00: 00: 00")
            if shots:
                warned.save_png(os.path.join(shots, "editor-medals.png"))
            game.type_text("0015")                    # bronze row first: fixed on Enter
            game.key("Down")
            game.type_text("002")
            game.key("Down")
            game.type_text("003")
            game.key("Return")
            top, bottom = rows(0.065)
            game.wait_for_screen(lambda shot: shot.count(lambda p: p[1] > 200 and p[0] < 170 and p[2] < 170,
                                                         box=(int(0.1 * W), top, int(0.6 * W), bottom)) > 60,
                                 what="Saved maps/mytrack.slv")
            if shots:
                game.mouse_move(W - 12, int(0.16 * H))  # the icon's name
                game.pause(300)
                game.screenshot().save_png(os.path.join(shots, "editor-saved.png"))
            first_save = os.stat(game.path("maps/mytrack.slv")).st_mtime_ns

            # Saving it again under its name asks before overwriting.
            ed.toolbar(0.16)
            game.wait_for_screen(lambda shot: shot.count(white, box=title_box) > 60, what="the save dialog again")
            game.type_text("mytrack")
            game.wait_for_screen(lambda shot: shot.count(light_blue, box=path_box) > 60, what="the name typed")
            game.key("Return")
            ed.wait_for_question(True, "overwrite? y / n")
            if shots:
                game.screenshot().save_png(os.path.join(shots, "editor-overwrite.png"))
            self.assertEqual(os.stat(game.path("maps/mytrack.slv")).st_mtime_ns, first_save)
            game.key("y")
            top, bottom = rows(0.707)
            times_box = (int(0.56 * W), top, int(0.74 * W), bottom)
            game.wait_for_screen(lambda shot: shot.count(is_magenta, box=times_box) > 30, what="the medal times")
            game.key("Return")                        # the medal times stay
            game.wait_for_screen(lambda shot: os.stat(game.path("maps/mytrack.slv")).st_mtime_ns != first_save,
                                 what="the level saved over itself")

            path = game.path("maps/mytrack.slv")
            self.assertTrue(os.path.exists(path), "the level is saved under maps/")
            medals, blocks = read_level(path)
            self.assertEqual(medals, (15000, 20000, 30000), "gold, silver, bronze in order")
            self.assertEqual(len(blocks), 6)
            zs = [b["z"] for b in blocks]
            self.assertEqual(zs, sorted(zs), "blocks in z order")
            by_place = {(b["x"], b["z"]): b for b in blocks}
            start = by_place[(900, -3600)]
            self.assertEqual((start["width"], start["length"], start["rx"], start["rz"]), (1800, 2400, 3, 4))
            self.assertEqual(by_place[(900, -1200)]["type"], SPEED)
            self.assertEqual(by_place[(900, 1800)]["type"], GOAL)
            gate = by_place[(900, 0)]
            self.assertTrue(gate["flags"] & FLAG_CHECKPOINT)
            self.assertTrue(gate["flags"] & FLAG_TOUCH_TRIGGER)
            self.assertTrue(gate["flags"] & FLAG_HAS_TARGET)
            raised = by_place[(2400, -2400)]
            self.assertEqual((raised["height"], raised["ry"]), (1000, 2))
            self.assertTrue(raised["flags"] & FLAG_PUSHER)
            self.assertEqual(raised["pz"], 1, "Medium")
            mover = by_place[(2400, 2700)]
            self.assertEqual(mover["type"], ICE)
            self.assertEqual((mover["px"], mover["py"], mover["pz"]), (2400, 0, 600))
            self.assertEqual(mover["flags"] & (FLAG_MOVE | FLAG_START_TRIGGER | FLAG_TOUCH_TRIGGER), FLAG_MOVE,
                             "moved by the touch, not by the start")
            self.assertEqual((mover["flags"] >> 6) & 31, 3)
            self.assertIs(blocks[(gate["flags"] >> 11) & 8191], mover, "the target follows its block")

            # A hostile name keeps the dialog open and writes nothing.
            ed.toolbar(0.16)
            ed.clear_name()
            game.type_text("../../evil")
            game.key("Return")
            game.pause(400)
            refused = game.screenshot()
            top = H - int(0.412 * H)
            reason = refused.count(lambda p: p[0] > 150 and p[1] < 140 and p[2] < 140,
                                   box=(int(0.24 * W), top, int(0.75 * W), top + 20))
            self.assertGreater(reason, 30, "the dialog stays open and says why")
            game.key("Escape")
            ed.toolbar(0.16)
            ed.clear_name()
            game.type_text("single.stat")
            game.key("Return")
            game.pause(300)
            game.key("Escape")
            game.pause(300)
            self.assertEqual(files_outside_maps(game.dir), before, "nothing written outside maps/")
            # Only levels were added to maps/: the previews and other data stay as they were.
            self.assertEqual(sorted(n for n in os.listdir(game.path("maps")) if not n.endswith(".slv")),
                             maps_data_before)

            # An empty level (nothing unsaved: no question), then load the
            # saved one back from the dialog's list.
            sx, sy = screen(0, -600)
            ed.toolbar(0.1)
            empty = game.wait_for_screen(lambda shot: sum(shot.mean(sx - 20, sy - 20, sx + 20, sy + 20)) < 30,
                                         what="an empty level")
            self.assertEqual(ed.question_pixels(empty), 0)
            ed.toolbar(0.22)
            game.wait_for_screen(lambda shot: shot.count(white, box=title_box) > 60, what="the load dialog")
            for _ in range(dialog_entries(game.path("maps")).index("mytrack.slv")):
                game.key("Down")
            game.key("Return")
            game.wait_for_screen(lambda shot: sum(shot.mean(sx - 20, sy - 20, sx + 20, sy + 20)) > 60,
                                 what="the level back from the list")

            # Leave, and drive it in time attack: the ring goes Editor -> Quit -> Time Attack.
            game.key("Escape")
            game.pause(500)
            ed.still()
            game.turn_menu("Right", times=2)
            game.key("Return")
            game.pause(800)
            # chain-reaction, ferry, first-steps, icebridge, long-haul, mytrack, ...
            for _ in range(5):
                game.key("Down")
            game.key("Return")
            game.pause(800)
            game.key_down("Up")
            end = time.time() + 60
            finished = False
            while time.time() < end and not finished:
                shot = game.screenshot()
                x = int(W * 0.029)
                r, g, b = shot.mean(x, H // 2 - 20, x + 7, H // 2 + 20)
                finished = g > 2 * max(r, b) + 10  # the green frame of a first record
                game.pause(300)
            game.key_up("Up")
            self.assertTrue(finished, "the saved level is driven to its goal")
            self.assertTrue(game.running())
            result = game.stop()
        self.assertFalse(result.timed_out)


if __name__ == "__main__":
    unittest.main()
