"""The sections of a study's report page, each from the files it rests on.

Every function takes a :class:`linefinding.report_study.Study` and returns
the HTML of its section's body; a section whose files are missing is one
line saying which and why. The words describe the deck's answers as a
person would state them, not by deck line.
"""

import numpy as np

from linefinding.info_pictures import choice_figure, dofs_figure, kernels_figure
from linefinding.pictures import finite_range, spectrum_figure
from linefinding.report_html import budget_bars, budget_legend, esc, figure, left_out, number, table
from linefinding.report_study import STUDIES
from linefinding.table79 import ERROR_CAP, has_column_errors, joint_line, percent_text

ATMOSPHERES = {"t": ("tropical", "tropic"), "m": ("mid-latitude", "midlat"), "p": ("polar", "arctic")}
_SOURCES = ("noise", "smoothing", "interference", "temperature")


def real_answer(text):
    """A deck answer as a float, None when it is not a number."""
    try:
        return float(text.replace("d", "e").replace("D", "e"))
    except (AttributeError, ValueError):
        return None


def tidy(text):
    """A deck number as a person writes it (``2140.`` as 2140, ``1.e-8`` as
    1e-08); other text as it is."""
    value = real_answer(text)
    return f"{value:g}" if value is not None else text


def _percent(value):
    """A column error, % of the column, as a cell: the cap reads as what it means."""
    if value is None or value != value:
        return ""
    return "&ge;&nbsp;100000" if value >= ERROR_CAP else f"{value:.3f}"


def _rows_dl(items):
    return "<dl>\n" + "".join(f"<dt>{esc(k)}</dt><dd>{esc(v)}</dd>\n" for k, v in items if v) + "</dl>\n"


def _instrument(a):
    opd, fov = real_answer(a["max_opd"]), real_answer(a["fov"])
    if opd is None:
        line = f"maximum optical path difference {a['max_opd']!r} (not a number)"
    elif opd == 0:
        line = "no instrument line shape: the spectra are not convolved (maximum path difference 0)"
    else:
        line = f"an interferometer with a maximum optical path difference of {opd:g} cm"
    if fov is not None:
        line += (", a point field of view" if fov == 0 else f", a field of view of {1000 * fov:g} mrad radius")
    return line


def _apriori(study):
    a = study.answers
    plan = study.echo.plan if study.echo is not None else None
    if not plan:
        return f"uncertainty of the target's mixing ratio {tidy(a['apriori'])} in each layer"
    if plan.get("apriori") == "percent":
        text = f"{plan.get('apriori_percent', '?')} % of the target's profile in each layer"
    else:
        text = f"uncertainty of the target's mixing ratio {tidy(a['apriori'])} in each layer"
    length = real_answer(plan.get("correlation_length", "0"))
    text += ("; layers uncorrelated" if not length else
             f"; {plan.get('correlation_shape', '')} correlation over {length:g} km")
    text += (f"; other gases' columns {plan.get('interferer_error', '?')} %, temperature "
             f"{plan.get('temperature_error', '?')} K uncertain")
    source = "input-plan" if study.echo.plan_from_file else "tesk's defaults (no input-plan)"
    return f"{text} (settings from {source})"


def studied(study):
    """What was studied, in words: target, range, geometry, instrument,
    noise, a-priori, atmosphere, and what kormal was asked."""
    a = study.answers
    iso = "all isotopes" if a["isotope"] in ("0", "") else f"isotope {a['isotope']}"
    spectrum = "transmission" if a["spectrum"] == "a" else (
        "radiance" + (" as brightness temperature" if a["units"] == "b" else ""))
    if a["solar"] == "y" and a["spectrum"] == "a":
        spectrum += ", with the solar spectrum"
    if a["geometry"] == "g":
        geometry = f"ground-based, looking up at a zenith angle of {tidy(a['angle'])} degrees"
    elif a["geometry"] == "s":
        geometry = f"limb, tangent height {tidy(a['angle'])} km"
    else:
        geometry = f"geometry letter {a['geometry']!r}"
    removed = real_answer(a["layers_removed"])
    if removed:
        geometry += f", the lowest {removed:g} km removed (observer above them)"
    noise = real_answer(a["noise"])
    noise_text = (f"{tidy(a['noise'])} of the normalised spectrum: a signal-to-noise ratio of {1 / noise:g} "
                  "relative to the continuum") if noise else f"{tidy(a['noise'])} of the normalised spectrum"
    name, stem = ATMOSPHERES.get(a["atmosphere"], (f"letter {a['atmosphere']!r}", ""))
    items = [
        ("Study", STUDIES.get(a["study"], f"letter {a['study']!r}")),
        ("Target", f"{a['gas'].upper()} ({iso}), target layer {tidy(a['layer_bottom'])}-{tidy(a['layer_top'])} km"),
        ("Spectral range", f"{tidy(a['start'])}-{tidy(a['end'])} cm-1, points {tidy(a['grid'])} cm-1 apart"),
        ("Spectrum", spectrum),
        ("Geometry", geometry),
        ("Instrument", _instrument(a)),
        ("Noise", noise_text),
        ("A-priori", _apriori(study) if a["study"] == "d" else ""),
        ("Atmosphere", f"{name} standard atmosphere" + (f" ({stem}.mod, {stem}.vmr)" if stem else "")),
        ("Line list", a["line_list"]),
    ]
    if (study.directory / "input-kormal").is_file():
        by = "variation in the window" if a["interferer_sort"] == "d" else "absorption"
        items.append(("kormal", f"rates the windows of {a['window_table']}: gases ranked by their {by}, "
                                f"at most {a['gas_limit']} per window, above {tidy(a['gas_threshold'])} %; a window "
                                f"is rated when the target contributes at least {tidy(a['contribution'])} %"))
    return _rows_dl(items)


def _bars_scale(rows):
    """The total that fills a bar, % of the column: the largest of a table
    below the cap (a total at the cap of 100000 % or more fills the bar, and
    would leave the others none)."""
    totals = [t for t in rows["total"] if np.isfinite(t) and t < ERROR_CAP]
    return max(totals) if totals else ERROR_CAP


def glance(study):
    """The study's answer in one line: the joint degrees of freedom and
    column error of the recommended windows (or of table79's windows
    together), '' when the study has neither."""
    t81, t79 = study.tables.get("table81"), study.tables.get("table79")
    if t81 is not None and len(t81):
        last = t81[-1]
        return (f"{len(t81)} recommended windows (table81) together: {last['joint_dofs']:.3f} degrees of freedom, "
                f"total column error {percent_text(last['total'])}.")
    if t79 is not None and len(t79):
        return joint_line(t79).replace("All", "All table76", 1) + " (table79)."
    return ""


def recommended(study):
    """table81's windows with their error budget as bars, then table76's
    windows with table79's information per window."""
    out = []
    if study.has("table81") and len(study.tables["table81"]):
        t81 = study.tables["table81"]
        scale = _bars_scale(t81)
        rows = [[str(w["rank"]), esc(w["label"]), f"{w['lower']:.3f}", f"{w['upper']:.3f}", str(w["points"]),
                 f"{w['dofs']:.3f}", f"{w['joint_dofs']:.3f}", _percent(w["total"])]
                + [_percent(w[s]) for s in _SOURCES]
                + [budget_bars({s: w[s] for s in _SOURCES}, w["total"], scale)] for w in t81]
        out.append("<h3>Recommended windows (table81)</h3>\n<p>In their order of choice. The degrees of freedom "
                   "and column errors of a row are those of the retrieval from that window and all before it "
                   "(jdofs); the window alone has dofs. Errors in % of the target's total column.</p>\n")
        out.append(table(["rank", "gas", "lower cm-1", "upper cm-1", "points", "dofs", "jdofs", "total %",
                          "noise %", "smoothing %", "interference %", "temperature %", "budget"],
                         rows, numeric=set(range(0, 12)) - {1}))
        out.append(budget_legend())
    elif study.has("table81"):
        out.append(left_out("table81 recommends no window (the study found no lines of the target)."))
    else:
        out.append(left_out(f"No recommended windows: {study.why_not('table81')}."))
    out.append(_table76_part(study))
    return "".join(out)


def _table76_part(study):
    if not study.has("table76"):
        return left_out(f"No microwindows of the line-finding rating: {study.why_not('table76')}.")
    t76 = study.tables["table76"]
    t79 = study.tables.get("table79")
    info = t79 is not None and len(t79) == len(t76) + 1 and all(
        abs(a["centre"] - b["centre"]) < 1e-6 and abs(a["width"] - b["width"]) < 1e-6 for a, b in zip(t76, t79))
    errors = info and has_column_errors(t79)
    header = ["rank", "gas", "centre cm-1", "width cm-1", "lower cm-1", "upper cm-1"]
    if info:
        header += ["points", "dofs", "kernel area > 0.5 (km)"]
    if errors:
        header += ["total %", "noise %", "smoothing %", "interference %", "temperature %", "budget"]
    scale = _bars_scale(t79[~t79["singular"]]) if errors else 0.0
    rows = []
    for rank, w in enumerate(t76, start=1):
        row = [str(rank), esc(w["label"]), f"{w['centre']:.2f}", f"{w['width']:.2f}",
               f"{w['centre'] - w['width'] / 2:.3f}", f"{w['centre'] + w['width'] / 2:.3f}"]
        rows.append(row + (_info_cells(t79[rank - 1], errors, scale) if info else []))
    if info:
        joint = t79[-1]
        rows.append(["all", esc(joint["label"]), f"{joint['centre']:.2f}", f"{joint['width']:.2f}", "", ""]
                    + _info_cells(joint, errors, scale))
    intro = ("<h3>Windows of the line-finding rating (table76), for comparison</h3>\n<p>Best first. "
             + ("Information content from table79, each window alone, then all windows together.</p>\n" if info else
                "</p>\n"))
    why = "" if info else left_out(f"No information per window: {study.why_not('table79')}." if t79 is None
                                   else "table79 does not list table76's windows: no information per window.")
    return intro + why + table(header, rows, numeric=set(range(len(header) - 1)) - {1})


def _info_cells(r, errors, scale):
    if r["singular"]:
        return [str(r["points"]), "singular", ""] + (["", "", "", "", "", ""] if errors else [])
    area = "" if r["zlow"] == 0.0 and r["zhigh"] == 0.0 else f"{r['zlow']:.1f}-{r['zhigh']:.1f}"
    cells = [str(r["points"]), number(r["dofs"]), area]
    if errors:
        cells += [_percent(r["total"])] + [_percent(r[s]) for s in _SOURCES]
        cells.append(budget_bars({s: r[s] for s in _SOURCES}, r["total"], scale))
    return cells


def _spectrum_picture(t, study):
    marks = [n for n in ("table76", "table81") if n in t and len(t[n])]
    fig = spectrum_figure(t["table71"], t.get("table76"), study.units, recommended=t.get("table81"))
    caption = ("Spectra of table71: all gases above, the target and the other gases below"
               + (f"; windows of {' and '.join(marks)} marked" if marks else "") + ".")
    return fig, caption


# Per picture: its name (the figure's id), its table, the fewest rows worth
# drawing, what it is when missing, and how to draw it (figure and caption).
_PICTURES = (
    ("spectrum", "table71", 1, "No spectrum", _spectrum_picture),
    ("choice", "table81", 1, "No picture of the windows' number",
     lambda t, study: (choice_figure(t["table81"]), "Recommended windows 1 to n together (table81): joint degrees "
                       "of freedom and column error against n.")),
    ("kernels", "table80", 1, "No averaging kernels",
     lambda t, study: (kernels_figure(t["table80"]), "Averaging kernels of all microwindows together (table80).")),
    # the "all" row and at least one window
    ("dofs", "table79", 2, "No degrees of freedom per window",
     lambda t, study: (dofs_figure(t["table79"]), "Degrees of freedom and column-error budget per microwindow of "
                       "table76 (table79).")),
)


def pictures(study):
    """The spectrum with both window sets, the joint degrees of freedom and
    column error against the number of windows, the averaging kernels, and
    the degrees of freedom per window."""
    t = study.tables
    out = []
    for name, source, least, missing, draw in _PICTURES:
        if source not in t:
            out.append(left_out(f"{missing}: {study.why_not(source)}."))
        elif len(t[source]) < least or (source == "table71" and not finite_range(t[source]["wavenumber"])):
            out.append(left_out(f"{missing}: {source} has nothing to draw."))
        else:
            out.append(figure(*draw(t, study), name))
    return "".join(out)


# kormal.log and microwin write a window's centre (f7.2) and width (f6.2)
# from the same numbers: they agree to well within the last digit.
_SAME = 1e-6


def _same_window(text, line):
    """Whether kormal.log's text of a window (label, centre, width) is microwin's row."""
    words = text.split()
    numbers = [real_answer(w) for w in words[-2:]]
    return (len(words) == 3 and words[0] == line["label"] and None not in numbers
            and abs(numbers[0] - line["centre"]) < _SAME and abs(numbers[1] - line["width"]) < _SAME)


def kormal_findings(study):
    """The windows kormal rated, each with the target's contribution and the
    interfering gases by rank, and the windows it did not rate and why.

    Returns
    -------
    list of dict or None
        Per row of kormal's record: ``window`` (its text there),
        ``outcome``, and for a rated window ``contribution`` (%), ``gases``
        ((name, %) pairs) and ``measure``; None when microwin or output.dat
        do not hold the windows kormal.log says it rated.
    """
    record, microwin, reports = (study.tables[n] for n in ("kormal.log", "microwin", "output.dat"))
    blocks = sorted(set(reports["window"].tolist()))
    rated = [n for n, (_, outcome) in enumerate(record["windows"]) if outcome == "rated"]
    if not (len(rated) == len(microwin) == len(blocks)):
        return None
    for position, line in zip(rated, microwin):
        if not _same_window(record["windows"][position][0], line):
            return None
    found = [{"window": " ".join(w.split()), "outcome": outcome} for w, outcome in record["windows"]]
    for position, line, block in zip(rated, microwin, blocks):
        rows = reports[reports["window"] == block]
        measure = "abs_trans" if line["sort"] == "a" else "rel_trans"
        found[position].update(contribution=float(rows["contribution"][0]), measure=measure,
                               gases=[(str(r["name"]), float(r[measure])) for r in rows[~rows["target"]]])
    return found


def interference(study):
    """kormal's rating of every window: the interfering gases, and the
    windows it skipped and why."""
    if not study.has("kormal.log", "microwin", "output.dat"):
        return left_out(f"kormal has not run here: {study.why_not('kormal.log', 'microwin', 'output.dat')}.")
    record = study.tables["kormal.log"]
    found = kormal_findings(study)
    kind = "" if record["table"] == record["kind"] else f" ({esc(record['kind'])})"
    intro = (f"<p>kormal rated the windows of {esc(record['table'])}{kind}, one row per "
             f"window in its order. A gas's figure is its transmission's "
             f"variation in the window (rel.-trans) or its absorption at its strongest point (abs.-trans), %.</p>\n")
    if found is None:
        rows = [[str(n), esc(" ".join(w.split())), esc(o)] for n, (w, o) in enumerate(record["windows"], start=1)]
        return (intro + left_out("microwin and output.dat do not hold the windows kormal.log says kormal rated: "
                                 "only its outcomes are shown.") + table(["#", "window", "outcome"], rows, {0}))
    rows = []
    for n, f in enumerate(found, start=1):
        if f["outcome"] != "rated":
            rows.append([str(n), esc(f["window"]), f'<span class="failed">{esc(f["outcome"])}</span>', "", ""])
            continue
        gases = ", ".join(f"{esc(g)} {v:.3f}" for g, v in f["gases"]) or "none above the threshold"
        label = "rel.-trans" if f["measure"] == "rel_trans" else "abs.-trans"
        rows.append([str(n), esc(f["window"]), "rated", f"{f['contribution']:.3f}", f"{gases} ({label})"])
    return intro + table(["#", "window (gas, centre, width cm-1)", "outcome", "target contribution %",
                          "interfering gases by rank, %"], rows, {0, 3})


def bands(study):
    """The band section of bands.ctl, ready to copy."""
    path = study.paths["bands.ctl"]
    if not path.is_file():
        return left_out("No bands.ctl: python3 -m linefinding.plan on this directory writes it, once kormal has "
                        "rated the windows.")
    return ("<p>From bands.ctl, for the retrieval control file:</p>\n<pre>"
            + esc(path.read_text(errors="replace")) + "</pre>\n")
