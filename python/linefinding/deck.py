"""Writing decks: named answers set into a base ``input-vorne`` and ``input-kormal``.

A sweep changes a few answers of a study many times over. This module
names those answers (``gas``, ``atmosphere``, ``angle``, ``grid``, ...) and
writes them into the lines of a base deck, keeping each line's comment. An
answer that both programs have (line list, atmosphere, solar spectrum, ...)
is written into both decks, so they stay consistent.

The decks are checked by the programs themselves: :func:`check_decks` writes
them into a temporary directory and runs ``tesk --check-deck`` and ``kormal
--check-deck`` there, so that a value a run would refuse is refused here,
with the program's own message, before any run starts. This module holds
none of the programs' rules (letters, limits, the gas table).

>>> vorne, kormal = set_answers(base_vorne, base_kormal, {"gas": "co", "angle": 45})

``kormal``'s slant path has its own answer, ``kormal_angle`` (the optional
16th line of ``input-kormal``, the solar zenith angle). When neither the
answers nor the base ``input-kormal`` give it and ``tesk``'s path is
ground-based (geometry ``g``), ``tesk``'s zenith angle is written there, so
that both programs look along the same path; for a limb path ``kormal``
keeps its 75 degrees.

The settings of ``tesk``'s information step that the deck has no line
for (:data:`PLAN_ANSWERS`: ``apriori_percent``, ``temperature_error``, ...)
are named answers too, by their keys there (only the kind of a-priori is
``apriori_kind``, as ``apriori`` is deck line 34, and the number of
recommended windows ``recommended_windows``, as ``windows`` is line 42): :func:`set_plan` writes them into the text of ``input-plan``
(``key = value`` lines), keeping the entries and comments of a base one.
:func:`set_answers` takes them beside the deck answers and has ``tesk
--check-deck`` check them with the decks.

Values may be numbers or text; they are written as Python prints them
(``0.002``, ``1e-07``, ``45``) or as given.
"""

import os
import re
import subprocess
import tempfile
from dataclasses import dataclass
from pathlib import Path

VORNE, KORMAL, PLAN = "input-vorne", "input-kormal", "input-plan"
VORNE_LINES, KORMAL_LINES = 46, 15
# The optional last line of input-kormal: the solar zenith angle.
KORMAL_ANGLE_LINE = 16
_KORMAL_ANGLE_COMMENT = "solar zenith angle of kormal's path, degrees"

_ITEM = re.compile(r"[^\s,]+")
# Columns 2 to 15 of the geometry line hold the angle; tesk reads no further.
_COLUMNS2_WIDTH = 14

# Where a program's path comes from when the caller gives none.
PROGRAM_VARIABLES = {"tesk": "LF_TESK_BIN", "kormal": "LF_KORMAL_BIN"}


class DeckError(ValueError):
    """A deck answer that is unknown, that cannot be written, or that a program refuses."""


# ---------------------------------------------------------------- answers


@dataclass(frozen=True)
class Answer:
    """A named answer: where it stands in each deck.

    ``vorne`` and ``kormal`` are ``(line, item)`` places, ``None`` when the
    deck has no such answer; the item is 0 for the first free-form item of
    the line, 1 for the second, ``"path"`` for a whole-line path (blank: the
    working directory), ``"column1"`` for the letter in column 1 and
    ``"columns2"`` for the value in columns 2 to 15.
    """

    vorne: tuple
    kormal: tuple
    meaning: str


ANSWERS = {
    "line_list": Answer((2, "path"), (1, "path"), "path and name of the line list"),
    "input_path": Answer((3, "path"), (3, "path"), "prefix of the input data files, blank: the working directory"),
    "output_path": Answer((4, "path"), (4, "path"), "prefix of the result tables, blank: the working directory"),
    "window_table": Answer(None, (2, "path"), "kormal: the table76 whose windows it rates"),
    "database": Answer((6, 0), (5, 0), "h: HITRAN molecule numbers, a: the programs' own"),
    "record_length": Answer((6, 1), (5, 1), "record length of the line list"),
    "records": Answer((7, 0), (6, 0), "records of the line list, 0: count them"),
    "solar": Answer((8, 0), (9, 0), "solar spectrum y or n"),
    "study": Answer((9, "column1"), None, "study letter"),
    "factor": Answer((10, 0), None, "factor on the target in the scaled spectrum"),
    "sort": Answer((11, "column1"), None, "ranking key"),
    "spectrum": Answer((12, "column1"), None, "a transmission, r radiance"),
    "units": Answer((13, "column1"), None, "r radiance units, b brightness temperature"),
    "normalisation": Answer((14, 0), None, "weighting-function normalisation"),
    "atmosphere": Answer((15, 0), (7, 0), "t tropical, m mid-latitude, p polar"),
    "background": Answer((16, 0), None, "background blackbody temperature, K"),
    "start": Answer((17, 0), None, "start of the range, cm-1"),
    "end": Answer((18, 0), None, "end of the range, cm-1"),
    "gas": Answer((19, 0), None, "target gas"),
    "isotope": Answer((20, 0), None, "target isotope, 0: all"),
    "profile_factor": Answer((21, 0), None, "factor on the target's profile"),
    "layer_bottom": Answer((24, 0), None, "lower altitude of the target layer, km"),
    "layer_top": Answer((25, 0), None, "upper altitude of the target layer, km"),
    "geometry": Answer((26, "column1"), None, "g ground-based, s limb"),
    "angle": Answer((26, "columns2"), None, "zenith angle (deg), or tangent altitude (km) of a limb path"),
    "layers_removed": Answer((27, 0), (8, 0), "lowest layers removed (km of station altitude)"),
    "grid": Answer((28, 0), None, "grid spacing, cm-1"),
    "margin": Answer((29, 0), None, "margin for lines around each interval, cm-1"),
    "max_opd": Answer((30, 0), None, "maximum optical path difference, cm; 0: no convolution"),
    "fov": Answer((31, 0), None, "field-of-view radius, rad"),
    "interference_width": Answer((32, 0), None, "interference window, cm-1"),
    "noise": Answer((33, 0), None, "noise of the normalised spectrum"),
    "apriori": Answer((34, 0), None, "a-priori uncertainty of the mixing ratio"),
    "temperature_limit": Answer((37, 0), None, "limit on the temperature dependence, % per K"),
    "temperature_reference": Answer((38, 0), None, "reference temperature, K"),
    "window_start": Answer((39, 0), None, "starting microwindow width, cm-1"),
    "window_centre": Answer((40, 0), None, "interval kept around the line centre, cm-1"),
    "window_widest": Answer((41, 0), None, "widest merged microwindow, cm-1"),
    "windows": Answer((42, 0), None, "most windows in table76"),
    "plot": Answer((43, 0), (15, 0), "y: a console plot at the end (tesk) or per window (kormal)"),
    "observer_altitude": Answer(None, (8, 0), "kormal: observer altitude, km"),
    "gas_limit": Answer(None, (10, 0), "kormal: bound on the gases listed per window"),
    "contribution": Answer(None, (11, 0), "kormal: contribution threshold of the target, %"),
    "gas_threshold": Answer(None, (12, 0), "kormal: gas threshold, %"),
    "interferer_sort": Answer(None, (13, 0), "kormal: d variation, a absorption"),
    "pause": Answer(None, (14, 0), "kormal: s to wait for the enter key after each window"),
    "kormal_angle": Answer(None, (KORMAL_ANGLE_LINE, 0),
                           "kormal: solar zenith angle of its path, degrees; unset: tesk's angle for a "
                           "ground-based path, else 75"),
}

@dataclass(frozen=True)
class PlanAnswer:
    """A named answer that is an entry of input-plan: its key there."""

    key: str
    meaning: str


# The entries of input-plan, tesk's settings of the information step of
# study d (tesk checks their values; README.md says what each means). Each
# answer is named as its key, except the kind of a-priori: the answer
# `apriori` is deck line 34.
PLAN_ANSWERS = {
    "apriori_kind": PlanAnswer("apriori", "a-priori of the target: absolute (deck line 34) or percent"),
    "apriori_percent": PlanAnswer("apriori_percent", "a-priori uncertainty, % of the target's profile in each layer"),
    "correlation_length": PlanAnswer("correlation_length", "correlation length of the a-priori, km; 0: none"),
    "correlation_shape": PlanAnswer("correlation_shape", "exponential or gaussian"),
    "interferer_error": PlanAnswer("interferer_error", "uncertainty of every other gas's column, %"),
    "temperature_error": PlanAnswer("temperature_error", "uncertainty of the temperature profile, K"),
    # "windows" is deck line 42 already.
    "recommended_windows": PlanAnswer("windows", "most windows table81 recommends"),
    "select_by": PlanAnswer("select_by", "table81 chooses windows by error (of the column) or dofs"),
    "stop_fraction": PlanAnswer("stop_fraction",
                                "table81 ends when no window improves its criterion by this share of it"),
}
_PLAN_ANSWER_OF_KEY = {answer.key: name for name, answer in PLAN_ANSWERS.items()}

# Answers whose text may be empty: a blank prefix is the working directory.
_MAY_BE_BLANK = ("input_path", "output_path")


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
        if len(text) > _COLUMNS2_WIDTH:
            raise DeckError(f"the value must fit into columns 2 to 15 ({_COLUMNS2_WIDTH} characters)")
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
_LETTER_ANSWERS = ("atmosphere", "solar")


def _split(text, name, needed):
    lines = text.splitlines()
    if len(lines) < needed:
        raise DeckError(f"the base deck {name} has {len(lines)} lines; {needed} are needed")
    return lines


def _same(name, a, b):
    """Whether two answer texts say the same to the programs: equal numbers,
    the same first letter for a letter answer (a word counts by its first
    letter), else the same text."""
    if name in _LETTER_ANSWERS:
        return a[:1] == b[:1]
    try:
        return float(a.translate(str.maketrans("dD", "ee"))) == float(b.translate(str.maketrans("dD", "ee")))
    except ValueError:
        return a == b


def _set_kormal_angle(kormal_lines, text):
    """Writes the solar zenith angle into input-kormal's optional line (kept
    as a list of lines), adding the line, with a comment, to a deck without it."""
    while len(kormal_lines) < KORMAL_ANGLE_LINE:
        kormal_lines.append("")
    line = kormal_lines[KORMAL_ANGLE_LINE - 1]
    kormal_lines[KORMAL_ANGLE_LINE - 1] = (_replace(line, 0, text) if line.strip()
                                           else f"{text:<10} {_KORMAL_ANGLE_COMMENT}")


def _default_kormal_angle(decks):
    """tesk's zenith angle for kormal's path when input-kormal has none and
    tesk's path is ground-based; None otherwise (a limb path has a tangent
    altitude, not an angle, and kormal keeps its 75 degrees)."""
    kormal_lines = decks[KORMAL]
    if len(kormal_lines) >= KORMAL_ANGLE_LINE and kormal_lines[KORMAL_ANGLE_LINE - 1].strip():
        return None
    geometry = decks[VORNE][ANSWERS["geometry"].vorne[0] - 1]
    if _answer_text(geometry, "column1") != "g":
        return None
    return _answer_text(geometry, "columns2") or None


# ---------------------------------------------------------------- input-plan

_PLAN_WORD = re.compile(r"[^\s#=]+")


def _plan_key(line):
    """The key of an input-plan line, or None for a blank or comment line."""
    text = line.split("#", 1)[0]
    return text.split("=", 1)[0].strip() if "=" in text else None


def plan_entries(plan_text):
    """The entries of an input-plan text: key (as the file names it) to
    (line number, value text)."""
    entries = {}
    for n, line in enumerate((plan_text or "").splitlines(), start=1):
        key = _plan_key(line)
        if key is not None and key not in entries:
            entries[key] = (n, line.split("#", 1)[0].split("=", 1)[1].strip())
    return entries


def set_plan(plan_text, answers):
    """Sets the input-plan answers among `answers` into the text of ``input-plan``.

    Parameters
    ----------
    plan_text : str or None
        A base ``input-plan``; None: there is none.
    answers : dict
        Answer name to value; names not in :data:`PLAN_ANSWERS` are passed over.

    Returns
    -------
    str or None
        The text, LF line ends: an entry of the base given again has its
        value replaced (its comment kept), a new one is added at the end.
        None when there is no base and no input-plan answer.

    Raises
    ------
    DeckError
        For a value that is not one word (blanks, ``#`` or ``=``).
    """
    given = {name: value for name, value in answers.items() if name in PLAN_ANSWERS}
    if plan_text is None and not given:
        return None
    lines = (plan_text or "").splitlines()
    for name, value in given.items():
        text = value_text(value)
        if not _PLAN_WORD.fullmatch(text):
            raise DeckError(f"answer {name} = {text!r}: one word is needed (no blanks, # or =)")
        key = PLAN_ANSWERS[name].key
        entry = f"{key} = {text}"
        at = next((n for n, line in enumerate(lines) if _plan_key(line) == key), None)
        if at is None:
            lines.append(entry)
        else:
            comment = lines[at].partition("#")[2]
            lines[at] = f"{entry}  #{comment}" if "#" in lines[at] else entry
    return "\n".join(lines) + "\n"


# ---------------------------------------------------------------- decks


def set_answers(vorne_text, kormal_text, answers, programs=None, check=True, plan_text=None):
    """Sets named answers into the texts of the two decks.

    Parameters
    ----------
    vorne_text, kormal_text : str
        The base decks ``input-vorne`` and ``input-kormal``.
    answers : dict
        Answer name to value; names are the keys of :data:`ANSWERS` and of
        :data:`PLAN_ANSWERS`. Lines not named keep the base decks' text;
        without ``kormal_angle``, ``kormal`` gets ``tesk``'s angle of a
        ground-based path unless the base ``input-kormal`` has its own.
        The input-plan answers go into no deck: they are checked with the
        decks, in the ``input-plan`` that :func:`set_plan` writes.
    programs : dict, optional
        ``{"tesk": path, "kormal": path}`` of the programs that check the
        result (:func:`check_decks`).
    check : bool
        Check the result with both programs (:func:`check_decks`).
    plan_text : str, optional
        The base ``input-plan``, checked with the input-plan answers set.

    Returns
    -------
    (str, str)
        The two decks, LF line ends.

    Raises
    ------
    DeckError
        For an unknown name, a value that cannot be written into its line
        (blanks, a comma, too wide), or a deck a program refuses.
    """
    unknown = [name for name in answers if name not in ANSWERS and name not in PLAN_ANSWERS]
    if unknown:
        raise DeckError(f"unknown deck answer {unknown[0]!r}; known answers: "
                        f"{', '.join([*ANSWERS, *PLAN_ANSWERS])}")
    plan = set_plan(plan_text, answers)
    given_plan = [name for name in answers if name in PLAN_ANSWERS]
    answers = {name: value for name, value in answers.items() if name in ANSWERS}
    decks = {VORNE: _split(vorne_text, VORNE, VORNE_LINES), KORMAL: _split(kormal_text, KORMAL, KORMAL_LINES)}
    # Answers of kormal alone come last: an observer altitude given with the
    # removed layers is the one kormal gets.
    for name in sorted(answers, key=lambda n: ANSWERS[n].vorne is None):
        text = value_text(answers[name])
        answer = ANSWERS[name]
        path = "path" in (answer.vorne or answer.kormal)
        # A path may hold commas; a prefix may be blank.
        word = (re.fullmatch(r"\S*" if name in _MAY_BE_BLANK else r"\S+", text) if path
                else _ITEM.fullmatch(text))
        if not word:
            raise DeckError(f"answer {name} = {text!r}: one word is needed (no blanks{'' if path else ' or commas'})")
        if name == "kormal_angle":
            _set_kormal_angle(decks[KORMAL], text)
            continue
        for deck, place in ((VORNE, answer.vorne), (KORMAL, answer.kormal)):
            if place is not None:
                line, item = place
                count = 2 if (deck, line) in _TWO_ITEMS else 1
                try:
                    decks[deck][line - 1] = _replace(decks[deck][line - 1], item, text, count)
                except DeckError as e:
                    raise DeckError(f"answer {name} = {text!r}: {e}") from None
    if "kormal_angle" not in answers:
        angle = _default_kormal_angle(decks)
        if angle is not None:
            _set_kormal_angle(decks[KORMAL], angle)
    vorne, kormal = ("\n".join(decks[d]) + "\n" for d in (VORNE, KORMAL))
    if check:
        check_decks(vorne, kormal, programs, given=[*answers, *given_plan], plan_text=plan)
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


def program_paths(programs=None):
    """The paths of ``tesk`` and ``kormal``: from `programs`, else from
    ``LF_TESK_BIN`` and ``LF_KORMAL_BIN``.

    Raises
    ------
    DeckError
        When a program has no path or is not executable.
    """
    paths = {}
    for name, variable in PROGRAM_VARIABLES.items():
        path = (programs or {}).get(name) or os.environ.get(variable)
        if not path or not os.access(path, os.X_OK):
            raise DeckError(f"no executable {name} to check the decks with ({path or 'none given'}; "
                            f"give its path, or set {variable})")
        paths[name] = str(Path(path).resolve())
    return paths


# A program's report that names the deck line it refuses.
_LINE_NAMED = re.compile(r"(?:line|record) (\d+) of (input-vorne|input-kormal|input-plan)")


def _answer_at(deck, line, given, plan_text=None):
    """The name of the answer that stands in a line of a deck (one the caller
    gave, where the line holds two), or None."""
    if deck == PLAN:
        return next((_PLAN_ANSWER_OF_KEY[key] for key, (n, _) in plan_entries(plan_text).items()
                     if n == line and key in _PLAN_ANSWER_OF_KEY), None)
    names = [name for name, answer in ANSWERS.items()
             if (answer.vorne if deck == VORNE else answer.kormal) not in (None, ()) and
             (answer.vorne if deck == VORNE else answer.kormal)[0] == line]
    return next((n for n in names if n in given), names[0] if names else None)


def check_decks(vorne_text, kormal_text, programs=None, given=(), plan_text=None):
    """Checks two decks with the programs' own ``--check-deck``.

    The decks are written into a temporary directory, where ``tesk
    --check-deck`` and then ``kormal --check-deck`` read them; neither runs
    nor writes a file. Answers that both decks hold must agree.

    Parameters
    ----------
    vorne_text, kormal_text : str
    programs : dict, optional
        ``{"tesk": path, "kormal": path}``; by default ``LF_TESK_BIN`` and
        ``LF_KORMAL_BIN``.
    given : collection of str
        Names set by the caller; the others are reported as coming from
        the base deck.
    plan_text : str, optional
        An ``input-plan`` written beside the decks, which ``tesk`` checks
        with them.

    Raises
    ------
    DeckError
        With the refusing program's message (its last console line) and,
        when the message names a deck line, the answer that stands there.
    """
    _split(vorne_text, VORNE, VORNE_LINES)
    _split(kormal_text, KORMAL, KORMAL_LINES)
    texts = read_answers(vorne_text, kormal_text)
    texts.update({_PLAN_ANSWER_OF_KEY[key]: value for key, (_, value) in plan_entries(plan_text).items()
                  if key in _PLAN_ANSWER_OF_KEY})

    def where(name, deck, line):
        origin = "" if name in given else ", from the base deck"
        return f"answer {name} = {texts[name]!r} (line {line} of {deck}{origin})"

    for name in _SHARED:
        line, item = ANSWERS[name].kormal
        other = _answer_text(kormal_text.splitlines()[line - 1], item)
        if not _same(name, other, texts[name]):
            raise DeckError(f"{where(name, VORNE, ANSWERS[name].vorne[0])}: {KORMAL} line {line} holds "
                            f"{other!r}; both decks must agree")
    paths = program_paths(programs)
    with tempfile.TemporaryDirectory(prefix="decks") as directory:
        if plan_text is not None:
            Path(directory, PLAN).write_text(plan_text)
        for program, deck, text in (("tesk", VORNE, vorne_text), ("kormal", KORMAL, kormal_text)):
            Path(directory, deck).write_text(text)
            result = subprocess.run([paths[program], "--check-deck"], cwd=directory, capture_output=True,
                                    text=True, stdin=subprocess.DEVNULL, timeout=60)
            if result.returncode == 0:
                continue
            lines = result.stdout.splitlines()
            message = (lines[-1] if lines else result.stderr.strip()).strip()
            named = _LINE_NAMED.search(message)
            name = _answer_at(named.group(2), int(named.group(1)), given, plan_text) if named else None
            head = where(name, named.group(2), named.group(1)) if name else (named.group(2) if named else deck)
            raise DeckError(f"{head}: {program} refuses it: {message}")
