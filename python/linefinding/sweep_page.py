"""sweep_page: one HTML page of a sweep, ``summary.html`` beside ``summary.csv``.

Run as ``python3 -m linefinding.sweep_page SWEEP/summary.csv``. Reads the
sweep's ``summary.csv`` (one row per window of every run, and each run's
``all`` row or its failure; see :func:`linefinding.sweep.summary_rows`) and,
per run, ``SWEEP/runs/RUN/plan.json`` and the table its windows come from
(``table81``, or ``table79``'s ``all`` row for windows of ``table76``), and
writes ``SWEEP/summary.html``: one row per run with the answers it varies,
its status, its windows, their joint degrees of freedom and total column
error, and a relative link to ``runs/RUN/report.html`` where that page
exists; a failed run shows its message. Below, a picture of the joint
degrees of freedom and column error against the values of each swept
answer, one panel per answer, inline SVG.

Exit status: 0 page written, 1 wrong command line, 2 summary.csv missing or
not a sweep's summary, or the page could not be written, 3 an unexpected
error; each error is one line on stderr.
"""

import argparse
import csv
import json
import math
import sys
from pathlib import Path

import numpy as np
from matplotlib.figure import Figure

from linefinding.command_line import CommandParser, one_line, run_command, say
from linefinding.records import RecordLayoutError
from linefinding.report import write_whole
from linefinding.report_html import esc, figure, left_out, page, table
from linefinding.table79 import percent_text, read_table79
from linefinding.table81 import read_table81

_EXAMPLES = """examples:
  python3 -m linefinding.sweep_page sweeps/co/summary.csv
      writes sweeps/co/summary.html, linking to sweeps/co/runs/RUN/report.html
"""
_FIRST_WINDOW_COLUMN = "window"
_DOFS_COLOUR, _ERROR_COLOUR = "#d62728", "#1f77b4"


class SummaryError(Exception):
    """A summary.csv that is not a sweep's; the message is one line."""


def read_summary(path):
    """The runs of a ``summary.csv``, in its order.

    Returns
    -------
    (list of str, list of dict)
        The names of the swept answers, and per run: ``run``, ``status``,
        ``message``, ``answers`` (name to text), ``windows`` (the rows of
        its windows) and ``joint`` (its ``all`` row, None for a failed run).
    """
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    if not rows or rows[0][:3] != ["run", "status", "message"] or _FIRST_WINDOW_COLUMN not in rows[0]:
        raise SummaryError(f"{path}: not a sweep's summary.csv (its header begins run,status,message and holds "
                           f"the column {_FIRST_WINDOW_COLUMN})")
    header = rows[0]
    names = header[3:header.index(_FIRST_WINDOW_COLUMN)]
    runs = {}
    for n, row in enumerate(rows[1:], start=2):
        if len(row) != len(header):
            raise SummaryError(f"{path}, line {n}: {len(row)} columns, the header has {len(header)}")
        r = dict(zip(header, row))
        run = runs.setdefault(r["run"], {"run": r["run"], "status": r["status"], "message": r["message"],
                                         "answers": {k: r[k] for k in names}, "windows": [], "joint": None})
        if r[_FIRST_WINDOW_COLUMN] == "all":
            run["joint"] = r
        elif r[_FIRST_WINDOW_COLUMN]:
            run["windows"].append(r)
    return names, list(runs.values())


def column_error(run_dir):
    """The total column error (% of the column) of all a run's windows
    together and the table it comes from: ``table81``'s last row, or
    ``table79``'s ``all`` row when the run's windows are table76's. (None,
    why) when neither can be read."""
    plan = run_dir / "plan.json"
    source = json.loads(plan.read_text()).get("windows_from") if plan.is_file() else None
    source = source or ("table81" if (run_dir / "table81").is_file() else "table76")
    try:
        if source == "table81":
            rows = read_table81(run_dir / "table81")
            return (float(rows["total"][-1]), "table81") if len(rows) else (None, "table81 has no windows")
        rows = read_table79(run_dir / "table79")
        if len(rows) == 0 or "total" not in rows.dtype.names or rows["singular"][-1]:
            return None, "table79 has no column error of all windows"
        return float(rows["total"][-1]), "table79"
    except (OSError, RecordLayoutError) as e:
        return None, one_line(e)


def _value(text):
    try:
        return float(text)
    except ValueError:
        return None


def _follows(runs, name, other):
    """True when the value of `other` is the same wherever `name`'s is (the
    two were swept together, as a group)."""
    seen = {}
    return all(seen.setdefault(r["answers"][name], r["answers"][other]) == r["answers"][other] for r in runs)


def sweep_figure(names, runs):
    """Joint degrees of freedom and column error of the runs that ended
    well against each swept answer, one panel per answer: a line through
    the runs that share the values of the answers swept apart from it."""
    fig = Figure(figsize=(max(6.0, 4.2 * len(names)), 4.2), layout="constrained")
    axes = np.atleast_1d(fig.subplots(1, len(names), squeeze=False)[0])
    for ax, name in zip(axes, names):
        values = list(dict.fromkeys(r["answers"][name] for r in runs))
        numeric = all(_value(v) is not None for v in values)
        order = sorted(values, key=_value) if numeric else values
        right = ax.twinx()
        groups = {}
        for r in runs:
            others = tuple(r["answers"][k] for k in names if k != name and not _follows(runs, name, k))
            groups.setdefault(others, []).append(r)
        for others, members in groups.items():
            members.sort(key=lambda r: order.index(r["answers"][name]))
            x = [_value(r["answers"][name]) if numeric else order.index(r["answers"][name]) for r in members]
            ax.plot(x, [r["dofs"] for r in members], color=_DOFS_COLOUR, marker="o", lw=1.2)
            right.plot(x, [r["error"] for r in members], color=_ERROR_COLOUR, marker="D", lw=1.2, ls="--")
        if not numeric:
            ax.set_xticks(range(len(order)), order)
        ax.set_xlabel(name)
        ax.set_ylabel("Joint degrees of freedom", color=_DOFS_COLOUR)
        right.set_ylabel("Total column error (%)", color=_ERROR_COLOUR)
        ax.grid(True, color="0.9", lw=0.5)
    return fig


def _windows_text(windows):
    return "<br>".join(f"{esc(w['label'])} {esc(w['nu_start'])}-{esc(w['nu_stop'])}" for w in windows)


def build_page(summary_path):
    """The HTML of a sweep's page; raises :class:`SummaryError` for a file that is not a sweep's summary."""
    names, runs = read_summary(summary_path)
    folder = summary_path.parent
    rows, drawn = [], []
    for r in runs:
        run_dir = folder / "runs" / r["run"]
        report = run_dir / "report.html"
        link = (f'<a href="runs/{esc(r["run"])}/report.html">{esc(r["run"])}</a>' if report.is_file()
                else f"{esc(r['run'])} (no report.html)")
        cells = [link] + [esc(r["answers"][n]) for n in names]
        if r["status"] != "ok":
            rows.append(cells + [f'<span class="failed">{esc(r["status"])}: {esc(r["message"])}</span>', "", "", ""])
            continue
        error, source = column_error(run_dir)
        dofs = _value(r["joint"]["dofs"]) if r["joint"] else None
        rows.append(cells + ["ok", _windows_text(r["windows"]), "" if dofs is None else f"{dofs:.3f}",
                             f"{esc(percent_text(error))} ({esc(source)})" if error is not None else esc(source)])
        if dofs is not None and error is not None and math.isfinite(error):
            drawn.append({**r, "dofs": dofs, "error": error})
    body = table(["run"] + names + ["status", "windows (gas, cm-1)", "joint dofs", "total column error"], rows,
                 numeric={len(names) + 3})
    if drawn and names:
        picture = figure(sweep_figure(names, drawn), "Joint degrees of freedom (red, left) and total column "
                         "error (blue, right) of the runs that ended well, against each swept answer.", "sweep")
    else:
        picture = left_out("No picture: no run ended with degrees of freedom and a column error"
                           if names else "No picture: the sweep varies no answer.")
    failed = sum(r["status"] != "ok" for r in runs)
    subtitle = (f"{len(runs)} runs, {failed} failed; swept: {', '.join(names) or 'nothing'}. "
                "Each run's name links to its own page.")
    return page(f"Sweep {folder.resolve().name}", subtitle,
                [("runs", "Runs", body), ("picture", "Across the sweep", picture)])


def _parser():
    p = CommandParser(prog="sweep_page", description="Writes summary.html beside a sweep's summary.csv.",
                      epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("summary", type=Path, help="the sweep's summary.csv")
    return p


def _sweep_page(argv):
    args = _parser().parse_args(argv)
    out = args.summary.with_name("summary.html")
    try:
        write_whole(out, build_page(args.summary))
    except (OSError, SummaryError, UnicodeDecodeError, json.JSONDecodeError) as e:
        say(f"sweep_page: {one_line(e)}\n", sys.stderr)
        return 2
    say(f"sweep_page: wrote {out}\n")
    return 0


def main(argv=None):
    """Runs sweep_page; returns the exit status (0, 1, 2, or 3 for an unexpected error)."""
    return run_command("sweep_page", _sweep_page, argv)


if __name__ == "__main__":
    sys.exit(main())
