"""Sweeps: many line-finding runs from one sweep file, and their summary.

The workflow in ``workflow/`` uses this module: :func:`expand_runs` turns a
sweep file (already read into a dict) into named runs with their decks (each
run working in its own directory, :data:`RUN_DIRECTORY_ANSWERS`), and
:func:`write_summary` writes ``summary.csv`` from the runs' status files
(written by ``workflow/scripts/step.py``) and plans, also for a sweep whose
jobs did not all end (:func:`summary_after_failure`).
"""

import csv
import difflib
import hashlib
import io
import itertools
import json
import os
import re
import sys
from pathlib import Path

from linefinding.deck import PLAN, DeckError, set_answers, set_plan, value_text


# Every run of a sweep works in its own directory, with the data linked into
# it: both programs read and write there, kormal rates the windows of the
# run's own table76, and nobody watches a job's console (no plots, no pause).
# These answers are set last, over the base decks and the sweep file.
RUN_DIRECTORY_ANSWERS = {"input_path": "", "output_path": "", "window_table": "table76", "plot": "n",
                         "pause": "n"}


class SweepError(ValueError):
    """A sweep file that cannot give runs: the message says which entry and why."""


# Run directories are named axis-value_axis-value: the workflow engine passes
# names through its own name=value,name=value lists, so no = or , in them.
_UNSAFE = re.compile(r"[^A-Za-z0-9.+-]")
_UNSAFE_AXIS = re.compile(r"[^A-Za-z0-9_.+-]")

# The longest file name most file systems take (bytes); a longer run name
# is cut and ends in a hash of the whole name.
NAME_MAX = 255
_HASH_DIGITS = 16

# ---------------------------------------------------------------- the file

# Every key a sweep file may have, with what its value must be.
SWEEP_KEYS = {
    "output": "a folder for runs/, logs/ and summary.csv",
    "decks": "the base decks, {tesk: FILE, kormal: FILE}",
    "line_list": "the line list of every run, a file",
    "data": "a list of files or folders linked into every run",
    "answers": "the answers of every run, {name: value, ...}",
    "sweep": "answer names (or group names) mapped to lists of values",
    "cases": "a list of runs, each {name: value, ...}",
    "threads": "the threads of each tesk run, a whole number of at least 1",
    "programs": "paths of the programs, {tesk: FILE, kormal: FILE, python: FILE}",
}
_DECK_KEYS = ("tesk", "kormal")
_PROGRAM_KEYS = ("tesk", "kormal", "python")

# The files of a run directory (workflow/Snakefile): the decks, input-plan, and the record
# of the answers the workflow writes, the status files of its steps, and
# the results of tesk (output prefix blank), kormal and plan. A data file of
# one of these names would be linked over the run's own file, or removed as
# an old result before the step.
RUN_FILES = frozenset(
    ["input-vorne", "input-kormal", "input-plan", "answers.json", "tesk.status", "kormal.status", "plan.status", "checked",
     "output", "output.dat", "microwin", "spectra.out", "plan.json", "bands.ctl"]
    + [f"table{n}" for n in range(70, 79)] + ["table90"])


def _is_scalar(value):
    return isinstance(value, (str, int, float, bool))


def _value_kind(value):
    if value is None:
        return "no value"
    if isinstance(value, dict):
        return "a mapping"
    if isinstance(value, list):
        return "a list"
    return repr(value)


def _check_answers(where, answers):
    """Refuses a mapping of answers that is not names to single values."""
    if not isinstance(answers, dict):
        raise SweepError(f"{where}: answer names mapped to values are needed, not {_value_kind(answers)}")
    for name, value in answers.items():
        if not isinstance(name, str):
            raise SweepError(f"{where}: {name!r} is not an answer name")
        if not _is_scalar(value):
            raise SweepError(f"{where}: answer {name} needs a single value (a number or a word), "
                             f"not {_value_kind(value)}")


def _check_paths(key, value, names):
    if not isinstance(value, dict) or not value:
        raise SweepError(f"{key!r} must be {SWEEP_KEYS[key]}, not {_value_kind(value)}")
    for name, path in value.items():
        if name not in names:
            raise SweepError(f"{key}: unknown entry {name!r}; known: {', '.join(names)}")
        if not isinstance(path, str) or not path:
            raise SweepError(f"{key}: {name} must be a file name, not {_value_kind(path)}")


def check_sweep_file(config):
    """Refuses what a sweep file cannot mean, before any run is made.

    Parameters
    ----------
    config : dict
        The sweep file as read (and as ``--config`` changed it).

    Raises
    ------
    SweepError
        For an unknown key (a misspelt ``sweeps:`` would otherwise run the
        base deck), a key without a value (``sweep: {}``, ``cases: []``,
        ``output: ''``), the file-system root as output folder, or a value
        of the wrong type; the message is one line naming the key.
    """
    if not isinstance(config, dict):
        raise SweepError("a sweep file maps keys (output, decks, answers, sweep, ...) to values")
    for key, value in config.items():
        if key not in SWEEP_KEYS:
            close = difflib.get_close_matches(str(key), SWEEP_KEYS, n=1)
            hint = f" (did you mean {close[0]!r}?)" if close else ""
            raise SweepError(f"unknown key {key!r}{hint}; a sweep file has {', '.join(SWEEP_KEYS)}")
        if value is None or value == "" or value == [] or value == {}:
            raise SweepError(f"{key!r} is empty: give {SWEEP_KEYS[key]}, or leave the key out")
    if isinstance(config.get("output"), str) and os.path.realpath(config["output"]) == os.path.realpath("/"):
        raise SweepError(f"output {config['output']!r} is the file-system root; give {SWEEP_KEYS['output']}")
    for key in ("output", "line_list"):
        if key in config and not isinstance(config[key], str):
            raise SweepError(f"{key!r} must be {SWEEP_KEYS[key]} (a name; quote one that looks like a number), "
                             f"not {_value_kind(config[key])}")
    if "decks" in config:
        _check_paths("decks", config["decks"], _DECK_KEYS)
    if "programs" in config:
        _check_paths("programs", config["programs"], _PROGRAM_KEYS)
    if "data" in config:
        data = config["data"]
        if not isinstance(data, list) or not all(isinstance(entry, str) and entry for entry in data):
            raise SweepError(f"'data' must be {SWEEP_KEYS['data']}, not {_value_kind(data)}")
    threads = config.get("threads", 1)
    if isinstance(threads, bool) or not isinstance(threads, int) or threads < 1:
        raise SweepError(f"'threads' must be {SWEEP_KEYS['threads']}, not {_value_kind(threads)}")
    if "answers" in config:
        _check_answers("answers", config["answers"])
    if "sweep" in config and "cases" in config:
        raise SweepError("give either 'sweep' (a product of lists) or 'cases' (a list of runs), not both")
    if "sweep" in config:
        sweep = config["sweep"]
        if not isinstance(sweep, dict):
            raise SweepError(f"'sweep' must map answer names to lists of values, not {_value_kind(sweep)}")
        for axis, values in sweep.items():
            if not isinstance(axis, str):
                raise SweepError(f"sweep: {axis!r} is not an answer or group name")
            if not isinstance(values, list) or not values:
                raise SweepError(f"sweep axis {axis!r}: a non-empty list of values is needed, "
                                 f"not {_value_kind(values)}")
            for value in values:
                if isinstance(value, dict):
                    _check_answers(f"sweep axis {axis!r}", value)
                elif not _is_scalar(value):
                    raise SweepError(f"sweep axis {axis!r}: each value must be a single value or a group "
                                     f"{{name: ..., answer: value, ...}}, not {_value_kind(value)}")
    if "cases" in config:
        cases = config["cases"]
        if not isinstance(cases, list) or not all(isinstance(c, dict) and c for c in cases):
            raise SweepError("'cases' must be a list of answer mappings")
        for n, case in enumerate(cases, start=1):
            _check_answers(f"case {n}", case)


def output_folder(config):
    """The folder of ``runs/``, ``logs/`` and ``summary.csv`` (default ``sweep``), without a final /."""
    check_sweep_file(config)
    return config.get("output", "sweep").rstrip("/")


def base_decks(config):
    """The texts of the base decks ``input-vorne`` and ``input-kormal``.

    Raises
    ------
    SweepError
        When ``decks`` lacks one, or a deck file cannot be read.
    """
    check_sweep_file(config)
    decks = config.get("decks") or {}
    texts = []
    for key in _DECK_KEYS:
        if key not in decks:
            raise SweepError(f"the sweep file needs decks: {key}: (the base deck)")
        try:
            texts.append(Path(decks[key]).read_text())
        except OSError as e:
            raise SweepError(f"decks: {key}: cannot read {decks[key]}: {e.strerror or e}") from None
        except UnicodeDecodeError:
            raise SweepError(f"decks: {key}: {decks[key]} is not a text file") from None
    return tuple(texts)


def base_plan(config):
    """The text of the base ``input-plan``: the one beside the base ``tesk``
    deck, or None when there is none (the runs then have one only when the
    sweep file sets one of its answers).

    Raises
    ------
    SweepError
        When the file is there but cannot be read.
    """
    check_sweep_file(config)
    deck = (config.get("decks") or {}).get("tesk")
    if not deck:
        return None
    path = Path(deck).parent / PLAN
    if not path.exists():
        return None
    try:
        return path.read_text()
    except OSError as e:
        raise SweepError(f"decks: tesk: cannot read {path}: {e.strerror or e}") from None
    except UnicodeDecodeError:
        raise SweepError(f"decks: tesk: {path} is not a text file") from None


def data_files(config):
    """The data files linked into every run directory, as absolute paths.

    ``line_list`` first, then each entry of ``data``: a file, or a folder
    whose files (not its sub-folders) are all taken.

    Raises
    ------
    SweepError
        For an entry that is no file or folder, two data files of one name
        (one would be linked over the other), or a data file with the name
        of a file of the run directory (:data:`RUN_FILES`: it would take
        the place of the run's own deck or result, as the files of an
        earlier run's folder would).
    """
    check_sweep_file(config)
    entries = ([config["line_list"]] if "line_list" in config else []) + list(config.get("data", []))
    files = {}
    for entry in entries:
        p = Path(entry)
        if p.is_dir():
            found = sorted(f for f in p.iterdir() if f.is_file())
        elif p.is_file():
            found = [p]
        else:
            raise SweepError(f"data: no file or folder {entry}")
        for f in found:
            where = f"data: {entry}" + (f" holds {f.name}" if f != p else "")
            if f.name in RUN_FILES:
                raise SweepError(f"{where}, the name of a file every run directory has of its own "
                                 f"(an earlier run's folder?); move it out of the data")
            if f.name in files and files[f.name] != f.resolve():
                raise SweepError(f"{where}, and {files[f.name]} has the same name: a run can link only one")
            files[f.name] = f.resolve()
    return [str(f) for f in files.values()]


def name_limit(folder):
    """The longest file name (bytes) the file system of `folder`, or of its
    nearest existing parent, takes: :data:`NAME_MAX` where it does not say."""
    p = Path(os.path.abspath(folder))
    while not p.exists() and p != p.parent:
        p = p.parent
    try:
        return min(os.pathconf(p, "PC_NAME_MAX"), NAME_MAX) or NAME_MAX
    except (OSError, ValueError, AttributeError):
        return NAME_MAX


def _fit_name(name, limit):
    """A run name no longer than `limit` bytes: the name itself, or its
    start and a hash of the whole name (the same on every invocation)."""
    if len(name.encode()) <= limit:
        return name
    digest = hashlib.sha256(name.encode()).hexdigest()[:_HASH_DIGITS]
    return f"{name.encode()[:limit - _HASH_DIGITS - 1].decode(errors='ignore')}~{digest}"


def shortened_note(runs):
    """One line saying which run names were shortened, or None."""
    cut = [name for name, run in runs.items() if run.get("full_name")]
    if not cut:
        return None
    return (f"{len(cut)} run name{'s are' if len(cut) > 1 else ' is'} longer than a file name may be: "
            f"shortened to its start and a hash of the whole name (e.g. {cut[0]}); "
            f"summary.csv and each run's answers.json give the run's values")


def _segment(axis, value):
    return f"{_UNSAFE_AXIS.sub('~', str(axis))}-{_UNSAFE.sub('~', value)}"


def _axis_values(axis, values):
    """The (name, answers) choices of one sweep axis.

    A plain value answers the axis's own name; a mapping holds several
    answers that go together (a gas with its range) and names itself with
    its ``name`` entry.
    """
    choices = []
    for value in values:
        if isinstance(value, dict):
            answers = dict(value)
            if "name" not in answers:
                raise SweepError(f"sweep axis {axis!r}: the group {value} needs a 'name' entry")
            label = value_text(answers.pop("name"))
            choices.append((label, answers))
        else:
            choices.append((value_text(value), {axis: value}))
    return choices


def expand_runs(config, base_vorne, base_kormal, fixed=None, programs=None, name_max=NAME_MAX, base_plan=None):
    """The runs of a sweep, with their decks.

    Parameters
    ----------
    config : dict
        The sweep file: ``answers`` (fixed for every run), and ``sweep``
        (axis name to a list of values; the runs are their product) or
        ``cases`` (a list of answer mappings, one run each). Neither: one
        run named ``base``.
    base_vorne, base_kormal : str
        Texts of the base decks.
    fixed : dict, optional
        Answers the caller sets in every run (before the sweep file's).
    programs : dict, optional
        ``{"tesk": path, "kormal": path}`` that check every run's decks
        (``linefinding.deck.check_decks``); by default ``LF_TESK_BIN`` and
        ``LF_KORMAL_BIN``.
    name_max : int
        The longest directory name the file system takes, bytes
        (:func:`name_limit`).
    base_plan : str, optional
        Text of the base ``input-plan`` (:func:`base_plan`).

    Returns
    -------
    dict
        Run name (its directory, ``axis-value_axis-value``) to a dict with
        ``answers`` (what the run varies, as text, for the summary), ``vorne`` and
        ``kormal`` (the deck texts, with :data:`RUN_DIRECTORY_ANSWERS`) and
        ``plan`` (the text of the run's ``input-plan``: the base one with
        the run's input-plan answers, ``linefinding.deck.PLAN_ANSWERS``; None
        when there is neither). A
        name longer than `name_max` is cut and ends in ``~`` and a hash of
        the whole name, which the run's ``full_name`` holds.

    Raises
    ------
    SweepError
        For a malformed sweep file (:func:`check_sweep_file`), two runs of
        the same name, or a deck answer that is unknown or that a program
        refuses (naming the run, with the program's message).
    """
    check_sweep_file(config)
    common = dict(fixed or {})
    common.update(config.get("answers", {}))
    if "sweep" in config:
        axes = [[(_segment(axis, label), answers) for label, answers in _axis_values(axis, values)]
                for axis, values in config["sweep"].items()]
        combos = [("_".join(s for s, _ in combo), {k: v for _, a in combo for k, v in a.items()})
                  for combo in itertools.product(*axes)]
    elif "cases" in config:
        combos = [("_".join(_segment(k, value_text(v)) for k, v in case.items()), dict(case))
                  for case in config["cases"]]
    else:
        combos = [("base", {})]
    runs = {}
    for full_name, answers in combos:
        name = _fit_name(full_name, name_max)
        if name in runs:
            raise SweepError(f"two runs would share the directory {name!r}; give the values distinct names")
        given = {**common, **answers, **RUN_DIRECTORY_ANSWERS}
        try:
            vorne, kormal = set_answers(base_vorne, base_kormal, given, programs=programs, plan_text=base_plan)
            plan = set_plan(base_plan, given)
        except DeckError as e:
            raise SweepError(f"run {name}: {e}") from None
        runs[name] = {"answers": {k: value_text(v) for k, v in answers.items()}, "vorne": vorne, "kormal": kormal,
                      "plan": plan}
        if name != full_name:
            runs[name]["full_name"] = full_name
    return runs


# ---------------------------------------------------------------- summary

WINDOW_COLUMNS = ["window", "label", "centre", "width", "nu_start", "nu_stop", "points", "dofs",
                  "zlow", "zhigh", "interferers", "measures"]


def _text(value):
    return "" if value is None else str(value)


# The steps of a run, in order; each writes STEP.status when it ends
# (workflow/scripts/step.py), a later one passing on a failure before it.
STEPS = ("tesk", "kormal", "plan")

# The status of a run one of whose steps never wrote its status: its job was
# ended from outside (the scheduler's time limit, scancel, a lost node: the
# step is killed before it can write), it failed unexpectedly, or the
# workflow stopped before it ran.
NOT_FINISHED = "ended by the scheduler or not finished"


def run_status(directory):
    """How a run ended, from its steps' status files.

    Returns
    -------
    dict
        The status of the first step that failed, or of ``plan`` when all
        ended well (as ``plan.status`` holds it: step, ok, exit, message,
        log). For the first step without a status file, or with one left
        from an earlier run (its ``after`` is not the ``id`` of the status
        before it: that step was redone, this one not yet), a status with
        ``ok`` false, ``exit`` None and ``finished`` false, whose message
        says which file is missing.
    """
    directory = Path(directory)
    before = None
    for step in STEPS:
        path = directory / f"{step}.status"
        if not path.exists():
            why = f"no status file {path.name}"
        else:
            status = json.loads(path.read_text())
            if before is None or status.get("after") == before.get("id"):
                if not status["ok"]:
                    return status
                before = status
                continue
            why = f"{path.name} is from before the last {before['step']} step"
        return {"step": step, "ok": False, "exit": None, "message": f"{NOT_FINISHED}: {why}", "finished": False}
    return before


def summary_rows(run_dirs, answers=None):
    """The header and rows of ``summary.csv``.

    Parameters
    ----------
    run_dirs : list of path
        The runs' directories, each holding ``answers.json`` (the answers
        the run varies), the status files of its steps (:func:`run_status`)
        and, when it ended well, ``plan.json``.
    answers : dict, optional
        Run name to the answers it varies, taken instead of the runs'
        ``answers.json`` (which a run stopped early may not have).

    Returns
    -------
    (list, list of list)
        Per run, one row per window and one for all windows together
        (``window`` = ``all``); a failed run gets one row with its status
        (``tesk failed``, ...) and the program's message, a run whose step
        did not finish one row with ``tesk not finished`` (or ``kormal``,
        ``plan``) and :data:`NOT_FINISHED` with the missing status file.
    """
    if answers is None:
        answers = {Path(d).name: json.loads((Path(d) / "answers.json").read_text()) for d in run_dirs}
    runs = [(Path(d), answers[Path(d).name]) for d in run_dirs]
    names = list(dict.fromkeys(k for _, given in runs for k in given))
    header = ["run", "status", "message"] + names + WINDOW_COLUMNS
    rows = []
    for directory, given in runs:
        status = run_status(directory)
        outcome = ("ok" if status["ok"] else
                   f"{status['step']} failed" if status.get("finished", True) else f"{status['step']} not finished")
        head = [directory.name, outcome, status["message"]] + [given.get(n, "") for n in names]
        if not status["ok"]:
            rows.append(head + [""] * len(WINDOW_COLUMNS))
            continue
        plan = json.loads((directory / "plan.json").read_text())
        for w in plan["windows"]:
            gases = w.get("interferers") or []
            rows.append(head + [w["index"], w["label"]] + [_text(w[k]) for k in WINDOW_COLUMNS[2:10]]
                        + [" ".join(g["gas"] for g in gases), " ".join(_text(g["measure"]) for g in gases)])
        joint = plan["joint"]
        rows.append(head + ["all", "all", "", "", _text(joint["nu_start"]), _text(joint["nu_stop"]),
                            _text(joint["points"]), _text(joint["dofs"]), "", "", "", ""])
    return header, rows


def summary_text(run_dirs, answers=None):
    """The text of ``summary.csv`` (:func:`summary_rows`)."""
    header, rows = summary_rows(run_dirs, answers)
    out = io.StringIO()
    writer = csv.writer(out, lineterminator="\n")
    writer.writerow(header)
    writer.writerows(rows)
    return out.getvalue()


def write_summary(out, run_dirs, answers=None):
    """Writes ``summary.csv`` for the runs in `run_dirs` (:func:`summary_rows`).

    Every way the workflow ends writes it here: its ``summary`` job after all
    runs ended, and :func:`summary_after_failure` when some did not.
    """
    text = summary_text(run_dirs, answers)
    Path(out).parent.mkdir(parents=True, exist_ok=True)
    with open(out, "w", newline="") as f:
        f.write(text)


def summary_after_failure(out, run_dirs, answers):
    """Writes ``summary.csv`` when the workflow failed, over whatever statuses exist.

    Leaves it alone when it already holds these rows (the ``summary`` job
    ran, and only runs' checks failed). Returns one line for the console.
    """
    text = summary_text(run_dirs, answers)
    out = Path(out)
    if out.exists() and out.read_text() == text:
        return f"{out}: up to date"
    write_summary(out, run_dirs, answers)
    unfinished = [Path(d).name for d in run_dirs if run_status(d).get("finished", True) is False]
    note = (f"; {len(unfinished)} of {len(run_dirs)} runs not finished ({', '.join(unfinished[:3])}"
            f"{', ...' if len(unfinished) > 3 else ''}): run the same command again to finish them"
            if unfinished else "")
    return f"{out}: written over the runs that ended{note}"


if __name__ == "__main__":
    # python -m linefinding.sweep SUMMARY.csv RUN/plan.status ...
    if len(sys.argv) < 3:
        sys.exit("usage: python -m linefinding.sweep SUMMARY.csv RUN/plan.status ...")
    write_summary(sys.argv[1], [Path(s).parent for s in sys.argv[2:]])
