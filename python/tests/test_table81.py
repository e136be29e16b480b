"""table81, the recommended windows: the reader's refusals, the plan from
table81 (or, on request, table76) and the pictures of the choice."""

import json
import re
import zlib

import pytest

import linefinding as lf
from linefinding import plan, tabplot
from conftest import deck
from layouts import TABLE81, crlf
from test_plan import BANDS_CTL, MICROWIN, OUTPUT_DAT, SKIPPED, TABLE76, hand_made, ids_in_svg, kormal_deck_on
from test_tabplot import table71_text

_ROWS = TABLE81.split("\r\n")[5:8]


@pytest.mark.parametrize("text, message", [
    (TABLE81.replace("   501 ", "   5x1 "), "record 6, columns 35-40: not a number"),
    (TABLE81.replace("  .812", "   inf"), "record 7, columns 42-47: not a finite number"),
    (TABLE81.replace("     .450\r\n", "     .45\r\n"), "record 8: record cut short, columns 104-104 missing"),
    (TABLE81.replace("     .450\r\n", "     .450     1.000\r\n"), "record 8, columns 105-114: more fields"),
    (TABLE81.replace("jdofs", "jdof "), "record 5: expected the column heading"),
    (TABLE81.replace("2          lines", "3          lines", 1), "record 5: expected a blank line"),
    (TABLE81.replace("2          lines", "9          lines", 1), "header of 12 records announced, 8 in the file"),
    (crlf(TABLE81.split("\r\n")[:5] + [_ROWS[1], _ROWS[0], _ROWS[2]]), "record 6: rank 2 where rank 1 belongs"),
    (TABLE81.replace(" 2146.980  2147.220", " 2147.220  2146.980"), "record 7: upper edge 2146.980 cm-1 not above"),
    (TABLE81.replace(" 2150.675  2151.045", " 2150.675  2155.045"), "the windows of rank 3 and 1 overlap"),
], ids=["integer", "infinite", "cut short", "overlong", "heading", "header count", "short header", "rank order",
        "reversed edges", "overlap"])
def test_table81_reader_refuses(tmp_path, text, message):
    (tmp_path / "table81").write_bytes(text.encode("latin-1"))
    with pytest.raises(lf.RecordLayoutError, match=message):
        lf.read_table81(tmp_path / "table81")


def test_table81_without_target_lines_has_no_rows(tmp_path):
    (tmp_path / "table81").write_bytes(crlf(TABLE81.split("\r\n")[:5]).encode())
    assert len(lf.read_table81(tmp_path / "table81")) == 0
    assert tabplot.main(["choice", str(tmp_path / "table81")]) == 1


def _kormal_log81(path):
    """kormal's record of a run on the table81 at `path` that skipped its third
    window: each window by label, centre and width, as kormal rates it."""
    data = path.read_bytes()
    rows = lf.read_table81(path)
    lines = [" table81 table81", f" bytes {len(data)} crc32 {zlib.crc32(data):08x} windows {len(rows)}"]
    for w in rows:
        row = f"{w['label']:<8} {(w['lower'] + w['upper']) / 2:7.2f} {w['upper'] - w['lower']:6.2f}".replace(" 0.", "  .")
        lines.append(f" window{w['rank']:5d} {row:<23} {SKIPPED if w['rank'] == 3 else 'rated'}")
    return crlf(lines)


def _run81(directory):
    """The hand-made study with TABLE81 beside table76 and kormal's files of a run
    on table81: its windows 1 and 2 are table76's 3 and 1, so microwin and
    output.dat list table76's in the other order."""
    second = OUTPUT_DAT.index("\r\n" + "*" * 46, 5)
    first, other = MICROWIN.split("\r\n")[1:3]
    run = hand_made(directory, microwin=crlf([MICROWIN.split("\r\n")[0], other, first]),
                    **{"output.dat": OUTPUT_DAT[second:] + OUTPUT_DAT[:second]})
    (run / "table81").write_bytes(TABLE81.encode("latin-1"))
    (run / "kormal.log").write_bytes(_kormal_log81(run / "table81").encode("latin-1"))
    return run


# table76's windows 3, 1, 2 are table81's 1, 2, 3
BANDS_CTL81 = re.sub(r"band\.([123])([.:])", lambda m: f"band.{'231'[int(m[1]) - 1]}{m[2]}",
                     BANDS_CTL.replace("3 microwindows", "3 recommended microwindows (table81)"))


def test_plan_from_table81(tmp_path, capsys):
    run = _run81(tmp_path / "run")
    assert plan.main([str(run)]) == 0
    p = json.loads((run / "plan.json").read_text())
    assert p["windows_from"] == "table81"
    w1, w2, w3 = p["windows"]
    assert w1 == {"index": 1, "rank": 1, "label": "co", "lower": 2155.0, "upper": 2156.0, "nu_start": 2155.0,
                  "nu_stop": 2156.0, "points": 501, "dofs": 1.234, "joint_dofs": 1.234,
                  "column_error_percent": {"total": 99999.999, "noise": 0.3, "smoothing": 99999.999,
                                           "interference": 0.2, "temperature": 0.5},
                  "reported_by_kormal": True, "kormal_outcome": "rated", "target_contribution": 1.25,
                  "interferers": [{"gas": "solar", "measure": 0.8}, {"gas": "o3", "measure": 0.6}],
                  "gasb": ["CO", "O3"], "gasb_left_out": ["solar"]}
    assert (w2["gasb"], w2["joint_dofs"], w3["reported_by_kormal"], w3["kormal_outcome"]) == (
        ["CO", "H2O", "N2O"], 1.901, False, SKIPPED)
    assert p["joint"] == {"dofs": 2.05, "points": 808, "nu_start": 2146.98, "nu_stop": 2156.0,
                          "column_error_percent": {"total": 0.55, "noise": 0.09, "smoothing": 0.19,
                                                   "interference": 0.2, "temperature": 0.45}}
    # band N is rank N: table76's windows 3, 1, 2 with all they carry
    ctl = (run / "bands.ctl").read_text().splitlines()
    expected = BANDS_CTL81.splitlines()
    assert ctl[:2] == expected[:2] and sorted(ctl) == sorted(expected)
    out = capsys.readouterr().out.splitlines()
    assert "3 windows from table81," in out[0]
    assert out[2].split() == ["1", "co", "2155.000", "2156.000", "501", "1.234", "1.234", ">=100000", "CO", "O3"]
    assert out[3].split() == ["2", "co", "2146.980", "2147.220", "121", "0.812", "1.901", "0.600", "CO", "H2O", "N2O"]
    assert out[5] == "Joint degrees of freedom of all 3 windows: 2.050 (808 points), total column error 0.550 %"


@pytest.mark.parametrize("setup, args, status, message", [
    # kormal rated table76, the study wrote a table81: the default is table81
    ("table76 rated", [], 1, "kormal.log: kormal rated a table76, the windows come from table81: run kormal on "
                             "table81 (input-kormal line 2) or pass --windows table76"),
    ("table81 rated", ["--windows", "table76"], 1, "kormal rated a table81, the windows come from table76: run "
                                                   "kormal on table76 (input-kormal line 2) or pass --windows table81"),
    ("no table81", ["--windows", "table81"], 1, "table81 does not exist"),
    ("table81 rated", ["--windows", "table81"], 0, None),
    ("table76 rated", ["--windows", "table76"], 0, None),
])
def test_plan_window_table_choice(tmp_path, capsys, setup, args, status, message):
    run = _run81(tmp_path / "run") if setup == "table81 rated" else hand_made(tmp_path / "run")
    if setup == "table76 rated":
        (run / "table81").write_bytes(TABLE81.encode("latin-1"))
    assert plan.main([str(run)] + args) == status
    captured = capsys.readouterr()
    if message is not None:
        assert message in captured.err and captured.err.count("\n") == 1, captured.err
        assert not (run / "bands.ctl").exists()
        return
    kind = args[1]
    assert json.loads((run / "plan.json").read_text())["windows_from"] == kind
    assert f"3 windows from {kind}," in captured.out.splitlines()[0]
    if kind == "table76":
        assert (run / "bands.ctl").read_text() == BANDS_CTL


def test_plan_refuses_a_microwin_of_other_windows_than_table81(tmp_path, capsys):
    run = _run81(tmp_path / "run")
    (run / "table81").write_bytes(TABLE81.replace(" 2155.000  2156.000", " 2155.000  2155.900").encode())
    (run / "kormal.log").write_bytes(_kormal_log81(run / "table81").encode())
    assert plan.main([str(run)]) == 1
    err = capsys.readouterr().err
    assert "microwin lists the window co 2155.50 1.00 where table81 has co 2155.45 0.90" in err, err


def test_choice_picture_and_recommended_windows_on_the_spectrum(tmp_path):
    (tmp_path / "table81").write_bytes(TABLE81.encode("latin-1"))
    (tmp_path / "table76").write_bytes(TABLE76.encode("latin-1"))
    (tmp_path / "table71").write_text(table71_text(), newline="")
    assert tabplot.main(["choice", str(tmp_path / "table81"), "-o", str(tmp_path / "choice")]) == 0
    assert ids_in_svg(tmp_path / "choice.svg", "choice-") == sorted(
        ["choice-jdofs", "choice-total", "choice-noise", "choice-dofs-1", "choice-dofs-2", "choice-dofs-3",
         "choice-smoothing", "choice-interference", "choice-temperature"], key=lambda s: (len(s), s))
    assert (tmp_path / "choice.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    assert tabplot.main(["spectrum", str(tmp_path / "table71"), "--windows", str(tmp_path / "table76"),
                         "--recommended", str(tmp_path / "table81"), "-o", str(tmp_path / "both")]) == 0
    assert ids_in_svg(tmp_path / "both.svg", "window-") == ["window-1", "window-2", "window-3"]
    assert ids_in_svg(tmp_path / "both.svg", "recommended-") == ["recommended-1", "recommended-2", "recommended-3"]
    assert "recommended windows of table81" in (tmp_path / "both.svg").read_text()


def test_plan_and_pictures_of_the_example_run_from_table81(example_run):
    assert example_run.tesk(deck(line43="n")).returncode == 0
    if not (example_run.dir / "table81").exists():
        pytest.skip("this tesk writes no table81 (no recommended windows built in)")
    result = example_run.kormal(kormal_deck_on("table81"))
    assert result.returncode == 0, result.stdout + result.stderr
    assert plan.main([str(example_run.dir)]) == 0
    table81 = lf.read_table81(example_run.dir / "table81")
    p = json.loads((example_run.dir / "plan.json").read_text())
    assert p["windows_from"] == "table81" and len(p["windows"]) == len(table81) > 0
    for w81, w in zip(table81, p["windows"]):
        assert (w["rank"], w["nu_start"], w["nu_stop"], w["joint_dofs"]) == (
            w81["rank"], round(w81["lower"], 6), round(w81["upper"], 6), w81["joint_dofs"])
    assert p["joint"]["column_error_percent"]["total"] == table81["total"][-1]
    directory = str(example_run.dir)
    assert tabplot.main(["choice", directory + "/table81"]) == 0
    assert tabplot.main(["spectrum", directory + "/table71", "--recommended", directory + "/table81"]) == 0
    assert len(ids_in_svg(example_run.dir / "table71.svg", "recommended-")) == len(table81)
