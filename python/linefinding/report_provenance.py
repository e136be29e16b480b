"""What a study's files record against it, and where it came from: the
warnings and the provenance sections of the report page.

The warnings are only those the files hold: windows kormal skipped (its
``kormal.log``), singular rows of ``table79``, errors at the table's cap,
windows beyond the deck's range, fields of asterisks, files that do not
belong together, and the lines of the programs' kept consoles that warn.
The provenance names the programs' versions (from their consoles' headers),
the line list, atmosphere and solar files with size and SHA-256 checksum,
and when the programs ran and the page was made.
"""

import datetime
import hashlib
import re
from pathlib import Path

from linefinding.report_html import esc, left_out, table
from linefinding.report_sections import ATMOSPHERES, real_answer
from linefinding.run_ties import TieError, check_kormal_tie
from linefinding.table79 import ERROR_CAP

# Console lines that warn: a singular matrix, a window skipped or outside a
# range, a file not found, no windows or none recommended. (The defaults
# taken for a missing input-plan are in the deck echo already.)
_CONSOLE_WARNING = re.compile(r"singular|skipped|outside|not found|warning|^\s*No (?:recommended windows|microwindows)",
                              re.IGNORECASE)
_VERSION = re.compile(r"^\s*Version\b.*")


def _window_text(w):
    """A window of table79 or table81 as a warning names it."""
    if "lower" in w.dtype.names:
        return f"{w['label']} {w['lower']:.3f}-{w['upper']:.3f} cm-1"
    return f"{w['label']} {w['centre']:.2f} cm-1 (width {w['width']:.2f})"


def _outside(study, name, lo, hi):
    """Warnings for the windows of a table with edges lo and hi (cm-1) beyond the deck's range."""
    start, end = real_answer(study.answers["start"]), real_answer(study.answers["end"])
    if name not in study.tables or start is None or end is None:
        return []
    return [f"{name}: window {_window_text(w)} reaches beyond the range {start:g}-{end:g} cm-1"
            for w, a, b in zip(study.tables[name], lo, hi) if a < start or b > end]


def _table_warnings(t, study):
    """Singular rows, errors at the cap and windows beyond the range, as the tables record them."""
    found = []
    for w in t.get("table79", []):
        what = "all windows together" if w["label"] == "all" else f"window {_window_text(w)}"
        if w["singular"]:
            found.append(f"table79: {what}: matrices singular, no degrees of freedom or column error")
        elif "total" in w.dtype.names and w["total"] >= ERROR_CAP:
            found.append(f"table79: {what}: column error of 100000 % or more")
    if "table76" in t:
        w = t["table76"]
        found += _outside(study, "table76", w["centre"] - w["width"] / 2, w["centre"] + w["width"] / 2)
    if "table81" in t:
        found += [f"table81: windows 1 to {w['rank']}: column error of 100000 % or more"
                  for w in t["table81"] if w["total"] >= ERROR_CAP]
        found += _outside(study, "table81", t["table81"]["lower"], t["table81"]["upper"])
    return found


def _kormal_warnings(t, study):
    """The windows kormal skipped, and a record of another window table than the one beside it."""
    record = t["kormal.log"]
    found = [f"kormal.log: window {n} ({' '.join(w.split())}) {outcome}"
             for n, (w, outcome) in enumerate(record["windows"], start=1) if outcome != "rated"]
    rated = study.paths.get(record["kind"])
    try:
        if rated is not None and rated.is_file():
            check_kormal_tie(record, study.paths["kormal.log"], rated, record["kind"])
    except TieError as e:
        found.append(str(e))
    return found


def warnings_of(study):
    """The warnings the files record, one plain line each, each once."""
    t = study.tables
    found = [why for why in study.missing.values() if "could not be read" in why]
    found += [f"a field too wide for its format: {w}" for w in study.read_warnings]
    line = study.deck_differs_from_echo()
    if line:
        found.append(f"input-vorne line {line} differs from tesk's echo in output: the deck was changed after the "
                     "run; the page describes the deck as it is now")
    if study.echo is not None and study.echo.plan_from_file is False:
        found.append("no input-plan: tesk's information step took its defaults (output)")
    found += _table_warnings(t, study)
    if "kormal.log" in t:
        found += _kormal_warnings(t, study)
    ctl = study.paths["bands.ctl"]
    if ctl.is_file():
        newer = [name for name in ("output", "kormal.log") if study.paths[name].is_file()
                 and study.paths[name].stat().st_mtime_ns > ctl.stat().st_mtime_ns]
        if newer:
            found.append(f"bands.ctl is older than {' and '.join(newer)}: it may be of an earlier run "
                         "(run python3 -m linefinding.plan again)")
    for program, lines in study.consoles.items():
        found += [f"{program} console: {line.strip()}" for line in lines if _CONSOLE_WARNING.search(line)]
    return list(dict.fromkeys(found))


def warnings_section(study):
    """The warnings as a list, or one line saying there are none."""
    found = warnings_of(study)
    if not found:
        return "<p>None: the files record no warning.</p>\n"
    return "<ul>\n" + "".join(f"<li>{esc(w)}</li>\n" for w in found) + "</ul>\n"


def _checksum(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def _file_row(study, what, name):
    path = Path(name) if Path(name).is_absolute() else study.directory / name
    if not path.is_file():
        return [esc(what), esc(name), "", "not found here"]
    return [esc(what), esc(name), f"{path.stat().st_size}", f"<code>{_checksum(path)}</code>"]


def _when(path):
    stamp = datetime.datetime.fromtimestamp(path.stat().st_mtime, datetime.timezone.utc)
    return stamp.strftime("%Y-%m-%d %H:%M:%S UTC")


def provenance_section(study, now=None):
    """The programs' versions, the input files with size and SHA-256, and the dates."""
    versions = []
    for program in ("tesk", "kormal"):
        lines = study.consoles.get(program)
        version = next((m.group(0).strip() for m in map(_VERSION.match, lines or []) if m), None)
        if version:
            versions.append(f"<li>{program}: {esc(version)} (its console)</li>")
        elif program == "tesk" or "kormal.log" in study.tables:
            versions.append(f"<li>{program}: not recorded here (its console was not kept: pass "
                            f"--{program}-console)</li>")
    a = study.answers
    rows = [_file_row(study, "line list", a["line_list"])]
    stem = ATMOSPHERES.get(a["atmosphere"], ("", ""))[1]
    if stem:
        rows += [_file_row(study, "atmosphere", a["input_path"] + stem + suffix) for suffix in (".mod", ".vmr")]
    if a["solar"] == "y":
        rows.append(_file_row(study, "solar spectrum", a["input_path"] + "solar.dat"))
    dates = [(f"tesk ({name})", study.paths[name]) for name in ("output",) if study.paths[name].is_file()]
    dates += [(f"kormal ({name})", study.paths[name]) for name in ("kormal.log",) if study.paths[name].is_file()]
    dates += [("plan (bands.ctl)", study.paths["bands.ctl"])] if study.paths["bands.ctl"].is_file() else []
    now = now or datetime.datetime.now(datetime.timezone.utc)
    when = "".join(f"<li>{esc(what)}: {_when(path)}</li>" for what, path in dates)
    return (f"<p>Directory: {esc(study.directory.resolve().name)}</p>\n"
            f"<h3>Programs</h3>\n<ul>{''.join(versions)}</ul>\n"
            "<h3>Input files</h3>\n" + table(["file", "name", "bytes", "SHA-256"], rows, {2})
            + "<h3>Dates (the files' times)</h3>\n"
            + f"<ul>{when}<li>this page: {now.strftime('%Y-%m-%d %H:%M:%S UTC')}</li></ul>\n"
            + ("" if dates else left_out("No output of tesk here: no date of the run.")))
