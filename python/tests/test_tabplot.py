"""tabplot: well-formed SVG with one shaded window per table76 row, PNG
beside it, and the exit statuses of the programs."""

import math
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

import pytest

from linefinding import tabplot
from conftest import deck
from layouts import SPECTRA_OUT, TABLE76, TABLE78, crlf

PACKAGE_DIR = Path(__file__).resolve().parents[1]


def table71_text(start=2146.0, end=2157.0, step=0.01):
    """A table71 of transmissions in its layout, a line every 1.3 cm-1."""
    rows = ["3 4", "Rad. in transmission ", "  cm       target      all-target    all-gases"]
    n = round((end - start) / step)
    for i in range(n + 1):
        nu = start + i * step
        target = 0.2 + 0.79 * abs(math.cos(math.pi * (nu - start) / 1.3))
        other = 0.95
        rows.append(f"{nu:10.4f}" + "".join(f"  .{round(v * 1e5):05d}E+00" for v in (target, other, target * other)))
    return crlf(rows)


def windows_in_svg(path):
    root = ET.parse(path).getroot()  # raises for a malformed file
    return sorted(e.get("id") for e in root.iter() if (e.get("id") or "").startswith("window-"))


def test_spectrum_with_one_shaded_window_per_table76_row(tmp_path):
    (tmp_path / "table71").write_text(table71_text(), newline="")
    (tmp_path / "table76").write_text(TABLE76, newline="")
    status = tabplot.main(["spectrum", str(tmp_path / "table71"), "--windows", str(tmp_path / "table76"),
                           "-o", str(tmp_path / "pictures" / "windows")])
    assert status == 0
    assert windows_in_svg(tmp_path / "pictures" / "windows.svg") == ["window-1", "window-2", "window-3"]
    assert (tmp_path / "pictures" / "windows.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"


def test_kormal_spectra(tmp_path):
    (tmp_path / "spectra.out").write_text(SPECTRA_OUT, newline="")
    assert tabplot.main(["kormal", str(tmp_path / "spectra.out"), "--title", "last window"]) == 0
    ET.parse(tmp_path / "spectra.svg")
    assert (tmp_path / "spectra.png").stat().st_size > 1000


@pytest.mark.parametrize("args, files, status, message", [
    (["spectrum", "{d}/missing"], {}, 2, "No such file"),
    (["spectrum", "{d}/table71", "--windows", "{d}/table76"],
     {"table71": "3 4\r\nx\r\ny\r\n 2146.0000" + "  .50000E+00" * 3 + "\r\n",
      "table76": "h\r\nco        21x7.00   .20\r\n"}, 2,
     "record 2, columns 10-16"),
    (["kormal", "{d}/spectra.out"], {"spectra.out": " 2 4 \r\n header\r\n"}, 1, "no spectral points"),
    (["kormal", "{d}/spectra.out"], {"spectra.out": SPECTRA_OUT.replace("2147.0000", "*" * 9).replace("2147.0050", "*" * 9)},
     1, "no wavenumber to draw against"),
    (["kernels", "{d}/table80"], {"table80": TABLE78[:-12]}, 2, "table80, record 5: record cut short"),
    (["kernels", "{d}/table80"], {"table80": TABLE78.replace(" 3   4", " 3   3000000")}, 2,
     "3000000 columns announced"),
    (["spectrum"], {}, 1, "the following arguments are required"),
    (["histogram", "x"], {}, 1, "invalid choice"),
])
def test_exit_status(tmp_path, capsys, args, files, status, message):
    for name, text in files.items():
        (tmp_path / name).write_text(text, newline="")
    assert tabplot.main([a.format(d=tmp_path) for a in args]) == status
    err = capsys.readouterr().err
    assert message in err and err.endswith("\n"), err
    assert not list(tmp_path.glob("*.svg"))


def test_runs_as_a_module_with_an_example_in_its_help():
    result = subprocess.run([sys.executable, "-m", "linefinding.tabplot", "--help"], cwd=PACKAGE_DIR,
                            capture_output=True, text=True)
    assert result.returncode == 0
    assert "tabplot spectrum table71 --windows table76" in result.stdout


def test_spectrum_of_a_tesk_run(example_run):
    result = example_run.tesk(deck(line43="n"))
    assert result.returncode == 0, result.stdout
    (example_run.dir / "table76").write_text(TABLE76, newline="")
    assert tabplot.main(["spectrum", str(example_run.dir / "table71"), "--windows",
                         str(example_run.dir / "table76")]) == 0
    assert len(windows_in_svg(example_run.dir / "table71.svg")) == 3
