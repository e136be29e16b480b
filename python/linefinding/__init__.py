"""Readers and pictures for the tables of the line-finding programs.

The package reads what ``tesk`` and ``kormal`` write; it never recomputes
physics. Every reader returns a numpy structured array with named fields.

Modules
-------
records
    Fixed-column fields, header protocols and fields of asterisks.
table70, table71, table72, table73, table74, table75, table76, table77,
table78, table79, table80, table81, table90
    One reader for each table of ``tesk``.
deck_echo
    The answers of the deck echo ``output`` that a retrieval plan uses.
output_dat, microwin, spectra_out
    One reader for each result file of ``kormal``.
pictures, info_pictures
    One function per picture kind, each returning a matplotlib figure.
tabplot
    The command ``tabplot``: spectra, windows, kernels, degrees of
    freedom and the choice of recommended windows as SVG and PNG.
plan
    The command ``plan``: ``plan.json`` and ``bands.ctl`` for a retrieval.
deck, sweep
    Decks written from named answers, checked as the programs check them;
    the runs of a sweep file and their ``summary.csv`` (``workflow/``).
report (report_study, report_sections, report_provenance, report_html)
    The command ``report``: ``report.html``, one self-contained page of a
    study.
sweep_page
    The command ``sweep_page``: ``summary.html`` beside a sweep's
    ``summary.csv``.
"""

from linefinding.records import OverflowFieldWarning, RecordLayoutError, read_deck_lines
from linefinding.table70 import read_table70
from linefinding.table71 import read_table71, table71_units
from linefinding.table72 import read_table72
from linefinding.table73 import read_table73
from linefinding.table74 import read_table74
from linefinding.table75 import read_table75
from linefinding.table76 import read_table76
from linefinding.table77 import read_table77
from linefinding.table78 import read_table78
from linefinding.table79 import read_table79
from linefinding.table80 import read_table80
from linefinding.table81 import read_table81
from linefinding.table90 import read_table90
from linefinding.deck_echo import DeckEcho, read_deck_echo
from linefinding.output_dat import read_output_dat
from linefinding.microwin import read_microwin
from linefinding.spectra_out import read_spectra_out

__all__ = [
    "OverflowFieldWarning", "RecordLayoutError", "read_deck_lines",
    "read_table70", "read_table71", "table71_units", "read_table72", "read_table73",
    "read_table74", "read_table75", "read_table76", "read_table77", "read_table78",
    "read_table79", "read_table80", "read_table81", "read_table90", "DeckEcho", "read_deck_echo", "read_output_dat", "read_microwin", "read_spectra_out",
]
