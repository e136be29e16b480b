"""The deck writer checked by the programs' --check-deck, and the sweep workflow on the
example's data: summary.csv against the runs' tables, a second invocation,
a changed value, a run that stops, runs whose jobs are ended from outside,
and the Slurm executor's dry run with the profile's examples."""

import csv
import hashlib
import json
import os
import re
import shutil
import subprocess

import pytest

import linefinding as lf
from conftest import REPOSITORY, ExampleRun, binary
from linefinding.deck import DeckError, read_answers, set_answers
from linefinding import sweep
from linefinding.sweep import RUN_DIRECTORY_ANSWERS, SweepError, expand_runs

BASE_VORNE = (REPOSITORY / "examples" / "co_window" / "input-vorne").read_text()
BASE_KORMAL = (REPOSITORY / "examples" / "co_window" / "input-kormal").read_text()


@pytest.fixture
def programs():
    """The built programs that check the decks (the test is skipped without them)."""
    return {"tesk": str(binary("tesk")), "kormal": str(binary("kormal"))}


def test_deck_writer_sets_answers_in_both_decks_and_keeps_comments(programs):
    vorne, kormal = set_answers(BASE_VORNE, BASE_KORMAL, {
        "gas": "n2o", "angle": 70, "atmosphere": "t", "record_length": 102, "grid": 0.005,
        "layers_removed": 2, "gas_threshold": 2.5, "line_list": "lines.par"}, programs=programs)
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


# answers, the refusing program and its exit status; the DeckError carries the
# program's own last console line, which a run of the same deck ends with.
REFUSED = [
    ({"grid": 1e-5}, "tesk", 1),
    ({"grid": -0.002}, "tesk", 1),
    ({"margin": -1}, "tesk", 1),
    ({"start": "1e39"}, "tesk", 1),
    ({"record_length": 0}, "tesk", 1),
    ({"factor": 1}, "tesk", 1),
    ({"atmosphere": "x"}, "tesk", 1),
    ({"geometry": "z"}, "tesk", 1),
    ({"gas": "CO"}, "tesk", 1),
    ({"window_centre": 0.5}, "tesk", 1),
    ({"end": 2140}, "tesk", 1),          # an empty range, met where the run meets it
    ({"grid": 0.0001}, "tesk", 1),       # 400000 points: too many intervals
    ({"isotope": 1.5}, "tesk", 2),       # not an integer: the record layer's report
    ({"line_list": "p" * 100}, "tesk", 1),
    ({"solar": "x"}, "tesk", 1),         # tesk, whose deck is checked first
    ({"interferer_sort": "x"}, "kormal", 1),
    ({"gas_limit": "x"}, "kormal", 2),
]


@pytest.mark.parametrize("answers, program, status", REFUSED)
def test_deck_writer_refuses_with_the_programs_message(example_run, programs, answers, program, status):
    with pytest.raises(DeckError) as refused:
        set_answers(BASE_VORNE, BASE_KORMAL, answers, programs=programs)
    # The same decks, written unchecked, are refused by a run with that message.
    vorne, kormal = set_answers(BASE_VORNE, BASE_KORMAL, answers, check=False)
    result = example_run.tesk(vorne) if program == "tesk" else example_run.kormal(kormal)
    assert result.returncode == status, (answers, result.stdout[-500:])
    message = result.stdout.splitlines()[-1].strip()
    assert str(refused.value).endswith(f"{program} refuses it: {message}"), refused.value
    if re.search(r"(line|record) \d+ of input-", message):  # the report names the answer's line
        name = next(iter(answers))
        assert str(refused.value).startswith(f"answer {name} = "), refused.value


def test_deck_writer_refuses_what_it_cannot_write(programs):
    for answers in ({"gass": "co"}, {"gas": "c o"}, {"angle": "1" * 15}, {"start": "1,2"}):
        with pytest.raises(DeckError, match="answer") as refused:
            set_answers(BASE_VORNE, BASE_KORMAL, answers, programs=programs)
        assert "refuses it" not in str(refused.value), answers
    # Two base decks that disagree on an answer both hold.
    other = BASE_KORMAL.replace("hitran 101", "hitran 102", 1)
    with pytest.raises(DeckError, match="both decks must agree"):
        set_answers(BASE_VORNE, other, {}, programs=programs)
    with pytest.raises(DeckError, match="no executable tesk"):
        set_answers(BASE_VORNE, BASE_KORMAL, {}, programs={"tesk": "/nonexistent/tesk", "kormal": programs["kormal"]})


def test_sweep_runs_work_in_their_own_directory_and_are_checked_by_the_programs(programs):
    config = {"answers": {"grid": 0.01, "plot": "y"}, "sweep": {"gas": ["co", "n2o"], "input_path": ["data/"]}}
    runs = expand_runs(config, BASE_VORNE, BASE_KORMAL, programs=programs)
    assert sorted(runs) == ["gas-co_input_path-data~", "gas-n2o_input_path-data~"]
    for name, run in runs.items():
        answers = read_answers(run["vorne"], run["kormal"])
        # The run directory's answers win over the base decks and the sweep file.
        assert {k: answers[k] for k in RUN_DIRECTORY_ANSWERS} == RUN_DIRECTORY_ANSWERS, name
        k = run["kormal"].splitlines()
        assert k[1].split()[0] == "table76" and k[2][:1] == k[3][:1] == " " and k[13][0] == k[14][0] == "n"
        v = run["vorne"].splitlines()
        assert v[2][:1] == v[3][:1] == " " and v[42][0] == "n" and v[18].split()[0] == run["answers"]["gas"]
    with pytest.raises(SweepError, match=r"^run gas-CO: input-vorne: tesk refuses it: Wrong naming "):
        expand_runs({"sweep": {"gas": ["CO"]}}, BASE_VORNE, BASE_KORMAL, programs=programs)


# A sweep file that is fine, and what replaces or adds to it: each refused
# with one line, before a deck is written or a program run.
DROP = object()  # the key is left out
GOOD = {"output": "out", "decks": {"tesk": "v", "kormal": "k"}, "data": ["d"],
        "answers": {"grid": 0.01}, "sweep": {"gas": ["co"]}}
SWEEP_REFUSALS = [
    ({"sweeps": {"gas": ["co"]}}, "unknown key 'sweeps' (did you mean 'sweep'?)"),
    ({"answer": {"gas": "co"}}, "unknown key 'answer' (did you mean 'answers'?)"),
    ({"sweep": {}}, "'sweep' is empty"),
    ({"sweep": DROP, "cases": []}, "'cases' is empty"),
    ({"output": ""}, "'output' is empty"),
    ({"output": "//"}, "output '//' is the file-system root"),
    ({"output": 2024}, "'output' must be a folder"),
    ({"threads": "2"}, "'threads' must be the threads of each tesk run, a whole number of at least 1, not '2'"),
    ({"data": "d"}, "'data' must be a list of files or folders"),
    ({"decks": {"tesk": "v", "kormal": 5}}, "decks: kormal must be a file name, not 5"),
    ({"answers": {"gas": None}}, "answers: answer gas needs a single value (a number or a word), not no value"),
    ({"sweep": {"gas": "co"}}, "sweep axis 'gas': a non-empty list of values is needed, not 'co'"),
    ({"sweep": {"gas": [["co"]]}}, "sweep axis 'gas': each value must be a single value or a group"),
    ({"sweep": {"t": [{"name": "co", "gas": ["co"]}]}}, "sweep axis 't': answer gas needs a single value"),
]


@pytest.mark.parametrize("change, message", SWEEP_REFUSALS, ids=[m for _, m in SWEEP_REFUSALS])
def test_sweep_file_refusals(change, message):
    config = {k: v for k, v in {**GOOD, **change}.items() if v is not DROP}
    with pytest.raises(SweepError) as refused:
        expand_runs(config, BASE_VORNE, BASE_KORMAL, programs={})
    assert message in str(refused.value) and "\n" not in str(refused.value)


@pytest.mark.parametrize("entries, message", [
    (["a/answers.json"], "data: a/answers.json, the name of a file every run directory has of its own "
                         "(an earlier run's folder?); move it out of the data"),
    (["b", "c"], "data: c holds midlat.mod, and {d}/b/midlat.mod has the same name: a run can link only one"),
    (["b", "d"], "data: no file or folder d"),
])
def test_data_files_that_a_run_would_take_for_another(tmp_path, monkeypatch, entries, message):
    monkeypatch.chdir(tmp_path)
    for name in ("a/answers.json", "b/midlat.mod", "c/midlat.mod"):
        (tmp_path / name).parent.mkdir(exist_ok=True)
        (tmp_path / name).write_text("")
    with pytest.raises(SweepError, match="^" + re.escape(message.format(d=tmp_path.resolve())) + "$"):
        sweep.data_files({"data": entries})


def test_run_names_too_long_for_a_directory_end_in_a_stable_hash(programs):
    long = ["x" * 30 + "a", "x" * 30 + "b"]  # alike up to where they are cut
    config = {"sweep": {"target": [{"name": n, "gas": g} for n, g in zip(long + ["short"], ("co", "n2o", "co"))]}}
    runs = expand_runs(config, BASE_VORNE, BASE_KORMAL, programs=programs, name_max=30)
    names = list(runs)
    assert names[2] == "target-short" and "full_name" not in runs["target-short"]
    for name, full in zip(names[:2], long):
        assert re.fullmatch(r"target-x{6}~[0-9a-f]{16}", name) and runs[name]["full_name"] == f"target-{full}"
    assert names[0] != names[1]
    assert list(expand_runs(config, BASE_VORNE, BASE_KORMAL, programs=programs, name_max=30)) == names


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


def snakemake(directory, config, *options, **variables):
    env = dict(os.environ, LF_TESK_BIN=str(binary("tesk")), LF_KORMAL_BIN=str(binary("kormal")), **variables)
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
    """table79 read by its columns, after its column heading: label, centre,
    width, points, dofs, zlow, zhigh."""
    rows = []
    lines = path.read_text().splitlines()
    heading = next(n for n, line in enumerate(lines) if line.startswith("name "))
    for line in lines[heading + 1:]:
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

    # Each run's page, and the sweep's page linking to every one of them.
    page = (tmp_path / "out" / "summary.html").read_text()
    for run in runs:
        assert (tmp_path / "out" / "runs" / run / "report.html").is_file()
        assert f'href="runs/{run}/report.html"' in page

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
    # The profile with its commented examples taken in: they must parse, and
    # reach the jobs they are meant for.
    profile = tmp_path / "profile"
    profile.mkdir()
    text = (REPOSITORY / "workflow/profiles/slurm/config.yaml").read_text()
    (profile / "config.yaml").write_text(re.sub(r"^( *)# (- |set-resources:|  - )", r"\1\2", text, flags=re.M))
    config = sweep_dir(tmp_path, "  gas: [co, n2o]\n  angle: [30, 70]")
    dry = snakemake(tmp_path, config, "--profile", str(profile), "-n")
    assert dry.returncode == 0, dry.stderr[-3000:]
    resources = dict(re.findall(r"rule (\w+):\n(?:    .*\n)*?    resources: (.*)", dry.stdout))
    assert "runtime=720" in resources["tesk"] and "mem_mb=8000" in resources["tesk"], resources
    assert "runtime=120" in resources["kormal"] and "mem_mb=2000" in resources["kormal"], resources
    assert "slurm_partition=compute" in resources["plan"] and "slurm_account=my_project" in resources["plan"]
    counts = dict(re.findall(r"^(\w+)\s+(\d+)\s+\d+\s+\d+$", dry.stdout, re.M))
    assert counts == {"all": "1", "check": "4", "kormal": "4", "kormal_deck": "4", "plan": "4", "report": "4",
                      "summary": "1", "summary_page": "1", "tesk": "4", "vorne_deck": "4", "total": "31"}
    assert jobs(dry.stdout, "tesk") == ["gas-co_angle-30", "gas-co_angle-70", "gas-n2o_angle-30",
                                        "gas-n2o_angle-70"]
    assert not (tmp_path / "out").exists()


@needs_snakemake
def test_a_run_that_stops_is_marked_and_the_others_finish(tmp_path):
    # The deck is good, but the tangent altitude lies above the atmosphere
    # file's levels: only the run can find that, when it builds the path.
    config = sweep_dir(tmp_path, "  path: [{name: ground, geometry: g, angle: 30}, {name: limb, geometry: s, angle: 150}]")
    result = snakemake(tmp_path, config, "--cores", "2", "--keep-going")
    assert result.returncode != 0
    rows = {r["run"]: r for r in read_summary(tmp_path / "out" / "summary.csv")}
    assert rows["path-limb"]["status"] == "tesk failed"
    assert rows["path-limb"]["message"] == "Tangent altitude above the model atmosphere"
    assert rows["path-ground"]["status"] == "ok" and rows["path-ground"]["window"] == "all"
    check_log = (tmp_path / "out" / "logs" / "path-limb" / "check.log").read_text()
    assert "tesk stopped with exit status 1: Tangent altitude above the model atmosphere" in check_log
    assert "Error in rule check" in result.stderr and "path-limb/check.log" in result.stderr

    # A value that a program refuses from the deck alone stops the workflow
    # before any job, with the program's message: an unreadable number, and
    # more layers removed than the model atmosphere has.
    # The answer is named where the program's message names its line.
    for value, message in (("2.5x", "answer layers_removed = '2.5x' (line 27 of input-vorne): tesk refuses it: "
                                    "Unreadable real number in record 27 of input-vorne, columns 1-4: found"),
                           ("80", "input-vorne: tesk refuses it: Wrong number of layers to remove")):
        config.write_text(SWEEP.format(vorne=REPOSITORY / "examples/co_window/input-vorne",
                                       kormal=REPOSITORY / "examples/co_window/input-kormal",
                                       sweep=f"  layers_removed: [0, {value}]"))
        refused = snakemake(tmp_path, config, "--cores", "2", "--forceall")
        assert refused.returncode == 1
        assert f"run layers_removed-{value}: {message}" in refused.stderr, refused.stderr[-2000:]
        assert not (tmp_path / "out" / "runs" / f"layers_removed-{value}").exists()


@needs_snakemake
def test_a_run_name_too_long_for_a_directory_is_shortened_and_said(tmp_path):
    config = sweep_dir(tmp_path, "  target: [{name: " + "x" * 300 + ", gas: co}]")
    dry = snakemake(tmp_path, config, "-n")
    assert dry.returncode == 0, dry.stderr[-2000:]
    name = "target-" + "x" * 231 + "~" + hashlib.sha256(("target-" + "x" * 300).encode()).hexdigest()[:16]
    assert jobs(dry.stdout, "tesk") == [name]
    assert f"sweep file: 1 run name is longer than a file name may be: shortened to its start and a hash of " \
           f"the whole name (e.g. {name}); summary.csv and each run's answers.json give the run's values\n" \
           in dry.stderr


@needs_snakemake
def test_a_data_folder_holding_a_deck_stops_the_sweep_before_any_job(tmp_path):
    # An earlier run's deck among the data would be linked over each run's own.
    config = sweep_dir(tmp_path, "  gas: [co, n2o]")
    (tmp_path / "data" / "input-vorne").write_text(BASE_VORNE)
    config.write_text(config.read_text().replace("data: [data/midlat.mod, data/midlat.vmr, data/solar.dat]",
                                                 "data: [data]"))
    refused = snakemake(tmp_path, config, "--cores", "2")
    assert refused.returncode == 1
    assert ("sweep file: data: data holds input-vorne, the name of a file every run directory has of its own "
            "(an earlier run's folder?); move it out of the data\n") in refused.stderr, refused.stderr[-2000:]
    assert not (tmp_path / "out").exists()


# Stands in for tesk; in the runs named in LF_END_RUNS it ends the way Slurm
# ends a job at its time limit: the step wrapper killed with the program.
ENDED_TESK = """#!/bin/sh
case " $LF_END_RUNS " in *" ${{PWD##*/}} "*) echo "tesk started"; kill -KILL $PPID $$;; esac
exec {tesk} "$@"
"""


@needs_snakemake
def test_a_sweep_whose_jobs_are_ended_still_writes_its_summary(tmp_path):
    wrapper = tmp_path / "tesk"
    wrapper.write_text(ENDED_TESK.format(tesk=binary("tesk")))
    wrapper.chmod(0o755)
    config = sweep_dir(tmp_path, "  gas: [co, n2o]")
    config.write_text(config.read_text() + f"programs: {{tesk: {wrapper}}}\n")
    summary = tmp_path / "out" / "summary.csv"
    ended = "ended by the scheduler or not finished: no status file tesk.status"

    # Without --keep-going snakemake stops at the first ended job: the other
    # run never started, and both are marked.
    first = snakemake(tmp_path, config, "--cores", "1", LF_END_RUNS="gas-co gas-n2o")
    assert first.returncode == 1, first.stderr[-3000:]
    assert [(r["run"], r["gas"], r["status"], r["message"], r["window"]) for r in read_summary(summary)] == [
        ("gas-co", "co", "tesk not finished", ended, ""), ("gas-n2o", "n2o", "tesk not finished", ended, "")]
    assert "2 of 2 runs not finished (gas-co, gas-n2o): run the same command again" in first.stderr

    # With --keep-going the other run finishes; the ended one keeps its console.
    second = snakemake(tmp_path, config, "--cores", "1", "--keep-going", LF_END_RUNS="gas-n2o")
    assert second.returncode == 1, second.stderr[-3000:]
    *done, cut = read_summary(summary)
    assert {(r["run"], r["status"]) for r in done} == {("gas-co", "ok")} and done[-1]["window"] == "all"
    assert (cut["run"], cut["gas"], cut["status"], cut["message"], cut["window"]) == \
        ("gas-n2o", "n2o", "tesk not finished", ended, "")
    assert (tmp_path / "out/logs/gas-n2o/tesk.log").read_text() == "tesk started\n"
    page = (tmp_path / "out" / "summary.html").read_text()
    assert 'href="runs/gas-co/report.html"' in page and "gas-n2o (no report.html)" in page
    kept = summary.read_text().splitlines()[:-1]

    # Run again: only the ended run's steps run, and the summary job writes
    # summary.csv anew, the finished run's rows as they were.
    third = snakemake(tmp_path, config, "--cores", "1")
    assert third.returncode == 0, third.stderr[-3000:]
    assert jobs(third.stderr, "tesk") == ["gas-n2o"] and "rule summary:" in third.stderr
    lines = summary.read_text().splitlines()
    assert lines[:len(kept)] == kept and len(lines) > len(kept)
    assert {r["status"] for r in read_summary(summary)} == {"ok"}


def test_a_status_left_from_an_earlier_run_does_not_count(tmp_path):
    # tesk was redone and ended well; kormal's and the plan's statuses are the earlier run's.
    for step, chain in {"tesk": {"id": "t2"}, "kormal": {"id": "k1", "after": "t1"}, "plan": {"after": "k1"}}.items():
        (tmp_path / f"{step}.status").write_text(json.dumps({"step": step, "ok": True, "message": "", **chain}))
    assert sweep.run_status(tmp_path) == {"step": "kormal", "ok": False, "exit": None, "finished": False, "message":
                                          "ended by the scheduler or not finished: kormal.status is from before the "
                                          "last tesk step"}
