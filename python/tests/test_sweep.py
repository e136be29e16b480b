"""The deck writer against tesk's own checks, and the sweep workflow on the
example's data: summary.csv against the runs' tables, a second invocation,
a changed value, a run that stops, and the Slurm executor's dry run."""

import csv
import os
import re
import shutil
import subprocess

import pytest

import linefinding as lf
from conftest import REPOSITORY, ExampleRun, binary
from linefinding.deck import DeckError, read_answers, set_answers

BASE_VORNE = (REPOSITORY / "examples" / "co_window" / "input-vorne").read_text()
BASE_KORMAL = (REPOSITORY / "examples" / "co_window" / "input-kormal").read_text()


def test_deck_writer_sets_answers_in_both_decks_and_keeps_comments():
    vorne, kormal = set_answers(BASE_VORNE, BASE_KORMAL, {
        "gas": "n2o", "angle": 70, "atmosphere": "t", "record_length": 102, "grid": 0.005,
        "layers_removed": 2, "gas_threshold": 2.5, "line_list": "lines.par"})
    v, k = vorne.splitlines(), kormal.splitlines()
    assert v[18] == "n2o        target gas"
    assert v[25] == "g70             g ground-based with zenith angle, s limb with tangent altitude"
    assert v[5] == "hitran 102 database type and record length" and k[4].startswith("hitran 102 ")
    assert v[14].startswith("t ") and k[6].startswith("t ")
    assert v[1] == "lines.par" and k[0] == "lines.par  line list"
    assert k[7].startswith("2 ") and k[11].startswith("2.5 ")  # station altitude, gas threshold
    assert [a == b for a, b in zip(v, BASE_VORNE.splitlines())].count(False) == 7
    answers = read_answers(vorne, kormal)
    assert (answers["gas"], answers["angle"], answers["geometry"]) == ("n2o", "70", "g")


# answers, tesk's last console line up to the line it found (None: refused
# before tesk could tell, or by tesk only while it computes)
REFUSED = [
    ({"grid": 1e-5}, " Wrong answer in line 28 of input-vorne: the grid spacing must be at least 0.00049 cm-1 "
                     "to keep the wavenumbers apart"),
    ({"grid": -0.002}, " Wrong answer in line 28 of input-vorne: the grid spacing must be above 0"),
    ({"margin": -1}, " Wrong answer in line 29 of input-vorne: the margin must be 0 or more"),
    ({"start": "1e39"}, " Wrong answer in line 17 of input-vorne: the answer must be a finite number"),
    ({"record_length": 0}, " Wrong answer in line 6 of input-vorne: the record length must be above 0"),
    ({"factor": 1}, " Target factor must differ from 1 for line finding"),
    ({"atmosphere": "x"}, " model/vmr choice must be t,m, or p"),
    ({"geometry": "z"}, "wrong airpath geometry (g, s)"),
    ({"gas": "CO"}, "Wrong naming (eg. ch2o -> h2co or h20 -> h2o)"),
    ({"window_centre": 0.5}, " starting microwindow smaller than interval around center"),
    ({"isotope": 1.5}, None),
    ({"noise": 0}, None),
    ({"gass": "co"}, None),
]


def test_deck_writer_refuses_what_tesk_refuses(example_run):
    for answers, message in REFUSED:
        with pytest.raises(DeckError) as refused:
            set_answers(BASE_VORNE, BASE_KORMAL, answers)
        name = next(iter(answers))
        assert f"answer {name!r}" in str(refused.value) or f"answer {name} = " in str(refused.value)
        if message is None:
            continue
        # The same deck, written unchecked, is refused by tesk with the message.
        vorne, _ = set_answers(BASE_VORNE, BASE_KORMAL, answers, check=False)
        result = example_run.tesk(vorne)
        assert result.returncode == 1, (answers, result.stdout)
        assert result.stdout.splitlines()[-1].startswith(message), answers
        why = message.partition("input-vorne: ")[2]
        assert why in str(refused.value), (refused.value, why)


# ---------------------------------------------------------------- the workflow

needs_snakemake = pytest.mark.skipif(shutil.which("snakemake") is None,
                                     reason="snakemake not installed (scripts/setup.sh installs Debian's)")
SNAKEFILE = REPOSITORY / "workflow" / "Snakefile"

SWEEP = """\
output: out
decks: {{tesk: {vorne}, kormal: {kormal}}}
line_list: data/lines.hit
data: [data/midlat.mod, data/midlat.vmr, data/solar.dat]
answers: {{start: 2150, end: 2153, grid: 0.01, max_opd: 20, temperature_limit: 10}}
sweep:
{sweep}
"""


def snakemake(directory, config, *options):
    env = dict(os.environ, LF_TESK_BIN=str(binary("tesk")), LF_KORMAL_BIN=str(binary("kormal")))
    return subprocess.run(["snakemake", "-s", str(SNAKEFILE), "-d", str(directory), "--configfile", str(config),
                           *options], capture_output=True, text=True, env=env, timeout=300)


def sweep_dir(tmp_path, sweep):
    (tmp_path / "data").mkdir()
    ExampleRun(tmp_path / "data")
    config = tmp_path / "sweep.yaml"
    config.write_text(SWEEP.format(vorne=REPOSITORY / "examples/co_window/input-vorne",
                                   kormal=REPOSITORY / "examples/co_window/input-kormal", sweep=sweep))
    return config


def jobs(output, rule):
    """The runs of the jobs of `rule` in snakemake's printed plan."""
    return sorted(re.findall(rf"rule {rule}:\n(?:    .*\n)*?    wildcards: run=(\S+)", output))


def read_summary(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f))


def table79_rows(path):
    """table79 read by its columns: label, centre, width, points, dofs, zlow, zhigh."""
    rows = []
    for line in path.read_text().splitlines()[1:]:
        rows.append([line[0:8].strip(), line[9:16].strip(), line[17:23].strip(), line[24:30].strip(),
                     line[31:37].strip(), line[38:43].strip(), line[44:49].strip()])
    return rows


@needs_snakemake
def test_sweep_gives_the_runs_tables_and_reruns_only_what_changed(tmp_path):
    config = sweep_dir(tmp_path, "  gas: [co, n2o]\n  angle: [30, 70]")
    first = snakemake(tmp_path, config, "--cores", "2")
    assert first.returncode == 0, first.stderr[-3000:]
    runs = ["gas-co_angle-30", "gas-co_angle-70", "gas-n2o_angle-30", "gas-n2o_angle-70"]
    rows = read_summary(tmp_path / "out" / "summary.csv")
    assert sorted({r["run"] for r in rows}) == runs
    for run in runs:
        here = tmp_path / "out" / "runs" / run
        gas, angle = run[4:].split("_angle-")
        mine = [r for r in rows if r["run"] == run]
        assert all(r["status"] == "ok" and r["gas"] == gas and r["angle"] == angle for r in mine)
        t76, t79 = lf.read_table76(here / "table76"), table79_rows(here / "table79")
        assert len(t76) > 0 and len(mine) == len(t76) + 1 == len(t79), run
        microwin = {(m["label"], m["centre"]): [g for g in m["interferers"] if g and g != "solar"]
                    for m in lf.read_microwin(here / "microwin")}
        for i, (row, w76, w79) in enumerate(zip(mine, t76, t79), 1):
            assert row["window"] == str(i) and row["label"] == w76["label"] == w79[0]
            assert float(row["centre"]) == w76["centre"] and float(row["width"]) == w76["width"]
            assert float(row["nu_start"]) == pytest.approx(w76["centre"] - w76["width"] / 2, abs=1e-9)
            assert (int(row["points"]), float(row["dofs"])) == pytest.approx((int(w79[3]), float(w79[4])), abs=5e-4)
            # no kernel area above 0.5 (0.0 and 0.0 in table79): no altitudes
            heights = [float(w79[5]), float(w79[6])]
            shown = [float(row["zlow"]), float(row["zhigh"])] if row["zlow"] else [0.0, 0.0]
            assert shown == heights, (run, i)
            listed = [g for g in row["interferers"].split() if g != "solar"]
            assert listed == microwin.get((w76["label"], w76["centre"]), [])
        joint = mine[-1]
        assert joint["window"] == "all" and t79[-1][0] == "all"
        assert (int(joint["points"]), float(joint["dofs"])) == pytest.approx((int(t79[-1][3]), float(t79[-1][4])),
                                                                              abs=5e-4)

    summary_time = (tmp_path / "out" / "summary.csv").stat().st_mtime_ns
    again = snakemake(tmp_path, config, "--cores", "2")
    assert again.returncode == 0 and "Nothing to be done" in again.stdout + again.stderr
    assert (tmp_path / "out" / "summary.csv").stat().st_mtime_ns == summary_time

    # A new angle adds two runs; a threshold of kormal redoes kormal, not tesk.
    changed = snakemake(tmp_path, config, "-n", "--config", "sweep={gas: [co, n2o], angle: [30, 60]}")
    assert jobs(changed.stdout, "tesk") == ["gas-co_angle-60", "gas-n2o_angle-60"], changed.stdout[-2000:]
    changed = snakemake(tmp_path, config, "-n", "--config", "answers={start: 2150, end: 2153, grid: 0.01, "
                        "max_opd: 20, temperature_limit: 10, gas_threshold: 2}")
    assert jobs(changed.stdout, "tesk") == [] and jobs(changed.stdout, "kormal") == runs


@needs_snakemake
def test_slurm_dry_run_lists_the_jobs_and_runs_none(tmp_path):
    config = sweep_dir(tmp_path, "  gas: [co, n2o]\n  angle: [30, 70]")
    dry = snakemake(tmp_path, config, "--profile", str(REPOSITORY / "workflow/profiles/slurm"), "-n")
    assert dry.returncode == 0, dry.stderr[-3000:]
    counts = dict(re.findall(r"^(\w+)\s+(\d+)\s+\d+\s+\d+$", dry.stdout, re.M))
    assert counts == {"all": "1", "check": "4", "kormal": "4", "kormal_deck": "4", "plan": "4",
                      "summary": "1", "tesk": "4", "vorne_deck": "4", "total": "26"}
    assert jobs(dry.stdout, "tesk") == ["gas-co_angle-30", "gas-co_angle-70", "gas-n2o_angle-30",
                                        "gas-n2o_angle-70"]
    assert not (tmp_path / "out").exists()


@needs_snakemake
def test_a_run_that_stops_is_marked_and_the_others_finish(tmp_path):
    # tesk takes 80 removed layers from its deck and stops when it builds the path.
    config = sweep_dir(tmp_path, "  layers_removed: [0, 80]")
    result = snakemake(tmp_path, config, "--cores", "2", "--keep-going")
    assert result.returncode != 0
    rows = {r["run"]: r for r in read_summary(tmp_path / "out" / "summary.csv")}
    assert rows["layers_removed-80"]["status"] == "tesk failed"
    assert rows["layers_removed-80"]["message"] == "Wrong number of layers to remove"
    assert rows["layers_removed-0"]["status"] == "ok" and rows["layers_removed-0"]["window"] == "all"
    check_log = (tmp_path / "out" / "logs" / "layers_removed-80" / "check.log").read_text()
    assert "tesk stopped with exit status 1: Wrong number of layers to remove" in check_log
    assert "Error in rule check" in result.stderr and "layers_removed-80/check.log" in result.stderr

    # A refused value stops the workflow before any job.
    config.write_text(config.read_text().replace("[0, 80]", "[0, 2.5x]"))
    refused = snakemake(tmp_path, config, "--cores", "2", "--forceall")
    assert refused.returncode == 1
    assert "run layers_removed-2.5x: answer layers_removed = '2.5x' (line 27 of input-vorne): " \
           "the answer must be a number" in refused.stderr
    assert not (tmp_path / "out" / "runs" / "layers_removed-2.5x").exists()
