"""Sweeps: many line-finding runs from one sweep file, and their summary.

The workflow in ``workflow/`` uses this module for everything that is not
scheduling: :func:`expand_runs` turns a sweep file (already read into a
dict) into named runs with their decks, ``step`` runs one program in a run's
directory and records how it ended in a status file, ``check`` fails when a
run did not end well, and :func:`summary_rows` gives the rows of
``summary.csv``.

A step whose program stops (exit status 1 or 2: a refused answer, an
exceeded limit, a missing or unreadable file) has still done its job: it
records the failure and the program's last console line in the run's status
file, and the following steps pass the failure on without running. Anything
else (a program that cannot be started, exit status 3, a signal) fails the
step itself, so that the workflow engine tries it again next time.

Command line (used by the workflow)::

    python -m linefinding.sweep step NAME DIR STATUS LOG [--after STATUS] [--link FILE ...]
                                [--clean FILE ...] -- COMMAND ...
    python -m linefinding.sweep check STATUS LOG
"""

import argparse
import itertools
import json
import os
import re
import subprocess
import sys
from pathlib import Path

from linefinding.deck import DeckError, set_answers, value_text


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


def expand_runs(config, base_vorne, base_kormal, fixed=None):
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

    Returns
    -------
    dict
        Run name (its directory, ``axis-value_axis-value``) to a dict with
        ``answers`` (what the run varies, for the summary), ``vorne`` and
        ``kormal`` (the deck texts).

    Raises
    ------
    SweepError
        For a malformed sweep file, two runs of the same name, or a deck
        answer that is unknown or would be refused (naming the run).
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
            vorne, kormal = set_answers(base_vorne, base_kormal, {**common, **answers})
        except DeckError as e:
            raise SweepError(f"run {name}: {e}") from None
        runs[name] = {"answers": {k: value_text(v) for k, v in answers.items()}, "vorne": vorne, "kormal": kormal}
    return runs


# ---------------------------------------------------------------- steps


def _write_json(path, data):
    Path(path).write_text(json.dumps(data, indent=1) + "\n")


def _last_line(text):
    lines = [line.rstrip("\r") for line in text.splitlines() if line.strip()]
    return lines[-1] if lines else ""


def step(name, directory, status, log, command, after=None, link=(), clean=()):
    """Runs one program of a run and records how it ended.

    Returns the exit status for the workflow: 0 when the program ended or
    stopped with a message (recorded in ``status``), 1 when it could not be
    run or ended unexpectedly.
    """
    directory = Path(directory)
    directory.mkdir(parents=True, exist_ok=True)
    Path(log).parent.mkdir(parents=True, exist_ok=True)
    if after:
        before = json.loads(Path(after).read_text())
        if not before["ok"]:
            Path(log).write_text(f"{name} not run: {before['step']} failed before it\n")
            _write_json(status, before)
            return 0
    for f in link:
        target = directory / Path(f).name
        if target.is_symlink() or target.exists():
            target.unlink()
        target.symlink_to(Path(f).resolve())
    for f in clean:
        (directory / f).unlink(missing_ok=True)
    try:
        done = subprocess.run(command, cwd=directory, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True, errors="replace")
    except OSError as e:
        Path(log).write_text(f"{name}: cannot run {command[0]}: {e}\n")
        print(f"{name}: cannot run {command[0]}: {e}", file=sys.stderr)
        return 1
    Path(log).write_text(done.stdout)
    message = _last_line(done.stdout)
    if done.returncode not in (0, 1, 2):
        print(f"{name} ended unexpectedly with exit status {done.returncode}: {message}", file=sys.stderr)
        return 1
    _write_json(status, {"step": name, "ok": done.returncode == 0, "exit": done.returncode,
                         "message": "" if done.returncode == 0 else message.strip(), "log": str(log)})
    return 0


def check(status, log):
    """Fails (returns 1) with the program's message when the run did not end well."""
    s = json.loads(Path(status).read_text())
    Path(log).parent.mkdir(parents=True, exist_ok=True)
    if s["ok"]:
        Path(log).write_text("ok\n")
        return 0
    text = f"{s['step']} stopped with exit status {s['exit']}: {s['message']}\n(console: {s['log']})\n"
    Path(log).write_text(text)
    sys.stderr.write(text)
    return 1


# ---------------------------------------------------------------- summary

WINDOW_COLUMNS = ["window", "label", "centre", "width", "nu_start", "nu_stop", "points", "dofs",
                  "zlow", "zhigh", "interferers", "measures"]


def _text(value):
    return "" if value is None else str(value)


def summary_rows(runs, root):
    """The rows of ``summary.csv``: per run, one per window and one for all
    windows together (``window`` = ``all``); a failed run gets one row with
    its status and message."""
    names = list(dict.fromkeys(k for r in runs.values() for k in r["answers"]))
    header = ["run", "status", "message"] + names + WINDOW_COLUMNS
    rows = []
    for run, info in runs.items():
        status = json.loads((Path(root) / run / "plan.status").read_text())
        head = [run, "ok" if status["ok"] else f"{status['step']} failed", status["message"]]
        head += [info["answers"].get(n, "") for n in names]
        if not status["ok"]:
            rows.append(head + [""] * len(WINDOW_COLUMNS))
            continue
        plan = json.loads((Path(root) / run / "plan.json").read_text())
        for w in plan["windows"]:
            gases = w.get("interferers") or []
            rows.append(head + [w["index"], w["label"]] + [_text(w[k]) for k in WINDOW_COLUMNS[2:10]]
                        + [" ".join(g["gas"] for g in gases), " ".join(_text(g["measure"]) for g in gases)])
        joint = plan["joint"]
        rows.append(head + ["all", "all", "", "", _text(joint["nu_start"]), _text(joint["nu_stop"]),
                            _text(joint["points"]), _text(joint["dofs"]), "", "", "", ""])
    return header, rows


def main(argv=None):
    parser = argparse.ArgumentParser(prog="python -m linefinding.sweep", description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="what", required=True)
    p = sub.add_parser("step", help="run one program of a run and record how it ended")
    for a in ("name", "directory", "status", "log"):
        p.add_argument(a)
    p.add_argument("--after", help="status of the step before; when it failed, pass the failure on")
    p.add_argument("--link", nargs="*", default=[], help="files to link into the run directory")
    p.add_argument("--clean", nargs="*", default=[], help="old results to remove before the run")
    p = sub.add_parser("check", help="fail with the program's message when a run did not end well")
    p.add_argument("status")
    p.add_argument("log")
    argv = list(sys.argv[1:] if argv is None else argv)
    # The program's command follows "--", untouched by the option parser.
    split = argv.index("--") if "--" in argv else len(argv)
    argv, command = argv[:split], argv[split + 1:]
    args = parser.parse_args(argv)
    if args.what == "step":
        if not command:
            parser.error("step: the command to run follows --")
        return step(args.name, args.directory, args.status, args.log, command, args.after, args.link, args.clean)
    return check(args.status, args.log)


if __name__ == "__main__":
    sys.exit(main())
