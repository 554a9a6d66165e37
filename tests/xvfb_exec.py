"""Runs a command under a private Xvfb and returns its exit status.

    python3 tests/xvfb_exec.py COMMAND [ARGS...]

The server picks its own free display (-displayfd), so any number of these,
and the integration tests' own servers, can start at the same time without
racing for a display number.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "integration"))
import harness  # noqa: E402


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    server = harness.XServer(1280, 1024)
    try:
        env = dict(os.environ, DISPLAY=server.display)
        env.pop("XAUTHORITY", None)
        return subprocess.call(sys.argv[1:], env=env)
    finally:
        server.close()


if __name__ == "__main__":
    sys.exit(main())
