"""input-plan, the settings of tesk's information step, as named answers of
the deck writer and the sweeps, and read back from the echo tesk wrote."""

import os
import shutil
import subprocess

import pytest

import linefinding as lf
from conftest import REPOSITORY, binary
from linefinding.deck import DeckError, set_answers, set_plan
from linefinding.sweep import base_plan, expand_runs

BASE_VORNE = (REPOSITORY / "examples" / "co_window" / "input-vorne").read_text()
BASE_KORMAL = (REPOSITORY / "examples" / "co_window" / "input-kormal").read_text()
BASE_PLAN = "# the a-priori\napriori = percent   # of the profile\napriori_percent = 30\n"


@pytest.fixture
def programs():
    return {"tesk": str(binary("tesk")), "kormal": str(binary("kormal"))}


# base input-plan, answers, the input-plan written (None: none at all)
PLANS = [
    (None, {"gas": "co"}, None),
    (None, {"temperature_error": 1.5, "gas": "co"}, "temperature_error = 1.5\n"),
    (BASE_PLAN, {}, BASE_PLAN),
    (BASE_PLAN, {"apriori_kind": "absolute", "apriori": 1e-8, "correlation_length": 4},
     "# the a-priori\napriori = absolute  # of the profile\napriori_percent = 30\ncorrelation_length = 4\n"),
]


@pytest.mark.parametrize("base, answers, written", PLANS)
def test_plan_answers_are_set_into_input_plan(base, answers, written):
    assert set_plan(base, answers) == written


def test_plan_answers_go_into_no_deck_and_tesk_checks_them(programs):
    vorne, kormal = set_answers(BASE_VORNE, BASE_KORMAL, {"apriori_percent": 20, "temperature_error": 1},
                                programs=programs, plan_text=BASE_PLAN)
    assert (vorne, kormal) == set_answers(BASE_VORNE, BASE_KORMAL, {}, check=False)
    with pytest.raises(DeckError) as refused:
        set_answers(BASE_VORNE, BASE_KORMAL, {"temperature_error": -1}, programs=programs, plan_text=BASE_PLAN)
    assert str(refused.value) == (
        "answer temperature_error = '-1' (line 4 of input-plan): tesk refuses it: Wrong entry in line 4 of "
        "input-plan: temperature_error must be a number of 0 or more (K), found \"-1\"")
    # A base input-plan's own fault is named as the base's.
    with pytest.raises(DeckError, match=r"^answer apriori_kind = 'relative' \(line 2 of input-plan, from the base "
                                        r"deck\): tesk refuses it: Wrong entry in line 2 of input-plan: apriori "
                                        r"must be absolute or percent"):
        set_answers(BASE_VORNE, BASE_KORMAL, {}, programs=programs, plan_text=BASE_PLAN.replace("percent ", "relative "))
    # A value that cannot stand in one entry is refused before any program runs.
    with pytest.raises(DeckError, match=r"^answer temperature_error = '2 K': one word is needed"):
        set_answers(BASE_VORNE, BASE_KORMAL, {"temperature_error": "2 K"}, programs={})


def test_a_sweep_varies_a_setting_over_the_base_input_plan(tmp_path, programs):
    (tmp_path / "input-vorne").write_text(BASE_VORNE)
    (tmp_path / "input-plan").write_text(BASE_PLAN)
    config = {"decks": {"tesk": str(tmp_path / "input-vorne"), "kormal": "k"},
              "sweep": {"temperature_error": [1, 3]}}
    assert base_plan(config) == BASE_PLAN
    runs = expand_runs(config, BASE_VORNE, BASE_KORMAL, programs=programs, base_plan=base_plan(config))
    assert {name: run["plan"] for name, run in runs.items()} == {
        f"temperature_error-{t}": BASE_PLAN + f"temperature_error = {t}\n" for t in (1, 3)}
    assert runs["temperature_error-1"]["answers"] == {"temperature_error": "1"}
    (tmp_path / "input-plan").unlink()
    assert base_plan(config) is None
    assert expand_runs({"sweep": {"gas": ["co"]}}, BASE_VORNE, BASE_KORMAL, programs=programs)["gas-co"]["plan"] is None


@pytest.mark.skipif(shutil.which("snakemake") is None, reason="snakemake not installed")
def test_the_workflow_writes_each_runs_input_plan(tmp_path):
    decks = tmp_path / "decks"
    decks.mkdir()
    for name, text in (("input-vorne", BASE_VORNE), ("input-kormal", BASE_KORMAL), ("input-plan", BASE_PLAN)):
        (decks / name).write_text(text)
    (tmp_path / "lines.hit").write_text("")
    (tmp_path / "sweep.yaml").write_text(
        f"output: out\ndecks: {{tesk: {decks}/input-vorne, kormal: {decks}/input-kormal}}\n"
        "line_list: lines.hit\nsweep: {apriori_percent: [10, 20]}\n")
    targets = [f"out/runs/apriori_percent-{p}/input-plan" for p in (10, 20)]
    env = dict(os.environ, LF_TESK_BIN=str(binary("tesk")), LF_KORMAL_BIN=str(binary("kormal")))
    done = subprocess.run(["snakemake", "-s", str(REPOSITORY / "workflow" / "Snakefile"), "-d", str(tmp_path),
                           "--configfile", str(tmp_path / "sweep.yaml"), "--cores", "1", *targets],
                          capture_output=True, text=True, env=env, timeout=300)
    assert done.returncode == 0, done.stderr[-3000:]
    for p, target in zip((10, 20), targets):
        assert (tmp_path / target).read_text() == BASE_PLAN.replace("= 30", f"= {p}")


def test_the_echo_gives_the_settings_back(example_run):
    assert example_run.tesk(BASE_VORNE).returncode == 0
    echo = lf.read_deck_echo(example_run.dir / "output")
    assert (echo.plan_from_file, echo.plan["apriori"], echo.plan["temperature_error"]) == (False, "absolute", "2")
    (example_run.dir / "input-plan").write_text(BASE_PLAN + "correlation_shape = gaussian\n")
    assert example_run.tesk(BASE_VORNE).returncode == 0
    echo = lf.read_deck_echo(example_run.dir / "output")
    assert echo.plan_from_file is True
    assert echo.plan == {"apriori": "percent", "apriori_percent": "30", "correlation_length": "0",
                         "correlation_shape": "gaussian", "interferer_error": "5", "temperature_error": "2",
                         "windows": "10", "select_by": "error", "stop_fraction": "0.01"}
    assert echo.study == "d"
    # A study other than d echoes its deck alone.
    assert example_run.tesk(BASE_VORNE.replace("\nd ", "\ns ", 1)).returncode == 0
    assert lf.read_deck_echo(example_run.dir / "output").plan is None
