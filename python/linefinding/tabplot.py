"""tabplot: pictures of the programs' spectra, kernels, information
content and recommended windows, as SVG and PNG.

Run as ``python3 -m linefinding.tabplot`` or, once installed, ``tabplot``.
Exit status: 0 pictures written, 1 wrong command line or nothing to draw
(no rows, or no number on the picture's axis), 2 a file missing or not in
its layout, 3 an unexpected error; each error is one line on stderr.
"""

import argparse
import sys
import warnings
from pathlib import Path

import matplotlib
import numpy as np

matplotlib.use("Agg")
matplotlib.rcParams["svg.hashsalt"] = "linefinding"  # the same SVG for the same data

from linefinding.command_line import CommandParser, one_line, run_command, say  # noqa: E402
from linefinding.info_pictures import choice_figure, dofs_figure, kernels_figure  # noqa: E402
from linefinding.pictures import kormal_figure, spectrum_figure  # noqa: E402
from linefinding.records import OverflowFieldWarning, RecordLayoutError  # noqa: E402
from linefinding.spectra_out import read_spectra_out  # noqa: E402
from linefinding.table71 import read_table71, table71_units  # noqa: E402
from linefinding.table76 import read_table76  # noqa: E402
from linefinding.table78 import read_table78  # noqa: E402
from linefinding.table79 import read_table79  # noqa: E402
from linefinding.table81 import read_table81  # noqa: E402

_EXAMPLES = """examples:
  tabplot spectrum table71 --windows table76 -o co_windows
      writes co_windows.svg and co_windows.png: the target, other-gas and
      all-gas spectra of a line-finding run with its microwindows shaded
  tabplot spectrum table71 --windows table76 --recommended table81 -o both
      the same with the recommended windows of table81 outlined and hatched
  tabplot kormal spectra.out
      writes spectra.svg and spectra.png: kormal's last window
  tabplot kernels table80 -o kernels
      writes kernels.svg and kernels.png: the averaging kernels of all
      microwindows together (or of a study a, from its table78)
  tabplot dofs table79
      writes table79.svg and table79.png: degrees of freedom per window and,
      below, the error of the target's total column per window by source
  tabplot choice table81 -o choice
      writes choice.svg and choice.png: the joint degrees of freedom and the
      total column error (and its parts) of the recommended windows 1 to n
      against n, to see how many windows are enough
"""


def _parser():
    p = CommandParser(prog="tabplot", description="Draws the spectra, averaging kernels and degrees of freedom of the "
                "line-finding programs as SVG and PNG.",
                epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = p.add_subparsers(dest="kind", required=True, metavar="KIND")
    s = sub.add_parser("spectrum", help="spectra of a table71, optionally with the windows of a table76",
                       epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    s.add_argument("table71", type=Path, help="spectrum table of a tesk run")
    s.add_argument("--windows", type=Path, metavar="TABLE76", help="microwindow table to shade")
    s.add_argument("--recommended", type=Path, metavar="TABLE81",
                   help="recommended windows to outline and hatch, ranked in their order of choice")
    k = sub.add_parser("kormal", help="transmissions of kormal's spectra.out",
                       epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    k.add_argument("spectra", type=Path, help="spectra.out of a kormal run")
    a = sub.add_parser("kernels", help="averaging kernels of a table78 or table80, against altitude",
                       epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    a.add_argument("kernels", type=Path, help="table78 of a study a, or table80 of a line-finding study")
    d = sub.add_parser("dofs", help="degrees of freedom and column-error budget per microwindow of a table79, as bars",
                       epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    d.add_argument("table79", type=Path, help="information-content table of a line-finding study")
    c = sub.add_parser("choice", help="joint degrees of freedom and column error of the recommended windows of a "
                       "table81 against their number", epilog=_EXAMPLES,
                       formatter_class=argparse.RawDescriptionHelpFormatter)
    c.add_argument("table81", type=Path, help="recommended-window table of a line-finding study")
    for q in (s, k, a, d, c):
        q.add_argument("-o", "--output", type=Path, metavar="STEM",
                       help="output name without suffix (default: the input's name)")
        q.add_argument("--title", help="title above the picture")
    return p


def _save(fig, stem):
    stem.parent.mkdir(parents=True, exist_ok=True)
    written = []
    for suffix, extra in ((".svg", {"metadata": {"Date": None}}), (".png", {"dpi": 150})):
        path = stem.with_suffix(suffix) if stem.suffix in ("", ".svg", ".png") else Path(str(stem) + suffix)
        fig.savefig(path, **extra)
        written.append(path)
    return written


# Per kind: the reader, the argument naming its file, the fewest rows worth a
# picture, the column the picture is drawn against (some of it must be a
# number, not asterisks), and what the rows are.
_KINDS = {
    "spectrum": (read_table71, "table71", 1, "wavenumber", "spectral points"),
    "kormal": (read_spectra_out, "spectra", 1, "wavenumber", "spectral points"),
    "kernels": (read_table78, "kernels", 1, "altitude", "averaging kernels"),  # table80 has table78's layout
    "dofs": (read_table79, "table79", 2, None, "windows"),  # the "all" row and at least one window
    "choice": (read_table81, "table81", 1, None, "recommended windows"),
}


def _figure(args, table):
    if args.kind == "spectrum":
        windows = read_table76(args.windows) if args.windows else None
        recommended = read_table81(args.recommended) if args.recommended else None
        return spectrum_figure(table, windows, table71_units(args.table71), args.title, recommended)
    if args.kind == "kormal":
        return kormal_figure(table, args.title)
    if args.kind == "kernels":
        return kernels_figure(table, args.title)
    if args.kind == "choice":
        return choice_figure(table, args.title)
    return dofs_figure(table, args.title)


def _tabplot(argv):
    args = _parser().parse_args(argv)
    reader, argument, least, axis, what = _KINDS[args.kind]
    source = getattr(args, argument)
    try:
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always", OverflowFieldWarning)
            table = reader(source)
            if len(table) < least:
                say(f"tabplot: {source}: no {what} to draw\n", sys.stderr)
                return 1
            if axis is not None and not np.isfinite(table[axis]).any():
                say(f"tabplot: {source}: no {axis} to draw against (each is a field of asterisks)\n", sys.stderr)
                return 1
            fig = _figure(args, table)
        for w in caught:
            say(f"tabplot: warning: {one_line(w.message)}\n", sys.stderr)
        stem = args.output if args.output else source.with_suffix("") if source.suffix else source
        for path in _save(fig, stem):
            say(f"tabplot: wrote {path}\n")
    except (OSError, RecordLayoutError) as e:
        say(f"tabplot: {one_line(e)}\n", sys.stderr)
        return 2
    return 0


def main(argv=None):
    """Runs tabplot; returns the exit status (0, 1, 2, or 3 for an unexpected error)."""
    return run_command("tabplot", _tabplot, argv)


if __name__ == "__main__":
    sys.exit(main())
