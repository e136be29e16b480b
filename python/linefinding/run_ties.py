"""What ties the files of a plan to one another: the deck echo to the tables
it claims, and kormal's record to the window table (``table76`` or
``table81``) it rated.

``table79`` opens with one line per value it was computed with, before its
column heading: a key in columns 1-8, then the values (``e16.9``)::

    range      .214000000E+04   .218000000E+04
    grid       .200000000E-02
    max-opd    .500000000E+02
    fov        .000000000E+00
    noise      .100000000E-02
    target   co        0

the range and grid in cm-1, the maximum path difference in cm, the
field-of-view radius in rad, the noise of the normalised spectrum, and the
target's name and isotope (0 for all).

``kormal.log``, written by ``kormal`` after its other files, names the
window table it read (its first word says which kind: ``table76`` or
``table81``), its size and CRC-32, and what became of every row::

     table76 table76
     bytes 277 crc32 b2a5d2ca windows 3
     window    1 co       2147.10    .24 rated
     window    2 co       2150.86    .37 skipped: target contribution ... below the threshold ...
"""

import math
import zlib

from linefinding.records import RecordLayoutError, parse_real, read_lines

# The window tables kormal rates, as the first word of kormal.log names them.
WINDOW_TABLES = ("table76", "table81")
# The keys of table79's first lines, in their order.
ORIGIN_KEYS = ("range", "grid", "max-opd", "fov", "noise", "target")
# Relative agreement asked of an echo value and table79's: above the
# rounding of a single-precision value printed with nine digits and read
# from the deck's decimal text, below any change of an answer worth making.
_SAME_VALUE = 1e-6


class TieError(Exception):
    """Files that are not of the same runs; the message is one line."""


def read_table79_origin(path):
    """What a ``table79`` was computed with, from its first lines.

    Returns
    -------
    dict
        ``range`` (two floats, cm-1), ``grid`` (cm-1), ``max-opd`` (cm),
        ``fov`` (rad), ``noise``, ``target`` (gas name and isotope, 0 for all).

    Raises
    ------
    RecordLayoutError
        When the lines are missing (a table79 of an older tesk) or unreadable.
    """
    lines = read_lines(path)
    origin = {}
    for n, key in enumerate(ORIGIN_KEYS):
        words = lines[n].split() if n < len(lines) else []
        if not words or words[0] != key:
            raise RecordLayoutError(f"{path}, record {n + 1}: expected the line {key!r} of what the table was "
                                    "computed with (a table79 of an older tesk?)")
        try:
            if key == "target":
                origin[key] = (words[1], int(words[2]))
            else:
                # The programs' own number rule: asterisks read as NaN, refused here.
                values = [parse_real(w, f"{path}, record {n + 1}") for w in words[1:]]
                if len(values) != (2 if key == "range" else 1) or not all(map(math.isfinite, values)):
                    raise ValueError
                origin[key] = values if key == "range" else values[0]
        except (ValueError, IndexError):
            raise RecordLayoutError(f"{path}, record {n + 1}: unreadable {key!r} line {lines[n].rstrip()!r}") from None
    return origin


def check_echo_origin(echo, echo_path, origin, table_path):
    """Refuses a deck echo that is not of the run that computed ``table79``.

    Raises
    ------
    TieError
        Naming the first value that differs.
    """
    pairs = [("range start (cm-1)", echo.vlo, origin["range"][0]), ("range end (cm-1)", echo.vhi, origin["range"][1]),
             ("grid (cm-1)", echo.grid, origin["grid"]), ("maximum path difference (cm)", echo.resol, origin["max-opd"]),
             ("field of view (rad)", echo.fovrad, origin["fov"]), ("noise", echo.avkpar1, origin["noise"])]
    for what, said, made in pairs:
        if not math.isclose(said, made, rel_tol=_SAME_VALUE, abs_tol=1e-30):
            raise TieError(f"{echo_path} says {what} {said:g}, {table_path} was computed with {made:g}: "
                           "the deck echo is not of the run that made the tables")
    gas, isotope = origin["target"]
    if (echo.gasname, echo.isotope or 0) != (gas, isotope):
        raise TieError(f"{echo_path} says target {echo.gasname} isotope {echo.isotope or 0}, {table_path} was "
                       f"computed for {gas} isotope {isotope}: the deck echo is not of the run that made the tables")


def read_kormal_log(path):
    """kormal's record of a run.

    Returns
    -------
    dict
        ``kind`` (``"table76"`` or ``"table81"``: which window table kormal
        rated), ``table`` (its name as kormal's deck gave it),
        ``bytes``, ``crc32`` (int), ``windows``: one (row, outcome) per row
        of the table in its order, outcome ``"rated"`` or ``"skipped: ..."``.

    Raises
    ------
    RecordLayoutError
        For a record out of its layout (cut short, or not kormal's).
    """
    lines = [line.rstrip() for line in read_lines(path)]
    try:
        kind = lines[0].split()[0]
        if kind not in WINDOW_TABLES or not lines[0].startswith(f" {kind} "):
            raise ValueError
        words = lines[1].split()
        if words[0::2] != ["bytes", "crc32", "windows"]:
            raise ValueError
        size, crc, count = int(words[1]), int(words[3], 16), int(words[5])
    except (ValueError, IndexError):
        raise RecordLayoutError(f"{path}: not a record of kormal (its first two lines)") from None
    windows = []
    for n, line in enumerate(lines[2:], start=1):
        if not line.startswith(" window") or line[7:12].strip() != str(n) or len(line) < 38:
            raise RecordLayoutError(f"{path}, record {n + 2}: expected the line of window {n}")
        windows.append((line[13:36], line[37:]))
    if len(windows) != count:
        raise RecordLayoutError(f"{path}: {len(windows)} window lines, its second line says {count} (cut short?)")
    return {"kind": kind, "table": lines[0][len(f" {kind} "):], "bytes": size, "crc32": crc, "windows": windows}


def check_kormal_tie(record, record_path, table_path, kind="table76"):
    """Refuses a kormal record (and so its microwin and output.dat) that is
    not of a run on the bytes of ``table_path``, a window table of ``kind``
    (``"table76"`` or ``"table81"``).

    Raises
    ------
    TieError
        When kormal rated the other kind of table (saying what to do) or
        other bytes.
    """
    if record["kind"] != kind:
        other = record["kind"]
        raise TieError(f"{record_path}: kormal rated a {other}, the windows come from {kind}: run kormal on "
                       f"{kind} (input-kormal line 2) or pass --windows {other}")
    data = table_path.read_bytes()
    if (len(data), zlib.crc32(data)) != (record["bytes"], record["crc32"]):
        raise TieError(f"{record_path}: kormal rated a window table of {record['bytes']} bytes, crc32 "
                       f"{record['crc32']:08x}, and {table_path} has {len(data)} bytes, crc32 "
                       f"{zlib.crc32(data):08x}: microwin and output.dat are not of this {kind}")
