"""tabplot: pictures of the programs' spectra and kernels, as SVG and PNG.

Run as ``python3 -m linefinding.tabplot`` or, once installed, ``tabplot``.
Exit status: 0 pictures written, 1 wrong command line or nothing to draw,
2 a file missing or not in its layout.
"""

import argparse
import sys
import warnings
from pathlib import Path

import matplotlib

matplotlib.use("Agg")
matplotlib.rcParams["svg.hashsalt"] = "linefinding"  # the same SVG for the same data

from linefinding.command_line import CommandParser, UsageError  # noqa: E402
from linefinding.info_pictures import dofs_figure, kernels_figure  # noqa: E402
from linefinding.pictures import kormal_figure, spectrum_figure  # noqa: E402
from linefinding.records import OverflowFieldWarning, RecordLayoutError  # noqa: E402
from linefinding.spectra_out import read_spectra_out  # noqa: E402
from linefinding.table71 import read_table71, table71_units  # noqa: E402
from linefinding.table76 import read_table76  # noqa: E402
from linefinding.table78 import read_table78  # noqa: E402
from linefinding.table79 import read_table79  # noqa: E402

_EXAMPLES = """examples:
  tabplot spectrum table71 --windows table76 -o co_windows
      writes co_windows.svg and co_windows.png: the target, other-gas and
      all-gas spectra of a line-finding run with its microwindows shaded
  tabplot kormal spectra.out
      writes spectra.svg and spectra.png: kormal's last window
  tabplot kernels table80 -o kernels
      writes kernels.svg and kernels.png: the averaging kernels of all
      microwindows together (or of a study a, from its table78)
  tabplot dofs table79
      writes table79.svg and table79.png: degrees of freedom per window
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
    k = sub.add_parser("kormal", help="transmissions of kormal's spectra.out",
                       epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    k.add_argument("spectra", type=Path, help="spectra.out of a kormal run")
    a = sub.add_parser("kernels", help="averaging kernels of a table78 or table80, against altitude",
                       epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    a.add_argument("kernels", type=Path, help="table78 of a study a, or table80 of a line-finding study")
    d = sub.add_parser("dofs", help="degrees of freedom per microwindow of a table79, as bars",
                       epilog=_EXAMPLES, formatter_class=argparse.RawDescriptionHelpFormatter)
    d.add_argument("table79", type=Path, help="information-content table of a line-finding study")
    for q in (s, k, a, d):
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


def main(argv=None):
    """Runs tabplot; returns the exit status (0, 1 or 2)."""
    try:
        args = _parser().parse_args(argv)
    except UsageError as e:
        print(f"tabplot: {e}", file=sys.stderr)
        return 1
    try:
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always", OverflowFieldWarning)
            if args.kind == "spectrum":
                spectra = read_table71(args.table71)
                windows = read_table76(args.windows) if args.windows else None
                source = args.table71
                if len(spectra) == 0:
                    print(f"tabplot: {source}: no spectral points to draw", file=sys.stderr)
                    return 1
                fig = spectrum_figure(spectra, windows, table71_units(args.table71), args.title)
            elif args.kind == "kernels":
                kernels = read_table78(args.kernels)  # table80 has table78's layout
                source = args.kernels
                if len(kernels) == 0:
                    print(f"tabplot: {source}: no averaging kernels to draw", file=sys.stderr)
                    return 1
                fig = kernels_figure(kernels, args.title)
            elif args.kind == "dofs":
                table = read_table79(args.table79)
                source = args.table79
                if len(table) < 2:
                    print(f"tabplot: {source}: no windows to draw", file=sys.stderr)
                    return 1
                fig = dofs_figure(table, args.title)
            else:
                spectra = read_spectra_out(args.spectra)
                source = args.spectra
                if len(spectra) == 0:
                    print(f"tabplot: {source}: no spectral points to draw", file=sys.stderr)
                    return 1
                fig = kormal_figure(spectra, args.title)
        for w in caught:
            print(f"tabplot: warning: {w.message}", file=sys.stderr)
        stem = args.output if args.output else source.with_suffix("") if source.suffix else source
        for path in _save(fig, stem):
            print(f"tabplot: wrote {path}")
    except (OSError, RecordLayoutError) as e:
        print(f"tabplot: {e}", file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
