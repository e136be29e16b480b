"""Sweeps: many line-finding runs from one sweep file, and their summary.

The workflow in ``workflow/`` uses this module: :func:`expand_runs` turns a
sweep file (already read into a dict) into named runs with their decks (each
run working in its own directory, :data:`RUN_DIRECTORY_ANSWERS`), and
:func:`summary_rows` gives the rows of ``summary.csv`` from the runs' status
files (written by ``workflow/scripts/step.py``) and plans.
"""

import csv
import itertools
import json
import re
import sys
from pathlib import Path

from linefinding.deck import DeckError, set_answers, value_text


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


def _segment(axis, value):
    return f"{axis}-{_UNSAFE.sub('~', value)}"


def _axis_values(axis, values):
    """The (name, answers) choices of one sweep axis.

    A plain value answers the axis's own name; a mapping holds several
    answers that go together (a gas with its range) and names itself with
    its ``name`` entry.
    """
    if not isinstance(values, list) or not values:
        raise SweepError(f"sweep axis {axis!r}: a non-empty list of values is needed")
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


def expand_runs(config, base_vorne, base_kormal, fixed=None, programs=None):
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

    Returns
    -------
    dict
        Run name (its directory, ``axis-value_axis-value``) to a dict with
        ``answers`` (what the run varies, as text, for the summary), ``vorne`` and
        ``kormal`` (the deck texts, with :data:`RUN_DIRECTORY_ANSWERS`).

    Raises
    ------
    SweepError
        For a malformed sweep file, two runs of the same name, or a deck
        answer that is unknown or that a program refuses (naming the run,
        with the program's message).
    """
    common = dict(fixed or {})
    common.update(config.get("answers") or {})
    sweep, cases = config.get("sweep"), config.get("cases")
    if sweep and cases:
        raise SweepError("give either 'sweep' (a product of lists) or 'cases' (a list of runs), not both")
    if sweep:
        if not isinstance(sweep, dict):
            raise SweepError("'sweep' must map answer names to lists of values")
        axes = [[(_segment(axis, label), answers) for label, answers in _axis_values(axis, values)]
                for axis, values in sweep.items()]
        combos = [("_".join(s for s, _ in combo), {k: v for _, a in combo for k, v in a.items()})
                  for combo in itertools.product(*axes)]
    elif cases:
        if not isinstance(cases, list) or not all(isinstance(c, dict) and c for c in cases):
            raise SweepError("'cases' must be a list of answer mappings")
        combos = [("_".join(_segment(k, value_text(v)) for k, v in case.items()), dict(case)) for case in cases]
    else:
        combos = [("base", {})]
    runs = {}
    for name, answers in combos:
        if name in runs:
            raise SweepError(f"two runs would share the directory {name!r}; give the values distinct names")
        try:
            vorne, kormal = set_answers(base_vorne, base_kormal, {**common, **answers, **RUN_DIRECTORY_ANSWERS},
                                        programs=programs)
        except DeckError as e:
            raise SweepError(f"run {name}: {e}") from None
        runs[name] = {"answers": {k: value_text(v) for k, v in answers.items()}, "vorne": vorne, "kormal": kormal}
    return runs


# ---------------------------------------------------------------- summary

WINDOW_COLUMNS = ["window", "label", "centre", "width", "nu_start", "nu_stop", "points", "dofs",
                  "zlow", "zhigh", "interferers", "measures"]


def _text(value):
    return "" if value is None else str(value)


def summary_rows(run_dirs):
    """The header and rows of ``summary.csv``.

    Parameters
    ----------
    run_dirs : list of path
        The runs' directories, each holding ``answers.json`` (the answers
        the run varies), ``plan.status`` (how its last step ended) and, when
        it ended well, ``plan.json``.

    Returns
    -------
    (list, list of list)
        Per run, one row per window and one for all windows together
        (``window`` = ``all``); a failed run gets one row with its status
        (``tesk failed``, ...) and the program's message.
    """
    runs = [(Path(d), json.loads((Path(d) / "answers.json").read_text())) for d in run_dirs]
    names = list(dict.fromkeys(k for _, answers in runs for k in answers))
    header = ["run", "status", "message"] + names + WINDOW_COLUMNS
    rows = []
    for directory, answers in runs:
        status = json.loads((directory / "plan.status").read_text())
        head = [directory.name, "ok" if status["ok"] else f"{status['step']} failed", status["message"]]
        head += [answers.get(n, "") for n in names]
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


def write_summary(out, statuses):
    """Writes ``summary.csv`` for the runs whose ``plan.status`` files are given."""
    header, rows = summary_rows([Path(s).parent for s in statuses])
    with open(out, "w", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(header)
        writer.writerows(rows)


if __name__ == "__main__":
    # python -m linefinding.sweep SUMMARY.csv RUN/plan.status ...
    if len(sys.argv) < 3:
        sys.exit("usage: python -m linefinding.sweep SUMMARY.csv RUN/plan.status ...")
    write_summary(sys.argv[1], sys.argv[2:])
