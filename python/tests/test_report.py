"""The study page (report.html) and the sweep page (summary.html): whole,
strict HTML that holds every window and needs nothing outside itself, as a
real browser renders it; the sections a directory's files allow; the
sweep's rows and links."""

import hashlib
import html
import json
import os
import re
import shutil
import subprocess
import tempfile
from pathlib import Path

import html5lib
import numpy as np
import pytest
from matplotlib.image import imread

import linefinding as lf
from linefinding import plan, report, sweep, sweep_page
from linefinding.report_html import budget_bars
from linefinding.table79 import percent_text
from conftest import ExampleRun, deck
from test_plan import SKIPPED, echo, hand_made
from test_table81 import _run81

KORMAL_DECK = (Path(__file__).resolve().parents[2] / "examples" / "co_window" / "input-kormal").read_text()
CHROMIUM = Path("/usr/bin/chromium")
# How Chromium logs a page's console message (an error, an uncaught
# exception, a resource it could not load) with --enable-logging=stderr.
CONSOLE_LINE = re.compile(r":CONSOLE(?::\d+)?\]")


def strict_parse(text):
    html5lib.HTMLParser(strict=True).parse(text)  # raises on any parse error


@pytest.fixture(scope="module")
def example(tmp_path_factory):
    """The example study with its consoles kept, kormal's rating, the plan and
    the page; and a copy of the study from before kormal ran."""
    run = ExampleRun(tmp_path_factory.mktemp("example"))
    result = run.tesk(deck(line43="n"))
    assert result.returncode == 0, result.stdout + result.stderr
    (run.dir / "tesk.console").write_text(result.stdout)
    without = tmp_path_factory.mktemp("without_kormal")
    for path in run.dir.iterdir():
        shutil.copy(path, without)
    result = run.kormal(KORMAL_DECK)
    assert result.returncode == 0, result.stdout + result.stderr
    (run.dir / "kormal.console").write_text(result.stdout)
    assert plan.main([str(run.dir)]) == 0
    assert report.main([str(run.dir)]) == 0
    return run.dir, without


def test_example_page_is_whole_and_holds_every_window(example):
    directory = example[0]
    text = (directory / "report.html").read_text()
    strict_parse(text)
    table81, table76 = lf.read_table81(directory / "table81"), lf.read_table76(directory / "table76")
    assert len(table81) and len(table76)
    for w in table81:
        assert f'<td class="n">{w["lower"]:.3f}</td><td class="n">{w["upper"]:.3f}</td>' in text
    for w in table76:
        assert f'<td class="n">{w["centre"]:.2f}</td><td class="n">{w["width"]:.2f}</td>' in text
    # Nothing from outside: links within the page, pictures inline.
    references = re.findall(r"""(?:src|href)\s*=\s*["']([^"']*)""", text, re.IGNORECASE)
    assert references and all(r.startswith(("#", "data:")) for r in references), set(references)
    assert not re.search(r"<script|<link|<iframe|<object|<embed|@import|url\((?!#)", text, re.IGNORECASE)
    assert text.count("<svg") == 4
    ids = re.findall(r'\bid="([^"]*)"', text)
    assert len(ids) == len(set(ids))  # the pictures' ids kept apart
    assert html.escape((directory / "bands.ctl").read_text()) in text
    version = next(line.strip() for line in (directory / "tesk.console").read_text().splitlines() if "Version" in line)
    assert f"tesk: {version}" in text
    assert hashlib.sha256((directory / "lines.hit").read_bytes()).hexdigest() in text
    assert text.count('<td>rated</td>') == len(table81)


@pytest.mark.parametrize("parts, total, widths", [
    # sources in quadrature: 3 and 4 make 5; half the scale of 10 is 6 rem, split 9:16
    ({"noise": 3.0, "smoothing": 4.0}, 5.0, [2.16, 3.84]),
    ({"noise": 1.0, "temperature": float("nan"), "interference": None}, 1.0, [1.20]),
    ({"noise": 300.0}, 300.0, [12.00]),  # beyond the scale: the whole bar
])
def test_budget_bar_is_the_total_split_by_shares_of_its_square(parts, total, widths):
    bar = budget_bars(parts, total, scale=10.0, width_rem=12.0)
    assert [float(w) for w in re.findall(r"width:([0-9.]+)rem", bar)] == widths


def chromium(page, screenshot):
    """Opens a page in headless Chromium, which writes a screenshot of its
    first screen; returns the console lines it logged."""
    with tempfile.TemporaryDirectory() as profile:
        result = subprocess.run(
            [str(CHROMIUM), "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             f"--user-data-dir={profile}", f"--screenshot={screenshot}", "--window-size=1280,800",
             "--enable-logging=stderr", "--v=0", page.as_uri()],
            capture_output=True, text=True, timeout=60, stdin=subprocess.DEVNULL)
    assert result.returncode == 0, result.stderr[-2000:]
    return [line for line in result.stderr.splitlines() if CONSOLE_LINE.search(line)]


@pytest.mark.skipif(not CHROMIUM.is_file(), reason=f"no {CHROMIUM}: scripts/setup.sh installs Debian's chromium")
def test_a_browser_renders_the_page_without_console_errors(example, tmp_path):
    broken = tmp_path / "broken.html"
    broken.write_text("<!DOCTYPE html><title>broken</title><script>no_such_function()</script>")
    assert chromium(broken, tmp_path / "broken.png"), "the console lines are not where this test looks for them"
    artefacts = Path(os.environ.get("LF_TEST_ARTEFACTS") or tmp_path)
    artefacts.mkdir(parents=True, exist_ok=True)
    screenshot = artefacts / "report.png"
    assert chromium(example[0] / "report.html", screenshot) == []
    pixels = imread(screenshot)
    assert pixels.shape[:2] == (800, 1280)
    colours = np.unique(pixels.reshape(-1, pixels.shape[-1]), axis=0)
    assert len(colours) > 20 and pixels.std() > 0.05  # text and lines, not a blank screen


def _spectra_only(tmp_path, example):
    run = ExampleRun(tmp_path)
    assert run.tesk(deck(line9="s", line17="2140.", line18="2145.", line43="n")).returncode == 0
    return tmp_path


def _deck_alone(tmp_path, example):
    shutil.copy(example[1] / "input-vorne", tmp_path)
    return tmp_path


# what the directory holds, exit status, the pictures, the lines of sections left out
CASES = {
    "spectra only": (_spectra_only, 0, ["spectrum"],
                     ["No recommended windows: no table81: a study of spectra writes none.",
                      "No averaging kernels: no table80: a study of spectra writes none.",
                      "kormal has not run here: no kormal.log."]),
    "without kormal": (lambda tmp_path, example: example[1], 0, ["spectrum", "choice", "kernels", "dofs"],
                       ["kormal has not run here: no kormal.log.", "No bands.ctl: python3 -m linefinding.plan"]),
    "empty": (lambda tmp_path, example: tmp_path, 1, None, "no input-vorne"),
    "a deck alone": (_deck_alone, 1, None, "input-vorne but none of tesk's tables (table70 ... table81)"),
}


@pytest.mark.parametrize("case", CASES)
def test_what_a_directory_holds_decides_the_page(example, tmp_path, capsys, case):
    make, status, pictures, notes = CASES[case]
    directory = make(tmp_path, example)
    capsys.readouterr()
    assert report.main([str(directory)]) == status
    if status:
        assert capsys.readouterr().err == f"report: {directory} holds no study: {notes}\n"
        assert not (directory / "report.html").exists()
        return
    text = (directory / "report.html").read_text()
    strict_parse(text)
    assert re.findall(r'<figure id="(\w+)"', text) == pictures
    for note in notes:
        assert f'<p class="note">{html.escape(note)}' in text


def cells(text, section):
    """The rows of a section's table, each a list of its cells' text."""
    body = text[text.index(f'<section id="{section}">'):]
    body = body[:body.index("</section>")]
    return [[re.sub(r"<[^>]*>", "", c) for c in re.findall(r"<td[^>]*>(.*?)</td>", row)]
            for row in re.findall(r"<tr><td.*?</tr>", body)]


def test_hand_made_study_warnings_kormal_rating_and_console(tmp_path):
    (tmp_path / "runs").mkdir()
    run = _run81(tmp_path / "runs" / "run")  # a run of a sweep: its consoles in logs/run
    (run / "input-vorne").write_text(deck(line31="0.00125"))
    (tmp_path / "logs" / "run").mkdir(parents=True)
    (tmp_path / "logs" / "run" / "tesk.log").write_text(" Title\n\n         Version 7, test \n")
    assert report.main([str(run)]) == 0
    text = (run / "report.html").read_text()
    section = text[text.index('<section id="warnings">'):text.index('<section id="provenance">')]
    warnings = re.findall(r"<li>(.*?)</li>", section)
    assert warnings == [html.escape(w) for w in [
        "table79: window co 2150.86 cm-1 (width 0.37): matrices singular, no degrees of freedom or column error",
        "table79: window co 2155.50 cm-1 (width 1.00): column error of 100000 % or more",
        "table81: windows 1 to 1: column error of 100000 % or more",
        f"kormal.log: window 3 (co 2150.86 .37) {SKIPPED}"]]
    # table81's windows 1 and 2 are microwin's and output.dat's 2 and 1 (see _run81)
    assert cells(text, "interference") == [
        ["1", "co 2155.50 1.00", "rated", "1.250", "solar 0.800, o3 0.600 (rel.-trans)"],
        ["2", "co 2147.10 .24", "rated", "20.000", "h2o 3.500, n2o 1.250 (rel.-trans)"],
        ["3", "co 2150.86 .37", SKIPPED, "", ""]]
    assert "<li>tesk: Version 7, test (its console)</li>" in text
    assert "<li>kormal: not recorded here" in text


_PLAN = "\r\n".join([" input-plan", "apriori = percent", "apriori_percent = 20", "correlation_length = 4",
                     "correlation_shape = gaussian", "interferer_error = 5", "temperature_error = 1"]) + "\r\n"


@pytest.mark.parametrize("answers, plan_lines, term, words", [
    ({"line26": "s25."}, None, "Geometry", "limb, tangent height 25 km"),
    ({"line30": "0."}, None, "Instrument",
     "no instrument line shape: the spectra are not convolved (maximum path difference 0), a point field of view"),
    ({"line12": "r", "line13": "b"}, None, "Spectrum", "radiance as brightness temperature"),
    ({}, _PLAN, "A-priori", "20 % of the target's profile in each layer; gaussian correlation over 4 km; other "
     "gases' columns 5 %, temperature 1 K uncertain (settings from input-plan)"),
], ids=["limb", "no instrument", "brightness temperature", "a-priori in percent"])
def test_what_was_studied_in_words(tmp_path, answers, plan_lines, term, words):
    (tmp_path / "input-vorne").write_text(deck(**answers))
    (tmp_path / "output").write_bytes((echo(**answers) + (plan_lines or "")).encode())
    (tmp_path / "table70").write_text("")
    assert report.main([str(tmp_path)]) == 0
    said = dict(re.findall(r"<dt>(.*?)</dt><dd>(.*?)</dd>", (tmp_path / "report.html").read_text()))
    assert said[term] == html.escape(words)


def test_sweep_page_has_a_row_and_a_link_per_run(tmp_path):
    good, bad = tmp_path / "runs" / "angle-30", tmp_path / "runs" / "angle-70"
    good.parent.mkdir()
    hand_made(good)
    assert plan.main([str(good)]) == 0
    (good / "report.html").write_text("<!DOCTYPE html><title>run</title>")
    bad.mkdir()
    for step in ("tesk", "kormal", "plan"):
        (good / f"{step}.status").write_text(json.dumps({"ok": True, "step": step, "message": ""}))
    (bad / "tesk.status").write_text(json.dumps({"ok": False, "step": "tesk", "message": "deck line 26: <angle> refused"}))
    for run, angle in ((good, 30), (bad, 70)):
        (run / "answers.json").write_text(json.dumps({"angle": angle}))
    sweep.write_summary(tmp_path / "summary.csv", [good, bad])
    assert sweep_page.main([str(tmp_path / "summary.csv")]) == 0
    text = (tmp_path / "summary.html").read_text()
    strict_parse(text)
    rows = re.findall(r"<tr><td>(.*?)</tr>", text)
    planned = json.loads((good / "plan.json").read_text())
    joint = planned["joint"]
    windows = "<br>".join(f"co {w['nu_start']}-{w['nu_stop']}" for w in planned["windows"])
    assert rows == [
        f'<a href="runs/angle-30/report.html">angle-30</a></td><td>30</td><td>ok</td><td>{windows}</td>'
        f'<td class="n">{joint["dofs"]:.3f}</td><td>{html.escape(percent_text(joint["column_error_percent"]["total"]))}'
        " (table79)</td>",
        'angle-70 (no report.html)</td><td>70</td><td><span class="failed">tesk failed: deck line 26: &lt;angle&gt; '
        'refused</span></td><td></td><td class="n"></td><td></td>']
    assert re.findall(r"""(?:src|href)="(?!#|data:)([^"]*)""", text) == ["runs/angle-30/report.html"]
    assert '<figure id="sweep">' in text
