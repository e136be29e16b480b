"""The information-content readers, the plan command and the kernel and
degrees-of-freedom pictures: on hand-made files, then on the example run."""

import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
import zlib
from pathlib import Path

import numpy as np
import pytest

import linefinding as lf
from linefinding import gas_formulas, info_pictures, plan, tabplot
from linefinding.table79 import has_column_errors, joint_line
from conftest import EXAMPLE_DECK, ExampleRun, deck
from layouts import TABLE78, crlf, output_dat_block

PACKAGE_DIR = Path(__file__).resolve().parents[1]
KORMAL_DECK = (EXAMPLE_DECK.parent / "input-kormal").read_text()


def kormal_deck_on(table):
    """The example's kormal deck rating `table` (line 2), the rest as it is."""
    lines = KORMAL_DECK.splitlines()
    lines[1] = table + lines[1][len(lines[1].split()[0]):]
    return "\n".join(lines) + "\n"

TABLE76 = crlf([
    "name     cm-1     window ",
    # a8, 1x, f7.2, 1x, f6.2
    "co      " + " " + "2147.10" + " " + "   .24",
    "co      " + " " + "2150.86" + " " + "   .37",
    "co      " + " " + "2155.50" + " " + "  1.00",
])

# a8, 1x, f7.2, 1x, f6.2, 1x, i6, then 1x, f6.3, 1x, f5.1, 1x, f5.1 or ' singular'
_T79_ROWS = [
    "co      " + " " + "2147.10" + " " + "   .24" + " " + "   121" + " " + "  .812" + " " + "   .5" + " " + " 10.5",
    "co      " + " " + "2150.86" + " " + "   .37" + " " + "   186" + " singular",
    "co      " + " " + "2155.50" + " " + "  1.00" + " " + "   501" + " " + " 1.234" + " " + "   .0" + " " + "   .0",
    # the span 2146.98-2156.00 of all windows
    "all     " + " " + "2151.49" + " " + "  9.02" + " " + "   808" + " " + " 1.901" + " " + "   .5" + " " + " 25.5",
]
# then 5(1x, f9.3): noise, smoothing, interference, temperature, total (% of the column);
# window 3 at the cap of 100000 % or more
_T79_ERRORS = ["    2.000" + " " + "   10.000" + " " + "    1.000" + " " + "    4.000" + " " + "   11.000", None,
               "    3.500" + " " + "99999.999" + " " + "     .250" + " " + "   12.000" + " " + "99999.999",
               "     .100" + " " + "     .200" + " " + "     .200" + " " + "     .400" + " " + "     .500"]
TABLE79 = crlf(["name     cm-1     window points   dofs  zlow zhigh    noise%   smooth%   interf%     temp%    total%"]
               + [row if errors is None else row + " " + errors for row, errors in zip(_T79_ROWS, _T79_ERRORS)])
# of an older tesk: no column errors
TABLE79_OLD = crlf(["name     cm-1     window points   dofs  zlow zhigh"] + _T79_ROWS)

_ROW1 = "co      " + " " + "2147.10" + " " + "   .24"
_ROW3 = "co      " + " " + "2155.50" + " " + "  1.00"
MICROWIN = crlf([
    "name     cm-1     window ".ljust(24)[:24],
    # sorted by variation: names in columns 27-33, 34-40, ...
    (_ROW1.ljust(26) + "h2o    " + "n2o    ").ljust(100),
    (_ROW3.ljust(26) + "solar  " + "o3     ").ljust(100),
])


OUTPUT_DAT = crlf(
    # a7, 1x, i3, 1x, 3(f9.3, 4x)
    output_dat_block("  49.000", "  20.000", [
        "co     " + " " + "  5" + " " + "   40.000" + "    " + "   50.000" + "    " + " 2147.081",
        "h2o    " + " " + "  1" + " " + "    3.500" + "    " + "    5.000" + "    " + "    -.120",
        "n2o    " + " " + "  4" + " " + "    1.250" + "    " + "    2.000" + "    " + "     .040",
    ])
    + output_dat_block("  90.500", "   1.250", [
        "co     " + " " + "  5" + " " + "    1.000" + "    " + "    2.000" + "    " + " 2155.310",
        "solar  " + " " + " 53" + " " + "     .800" + "    " + "    1.000" + "    " + "     .010",
        "o3     " + " " + "  3" + " " + "     .600" + "    " + "     .700" + "    " + "    -.200",
    ]))

BANDS_CTL = """\
# bands for co: 3 microwindows of a line-finding study
band = 1 2 3
band.1.nu_start = 2146.98
band.1.nu_stop = 2147.22
band.1.calc_point_space = 0.002
band.1.max_opd = 50.0
band.1.omega = 1.25
# band.1.snr: signal-to-noise ratio relative to the continuum per spectral sample of 0.01 cm-1 (1/(2 x max-opd)), as the information step assumed
band.1.snr = 1000.0
band.1.gasb = CO H2O N2O
band.2.nu_start = 2150.675
band.2.nu_stop = 2151.045
band.2.calc_point_space = 0.002
band.2.max_opd = 50.0
band.2.omega = 1.25
# band.2.snr: signal-to-noise ratio relative to the continuum per spectral sample of 0.01 cm-1 (1/(2 x max-opd)), as the information step assumed
band.2.snr = 1000.0
# band.2: not reported by kormal (skipped: target contribution    .100 % below the threshold    .500 %): no interfering gases known
band.2.gasb = CO
band.3.nu_start = 2155.0
band.3.nu_stop = 2156.0
band.3.calc_point_space = 0.002
band.3.max_opd = 50.0
band.3.omega = 1.25
# band.3.snr: signal-to-noise ratio relative to the continuum per spectral sample of 0.01 cm-1 (1/(2 x max-opd)), as the information step assumed
band.3.snr = 1000.0
# band.3: solar left out of gasb: no molecule to fit
band.3.gasb = CO O3
"""


def echo(**answers):
    """The example deck's echo: each line as a record of 200 characters."""
    return crlf(line.ljust(200) for line in deck(**answers).splitlines())


SKIPPED = "skipped: target contribution    .100 % below the threshold    .500 %"


def origin_lines(e):
    """The first lines of a table79 computed with the deck of the echo `e`."""
    return crlf([f"range    {e.vlo:17.9E}{e.vhi:17.9E}", f"grid     {e.grid:17.9E}", f"max-opd  {e.resol:17.9E}",
                 f"fov      {e.fovrad:17.9E}", f"noise    {e.avkpar1:17.9E}",
                 f"target   {e.gasname:<7} {e.isotope or 0:3d}"])


def kormal_log(table76_text):
    """kormal's record of a run on `table76_text` that skipped its second window."""
    data = table76_text.encode("latin-1")
    rows = table76_text.splitlines()[1:]
    return crlf([" table76 table76", f" bytes {len(data)} crc32 {zlib.crc32(data):08x} windows {len(rows)}"]
                + [f" window{n:5d} {row[:23]:<23} {SKIPPED if n == 2 else 'rated'}"
                   for n, row in enumerate(rows, start=1)])


def hand_made(directory, **files):
    """A working directory of a study and its kormal run; `files` replace or
    (with None) remove the hand-made ones. A table79 given without the lines
    of what it was computed with gets those of the echo; kormal.log, unless
    given, is of a run on the table76 (the one given, or TABLE76)."""
    texts = {"output": echo(line31="0.00125"), "table76": TABLE76, "table79": TABLE79,
             "microwin": MICROWIN, "output.dat": OUTPUT_DAT}
    texts.update(files)
    if texts["table79"] is not None and not texts["table79"].startswith("range"):
        made_with = directory.parent / "echo-of-table79"
        made_with.write_bytes((texts["output"] or "").encode())
        try:
            e = lf.read_deck_echo(made_with)
        except lf.RecordLayoutError:  # the echo is no deck's: the example's
            made_with.write_bytes(echo(line31="0.00125").encode())
            e = lf.read_deck_echo(made_with)
        texts["table79"] = origin_lines(e) + texts["table79"]
    if texts["microwin"] is not None and "kormal.log" not in files:
        texts["kormal.log"] = kormal_log(texts["table76"] or TABLE76)
    directory.mkdir(parents=True, exist_ok=True)
    for name, text in texts.items():
        if text is not None:
            (directory / name).write_bytes(text.encode("latin-1"))
    return directory


@pytest.mark.parametrize("text", [TABLE79, TABLE79_OLD], ids=["with column errors", "older"])
def test_table79_reader_with_a_singular_row_and_the_all_row(tmp_path, text):
    (tmp_path / "table79").write_text(text, newline="")
    t = lf.read_table79(tmp_path / "table79")
    assert t["label"].tolist() == ["co", "co", "co", "all"]
    np.testing.assert_allclose(t["centre"], [2147.10, 2150.86, 2155.50, 2151.49], rtol=1e-12)
    np.testing.assert_allclose(t["width"], [0.24, 0.37, 1.0, 9.02], rtol=1e-12)
    assert t["points"].tolist() == [121, 186, 501, 808]
    assert t["singular"].tolist() == [False, True, False, False]
    np.testing.assert_allclose(t["dofs"], [0.812, np.nan, 1.234, 1.901], rtol=1e-12)
    np.testing.assert_allclose(t["zlow"], [0.5, np.nan, 0.0, 0.5], rtol=1e-12)
    np.testing.assert_allclose(t["zhigh"], [10.5, np.nan, 0.0, 25.5], rtol=1e-12)
    if text is TABLE79_OLD:
        assert not has_column_errors(t) and "total" not in t.dtype.names
        return
    assert has_column_errors(t)
    for name, values in {"noise": [2.0, 3.5, 0.1], "smoothing": [10.0, 99999.999, 0.2],
                         "interference": [1.0, 0.25, 0.2], "temperature": [4.0, 12.0, 0.4],
                         "total": [11.0, 99999.999, 0.5]}.items():
        np.testing.assert_allclose(t[name][[0, 2, 3]], values, rtol=1e-12, err_msg=name)
        assert np.isnan(t[name][1]), name  # singular


@pytest.mark.parametrize("text, message", [
    (TABLE79.replace("all     ", "co      "), "no final row labelled 'all'"),
    (crlf(TABLE79.splitlines()[:2]), "no final row labelled 'all'"),
    (TABLE79.replace("name ", "nome "), "record 1: expected the header line"),
    (TABLE79.replace(" 1.234", " 1.2x4"), "record 4, columns 32-37"),
    (TABLE79.replace("   12.000", "   12.0x0"), "record 4, columns 81-89: not a number"),
    (TABLE79.replace("    4.000", "      inf"), "record 2, columns 81-89: not a finite number"),
    (TABLE79.replace("   11.000\r\n", "   11.0\r\n"), "record 2: record cut short, columns 98-99 missing"),
    (TABLE79.replace("   11.000\r\n", "   11.000    1.000\r\n"), "record 2, columns 100-108: more fields"),
    # the rows of one layout under the heading of the other
    (TABLE79.replace("zhigh    noise%   smooth%   interf%     temp%    total%", "zhigh"),
     "record 2, columns 50-99: more fields than the layout's 49 columns"),
    (TABLE79_OLD.replace("zhigh", "zhigh    noise%   smooth%   interf%     temp%    total%"),
     "record 2: record cut short, columns 50-99 missing"),
])
def test_table79_reader_refuses(tmp_path, text, message):
    (tmp_path / "table79").write_text(text, newline="")
    with pytest.raises(lf.RecordLayoutError, match=message):
        lf.read_table79(tmp_path / "table79")


_ALL_ROW = "all      2151.49   9.02    808"


@pytest.mark.parametrize("text, line", [
    (TABLE79, "All 3 windows together: 1.901 degrees of freedom, total column error 0.500 %"),
    (TABLE79.replace("     .500\r\n", "99999.999\r\n"),
     "All 3 windows together: 1.901 degrees of freedom, total column error 100000 % or more"),
    (TABLE79_OLD, "All 3 windows together: 1.901 degrees of freedom; no column errors in this table79 (of an older tesk)"),
    (TABLE79[:TABLE79.index(_ALL_ROW)] + crlf([_ALL_ROW + " singular"]),
     "All 3 windows together: singular (no degrees of freedom, no column error)"),
    (crlf(TABLE79.splitlines()[:1]), "table79 has no windows"),
])
def test_table79_joint_line(tmp_path, text, line):
    (tmp_path / "table79").write_text(text, newline="")
    assert joint_line(lf.read_table79(tmp_path / "table79")) == line


def test_table80_and_deck_echo_readers(tmp_path):
    (tmp_path / "table80").write_text(TABLE78, newline="")
    kernels = lf.read_table80(tmp_path / "table80")
    np.testing.assert_allclose(kernels["kernel"], [[0.8, 0.1], [0.2, 0.7]], rtol=1e-12)
    (tmp_path / "output").write_text(echo(line4="res/", line19="h2o", line20="4", line26="s12.5",
                                          line33="2.e-3,", line34="1.5D-8", line14="f(no)"), newline="")
    e = lf.read_deck_echo(tmp_path / "output")
    assert (e.outpath, e.gasname, e.isotope, e.study, e.norm, e.geom) == ("res/", "hdo", None, "d", "f", "s")
    assert (e.grid, e.resol, e.fovrad, e.avkpar1, e.avkpar2, e.geomval, e.vlo, e.vhi) == (
        0.002, 50.0, 0.0, 0.002, 1.5e-8, 12.5, 2140.0, 2180.0)
    (tmp_path / "output").write_text(crlf(echo().splitlines()[:30]), newline="")
    with pytest.raises(lf.RecordLayoutError, match="30 deck lines"):
        lf.read_deck_echo(tmp_path / "output")


def test_plan_of_a_hand_made_directory(tmp_path, capsys):
    run = hand_made(tmp_path / "run")
    assert plan.main([str(run)]) == 0
    assert (run / "bands.ctl").read_text() == BANDS_CTL
    p = json.loads((run / "plan.json").read_text())
    assert p["target"] == {"gas": "co", "isotope": None, "label": "co"}
    assert {k: p["deck"][k] for k in ("grid", "max_opd", "fov", "noise")} == {
        "grid": 0.002, "max_opd": 50.0, "fov": 0.00125, "noise": 0.001}
    w1, w2, w3 = p["windows"]
    assert w1 == {"index": 1, "label": "co", "centre": 2147.1, "width": 0.24, "nu_start": 2146.98,
                  "nu_stop": 2147.22, "points": 121, "dofs": 0.812, "zlow": 0.5, "zhigh": 10.5,
                  "singular": False,
                  "column_error_percent": {"noise": 2.0, "smoothing": 10.0, "interference": 1.0,
                                           "temperature": 4.0, "total": 11.0},
                  "reported_by_kormal": True, "kormal_outcome": "rated",
                  "target_contribution": 20.0,
                  "interferers": [{"gas": "h2o", "measure": 3.5}, {"gas": "n2o", "measure": 1.25}],
                  "gasb": ["CO", "H2O", "N2O"], "gasb_left_out": []}
    assert (w2["dofs"], w2["zlow"], w2["singular"], w2["reported_by_kormal"], w2["interferers"]) == (
        None, None, True, False, [])
    assert w2["column_error_percent"] is None
    assert w3["column_error_percent"] == {"noise": 3.5, "smoothing": 99999.999, "interference": 0.25,
                                          "temperature": 12.0, "total": 99999.999}
    assert w2["kormal_outcome"] == SKIPPED
    # no kernel area above 0.5: no altitude range; the solar lines are not a gas to fit
    assert (w3["dofs"], w3["zlow"], w3["zhigh"], w3["gasb"]) == (1.234, None, None, ["CO", "O3"])
    assert [g["gas"] for g in w3["interferers"]] == ["solar", "o3"]
    assert w3["gasb_left_out"] == ["solar"]
    assert p["joint"] == {"dofs": 1.901, "points": 808, "nu_start": 2146.98, "nu_stop": 2156.0,
                          "column_error_percent": {"noise": 0.1, "smoothing": 0.2, "interference": 0.2,
                                                   "temperature": 0.4, "total": 0.5}}
    assert p["noise"] == {"snr": 1000.0, "relative_to": "continuum", "per": "spectral sample",
                          "sample_spacing_cm-1": 0.01, "sample_spacing_from": "max_opd"}
    out = capsys.readouterr().out.splitlines()
    assert out[2].split() == ["1", "co", "2146.980", "2147.220", "121", "0.812", "0.5", "10.5", "CO", "H2O", "N2O"]
    assert "singular" in out[3] and "not reported by kormal" in out[3]
    assert out[5] == "Joint degrees of freedom of all 3 windows: 1.901 (808 points), total column error 0.500 %"


@pytest.mark.parametrize("files, noise, comment, joint", [
    # no instrument: a spectral sample is a grid step
    ({"output": echo(line30="0.", line31="0.00125")},
     {"per": "spectral sample", "sample_spacing_cm-1": 0.002, "sample_spacing_from": "grid"},
     "spectral sample of 0.002 cm-1 (the grid: max-opd 0), as the information step assumed",
     "Joint degrees of freedom of all 3 windows: 1.901 (808 points), total column error 0.500 %"),
    # a table79 of an older tesk: every grid point a measurement, no column errors
    ({"table79": TABLE79_OLD},
     {"per": "grid point", "sample_spacing_cm-1": 0.002, "sample_spacing_from": "grid"},
     "grid point of 0.002 cm-1, as the information step of an older tesk assumed",
     "Joint degrees of freedom of all 3 windows: 1.901 (808 points)"),
    # the joint retrieval at the cap
    ({"table79": TABLE79.replace("     .500\r\n", "99999.999\r\n")},
     {"per": "spectral sample", "sample_spacing_cm-1": 0.01, "sample_spacing_from": "max_opd"},
     "spectral sample of 0.01 cm-1 (1/(2 x max-opd)), as the information step assumed",
     "Joint degrees of freedom of all 3 windows: 1.901 (808 points), total column error 100000 % or more"),
], ids=["max-opd 0", "older table79", "joint error capped"])
def test_plan_states_the_noise_model_and_column_errors(tmp_path, capsys, files, noise, comment, joint):
    run = hand_made(tmp_path / "run", **files)
    assert plan.main([str(run)]) == 0
    p = json.loads((run / "plan.json").read_text())
    assert p["noise"] == {"snr": 1000.0, "relative_to": "continuum", **noise}
    old = "table79" in files and files["table79"] is TABLE79_OLD
    assert [w["column_error_percent"] is None for w in p["windows"]] == [old, True, old]
    assert (p["joint"]["column_error_percent"] is None) == old
    ctl = (run / "bands.ctl").read_text().splitlines()
    # each just before its band's snr, the rest of the file as it was
    said = [n for n, line in enumerate(ctl) if ".snr: " in line]
    assert [ctl[n] for n in said] == [f"# band.{k}.snr: signal-to-noise ratio relative to the continuum per {comment}"
                                      for k in (1, 2, 3)]
    assert [ctl[n + 1] for n in said] == [f"band.{k}.snr = 1000.0" for k in (1, 2, 3)]
    expected = BANDS_CTL.replace("max_opd = 50.0", f"max_opd = {p['deck']['max_opd']:.1f}").splitlines()
    assert [line for n, line in enumerate(ctl) if n not in said] == [line for line in expected if ".snr: " not in line]
    assert capsys.readouterr().out.splitlines()[5] == joint


def test_plan_writes_into_another_directory_from_the_output_prefix(tmp_path):
    run = hand_made(tmp_path / "run", output=echo(line4="res/", line31="0.00125"), table76=None, table79=None)
    hand_made(run / "res", output=None, microwin=None, **{"output.dat": None})
    result = subprocess.run([sys.executable, "-m", "linefinding.plan", str(run), "-o", str(tmp_path / "plans")],
                            cwd=PACKAGE_DIR, capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    assert (tmp_path / "plans" / "bands.ctl").read_text() == BANDS_CTL
    assert not (run / "plan.json").exists()


_OTHER_ROW = "co      " + " " + "2160.00" + " " + "   .30"
REFUSALS = [
    ({"table79": None}, 2, "table79"),
    ({"table76": crlf(TABLE76.splitlines()[:1]), "table79": crlf(TABLE79.splitlines()[:1])}, 1,
     "has no windows: nothing to plan"),
    ({"output": echo()[:2000]}, 2, "a complete echo has 46"),
    ({"output": echo(line9="a")}, 1, "study 'a', not of a line-finding study"),
    ({"output": echo(line33="0.")}, 1, "noise 0 gives no signal-to-noise ratio"),
    ({"output": echo(line19="h2o")}, 1, "a window of co, the deck echo's target is h2o"),
    ({"table79": TABLE79.replace("2155.50   1.00", "2155.50   1.10")}, 1,
     "has the window co 2155.50 1.10 where"),
    ({"table79": crlf(TABLE79.splitlines()[:2] + TABLE79.splitlines()[-1:])}, 1, "has 1 windows"),
    ({"table79": crlf(TABLE79.splitlines()[:1])}, 1, "has 0 windows"),
    ({"table79": TABLE79.replace("2151.49   9.02", "2151.49   8.02")}, 1, "the 'all' row spans"),
    ({"microwin": MICROWIN.replace(_ROW3, _OTHER_ROW)}, 1, "lists the window co 2160.00 0.30 where table76 has co 2155.50 1.00"),
    ({"microwin": crlf(MICROWIN.splitlines()[:2])}, 1, "reports 2 windows"),
    ({"microwin": MICROWIN.replace("n2o    ", "ch4    ")}, 1, "name other gases for the window co 2147.10"),
    # json has no infinity: refused where it is read, or where the plan would make one
    ({"table79": TABLE79.replace("  .812", "   inf")}, 2, "table79, record 8, columns 32-37: not a finite number"),
    ({"output.dat": OUTPUT_DAT.replace("    3.500", "      inf")}, 2, "record 13, columns 13-21: not a finite"),
    ({"output": echo(line31="0.00125", line33="1e-320")}, 1, "deck line 33: noise 9.99989e-321 gives a signal-to-noise ratio beyond"),
    ({"table76": TABLE76[:-8]}, 2, "table76, record 4: record cut short"),
]


@pytest.mark.parametrize("files, status, message", REFUSALS, ids=[r[2] for r in REFUSALS])
def test_plan_refuses_missing_or_disagreeing_inputs(tmp_path, capsys, files, status, message):
    run = hand_made(tmp_path, **files)
    assert plan.main([str(run)]) == status
    err = capsys.readouterr().err
    assert message in err and err.count("\n") == 1, err
    assert not (run / "bands.ctl").exists()


def test_plan_into_a_reader_that_has_gone_ends_quietly(tmp_path):
    # As `plan | head -1` when head has exited: a pipe without a reader.
    run = hand_made(tmp_path / "run")
    read_end, write_end = os.pipe()
    os.close(read_end)
    try:
        result = subprocess.run([sys.executable, "-m", "linefinding.plan", str(run)], cwd=PACKAGE_DIR,
                                stdout=write_end, stderr=subprocess.PIPE, text=True)
    finally:
        os.close(write_end)
    assert (result.returncode, result.stderr) == (0, "")
    assert (run / "bands.ctl").read_text() == BANDS_CTL


def test_an_unexpected_error_is_one_line_with_status_3(tmp_path, capsys, monkeypatch):
    def broken(directory, windows_from=None):
        raise ZeroDivisionError("float division by zero\nsecond line")
    monkeypatch.setattr(plan, "build_plan", broken)
    assert plan.main([str(tmp_path)]) == 3
    assert capsys.readouterr().err == ("plan: unexpected error, the command ends: ZeroDivisionError: "
                                       "float division by zero second line\n")


def ids_in_svg(path, prefix):
    root = ET.parse(path).getroot()  # raises for a malformed file
    return sorted((e.get("id") for e in root.iter() if (e.get("id") or "").startswith(prefix)),
                  key=lambda s: (len(s), s))


_BUDGET = [f"budget-{n}-{name}" for n in (1, 3, "all")
           for name in ("noise", "smoothing", "interference", "temperature", "total")]


@pytest.mark.parametrize("text, budget, scales", [
    (TABLE79, _BUDGET, ["linear", "log"]),  # 0.1 % to the cap
    (TABLE79.replace("99999.999", "   15.000").replace("     .100      .200      .200      .400      .500",
                                                       "    1.000     2.000     2.000     4.000     5.000"),
     _BUDGET, ["linear", "linear"]),  # 0.25 % to 15 %
    (TABLE79_OLD, [], ["linear"]),  # degrees of freedom only
], ids=["with column errors", "small spread", "older"])
def test_kernel_and_dofs_pictures(tmp_path, text, budget, scales):
    (tmp_path / "table80").write_text(TABLE78, newline="")
    (tmp_path / "table79").write_text(text, newline="")
    assert tabplot.main(["kernels", str(tmp_path / "table80"), "-o", str(tmp_path / "kernels")]) == 0
    assert ids_in_svg(tmp_path / "kernels.svg", "kernel-") == ["kernel-1", "kernel-2", "kernel-area"]
    assert tabplot.main(["dofs", str(tmp_path / "table79")]) == 0
    assert ids_in_svg(tmp_path / "table79.svg", "dofs-") == ["dofs-1", "dofs-3", "dofs-all"]  # 2 is singular
    assert sorted(ids_in_svg(tmp_path / "table79.svg", "budget-")) == sorted(budget)
    figure = info_pictures.dofs_figure(lf.read_table79(tmp_path / "table79"))
    assert [ax.get_yscale() for ax in figure.axes] == scales
    for name in ("kernels.png", "table79.png"):
        assert (tmp_path / name).read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    (tmp_path / "empty").write_text(" 3   2\r\n Averaging kernels \r\n\r\n", newline="")
    assert tabplot.main(["kernels", str(tmp_path / "empty")]) == 1


def test_plan_and_pictures_of_the_example_run(example_run):
    result = example_run.tesk(deck(line43="n"))
    assert result.returncode == 0, result.stdout + result.stderr
    if not (example_run.dir / "table79").exists():
        pytest.skip("this tesk writes no table79 (information content not built in)")
    result = example_run.kormal(kormal_deck_on("table76"))
    assert result.returncode == 0, result.stdout + result.stderr
    assert plan.main([str(example_run.dir), "--windows", "table76"]) == 0
    table76 = lf.read_table76(example_run.dir / "table76")
    microwin = lf.read_microwin(example_run.dir / "microwin")
    p = json.loads((example_run.dir / "plan.json").read_text())
    ctl = dict(line.split(" = ", 1) for line in (example_run.dir / "bands.ctl").read_text().splitlines()
               if not line.startswith("#"))
    assert len(table76) > 0 and len(p["windows"]) == len(table76)
    assert ctl["band"].split() == [str(n) for n in range(1, len(table76) + 1)]
    listed = {(str(m["label"]), round(float(m["centre"]), 2)): [g for g in m["interferers"] if g] for m in microwin}
    for n, (w76, w) in enumerate(zip(table76, p["windows"]), start=1):
        assert (w["label"], w["centre"], w["width"]) == (w76["label"], w76["centre"], w76["width"])
        assert float(ctl[f"band.{n}.nu_start"]) == pytest.approx(w76["centre"] - w76["width"] / 2, abs=1e-9)
        assert float(ctl[f"band.{n}.nu_stop"]) == pytest.approx(w76["centre"] + w76["width"] / 2, abs=1e-9)
        names = [g["gas"] for g in w["interferers"]]
        assert names[:6] == listed.get((w["label"], w["centre"]), [])
        formulas = (gas_formulas.molecule(g) for g in [w["label"]] + names)
        wanted = list(dict.fromkeys(f for f in formulas if f is not None))
        assert ctl[f"band.{n}.gasb"].split() == wanted
    assert any(w["interferers"] for w in p["windows"])
    for kind, table, stem in (("kernels", "table80", "kernels"), ("dofs", "table79", "dofs")):
        assert tabplot.main([kind, str(example_run.dir / table), "-o", str(example_run.dir / stem)]) == 0
        ET.parse(example_run.dir / f"{stem}.svg")
        assert (example_run.dir / f"{stem}.png").stat().st_size > 1000


def test_plan_refuses_an_echo_or_a_kormal_run_of_other_tables(example_run, tmp_path, capsys):
    """The echo of a run with another grid copied in, then the echo and tables
    of that run over those kormal rated: plan refuses each with one line."""
    assert example_run.tesk(deck(line43="n")).returncode == 0
    if not (example_run.dir / "table79").exists():
        pytest.skip("this tesk writes no table79 (information content not built in)")
    assert example_run.kormal(kormal_deck_on("table76")).returncode == 0
    (tmp_path / "other").mkdir()
    other = ExampleRun(tmp_path / "other")
    assert other.tesk(deck(line43="n", line28="0.004", line42="5")).returncode == 0
    assert plan.main([str(example_run.dir), "--windows", "table76"]) == 0
    capsys.readouterr()

    mine = (example_run.dir / "output").read_bytes()
    shutil.copy(other.dir / "output", example_run.dir / "output")
    assert plan.main([str(example_run.dir), "--windows", "table76"]) == 1
    err = capsys.readouterr().err
    assert err.count("\n") == 1 and "output says grid (cm-1) 0.004" in err and "was computed with 0.002" in err, err

    (example_run.dir / "output").write_bytes(mine)
    for name in ("output", "table76", "table79"):
        shutil.copy(other.dir / name, example_run.dir / name)
    assert plan.main([str(example_run.dir), "--windows", "table76"]) == 1
    err = capsys.readouterr().err
    assert err.count("\n") == 1 and "microwin and output.dat are not of this table76" in err, err
