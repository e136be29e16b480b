"""Fixtures: the built programs run in a temporary directory on the
generated example data.

Binaries come from the environment variables LF_TESK_BIN, LF_KORMAL_BIN and
LF_EXAMPLE_DATA_BIN, by default build/tesk/tesk, build/kormal/kormal and
build/examples/generator/make_example_data of the repository. A test that
needs a binary that is missing is skipped with a message saying which.
"""

import os
import subprocess
import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parent))          # layouts
sys.path.insert(0, str(Path(__file__).resolve().parent.parent))   # the package, uninstalled

REPOSITORY = Path(__file__).resolve().parents[2]
EXAMPLE_DECK = REPOSITORY / "examples" / "co_window" / "input-vorne"

BINARIES = {
    "tesk": ("LF_TESK_BIN", "build/tesk/tesk"),
    "kormal": ("LF_KORMAL_BIN", "build/kormal/kormal"),
    "make_example_data": ("LF_EXAMPLE_DATA_BIN", "build/examples/generator/make_example_data"),
}


def binary(name):
    """Path of a built program, or skips the test naming what is missing."""
    variable, default = BINARIES[name]
    path = Path(os.environ.get(variable) or REPOSITORY / default)
    if not (path.is_file() and os.access(path, os.X_OK)):
        pytest.skip(f"{name} not built: no executable {path} (build the project, or set {variable})")
    return path


def deck(**answers):
    """The example's deck for tesk with some answers replaced.

    Keyword arguments name deck lines by their 1-based number, ``line9="w"``;
    the rest of a replaced line (its comment) is kept.
    """
    lines = EXAMPLE_DECK.read_text().splitlines()
    for key, value in answers.items():
        n = int(key.removeprefix("line"))
        comment = lines[n - 1][11:] if len(lines[n - 1]) > 11 else ""
        lines[n - 1] = f"{value:<10} {comment}"
    return "\n".join(lines) + "\n"


class ExampleRun:
    """A temporary working directory holding the generated example data."""

    def __init__(self, directory):
        self.dir = Path(directory)
        subprocess.run([str(binary("make_example_data")), str(self.dir)], check=True)

    def _run(self, program, deck_name, deck_text):
        (self.dir / deck_name).write_text(deck_text)
        return subprocess.run([str(binary(program))], cwd=self.dir, capture_output=True, text=True,
                              stdin=subprocess.DEVNULL, timeout=600)

    def tesk(self, deck_text):
        """Runs tesk with `deck_text` as input-vorne; returns the CompletedProcess."""
        return self._run("tesk", "input-vorne", deck_text)

    def kormal(self, deck_text):
        """Runs kormal with `deck_text` as input-kormal; returns the CompletedProcess."""
        return self._run("kormal", "input-kormal", deck_text)


@pytest.fixture
def example_run(tmp_path):
    """An :class:`ExampleRun` in a fresh temporary directory."""
    return ExampleRun(tmp_path)
