"""plan: a retrieval plan from a line-finding study and its kormal run.

Run as ``python3 -m linefinding.plan [DIR]``. Reads DIR's deck echo
``output``, the window table and ``table79`` (on the deck's output
prefix), ``kormal``'s ``microwin``, ``output.dat`` and ``kormal.log``,
refuses them unless the echo is of the run that made the tables and
kormal's record is of the window table beside them, and writes

- ``plan.json``: the target, the deck values a retrieval needs, the noise
  model the information content was computed with, which table the windows
  come from (``windows_from``), every window with its limits, degrees of
  freedom, column-error budget and interfering gases, and the windows
  together;
- ``bands.ctl``: the band section of a retrieval control file, dotted
  ``key = value`` lines, one band per window;

and prints a summary, one line per window, then the joint degrees of
freedom and total column error of all windows. It only reads what the programs
wrote; it recomputes no physics.

The window table is ``table81``, the windows tesk recommends (each row's
column errors are those of the retrieval from it and all windows before
it), when the study wrote one, ``table76`` otherwise; ``--windows`` chooses.
kormal must have rated the same table.

Exit status: 0 plan written, 1 wrong command line or inputs that disagree,
2 a file missing or not in its layout (a record cut short, a value that is
not a finite number), 3 an unexpected error; each error is one line on
stderr.
"""

import argparse
import json
import math
import sys
import warnings
from pathlib import Path

from linefinding.command_line import CommandParser, one_line, run_command, say
from linefinding.deck_echo import read_deck_echo
from linefinding.gas_formulas import gases_to_fit
from linefinding.microwin import read_microwin
from linefinding.output_dat import read_output_dat
from linefinding.records import OverflowFieldWarning, RecordLayoutError
from linefinding.run_ties import (WINDOW_TABLES, TieError, check_echo_origin, check_kormal_tie, read_kormal_log,
                                  read_table79_origin)
from linefinding.table76 import read_table76
from linefinding.table79 import ERROR_CAP, ERROR_NAMES, has_column_errors, percent_text, read_table79
from linefinding.table81 import ERROR_NAMES as ERROR_NAMES_81
from linefinding.table81 import read_table81

# The windows' limits come from f7.2 centres and f6.2 widths: two rows
# name the same window when they agree to well within that last digit.
_SAME = 1e-6
# The "all" row's centre and width are rounded to 0.005 each, so its edges
# may lie 0.01 cm-1 from the windows' own.
_SPAN_TOLERANCE = 0.011
# kormal lists a table81 window by its centre (f7.2) and width (f6.2), each
# rounded to 0.005 cm-1 from edges of 0.001 cm-1 (and a single-precision
# centre may round the other way at a half).
_ROUNDED = 0.006

_EXAMPLES = """examples:
  python3 -m linefinding.plan build/example-run
      reads output, table81 (or, without it, table76), table79, microwin,
      output.dat and kormal.log there and writes plan.json and bands.ctl
      beside them
  python3 -m linefinding.plan -o plans/co run1
      the same for run1, writing into plans/co
  python3 -m linefinding.plan --windows table76 build/example-run
      the windows of table76 even where the study wrote a table81
      (kormal must have rated table76)
"""


class PlanError(Exception):
    """The inputs of a plan disagree; the message is one line."""


def _edge(value):
    """A window edge in cm-1, free of the binary noise of centre +- width/2."""
    return round(value, 6)


def _number(value):
    """A float for plan.json: None for NaN (a field of asterisks)."""
    return None if value is None or math.isnan(value) else float(value)


def _column_errors(row, with_errors):
    """A row's column-error budget for plan.json: % of the column per source
    and their total; None for a singular row or a table79 without them."""
    if not with_errors or row["singular"]:
        return None
    return {name: _number(row[name]) for name in ERROR_NAMES}


def _noise_model(deck, with_errors):
    """What the noise of deck line 33 was taken to be by the information
    step that wrote table79.

    Its reciprocal is the signal-to-noise ratio relative to the continuum.
    A table79 with column errors came from an information step that
    convolves with the instrument: the noise is per spectral sample, and an
    interferogram sampled out to the maximum path difference L has samples
    1/(2L) cm-1 apart (the grid when there is no instrument, L = 0). An
    older table79 counted every grid point as an independent measurement.
    """
    if not with_errors:
        return {"snr": deck["snr"], "relative_to": "continuum", "per": "grid point",
                "sample_spacing_cm-1": deck["grid"], "sample_spacing_from": "grid"}
    if deck["max_opd"] > 0:
        spacing = 1.0 / (2.0 * deck["max_opd"])
        if not math.isfinite(spacing):
            raise PlanError(f"deck line 30: maximum path difference {deck['max_opd']:g} cm gives a sample "
                            "spacing beyond the range of a number")
        source = "max_opd"
    else:
        spacing, source = deck["grid"], "grid"
    return {"snr": deck["snr"], "relative_to": "continuum", "per": "spectral sample",
            "sample_spacing_cm-1": spacing, "sample_spacing_from": source}


def _same_window(a, b, tolerance=_SAME):
    return (a["label"] == b["label"] and abs(a["centre"] - b["centre"]) < tolerance
            and abs(a["width"] - b["width"]) < tolerance)


def _window_text(w):
    return f"{w['label']} {w['centre']:.2f} {w['width']:.2f}"


def _target_label(gas, isotope):
    """The gas label of the target's rows in table76: the isotope digit, then the name."""
    if not isotope:
        return gas
    return f"{isotope if 0 < isotope < 10 else '*'}{gas}"  # written with (i1,a7)


def _gases_to_fit(label, gases):
    """The molecules to fit, the target's first, each once, and the kormal
    names left out: the solar lines and kormal's entries beyond its named
    gases (all "gas") stand for no molecule."""
    return gases_to_fit([label] + [g["gas"] for g in gases])


def _deck_values(echo):
    if echo.study != "d":
        raise PlanError(f"the deck echo is of study {echo.study!r}, not of a line-finding study (d)")
    if not echo.avkpar1 > 0:
        raise PlanError(f"deck line 33: noise {echo.avkpar1:g} gives no signal-to-noise ratio (it must be above 0)")
    # plan.json holds no infinity, which a huge field of view or a tiny noise would give.
    try:
        solid_angle = math.pi * echo.fovrad ** 2
    except OverflowError:
        solid_angle = math.inf
    if not math.isfinite(solid_angle):
        raise PlanError(f"deck line 31: field-of-view radius {echo.fovrad:g} gives a solid angle beyond the "
                        f"range of a number")
    snr = 1.0 / echo.avkpar1
    if not math.isfinite(snr):
        raise PlanError(f"deck line 33: noise {echo.avkpar1:g} gives a signal-to-noise ratio beyond the "
                        f"range of a number")
    return {
        "grid": echo.grid, "max_opd": echo.resol, "fov": echo.fovrad, "noise": echo.avkpar1,
        "apriori": echo.avkpar2,
        "fov_solid_angle": solid_angle,
        "omega_mrad": 1000.0 * echo.fovrad,
        "snr": snr,
        "range": [echo.vlo, echo.vhi],
        "spectrum": "transmission" if echo.transrad == "a" else "radiance",
        "normalised": echo.norm == "n",
        "solar": echo.solar == "y",
        "model": echo.model,
        "geometry": {"kind": "ground", "zenith_angle": echo.geomval} if echo.geom == "g"
        else {"kind": "limb", "tangent_altitude": echo.geomval},
    }


def _interferers(table, microwin, reports, record, directory, kind="table76", tolerance=_SAME):
    """The kormal findings of every window of the window table: (reported,
    contribution, gases, outcome).

    ``table`` has a label, centre and width per row. kormal's record says,
    row by row of the table, whether kormal rated the window (then microwin
    and output.dat hold it, in the table's order) or skipped it and why."""
    blocks = sorted(set(reports["window"].tolist()))
    if len(blocks) != len(microwin):
        raise PlanError(f"{directory / 'output.dat'} reports {len(blocks)} windows, "
                        f"{directory / 'microwin'} {len(microwin)}: not of the same kormal run")
    rated = [n for n, (_, outcome) in enumerate(record["windows"]) if outcome == "rated"]
    if len(rated) != len(microwin):
        raise PlanError(f"{directory / 'kormal.log'} says kormal rated {len(rated)} windows, "
                        f"{directory / 'microwin'} holds {len(microwin)}: not of the same kormal run")
    found = [(False, None, [], outcome) for _, outcome in record["windows"]]
    for n, (position, line) in enumerate(zip(rated, microwin)):
        if not _same_window(table[position], line, tolerance):
            raise PlanError(f"{directory / 'microwin'} lists the window {_window_text(line)} where {kind} "
                            f"has {_window_text(table[position])}")
        rows = reports[reports["window"] == blocks[n]]
        listed = rows[~rows["target"]]
        names = [g for g in line["interferers"] if g]
        if [str(g) for g in listed["name"][:6]] != names:
            raise PlanError(f"output.dat and microwin name other gases for the window {_window_text(line)}")
        measure = "abs_trans" if line["sort"] == "a" else "rel_trans"
        gases = [{"gas": str(r["name"]), "measure": _number(r[measure])} for r in listed]
        found[position] = (True, _number(rows["contribution"][0]), gases, "rated")
    return found


def _table_paths(directory, echo):
    """The tables of the study on the deck's output prefix, by name."""
    # tesk writes a table's name right after the output prefix, relative
    # to its working directory; a prefix without its separator makes names
    # such as resultstable76.
    prefix = echo.outpath if Path(echo.outpath).is_absolute() else str(directory) + "/" + echo.outpath
    return {name: Path(prefix + name) for name in ("table76", "table79", "table81")}


def _windows_of_table76(table76, path76, table79, path79, findings_of, label, with_errors):
    """plan.json's windows and joint entry from table76 and table79's rows."""
    rows = table79[:-1]  # the last row is "all"; a table of no windows has no rows
    if len(rows) != len(table76):
        raise PlanError(f"{path79} has {len(rows)} windows, {path76} {len(table76)}: not of the same run")
    joint = table79[-1]
    for w76, w79 in zip(table76, rows):
        if not _same_window(w76, w79):
            raise PlanError(f"{path79} has the window {_window_text(w79)} where {path76} has "
                            f"{_window_text(w76)}: not of the same run")
    _check_target(table76, path76, label)
    findings = findings_of(table76, "table76", _SAME)

    windows = []
    for index, (w, info, (reported, contribution, gases, outcome)) in enumerate(zip(table76, rows, findings), start=1):
        singular = bool(info["singular"])
        gasb, left_out = _gases_to_fit(label, gases)
        # No kernel area above 0.5 is written as 0.0 and 0.0: no altitude range.
        covered = not singular and not (info["zlow"] == 0.0 and info["zhigh"] == 0.0)
        windows.append({
            "index": index, "label": str(w["label"]), "centre": float(w["centre"]), "width": float(w["width"]),
            "nu_start": _edge(w["centre"] - w["width"] / 2), "nu_stop": _edge(w["centre"] + w["width"] / 2),
            "points": int(info["points"]),
            "dofs": None if singular else _number(info["dofs"]),
            "zlow": _number(info["zlow"]) if covered else None,
            "zhigh": _number(info["zhigh"]) if covered else None,
            "singular": singular,
            "column_error_percent": _column_errors(info, with_errors),
            "reported_by_kormal": reported, "kormal_outcome": outcome, "target_contribution": contribution,
            "interferers": gases,
            "gasb": gasb, "gasb_left_out": left_out,
        })
    start = min(w["nu_start"] for w in windows)
    stop = max(w["nu_stop"] for w in windows)
    lo = joint["centre"] - joint["width"] / 2
    hi = joint["centre"] + joint["width"] / 2
    if abs(lo - start) > _SPAN_TOLERANCE or abs(hi - stop) > _SPAN_TOLERANCE:
        raise PlanError(f"{path79}: the 'all' row spans {lo:.3f}-{hi:.3f} cm-1, "
                        f"the windows {start:.3f}-{stop:.3f}")
    return windows, {"dofs": None if joint["singular"] else _number(joint["dofs"]), "points": int(joint["points"]),
                     "nu_start": start, "nu_stop": stop,
                     "column_error_percent": _column_errors(joint, with_errors)}


def _windows_of_table81(table81, path81, findings_of, label):
    """plan.json's windows and joint entry from table81: the joint entry is
    its last row, the retrieval from all the recommended windows."""
    _check_target(table81, path81, label)
    # kormal lists a window by its centre and width, as it rates it.
    listed = [{"label": w["label"], "centre": (w["lower"] + w["upper"]) / 2, "width": w["upper"] - w["lower"]}
              for w in table81]
    findings = findings_of(listed, "table81", _ROUNDED)
    windows = []
    for w, (reported, contribution, gases, outcome) in zip(table81, findings):
        gasb, left_out = _gases_to_fit(label, gases)
        lower, upper = _edge(w["lower"]), _edge(w["upper"])
        windows.append({
            "index": int(w["rank"]), "rank": int(w["rank"]), "label": str(w["label"]),
            "lower": lower, "upper": upper, "nu_start": lower, "nu_stop": upper,
            "points": int(w["points"]), "dofs": _number(w["dofs"]), "joint_dofs": _number(w["joint_dofs"]),
            # of the retrieval from this window and all before it
            "column_error_percent": {name: _number(w[name]) for name in ERROR_NAMES_81},
            "reported_by_kormal": reported, "kormal_outcome": outcome, "target_contribution": contribution,
            "interferers": gases,
            "gasb": gasb, "gasb_left_out": left_out,
        })
    last = windows[-1]
    return windows, {"dofs": last["joint_dofs"], "points": sum(w["points"] for w in windows),
                     "nu_start": min(w["nu_start"] for w in windows), "nu_stop": max(w["nu_stop"] for w in windows),
                     "column_error_percent": last["column_error_percent"]}


def _check_target(table, path, label):
    for w in table:
        if w["label"] != label:
            raise PlanError(f"{path} has a window of {w['label']}, the deck echo's target is {label}")


def build_plan(directory, windows_from=None):
    """The plan of a working directory, as plan.json holds it.

    Parameters
    ----------
    directory : pathlib.Path
        Working directory of a line-finding study (``output``, and
        ``table76``, ``table79`` and maybe ``table81`` on the deck's output
        prefix) and of the kormal run on its window table (``microwin``,
        ``output.dat``, ``kormal.log``).
    windows_from : str, optional
        ``"table81"`` or ``"table76"``: the table the windows come from;
        by default table81 when the study wrote one, table76 otherwise.

    Returns
    -------
    dict

    Raises
    ------
    PlanError
        When the inputs disagree (other windows, another target, another
        study, kormal rated the other table) or table81 is asked for and missing.
    OSError, RecordLayoutError
        When a file is missing or out of its layout.
    """
    echo = read_deck_echo(directory / "output")
    paths = _table_paths(directory, echo)
    source = windows_from or ("table81" if paths["table81"].exists() else "table76")
    if source == "table81" and not paths["table81"].exists():
        raise PlanError(f"{paths['table81']} does not exist (a study of a tesk without recommended windows?): "
                        "pass --windows table76")
    table79 = read_table79(paths["table79"])
    origin = read_table79_origin(paths["table79"])
    table = read_table76(paths["table76"]) if source == "table76" else read_table81(paths["table81"])
    microwin = read_microwin(directory / "microwin")
    reports = read_output_dat(directory / "output.dat")
    record = read_kormal_log(directory / "kormal.log")
    deck = _deck_values(echo)
    try:
        check_echo_origin(echo, directory / "output", origin, paths["table79"])
        check_kormal_tie(record, directory / "kormal.log", paths[source], source)
    except TieError as e:
        raise PlanError(str(e)) from None
    if len(table) == 0:
        raise PlanError(f"{paths[source]} has no windows: nothing to plan")
    if len(record["windows"]) != len(table):  # same bytes, so only a record out of its layout
        raise PlanError(f"{directory / 'kormal.log'} has {len(record['windows'])} windows, "
                        f"{paths[source]} {len(table)}")

    label = _target_label(echo.gasname, echo.isotope)

    def findings_of(rows, kind, tolerance):
        return _interferers(rows, microwin, reports, record, directory, kind, tolerance)

    if source == "table76":
        with_errors = has_column_errors(table79)
        windows, joint = _windows_of_table76(table, paths["table76"], table79, paths["table79"], findings_of,
                                             label, with_errors)
    else:
        with_errors = True  # table81 comes from the information step that writes column errors
        windows, joint = _windows_of_table81(table, paths["table81"], findings_of, label)
    sorts = {str(s) for s in microwin["sort"] if s}
    sort = sorts.pop() if len(sorts) == 1 else None
    return {
        "directory": str(directory),
        "target": {"gas": echo.gasname, "isotope": echo.isotope, "label": label},
        "deck": deck,
        "noise": _noise_model(deck, with_errors),
        # the interferers' measure: output.dat's rel.-trans (sort d) or abs.-trans (a), in %
        "kormal": {"sort": sort, "measure": {"d": "rel_trans", "a": "abs_trans"}.get(sort)},
        "windows_from": source,
        "windows": windows,
        "joint": joint,
    }


def _ctl_number(value):
    """A number as bands.ctl writes it: at most six decimals, no binary noise."""
    text = f"{value:.6f}".rstrip("0")
    return text + "0" if text.endswith(".") else text


def _snr_comment(plan, index):
    """The comment line that says what band.N.snr is: the noise model of
    plan.json, as the information step that wrote table79 assumed it."""
    noise = plan["noise"]
    spacing = _ctl_number(noise["sample_spacing_cm-1"])
    if noise["per"] == "grid point":
        return (f"# band.{index}.snr: signal-to-noise ratio relative to the continuum per grid point of "
                f"{spacing} cm-1, as the information step of an older tesk assumed")
    source = "1/(2 x max-opd)" if noise["sample_spacing_from"] == "max_opd" else "the grid: max-opd 0"
    return (f"# band.{index}.snr: signal-to-noise ratio relative to the continuum per spectral sample of "
            f"{spacing} cm-1 ({source}), as the information step assumed")


def bands_ctl(plan):
    """The band section of a retrieval control file for a plan.

    Parameters
    ----------
    plan : dict
        As :func:`build_plan` returns it.

    Returns
    -------
    str
        ``band = 1 2 ...``, then per window N ``band.N.nu_start``,
        ``nu_stop`` (cm-1), ``calc_point_space`` (the deck grid, cm-1),
        ``max_opd`` (cm), ``omega`` (field-of-view half angle, mrad),
        ``snr`` (1 / noise of the normalised spectrum, after a comment
        line saying per what spectral sample it holds) and ``gasb`` (the
        molecules of the target and of the gases kormal listed for the
        window, each once), after a comment line naming the gases left out
        of it when there are any, or saying that kormal skipped the window
        and why, as its record kormal.log says, so that no interfering gas
        is known.
    """
    deck = plan["deck"]
    target = plan["target"]
    kind = "recommended microwindows (table81)" if plan["windows_from"] == "table81" else "microwindows"
    lines = [f"# bands for {target['label']}: {len(plan['windows'])} {kind} of a line-finding study",
             "band = " + " ".join(str(w["index"]) for w in plan["windows"])]
    for w in plan["windows"]:
        key = f"band.{w['index']}."
        lines += [key + "nu_start = " + _ctl_number(w["nu_start"]),
                  key + "nu_stop = " + _ctl_number(w["nu_stop"]),
                  key + "calc_point_space = " + _ctl_number(deck["grid"]),
                  key + "max_opd = " + _ctl_number(deck["max_opd"]),
                  key + "omega = " + _ctl_number(deck["omega_mrad"]),
                  _snr_comment(plan, w["index"]),
                  key + "snr = " + _ctl_number(deck["snr"])]
        if w["gasb_left_out"]:
            lines.append(f"# band.{w['index']}: {' '.join(w['gasb_left_out'])} left out of gasb: no molecule to fit")
        if not w["reported_by_kormal"]:
            lines.append(f"# band.{w['index']}: not reported by kormal ({w['kormal_outcome']}): "
                         "no interfering gases known")
        lines.append(key + "gasb = " + " ".join(w["gasb"]))
    return "\n".join(lines) + "\n"


def _optional(value, form):
    return format(value, form) if value is not None else ""


def _total_so_far(w):
    """A table81 window's total column error of the retrieval up to it, for the summary."""
    total = w["column_error_percent"]["total"]
    if total is None:
        return ""
    return ">=100000" if total >= ERROR_CAP else f"{total:.3f}"


def summary(plan):
    """The printed summary: which table the windows come from, one line per
    window, then the joint degrees of freedom and, when the table has it,
    the total column error. From table81 a window's line has its joint
    degrees of freedom and total column error with the windows before it."""
    deck = plan["deck"]
    t = plan["target"]
    isotope = f"isotope {t['isotope']}" if t["isotope"] else "all isotopes"
    recommended = plan["windows_from"] == "table81"
    out = [f"Retrieval plan for {t['gas']} ({isotope}): {len(plan['windows'])} windows from {plan['windows_from']}, "
           f"grid {deck['grid']:g} cm-1, max OPD {deck['max_opd']:g} cm, FOV {deck['omega_mrad']:g} mrad, "
           f"SNR {deck['snr']:g}",
           f"{'band':>4}  {'label':<8}{'nu_start':>10}{'nu_stop':>10}{'points':>8}{'dofs':>9}"
           + (f"{'jdofs':>9}{'total%':>10}" if recommended else f"{'zlow':>6}{'zhigh':>6}") + "  gases to fit"]
    for w in plan["windows"]:
        gases = " ".join(w["gasb"]) + ("" if w["reported_by_kormal"] else "   (not reported by kormal)")
        line = f"{w['index']:>4}  {w['label']:<8}{w['nu_start']:>10.3f}{w['nu_stop']:>10.3f}{w['points']:>8d}"
        if recommended:
            line += (f"{_optional(w['dofs'], '.3f'):>9}{_optional(w['joint_dofs'], '.3f'):>9}"
                     f"{_total_so_far(w):>10}")
        else:
            dofs = "singular" if w["singular"] else _optional(w["dofs"], ".3f")
            line += f"{dofs:>9}{_optional(w['zlow'], '.1f'):>6}{_optional(w['zhigh'], '.1f'):>6}"
        out.append(f"{line}  {gases}")
    j = plan["joint"]
    dofs = "singular" if j["dofs"] is None else f"{j['dofs']:.3f}"
    joint = f"Joint degrees of freedom of all {len(plan['windows'])} windows: {dofs} ({j['points']} points)"
    if j["column_error_percent"] is not None:
        joint += f", total column error {percent_text(j['column_error_percent']['total'])}"
    out.append(joint)
    return "\n".join(out) + "\n"


def _parser():
    p = CommandParser(prog="plan", description="Writes plan.json and bands.ctl for the microwindows of a line-finding "
                "study and the interfering gases kormal found for them.",
                epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("directory", nargs="?", type=Path, default=Path("."),
                   help="working directory of the tesk and kormal runs (default: the current one)")
    p.add_argument("-o", "--out-dir", type=Path, metavar="DIR",
                   help="where plan.json and bands.ctl go (default: the working directory)")
    p.add_argument("--windows", choices=WINDOW_TABLES[::-1], metavar="TABLE",
                   help="the window table to plan from: table81 (the recommended windows) or table76 "
                        "(default: table81 when the study wrote one, table76 otherwise)")
    return p


def _plan(argv):
    args = _parser().parse_args(argv)
    try:
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always", OverflowFieldWarning)
            plan = build_plan(args.directory, args.windows)
        for w in caught:
            say(f"plan: warning: {one_line(w.message)}\n", sys.stderr)
        out = args.out_dir if args.out_dir else args.directory
        out.mkdir(parents=True, exist_ok=True)
        (out / "plan.json").write_text(json.dumps(plan, indent=2, allow_nan=False) + "\n")
        (out / "bands.ctl").write_text(bands_ctl(plan))
    except PlanError as e:
        say(f"plan: {one_line(e)}\n", sys.stderr)
        return 1
    except (OSError, RecordLayoutError) as e:
        say(f"plan: {one_line(e)}\n", sys.stderr)
        return 2
    say(summary(plan))
    if plan["deck"]["max_opd"] == 0:
        say("plan: warning: the deck has no instrument line shape (maximum path difference 0)\n", sys.stderr)
    say(f"plan: wrote {out / 'plan.json'} and {out / 'bands.ctl'}\n")
    return 0


def main(argv=None):
    """Runs plan; returns the exit status (0, 1, 2, or 3 for an unexpected error)."""
    return run_command("plan", _plan, argv)


if __name__ == "__main__":
    sys.exit(main())
