"""The files of one study, read once for its report page.

A study is a working directory where ``tesk`` ran on ``input-vorne``:
its deck echo ``output``, its tables on the deck's output prefix, and,
when ``kormal`` ran there too, kormal's ``kormal.log``, ``microwin`` and
``output.dat``; ``bands.ctl`` of ``linefinding.plan``; and the programs'
consoles when the caller kept them. Each file is read with the package's
reader for its kind; a file that is missing or that its reader refuses is
noted with the reason, so that the page can leave its section out and say
why.
"""

import warnings
from pathlib import Path

from linefinding.deck import KORMAL, VORNE, read_answers
from linefinding.deck_echo import DECK_LINES, read_deck_echo
from linefinding.microwin import read_microwin
from linefinding.output_dat import read_output_dat
from linefinding.records import OverflowFieldWarning, RecordLayoutError, read_lines
from linefinding.run_ties import read_kormal_log
from linefinding.table71 import read_table71, table71_units
from linefinding.table76 import read_table76
from linefinding.table78 import read_table78
from linefinding.table79 import read_table79
from linefinding.table81 import read_table81

STUDIES = {"s": "spectra", "d": "line finding", "w": "weighting functions",
           "a": "averaging kernels", "i": "interferogram"}
# The tables of a line-finding study (d) alone.
_LINE_FINDING_TABLES = ("table76", "table79", "table80", "table81")
# tesk's tables, whose presence says that tesk ran in a directory.
TESK_TABLES = tuple(f"table{n}" for n in range(70, 82))
# The tables the page shows, with their readers (table80 has table78's layout).
_READERS = {"table71": read_table71, "table76": read_table76, "table79": read_table79,
            "table80": read_table78, "table81": read_table81}
# kormal's files, with their readers.
_KORMAL_READERS = {"kormal.log": read_kormal_log, "microwin": read_microwin, "output.dat": read_output_dat}


class NoStudy(Exception):
    """A directory that holds no study; the message is one line."""


class Study:
    """What a study directory holds.

    Attributes
    ----------
    directory : pathlib.Path
    answers : dict
        The named answers of ``input-vorne`` (and of ``input-kormal`` where
        only kormal has them) as text, see :func:`linefinding.deck.read_answers`.
    echo : linefinding.deck_echo.DeckEcho or None
        tesk's echo ``output``, None when missing or unreadable.
    paths : dict
        File name (``table71``, ``microwin``, ...) to its path.
    tables : dict
        File name to what its reader returned, for the files read.
    missing : dict
        File name to the one-line reason it was not read.
    read_warnings : list of str
        What the readers warned of (fields of asterisks read as NaN).
    consoles : dict
        ``"tesk"`` and ``"kormal"`` to the lines of their kept console.
    """

    def __init__(self, directory, consoles=None):
        self.directory = Path(directory)
        deck = self.directory / VORNE
        if not self.directory.is_dir():
            raise NoStudy(f"{self.directory} is not a directory")
        if not deck.is_file():
            raise NoStudy(f"{self.directory} holds no study: no {VORNE}")
        kormal = self.directory / KORMAL
        self.answers = read_answers(deck.read_text(errors="replace"),
                                    kormal.read_text(errors="replace") if kormal.is_file() else "")
        prefix = self.answers["output_path"]
        prefix = prefix if Path(prefix).is_absolute() else str(self.directory) + "/" + prefix
        self.paths = {name: Path(prefix + name) for name in TESK_TABLES}
        if not any(p.is_file() for p in self.paths.values()):
            where = f" on the prefix {self.answers['output_path']}" if self.answers["output_path"] else ""
            raise NoStudy(f"{self.directory} holds no study: {VORNE} but none of tesk's tables "
                          f"(table70 ... table81{where})")
        self.paths.update({name: self.directory / name for name in ("output", "bands.ctl", *_KORMAL_READERS)})
        self.tables, self.missing, self.read_warnings = {}, {}, []
        self.echo = self._read("output", read_deck_echo)
        for name, reader in {**_READERS, **_KORMAL_READERS}.items():
            self._read(name, reader)
        if "table71" in self.tables:
            self.units = table71_units(self.paths["table71"])
        self.consoles = {}
        for program, path in (consoles or {}).items():
            if path is not None and Path(path).is_file():
                self.consoles[program] = [line.rstrip() for line in read_lines(path)]
                self.paths[f"{program} console"] = Path(path)

    def _read(self, name, reader):
        path = self.paths[name]
        if not path.is_file():
            study = self.answers["study"]
            self.missing[name] = (f"no {name}: a study of {STUDIES.get(study, study)} writes none"
                                  if name in _LINE_FINDING_TABLES and study != "d" else f"no {name}")
            return None
        try:
            with warnings.catch_warnings(record=True) as caught:
                warnings.simplefilter("always", OverflowFieldWarning)
                self.tables[name] = reader(path)
            self.read_warnings += [" ".join(str(w.message).split()) for w in caught]
        except (OSError, RecordLayoutError, UnicodeDecodeError) as e:
            self.missing[name] = f"{name} could not be read: {' '.join(str(e).split())}"
            return None
        return self.tables[name]

    def has(self, *names):
        """True when every named file was read."""
        return all(n in self.tables for n in names)

    def why_not(self, *names):
        """The reason the first of the named files that was not read is missing."""
        return next(self.missing[n] for n in names if n not in self.tables)

    def deck_differs_from_echo(self):
        """The first deck line (1-based) where ``input-vorne`` and tesk's echo
        differ, or None: a deck edited after the run no longer describes it."""
        if self.echo is None:
            return None
        deck = [line.rstrip() for line in read_lines(self.directory / VORNE)][:DECK_LINES]
        echo = [line.rstrip() for line in read_lines(self.paths["output"])][:DECK_LINES]
        return next((n for n, (a, b) in enumerate(zip(deck, echo), start=1) if a != b), None)
