"""The installed game: `make install` into a staging folder, the desktop
files checked by their validators, a time-attack run by a player whose home
folder is empty (everything he makes lands in the XDG folder, nothing in the
data), and the Debian package with its contents and dependencies."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from xml.etree import ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from test_timeattack import frame_colour, on_map_list, read_highscores, timer_glyphs  # noqa: E402

BUILD = os.environ.get("TAVRELO_BUILD_DIR") or os.path.join(harness.default_runtime_dir(), "..")
PREFIX = "/usr"

# A short straight to the goal, named to come first in the map list.
DASH_LEVEL = """
block plain pos=300,0,0 size=600,500,12000 repeat=1,1,20
block GOAL pos=300,0,12000 size=600,500,1000
"""


def run(*args, **kwargs):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=300, **kwargs)


def snapshot(root):
    """Every file below root with its size and modification time."""
    files = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            info = os.stat(path)
            files[os.path.relpath(path, root)] = (info.st_size, info.st_mtime_ns)
    return files


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stage = tempfile.mkdtemp(prefix="tavrelo-stage-")
        env = dict(os.environ, DESTDIR=cls.stage)
        done = run("cmake", "--install", BUILD, "--prefix", PREFIX, env=env)
        if done.returncode != 0:
            raise AssertionError("install failed: " + done.stdout + done.stderr)
        cls.root = cls.stage + PREFIX

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.stage, ignore_errors=True)

    def test_files_land_in_their_places_and_validate(self):
        for relative in ("games/tavrelo", "share/games/tavrelo/gfx/font1.png", "share/games/tavrelo/sounds/jump.wav",
                         "share/games/tavrelo/shaders/filter.frag", "share/games/tavrelo/maps/nopic.png",
                         "share/applications/tavrelo.desktop", "share/metainfo/org.tavrelo.Tavrelo.metainfo.xml",
                         "share/man/man6/tavrelo.6.gz"):
            self.assertTrue(os.path.isfile(os.path.join(self.root, relative)), relative)
        for size in (16, 32, 48, 64, 128, 256):
            icon = os.path.join(self.root, "share/icons/hicolor/%dx%d/apps/tavrelo.png" % (size, size))
            with open(icon, "rb") as f:
                header = f.read(24)
            self.assertEqual(struct.unpack(">II", header[16:24]), (size, size), icon)
        # Shipped levels are installed; what a game run from the build
        # folder wrote beside them (records, ghosts, progress) is not.
        shipped = [name for name in os.listdir(os.path.join(self.root, "share/games/tavrelo/maps")) if name.endswith(".slv")]
        self.assertGreater(len(shipped), 3)
        for folder, _, names in os.walk(os.path.join(self.root, "share/games/tavrelo")):
            for name in names:
                self.assertFalse(name.endswith(".gho") or name in ("single.stat", "highscore.hsc", "settings.ini"),
                                 os.path.join(folder, name))
        desktop = run("desktop-file-validate", os.path.join(self.root, "share/applications/tavrelo.desktop"))
        self.assertEqual(desktop.returncode, 0, desktop.stdout + desktop.stderr)
        # Level files open with the game: the entry takes the type the mime file gives *.slv.
        mime = ElementTree.parse(os.path.join(self.root, "share/mime/packages/tavrelo.xml")).getroot()
        slv = [t.get("type") for t in mime if any(g.get("pattern") == "*.slv" for g in t)]
        with open(os.path.join(self.root, "share/applications/tavrelo.desktop")) as f:
            entry = f.read().splitlines()
        self.assertEqual([line for line in entry if line.startswith("MimeType=")], ["MimeType=%s;" % "".join(slv)])
        self.assertIn("Exec=tavrelo %f", entry)
        metainfo = run("appstreamcli", "validate", "--no-net",
                       os.path.join(self.root, "share/metainfo/org.tavrelo.Tavrelo.metainfo.xml"))
        self.assertEqual(metainfo.returncode, 0, metainfo.stdout + metainfo.stderr)

    def test_command_line(self):
        binary = os.path.join(self.root, "games/tavrelo")
        version = run(binary, "--version")
        self.assertEqual((version.returncode, version.stdout), (0, "tavrelo 1.16b\n"))
        usage = run(binary, "--help")
        self.assertEqual(usage.returncode, 0)
        for option in ("--windowed", "--fullscreen", "--size WxH", "--data DIR", "--user DIR"):
            self.assertIn(option, usage.stdout)
        unknown = run(binary, "--fast")
        self.assertEqual(unknown.returncode, 2)
        self.assertEqual(unknown.stdout, "")
        self.assertIn("unknown option '--fast'", unknown.stderr)
        self.assertIn("Usage: tavrelo", unknown.stderr)

    def test_time_attack_record_goes_to_the_xdg_folder(self):
        home = tempfile.mkdtemp(prefix="tavrelo-home-")
        self.addCleanup(shutil.rmtree, home, True)
        user = os.path.join(home, ".local/share/tavrelo")
        data_before = snapshot(os.path.join(self.root, "share/games/tavrelo"))
        command = [os.path.join(self.root, "games/tavrelo"), "--windowed", "--size", "1024x768"]
        env = {"HOME": home, "XDG_DATA_HOME": "", "XDG_CONFIG_HOME": ""}

        # First start: the player's folder is made; quit from the menu.
        with harness.Game(settings=None, env=env) as game:
            game.start(command=command, cwd=home)
            window = game.wait_for_window()
            game.wait_for_picture()
            self.assertRegex(run("xprop", "-id", str(window), env=game.env).stdout, r"to use for icon|_NET_WM_ICON\(", "an icon")
            self.assertTrue(os.path.isdir(os.path.join(user, "maps")), "the user folder is created")
            game.key("Escape")
            self.assertEqual(game.wait(timeout=60).returncode, 0)

        # The player's own level shows in the map list beside the shipped ones.
        level_text = os.path.join(home, "dash.slv.txt")
        with open(level_text, "w") as f:
            f.write(DASH_LEVEL)
        built = run(os.path.join(BUILD, "tools/tavrelo-level"), "build", level_text,
                    "-o", os.path.join(user, "maps/aaa-dash.slv"))
        self.assertEqual(built.returncode, 0, built.stderr)
        # What a game killed while saving a record leaves: a half-written
        # ghost and a new ghost whose record never came. The next start
        # clears both.
        for leftover in ("aaa-dash.gho.tmp-Ab12Cd", "aaa-dash.gho.new-1-2"):
            with open(os.path.join(user, "maps", leftover), "wb") as f:
                f.write(bytes(16))

        with harness.Game(settings=None, env=env) as game:
            game.start(command=command, cwd=home)
            game.wait_for_window()
            game.wait_for_picture()
            game.key("Return")  # the ring rests on Time Attack
            game.wait_for_screen(on_map_list, 60, what="the map list")
            game.key("Return")  # the first row: the player's level
            game.wait_for_screen(lambda shot: timer_glyphs(shot) > 40, 60, what="the run's clock")
            game.key_down("Up")
            game.wait_for_screen(lambda shot: frame_colour(shot)[1] > 60, 240, what="the record screen")
            game.key_up("Up")
            game.type_text("Ada")
            game.key("Escape")
            game.wait_for_screen(on_map_list, 60, what="the map list after the record")
            game.key("Escape")
            game.key("Escape")
            self.assertEqual(game.wait(timeout=60).returncode, 0)

        entries = read_highscores(os.path.join(user, "highscore.hsc"))
        self.assertEqual(entries["aaa-dash.slv"][3], "Ada")
        self.assertGreater(entries["aaa-dash.slv"][1], 500)
        self.assertEqual([name for name in os.listdir(os.path.join(user, "maps")) if ".gho" in name],
                         ["aaa-dash.gho"], "the ghost is the player's, and nothing else is left")
        self.assertEqual(snapshot(os.path.join(self.root, "share/games/tavrelo")), data_before,
                         "nothing is written under the data root")


class Package(unittest.TestCase):
    def test_debian_package_holds_the_game_and_needs_only_debian_libraries(self):
        out = tempfile.mkdtemp(prefix="tavrelo-deb-")
        self.addCleanup(shutil.rmtree, out, True)
        made = run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", out, cwd=BUILD)
        self.assertEqual(made.returncode, 0, made.stdout + made.stderr)
        debs = [name for name in os.listdir(out) if name.startswith("tavrelo_") and name.endswith(".deb")]
        self.assertEqual(len(debs), 1, os.listdir(out))
        deb = os.path.join(out, debs[0])
        depends = run("dpkg-deb", "-f", deb, "Depends").stdout
        self.assertIn("libgl1", depends)  # opened by SDL, so no library the executable names
        needed = [line.split("[")[1] for line in run("readelf", "-d", BUILD + "/runtime/tavrelo").stdout.split("]\n") if "NEEDED" in line]
        for library in ("*/%s-linux-gnu/%s" % (os.uname().machine, name) for name in needed):  # each library it names
            self.assertIn(run("dpkg", "-S", library).stdout.split(":")[0], depends, library)
        self.assertIn("libsdl2-2.0-0", depends)
        contents = run("dpkg-deb", "-c", deb).stdout
        for path in ("./usr/games/tavrelo", "./usr/share/games/tavrelo/gfx/font1.png", "./usr/share/applications/tavrelo.desktop",
                     "./usr/share/icons/hicolor/48x48/apps/tavrelo.png", "./usr/share/man/man6/tavrelo.6.gz"):
            self.assertIn(path, contents)
        lint = run("lintian", "--pedantic", deb)
        self.assertNotRegex(lint.stdout, r"(?m)^[EW]: ", lint.stdout)


if __name__ == "__main__":
    unittest.main()
