"""report: one self-contained HTML page of a study, ``report.html``.

Run as ``python3 -m linefinding.report DIR``. Reads DIR's deck
``input-vorne``, tesk's echo ``output`` and tables (on the deck's output
prefix), kormal's ``kormal.log``, ``microwin`` and ``output.dat``, the
plan's ``bands.ctl`` and, when kept, the programs' consoles, and writes
``DIR/report.html``: what was studied, in words; the recommended windows
(``table81``) with their error budgets, then ``table76``'s windows with
``table79``'s information; the spectrum with both window sets, the joint
degrees of freedom and column error against the number of windows, the
averaging kernels and the degrees of freedom per window; the interfering
gases per window as kormal rated them, and the windows it skipped and why;
the band section for a retrieval control file; every warning the files
record; and the provenance (programs' versions, input files with size and
SHA-256, dates). Pictures are inline SVG; the page needs no network,
script, style sheet or font from elsewhere, and prints.

A missing or unreadable file leaves its section out with one line saying
why (a spectral study has only table71; a study without kormal has no
interfering gases). The consoles are read from ``--tesk-console`` and
``--kormal-console``, by default ``DIR/tesk.console`` and
``DIR/kormal.console``, or, for a run of a sweep,
``SWEEP/logs/RUN/tesk.log`` and ``kormal.log``.

Exit status: 0 page written, 1 wrong command line or a directory that holds
no study (no ``input-vorne``, or none of tesk's tables), 2 the page could
not be written, 3 an unexpected error; each error is one line on stderr.
"""

import argparse
import datetime
import os
import sys
import tempfile
from pathlib import Path

from linefinding.command_line import CommandParser, one_line, run_command, say
from linefinding.report_html import page
from linefinding.report_provenance import provenance_section, warnings_section
from linefinding.report_sections import (STUDIES, bands, glance, interference, pictures, recommended, studied,
                                         tidy)
from linefinding.report_study import NoStudy, Study

_EXAMPLES = """examples:
  python3 -m linefinding.report build/example-run
      writes build/example-run/report.html
  python3 -m linefinding.report --tesk-console run1/tesk.txt -o co.html run1
      the page of run1 with tesk's version from its kept console, as co.html
"""


def _parser():
    p = CommandParser(prog="report", description="Writes report.html, one self-contained page of a line-finding "
                      "study and kormal's rating of its windows.", epilog=_EXAMPLES,
                      formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("directory", type=Path, help="working directory of the study")
    p.add_argument("-o", "--output", type=Path, metavar="FILE", help="the page (default: DIR/report.html)")
    for program in ("tesk", "kormal"):
        p.add_argument(f"--{program}-console", type=Path, metavar="FILE",
                       help=f"{program}'s console of the run (default: DIR/{program}.console, or a sweep's "
                            f"logs/RUN/{program}.log)")
    return p


def _console(directory, program, given):
    """The kept console of a program: the one given, else ``DIR/<program>.console``,
    else, for a run of a sweep (``SWEEP/runs/RUN``), ``SWEEP/logs/RUN/<program>.log``."""
    if given is not None:
        return given
    directory = directory.resolve()
    candidates = [directory / f"{program}.console"]
    if directory.parent.name == "runs":
        candidates.append(directory.parent.parent / "logs" / directory.name / f"{program}.log")
    return next((path for path in candidates if path.is_file()), None)


def build_page(directory, consoles=None, now=None):
    """The HTML of a study's page.

    Parameters
    ----------
    directory : pathlib.Path
    consoles : dict, optional
        ``"tesk"`` and ``"kormal"`` to the path of their kept console.
    now : datetime.datetime, optional
        The page's date (default: now, UTC).

    Raises
    ------
    NoStudy
        For a directory that holds no study.
    """
    study = Study(directory, consoles)
    a = study.answers
    title = f"{a['gas'].upper()} {tidy(a['start'])}-{tidy(a['end'])} cm-1: {STUDIES.get(a['study'], 'a study')}"
    now = now or datetime.datetime.now(datetime.timezone.utc)
    sections = [("studied", "What was studied", studied(study)),
                ("windows", "Windows", recommended(study)),
                ("pictures", "Spectrum, information and kernels", pictures(study)),
                ("interference", "Interfering gases per window (kormal)", interference(study)),
                ("bands", "Bands for the retrieval control file", bands(study)),
                ("warnings", "Warnings", warnings_section(study)),
                ("provenance", "Provenance", provenance_section(study, now))]
    subtitle = f"Directory {study.directory.resolve().name}; page made {now.strftime('%Y-%m-%d %H:%M UTC')}."
    return page(title, subtitle, sections, glance(study))


def write_whole(path, text):
    """Writes the page whole or not at all: a temporary name, then a rename."""
    path.parent.mkdir(parents=True, exist_ok=True)
    fd, temporary = tempfile.mkstemp(prefix=".report", dir=path.parent)
    try:
        with os.fdopen(fd, "w", encoding="utf-8") as f:
            f.write(text)
        os.chmod(temporary, 0o644)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def _report(argv):
    args = _parser().parse_args(argv)
    consoles = {p: _console(args.directory, p, getattr(args, f"{p}_console")) for p in ("tesk", "kormal")}
    try:
        text = build_page(args.directory, consoles)
    except NoStudy as e:
        say(f"report: {one_line(e)}\n", sys.stderr)
        return 1
    out = args.output or args.directory / "report.html"
    try:
        write_whole(out, text)
    except OSError as e:
        say(f"report: {one_line(e)}\n", sys.stderr)
        return 2
    say(f"report: wrote {out}\n")
    return 0


def main(argv=None):
    """Runs report; returns the exit status (0, 1, 2, or 3 for an unexpected error)."""
    return run_command("report", _report, argv)


if __name__ == "__main__":
    sys.exit(main())
