"""A minimal data tree for start-up tests: every texture slot, the title and
font images and the fifteen sounds, as tiny files written with the standard
library. Used when the runtime directory holds no generated data."""

import os
import struct
import wave
import zlib

SET_SLOTS = ["tex%d" % n for n in range(14)] + ["menu00", "wall", "single", "checkp"]
ROOT_SLOTS = (["menu0%d" % n for n in range(1, 7)] + ["lev0%d" % n for n in range(1, 6)]
              + ["efx01", "space1", "space2", "space3", "space4", "spacemenu", "gui",
                 "powerups", "shield"])
SOUNDS = ["heal", "hurt", "jump", "bump", "menu", "select", "place", "checkpoint", "slowdown",
          "speedup", "explode", "powerup", "pong1", "life", "push"]
SET_NAME = "fixture"


def png_rgba(width, height, rgba):
    """PNG bytes of a width x height image filled with one RGBA colour."""
    row = b"\x00" + bytes(rgba) * width
    raw = row * height

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw))
            + chunk(b"IEND", b""))


def write_wav(path, milliseconds=50):
    frames = 22050 * milliseconds // 1000
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(22050)
        out.writeframes(b"\x00\x00\x00\x00" * frames)


def has_game_data(root):
    return os.path.isfile(os.path.join(root, "gfx", "font1.png"))


def write_fixture_data(root):
    """Writes the tree under root (gfx/fixture/ is the only texture set)."""
    set_dir = os.path.join(root, "gfx", SET_NAME)
    os.makedirs(set_dir, exist_ok=True)
    os.makedirs(os.path.join(root, "sounds"), exist_ok=True)
    os.makedirs(os.path.join(root, "maps"), exist_ok=True)
    image = png_rgba(4, 4, (90, 120, 200, 255))
    for name in SET_SLOTS:
        with open(os.path.join(set_dir, name + ".png"), "wb") as out:
            out.write(image)
    for name in ROOT_SLOTS + ["titles", "font1"]:
        with open(os.path.join(root, "gfx", name + ".png"), "wb") as out:
            out.write(image)
    for name in SOUNDS:
        write_wav(os.path.join(root, "sounds", name + ".wav"))


def ensure_game_data(game):
    """Gives a harness.Game copy a data tree when it has none."""
    if not has_game_data(game.dir):
        write_fixture_data(game.dir)


def first_texture_set(root):
    sets = sorted(name for name in os.listdir(os.path.join(root, "gfx"))
                  if "." not in name and os.path.isdir(os.path.join(root, "gfx", name)))
    return sets[0]
