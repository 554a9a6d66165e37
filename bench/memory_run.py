"""Resident memory of the real game during a time-attack run at Details 3
(glow pass, shadows, sounds loaded), and where it goes: the game is started
under a private Xvfb, driven to a run with key events, and its
/proc/PID/smaps is summed by mapping once it has driven for a while.

    python3 bench/memory_run.py      (after a build; `make bench` runs it)
"""

import collections
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "integration"))
import harness  # noqa: E402

TARGET_MB = 150.0
W, H = 1024, 768


def mapping_group(path):
    """The part of the process a mapping belongs to."""
    name = os.path.basename(path)
    if path == "[heap]":
        return "heap (malloc: textures, display lists, level)"
    if path in ("", "[anon]") or path.startswith("[anon"):
        return "anonymous (large mallocs, thread stacks, JIT code)"
    if path.startswith("["):
        return "other kernel mappings " + path
    if "LLVM" in name:
        return "libLLVM (the software renderer's compiler)"
    if "swrast" in name or "dri" in name or "gallium" in name:
        return "Mesa driver (swrast_dri)"
    if "tavrelo" in name:
        return "game binary"
    if path.startswith("/dev/") or "SYSV" in path or "memfd" in path:
        return "shared buffers (" + name + ")"
    return "other libraries and files"


def resident_by_group(pid):
    groups = collections.Counter()
    path = ""
    with open("/proc/%d/smaps" % pid) as smaps:
        for line in smaps:
            first = line.split(None, 1)[0]
            if "-" in first and not first.endswith(":"):
                fields = line.split(None, 5)
                path = fields[5].strip() if len(fields) > 5 else ""
            elif first == "Rss:":
                groups[mapping_group(path)] += int(line.split()[1])
    return groups


def run_clock_shows(shot):
    """The run's clock, bottom right: bright digits."""
    top = H - int(H * 0.06)
    box = (int(W * 0.78), top - 4, int(W * 0.95), top + int(0.03 * H))
    return shot.count(lambda rgb: min(rgb) > 200, box) > 40


def main():
    settings = harness.settings_ini(windowed=1, width=W, height=H, Sounds=1, Details=3, Shadows=1, Glow=1)
    with harness.Game(settings=settings) as game:
        game.start()
        game.wait_for_window()
        game.wait_for_picture()
        menu_kb = sum(resident_by_group(game.process.pid).values())
        game.key("Return")  # the ring rests on Time Attack
        game.pause(1500)
        game.key("Down", "Down", "Return")  # first-steps
        game.wait_for_screen(run_clock_shows, 120, what="the run's clock")
        game.key_down("Up")
        time.sleep(4)
        groups = resident_by_group(game.process.pid)
        game.key_up("Up")
        game.stop(timeout=60)
    total_mb = sum(groups.values()) / 1024.0
    print("Resident memory in the main menu: %.1f MB" % (menu_kb / 1024.0))
    print("Resident memory during a run at Details 3: %.1f MB (target %.0f MB: %s)"
          % (total_mb, TARGET_MB, "met" if total_mb <= TARGET_MB else "MISSED"))
    for group, kb in groups.most_common():
        print("  %-55s %7.1f MB" % (group, kb / 1024.0))
    return 0


if __name__ == "__main__":
    sys.exit(main())
