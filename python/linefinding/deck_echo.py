"""``output``: the echo of the deck ``input-vorne`` that ``tesk`` writes.

Each of the 46 deck lines is copied as a record of 200 characters. This
reader takes back the answers a retrieval set-up needs; it reads them as
``tesk`` does: a path up to its first blank, a letter from column 1, or
the first free-form item of the line (items separated by blanks or commas,
the rest a comment).

A line-finding run (study d) ends the echo with the settings its
information step used: a title line `` input-plan`` (or `` input-plan (not
found: defaults)``) and one ``key = value`` line per setting.
"""

import re
from dataclasses import dataclass
from typing import Dict, Optional

from linefinding.records import RecordLayoutError, parse_real, read_lines

DECK_LINES = 46
PLAN_TITLE = " input-plan"
PLAN_TITLE_DEFAULTS = " input-plan (not found: defaults)"
_ITEM = re.compile(r"[^\s,/]+")


@dataclass(frozen=True)
class DeckEcho:
    """The answers of a deck that a retrieval plan uses.

    Attributes
    ----------
    outpath : str
        Prefix of the result tables (line 4), '' for the working directory.
    study : str
        ``s``, ``d``, ``w``, ``a`` or ``i`` (line 9).
    transrad : str
        ``a`` transmission or ``r`` radiance spectra (line 12).
    radunits : str
        ``r`` radiance units or ``b`` brightness temperature (line 13).
    norm : str
        ``n`` spectra normalised by their mean, ``f`` not (line 14).
    model : str
        Standard atmosphere ``t``, ``m`` or ``p`` (line 15).
    solar : str
        ``y`` transmission spectra include the solar spectrum (line 8).
    vlo, vhi : float
        Spectral range, cm-1 (lines 17, 18).
    gasname : str
        Target gas, lower case (line 19); ``hdo`` for h2o with isotope 4.
    isotope : int or None
        Target isotope (line 20); None for all isotopes.
    geom : str
        ``g`` ground-based or ``s`` limb (line 26, column 1).
    geomval : float
        Zenith angle (degrees) or tangent altitude (km) (line 26).
    grid : float
        Spacing of the spectral points, cm-1 (line 28).
    resol : float
        Maximum optical path difference, cm; 0 no convolution (line 30).
    fovrad : float
        Field-of-view radius (half angle), rad (line 31).
    avkpar1 : float
        Noise of the normalised spectrum (line 33).
    avkpar2 : float
        A-priori uncertainty of the mixing ratio (line 34).
    plan : dict or None
        The settings of the information step, key to value text as echoed
        (``{"apriori": "absolute", "apriori_percent": "50", ...}``); None
        for an echo without them (a study other than d, a display run).
    plan_from_file : bool or None
        Whether they came from ``input-plan`` (False: its defaults); None
        without them.
    """

    outpath: str
    study: str
    transrad: str
    radunits: str
    norm: str
    model: str
    solar: str
    vlo: float
    vhi: float
    gasname: str
    isotope: Optional[int]
    geom: str
    geomval: float
    grid: float
    resol: float
    fovrad: float
    avkpar1: float
    avkpar2: float
    plan: Optional[Dict[str, str]] = None
    plan_from_file: Optional[bool] = None


class _Lines:
    def __init__(self, lines, path):
        self.lines, self.path = lines, path

    def where(self, n):
        return f"{self.path}, record {n}"

    def path_answer(self, n):
        return self.lines[n - 1].split(" ")[0]

    def letter(self, n):
        return self.lines[n - 1][:1]

    def item(self, n, text=None):
        text = self.lines[n - 1] if text is None else text
        m = _ITEM.search(text)
        if not m:
            raise RecordLayoutError(f"{self.where(n)}: no answer on deck line {n}")
        return m.group(0)

    def real(self, n, text=None):
        value = parse_real(self.item(n, text), self.where(n))
        if value != value:  # a field of asterisks: no deck answer looks like that
            raise RecordLayoutError(f"{self.where(n)}: not a number: {self.item(n, text)!r}")
        return value

    def integer(self, n):
        word = self.item(n)
        try:
            return int(word)
        except ValueError:
            raise RecordLayoutError(f"{self.where(n)}: not an integer: {word!r}") from None


def _plan_lines(lines, path):
    """The settings after the deck lines: (dict, from_file), or (None, None)."""
    tail = [line.rstrip() for line in lines[DECK_LINES:]]
    if not tail or tail[0] not in (PLAN_TITLE, PLAN_TITLE_DEFAULTS):
        return None, None
    plan = {}
    for n, line in enumerate(tail[1:], start=DECK_LINES + 2):
        key, equals, value = line.partition(" = ")
        if not equals or not key or not value:
            raise RecordLayoutError(f"{path}, record {n}: expected a 'key = value' line of input-plan, "
                                    f"found {line!r}")
        plan[key] = value
    return plan, tail[0] == PLAN_TITLE


def read_deck_echo(path):
    """Reads the deck echo ``output``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    DeckEcho

    Raises
    ------
    RecordLayoutError
        For an echo of fewer than 46 lines (the run stopped while reading
        its deck), an answer that is not of its type, or a settings line
        that is not ``key = value``.
    """
    lines = read_lines(path)
    if len(lines) < DECK_LINES:
        raise RecordLayoutError(
            f"{path}: {len(lines)} deck lines, a complete echo has {DECK_LINES} (did tesk stop on its deck?)")
    d = _Lines(lines, str(path))
    gasname = d.item(19)[:7].strip()
    isotope = d.integer(20)
    plan, plan_from_file = _plan_lines(lines, path)
    if gasname == "h2o" and isotope == 4:  # tesk's own special case: HDO, all its isotopes
        gasname, isotope = "hdo", 0
    return DeckEcho(
        outpath=d.path_answer(4), study=d.letter(9), transrad=d.letter(12), radunits=d.letter(13),
        norm=d.item(14)[:1], model=d.item(15)[:1], solar=d.item(8)[:1],
        vlo=d.real(17), vhi=d.real(18), gasname=gasname, isotope=isotope or None,
        geom=d.letter(26), geomval=d.real(26, lines[25][1:15]),
        grid=d.real(28), resol=d.real(30), fovrad=d.real(31), avkpar1=d.real(33), avkpar2=d.real(34),
        plan=plan, plan_from_file=plan_from_file)
