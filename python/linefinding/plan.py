"""plan: a retrieval plan from a line-finding study and its kormal run.

Run as ``python3 -m linefinding.plan [DIR]``. Reads DIR's deck echo
``output``, ``table76`` and ``table79`` (on the deck's output prefix),
``kormal``'s ``microwin``, ``output.dat`` and ``kormal.log``, refuses
them unless the echo is of the run that made the tables and kormal's
record is of the ``table76`` beside them, and writes

- ``plan.json``: the target, the deck values a retrieval needs, the noise
  model the information content was computed with, every window with its
  limits, degrees of freedom, column-error budget and interfering gases,
  and the windows together;
- ``bands.ctl``: the band section of a retrieval control file, dotted
  ``key = value`` lines, one band per window;

and prints a summary, one line per window, then the joint degrees of
freedom and total column error of all windows. It only reads what the programs
wrote; it recomputes no physics.

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
from linefinding.run_ties import TieError, check_echo_origin, check_kormal_tie, read_kormal_log, read_table79_origin
from linefinding.table76 import read_table76
from linefinding.table79 import ERROR_NAMES, has_column_errors, percent_text, read_table79

# The windows' limits come from f7.2 centres and f6.2 widths: two rows
# name the same window when they agree to well within that last digit.
_SAME = 1e-6
# The "all" row's centre and width are rounded to 0.005 each, so its edges
# may lie 0.01 cm-1 from the windows' own.
_SPAN_TOLERANCE = 0.011

_EXAMPLES = """examples:
  python3 -m linefinding.plan build/example-run
      reads output, table76, table79, microwin and output.dat there and
      writes plan.json and bands.ctl beside them
  python3 -m linefinding.plan -o plans/co run1
      the same for run1, writing into plans/co
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


def _same_window(a, b):
    return (a["label"] == b["label"] and abs(a["centre"] - b["centre"]) < _SAME
            and abs(a["width"] - b["width"]) < _SAME)


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


def _interferers(table76, microwin, reports, record, directory):
    """The kormal findings of every table76 window: (reported, contribution, gases, outcome).

    kormal's record says, row by row of table76, whether kormal rated the
    window (then microwin and output.dat hold it, in table76 order) or
    skipped it and why."""
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
        if not _same_window(table76[position], line):
            raise PlanError(f"{directory / 'microwin'} lists the window {_window_text(line)} where table76 "
                            f"has {_window_text(table76[position])}")
        rows = reports[reports["window"] == blocks[n]]
        listed = rows[~rows["target"]]
        names = [g for g in line["interferers"] if g]
        if [str(g) for g in listed["name"][:6]] != names:
            raise PlanError(f"output.dat and microwin name other gases for the window {_window_text(line)}")
        measure = "abs_trans" if line["sort"] == "a" else "rel_trans"
        gases = [{"gas": str(r["name"]), "measure": _number(r[measure])} for r in listed]
        found[position] = (True, _number(rows["contribution"][0]), gases, "rated")
    return found


def build_plan(directory):
    """The plan of a working directory, as plan.json holds it.

    Parameters
    ----------
    directory : pathlib.Path
        Working directory of a line-finding study (``output``, and
        ``table76`` and ``table79`` on the deck's output prefix) and of the
        kormal run on its ``table76`` (``microwin``, ``output.dat``).

    Returns
    -------
    dict

    Raises
    ------
    PlanError
        When the inputs disagree (other windows, another target, another study).
    OSError, RecordLayoutError
        When a file is missing or out of its layout.
    """
    echo = read_deck_echo(directory / "output")
    # tesk writes a table's name right after the output prefix, relative
    # to its working directory; a prefix without its separator makes names
    # such as resultstable76.
    prefix = echo.outpath if Path(echo.outpath).is_absolute() else str(directory) + "/" + echo.outpath
    path76, path79 = Path(prefix + "table76"), Path(prefix + "table79")
    table76 = read_table76(path76)
    table79 = read_table79(path79)
    origin = read_table79_origin(path79)
    microwin = read_microwin(directory / "microwin")
    reports = read_output_dat(directory / "output.dat")
    record = read_kormal_log(directory / "kormal.log")
    deck = _deck_values(echo)
    try:
        check_echo_origin(echo, directory / "output", origin, path79)
        check_kormal_tie(record, directory / "kormal.log", path76)
    except TieError as e:
        raise PlanError(str(e)) from None

    if len(table76) == 0:
        raise PlanError(f"{path76} has no windows: nothing to plan")
    rows = table79[:-1]  # the last row is "all"; a table of no windows has no rows
    if len(rows) != len(table76):
        raise PlanError(f"{path79} has {len(rows)} windows, {path76} {len(table76)}: not of the same run")
    joint = table79[-1]
    for w76, w79 in zip(table76, rows):
        if not _same_window(w76, w79):
            raise PlanError(f"{path79} has the window {_window_text(w79)} where {path76} has "
                            f"{_window_text(w76)}: not of the same run")
    with_errors = has_column_errors(table79)
    label = _target_label(echo.gasname, echo.isotope)
    for w in table76:
        if w["label"] != label:
            raise PlanError(f"{path76} has a window of {w['label']}, the deck echo's target is {label}")
    if len(record["windows"]) != len(table76):  # same bytes, so only a record out of its layout
        raise PlanError(f"{directory / 'kormal.log'} has {len(record['windows'])} windows, {path76} {len(table76)}")
    findings = _interferers(table76, microwin, reports, record, directory)

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
    sorts = {str(s) for s in microwin["sort"] if s}
    sort = sorts.pop() if len(sorts) == 1 else None
    return {
        "directory": str(directory),
        "target": {"gas": echo.gasname, "isotope": echo.isotope, "label": label},
        "deck": deck,
        "noise": _noise_model(deck, with_errors),
        # the interferers' measure: output.dat's rel.-trans (sort d) or abs.-trans (a), in %
        "kormal": {"sort": sort, "measure": {"d": "rel_trans", "a": "abs_trans"}.get(sort)},
        "windows": windows,
        "joint": {"dofs": None if joint["singular"] else _number(joint["dofs"]), "points": int(joint["points"]),
                  "nu_start": start, "nu_stop": stop,
                  "column_error_percent": _column_errors(joint, with_errors)},
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
    lines = [f"# bands for {target['label']}: {len(plan['windows'])} microwindows of a line-finding study",
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


def summary(plan):
    """The printed summary: one line per window, then the joint degrees of
    freedom and, when table79 has it, the total column error."""
    deck = plan["deck"]
    t = plan["target"]
    isotope = f"isotope {t['isotope']}" if t["isotope"] else "all isotopes"
    out = [f"Retrieval plan for {t['gas']} ({isotope}): {len(plan['windows'])} windows, grid {deck['grid']:g} cm-1, "
           f"max OPD {deck['max_opd']:g} cm, FOV {deck['omega_mrad']:g} mrad, SNR {deck['snr']:g}",
           f"{'band':>4}  {'label':<8}{'nu_start':>10}{'nu_stop':>10}{'points':>8}{'dofs':>9}"
           f"{'zlow':>6}{'zhigh':>6}  gases to fit"]
    for w in plan["windows"]:
        dofs = "singular" if w["singular"] else _optional(w["dofs"], ".3f")
        gases = " ".join(w["gasb"]) + ("" if w["reported_by_kormal"] else "   (not reported by kormal)")
        out.append(f"{w['index']:>4}  {w['label']:<8}{w['nu_start']:>10.3f}{w['nu_stop']:>10.3f}{w['points']:>8d}"
                   f"{dofs:>9}{_optional(w['zlow'], '.1f'):>6}{_optional(w['zhigh'], '.1f'):>6}  {gases}")
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
    return p


def _plan(argv):
    args = _parser().parse_args(argv)
    try:
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always", OverflowFieldWarning)
            plan = build_plan(args.directory)
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
