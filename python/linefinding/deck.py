"""Writing decks: named answers set into a base ``input-vorne`` and ``input-kormal``.

A sweep changes a few answers of a study many times over. This module
names those answers (``gas``, ``atmosphere``, ``angle``, ``grid``, ...),
writes them into the lines of a base deck, keeping each line's comment,
and checks every named answer of the written decks the way ``tesk`` checks
its deck, so that a value the program would refuse is refused here, before
any run starts. An answer that both programs have (line list, atmosphere,
solar spectrum, ...) is written into both decks, so they stay consistent.

>>> vorne, kormal = write_decks(base_vorne, base_kormal, {"gas": "co", "angle": 45})

Values may be numbers or text; they are written as Python prints them
(``0.002``, ``1e-07``, ``45``) or as given.
"""

import math
import re
from dataclasses import dataclass

import numpy as np

VORNE, KORMAL = "input-vorne", "input-kormal"
VORNE_LINES, KORMAL_LINES = 46, 15

# tesk's gas table: the names line 19 of input-vorne may hold.
GAS_NAMES = (
    "h2o co2 o3 n2o co ch4 o2 no so2 no2 nh3 hno3 oh hf hcl hbr hi clo ocs h2co hocl ho2 h2o2 hono "
    "ho2no2 n2o5 clno3 hcn ch3f ch3cl cf4 ccl2f2 ccl3f ch3ccl3 ccl4 cof2 cfclo c2h6 c2h4 c2h2 n2 "
    "chclf2 cocl2 ch3br ch3i hcooh h2s chcl2f hdo sf6 f113 clcn").split()

_INTEGER = re.compile(r"[+-]?\d+")
_REAL = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?")
_FLOAT_MAX = float(np.finfo(np.float32).max)
_ITEM = re.compile(r"[^\s,]+")


class DeckError(ValueError):
    """A deck answer that is unknown, or that the programs would refuse."""


# ---------------------------------------------------------------- values


def _integer(text):
    if not _INTEGER.fullmatch(text) or abs(int(text)) > 2**31 - 1:
        raise DeckError("the answer must be an integer")
    return int(text)


def _real(text):
    """A real answer as the programs hold it (single precision)."""
    if not _REAL.fullmatch(text):
        raise DeckError("the answer must be a number")
    value = float(text.translate(str.maketrans("dD", "ee")))
    if not math.isfinite(value) or abs(value) > _FLOAT_MAX:
        raise DeckError("the answer must be a finite number")
    return float(np.float32(value))


def _letters(allowed):
    def check(text):
        if not text or text[0] not in allowed:
            raise DeckError("the answer must be one of " + ", ".join(allowed))
        return text[0]
    return check


def _path(text):
    if len(text) > 99:
        raise DeckError("the path may hold at most 99 characters")
    return text


def _gas(text):
    if text not in GAS_NAMES:
        raise DeckError("not a gas of the gas table (lower case; for example h2co, not ch2o)")
    return text


def _nonzero(text):
    value = _real(text)
    if value == 0.0:
        raise DeckError("the answer must not be 0 (its covariance matrix would be singular)")
    return value


def _above_zero_integer(text):
    value = _integer(text)
    if value <= 0:
        raise DeckError("the record length must be above 0")
    return value


def _not_negative_integer(text):
    value = _integer(text)
    if value < 0:
        raise DeckError("the record count must be 0 or more")
    return value


def _margin(text):
    value = _real(text)
    if value < 0.0:
        raise DeckError("the margin must be 0 or more")
    return value


def _angle(text):
    if len(text) > 14:
        raise DeckError("the value must fit into columns 2 to 15 (14 characters)")
    return _real(text)


# ---------------------------------------------------------------- answers


@dataclass(frozen=True)
class Answer:
    """A named answer: where it stands in each deck and how it is checked.

    ``vorne`` and ``kormal`` are ``(line, item)`` places, ``None`` when the
    deck has no such answer; the item is 0 for the first free-form item of
    the line, 1 for the second, ``"path"`` for a whole-line path,
    ``"column1"`` for the letter in column 1 and ``"columns2"`` for the
    value in columns 2 to 15.
    """

    vorne: tuple
    kormal: tuple
    check: object
    meaning: str


ANSWERS = {
    "line_list": Answer((2, "path"), (1, "path"), _path, "path and name of the line list"),
    "database": Answer((6, 0), (5, 0), _letters("ha"), "h: HITRAN molecule numbers, a: the programs' own"),
    "record_length": Answer((6, 1), (5, 1), _above_zero_integer, "record length of the line list"),
    "records": Answer((7, 0), (6, 0), _not_negative_integer, "records of the line list, 0: count them"),
    "solar": Answer((8, 0), (9, 0), _letters("yn"), "solar spectrum y or n"),
    "study": Answer((9, "column1"), None, _letters("sdwai"), "study letter"),
    "factor": Answer((10, 0), None, _real, "factor on the target in the scaled spectrum"),
    "sort": Answer((11, "column1"), None, _letters("tedir"), "ranking key"),
    "spectrum": Answer((12, "column1"), None, _letters("ar"), "a transmission, r radiance"),
    "units": Answer((13, "column1"), None, _letters("rb"), "r radiance units, b brightness temperature"),
    "normalisation": Answer((14, 0), None, _letters("nf"), "weighting-function normalisation"),
    "atmosphere": Answer((15, 0), (7, 0), _letters("tmp"), "t tropical, m mid-latitude, p polar"),
    "background": Answer((16, 0), None, _real, "background blackbody temperature, K"),
    "start": Answer((17, 0), None, _real, "start of the range, cm-1"),
    "end": Answer((18, 0), None, _real, "end of the range, cm-1"),
    "gas": Answer((19, 0), None, _gas, "target gas"),
    "isotope": Answer((20, 0), None, _integer, "target isotope, 0: all"),
    "profile_factor": Answer((21, 0), None, _real, "factor on the target's profile"),
    "layer_bottom": Answer((24, 0), None, _real, "lower altitude of the target layer, km"),
    "layer_top": Answer((25, 0), None, _real, "upper altitude of the target layer, km"),
    "geometry": Answer((26, "column1"), None, _letters("gs"), "g ground-based, s limb"),
    "angle": Answer((26, "columns2"), None, _angle, "zenith angle (deg), or tangent altitude (km) of a limb path"),
    "layers_removed": Answer((27, 0), (8, 0), _real, "lowest layers removed (km of station altitude)"),
    "grid": Answer((28, 0), None, _real, "grid spacing, cm-1"),
    "margin": Answer((29, 0), None, _margin, "margin for lines around each interval, cm-1"),
    "max_opd": Answer((30, 0), None, _real, "maximum optical path difference, cm; 0: no convolution"),
    "fov": Answer((31, 0), None, _real, "field-of-view radius, rad"),
    "interference_width": Answer((32, 0), None, _real, "interference window, cm-1"),
    "noise": Answer((33, 0), None, _nonzero, "noise of the normalised spectrum"),
    "apriori": Answer((34, 0), None, _nonzero, "a-priori uncertainty of the mixing ratio"),
    "temperature_limit": Answer((37, 0), None, _real, "limit on the temperature dependence, % per K"),
    "temperature_reference": Answer((38, 0), None, _real, "reference temperature, K"),
    "window_start": Answer((39, 0), None, _real, "starting microwindow width, cm-1"),
    "window_centre": Answer((40, 0), None, _real, "interval kept around the line centre, cm-1"),
    "window_widest": Answer((41, 0), None, _real, "widest merged microwindow, cm-1"),
    "windows": Answer((42, 0), None, _integer, "most windows in table76"),
    "observer_altitude": Answer(None, (8, 0), _real, "kormal: observer altitude, km"),
    "gas_limit": Answer(None, (10, 0), _integer, "kormal: bound on the gases listed per window"),
    "contribution": Answer(None, (11, 0), _real, "kormal: contribution threshold of the target, %"),
    "gas_threshold": Answer(None, (12, 0), _real, "kormal: gas threshold, %"),
    "interferer_sort": Answer(None, (13, 0), _letters("da"), "kormal: d variation, a absorption"),
}


def value_text(value):
    """A value as written into a deck: numbers as Python prints them, True and
    False (YAML's yes and no) as y and n."""
    if isinstance(value, bool):
        return "y" if value else "n"
    return str(value).strip()


# ---------------------------------------------------------------- lines


def _items(line):
    """The free-form items at the front of a line: (start, end) spans."""
    return [m.span() for m in _ITEM.finditer(line)]


def _answer_text(line, item):
    """The text of an answer in a deck line."""
    if item == "path":
        return line.split(" ", 1)[0] if line.strip() else ""
    if item == "column1":
        return line[:1]
    if item == "columns2":
        found = _ITEM.search(line[1:15])
        return found.group() if found else ""
    spans = _items(line)
    return line[slice(*spans[item])] if item < len(spans) else ""


def _replace(line, item, text, count=1):
    """The deck line with one answer replaced and the rest (the comment) kept.
    ``count`` is the number of free-form items the line's answer has."""
    if item == "path":
        rest = line.split(" ", 1)[1].strip() if " " in line else ""
        return f"{text:<10} {rest}".rstrip()
    if item == "column1":
        return text + line[1:]
    if item == "columns2":
        # The value must stay within columns 2 to 15; a comment starts after.
        found = _ITEM.search(line[1:15])
        comment = line[1 + found.end():].strip() if found else line[15:].strip()
        return f"{line[:1] or ' '}{text:<14} {comment}".rstrip()
    spans = _items(line)
    words = [line[slice(*s)] for s in spans[:count]]
    words += ["0"] * (count - len(words))
    words[item] = text
    comment = line[spans[count - 1][1]:].strip() if len(spans) >= count else ""
    return f"{' '.join(words):<10} {comment}".rstrip()


# Lines whose answer is two free-form items.
_TWO_ITEMS = {(VORNE, 6), (KORMAL, 5)}
# Answers both decks hold; a base deck whose two copies differ is refused.
_SHARED = ("line_list", "atmosphere", "solar", "record_length", "records")


def _split(text, name, needed):
    lines = text.splitlines()
    if len(lines) < needed:
        raise DeckError(f"the base deck {name} has {len(lines)} lines; {needed} are needed")
    return lines


# ---------------------------------------------------------------- decks


def set_answers(vorne_text, kormal_text, answers, check=True):
    """Sets named answers into the texts of the two decks.

    Parameters
    ----------
    vorne_text, kormal_text : str
        The base decks ``input-vorne`` and ``input-kormal``.
    answers : dict
        Answer name to value; names are the keys of :data:`ANSWERS`.
    check : bool
        Check every named answer of the result (:func:`check_decks`).

    Returns
    -------
    (str, str)
        The two decks, LF line ends.

    Raises
    ------
    DeckError
        For an unknown name or a value the programs would refuse.
    """
    unknown = [name for name in answers if name not in ANSWERS]
    if unknown:
        raise DeckError(f"unknown deck answer {unknown[0]!r}; known answers: {', '.join(ANSWERS)}")
    decks = {VORNE: _split(vorne_text, VORNE, VORNE_LINES), KORMAL: _split(kormal_text, KORMAL, KORMAL_LINES)}
    # Answers of kormal alone come last: an observer altitude given with the
    # removed layers is the one kormal gets.
    for name in sorted(answers, key=lambda n: ANSWERS[n].vorne is None):
        text = value_text(answers[name])
        word = re.fullmatch(r"\S+", text) if name == "line_list" else _ITEM.fullmatch(text)
        if not word:
            raise DeckError(f"answer {name} = {text!r}: one word is needed (no blanks{'' if name == 'line_list' else ' or commas'})")
        answer = ANSWERS[name]
        for deck, place in ((VORNE, answer.vorne), (KORMAL, answer.kormal)):
            if place is not None:
                line, item = place
                count = 2 if (deck, line) in _TWO_ITEMS else 1
                decks[deck][line - 1] = _replace(decks[deck][line - 1], item, text, count)
    vorne, kormal = ("\n".join(decks[d]) + "\n" for d in (VORNE, KORMAL))
    if check:
        check_decks(vorne, kormal, given=answers)
    return vorne, kormal


def read_answers(vorne_text, kormal_text):
    """The named answers as the decks hold them, as text (``tesk``'s deck first)."""
    decks = {VORNE: vorne_text.splitlines(), KORMAL: kormal_text.splitlines()}
    found = {}
    for name, answer in ANSWERS.items():
        for deck, place in ((VORNE, answer.vorne), (KORMAL, answer.kormal)):
            if place is not None and name not in found:
                line, item = place
                lines = decks[deck]
                found[name] = _answer_text(lines[line - 1] if line <= len(lines) else "", item)
    return found


def _finest_grid(start, end):
    """The finest grid that keeps single-precision wavenumbers near the range's
    end apart (two spacings of the float there, at least 1e-4 cm-1)."""
    top = np.float32(max(abs(start), abs(end)))
    spacing = top - np.nextafter(top, np.float32(0))
    return float(max(np.float32(1.0e-4), np.float32(2.0) * spacing))


def check_decks(vorne_text, kormal_text, given=()):
    """Checks every named answer of two decks as the programs would.

    Parameters
    ----------
    vorne_text, kormal_text : str
    given : collection of str
        Names set by the caller; the others are reported as coming from
        the base deck.

    Raises
    ------
    DeckError
        Naming the answer, its deck line, the value and why it is refused.
    """
    _split(vorne_text, VORNE, VORNE_LINES)
    _split(kormal_text, KORMAL, KORMAL_LINES)
    texts = read_answers(vorne_text, kormal_text)
    values = {}

    def refuse(name, why):
        answer = ANSWERS[name]
        deck, line = (VORNE, answer.vorne[0]) if answer.vorne else (KORMAL, answer.kormal[0])
        origin = "" if name in given else ", from the base deck"
        raise DeckError(f"answer {name} = {texts[name]!r} (line {line} of {deck}{origin}): {why}")

    for name, answer in ANSWERS.items():
        try:
            values[name] = answer.check(texts[name])
        except DeckError as e:
            refuse(name, str(e))
    # Answers that both decks hold must agree.
    for name in _SHARED:
        answer = ANSWERS[name]
        other = _answer_text(kormal_text.splitlines()[answer.kormal[0] - 1], answer.kormal[1])
        try:
            same = answer.check(other) == values[name]
        except DeckError:
            same = False
        if not same:
            refuse(name, f"{KORMAL} line {answer.kormal[0]} holds {other!r}; both decks must agree")
    # The checks that tie answers together, as tesk makes them.
    if values["study"] == "d" and values["factor"] == 1.0:
        refuse("factor", "the target factor must differ from 1 for line finding")
    if values["grid"] <= 0.0:
        refuse("grid", "the grid spacing must be above 0")
    finest = _finest_grid(values["start"], values["end"])
    if values["grid"] < finest:
        # The shortest decimal that reads back at or above the limit.
        shown = next(t for t in (f"{finest:.{d}g}" for d in range(2, 10)) if np.float32(t) >= np.float32(finest))
        refuse("grid", f"the grid spacing must be at least {shown} cm-1 to keep the wavenumbers apart")
    if values["window_centre"] > values["window_start"]:
        refuse("window_centre", "the interval around the centre must not exceed the starting window width")
    if values["end"] <= values["start"]:
        refuse("end", "the end of the range must lie above its start")
