"""``table79``: the information content of every microwindow.

Six lines of what the table was computed with (read by
``linefinding.run_ties``), the column heading, then one row per window of ``table76`` in its order, then
one row labelled ``all`` for the windows together (no rows at all when
there are no windows). A row is
``(a8,1x,f7.2,1x,f6.2,1x,i6,1x,f6.3,1x,f5.1,1x,f5.1,5(1x,f9.3))``: gas
label, centre and width (cm-1, as ``table76`` has them), number of grid
points, degrees of freedom (trace of the averaging-kernel matrix), lowest
and highest altitude (km) whose kernel area exceeds 0.5, then the error of
the target's total column in % of the column from measurement noise,
smoothing, interfering gases and temperature, and their root sum of
squares. An error of 100000 % or more is written as 99999.999. A window
whose matrices could not be inverted has `` singular`` after its number of
points instead.

A table of an older ``tesk`` has no error columns: its heading ends at
``zhigh`` and its rows after the altitudes. The heading tells the two
apart; the reader takes both.
"""

import numpy as np

from linefinding.run_ties import ORIGIN_KEYS
from linefinding.records import Field, RecordLayoutError, parse_records, read_lines

HEADER_WITHOUT_ERRORS = "name     cm-1     window points   dofs  zlow zhigh"
HEADER = HEADER_WITHOUT_ERRORS + "    noise%   smooth%   interf%     temp%    total%"
# The column-error fields, in the order of their columns; % of the column.
ERROR_NAMES = ("noise", "smoothing", "interference", "temperature", "total")
# An error of 100000 % or more is written as this: "that much or more".
ERROR_CAP = 99999.999
_HEAD = (
    Field("label", 1, 8, "a"),
    Field("centre", 10, 16),  # cm-1
    Field("width", 18, 23),   # cm-1
    Field("points", 25, 30, "i"),
)
_NUMBERS = (
    Field("dofs", 32, 37),
    Field("zlow", 39, 43),    # km
    Field("zhigh", 45, 49),   # km
)
_ERRORS = tuple(Field(name, 51 + 10 * k, 59 + 10 * k) for k, name in enumerate(ERROR_NAMES))  # 5(1x,f9.3)
_SINGULAR = "singular"


def _heading_record(lines):
    """The index of the column heading: after the lines of what the table was
    computed with (none in a table of an older tesk)."""
    n = 0
    while n < len(lines) and n < len(ORIGIN_KEYS) and lines[n].split()[:1] == [ORIGIN_KEYS[n]]:
        n += 1
    return n


def has_column_errors(table79):
    """True when a table read by :func:`read_table79` has the error columns
    (``noise`` ... ``total``), False for a table of an older ``tesk``."""
    return "total" in table79.dtype.names


def read_table79(path):
    """Reads a ``table79``, with or without the column-error columns.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per window in ``table76`` order, the ``all`` row last (no
        rows at all for a study without windows):
        ``label``, ``centre`` and ``width`` (cm-1), ``points``, ``dofs``
        (dimensionless), ``zlow`` and ``zhigh`` (km; 0.0 and 0.0 when no
        kernel area exceeds 0.5), then, when the table has them (see
        :func:`has_column_errors`), ``noise``, ``smoothing``,
        ``interference``, ``temperature`` and ``total``: the error of the
        target's total column in % of the column (:data:`ERROR_CAP` for
        100000 % or more), then ``singular`` (True where the row says so;
        its other numbers are NaN).

    Raises
    ------
    RecordLayoutError
        For a missing header line, a missing final ``all`` row, a row
        shorter or longer than its layout, or an unreadable or non-finite
        field.
    """
    lines = read_lines(path)
    start = _heading_record(lines)
    heading = lines[start].rstrip() if len(lines) > start else None
    if heading not in (HEADER, HEADER_WITHOUT_ERRORS):
        raise RecordLayoutError(f"{path}, record {start + 1}: expected the header line {HEADER!r} "
                                f"(or, of an older tesk, {HEADER_WITHOUT_ERRORS!r})")
    numbers = _NUMBERS + (_ERRORS if heading == HEADER else ())
    rows = lines[start + 1:]
    head = parse_records(rows, _HEAD, str(path), start + 2)
    if len(rows) > 0 and head["label"][-1] != "all":
        raise RecordLayoutError(f"{path}: no final row labelled 'all' (a table cut short?)")
    dtype = head.dtype.descr + [(f.name, np.float64) for f in numbers] + [("singular", bool)]
    out = np.zeros(len(rows), dtype=dtype)
    for name in head.dtype.names:
        out[name] = head[name]
    for i, line in enumerate(rows):
        if line[30:].strip() == _SINGULAR:
            out["singular"][i] = True
            for f in numbers:
                out[f.name][i] = np.nan
            continue
        values = parse_records([line], numbers, str(path), i + start + 2, whole=True)
        for f in numbers:
            out[f.name][i] = values[f.name][0]
    return out


def percent_text(value):
    """A column error for a one-line summary: ``2.345 %``, ``100000 % or
    more`` at the cap, ``none`` for NaN or None (a singular row, asterisks)."""
    if value is None or np.isnan(value):
        return "none"
    if value >= ERROR_CAP:
        return "100000 % or more"
    return f"{value:.3f} %"


def joint_line(table79):
    """One line on the ``all`` row of a table read by :func:`read_table79`:
    the joint degrees of freedom and total column error of all windows.

    Returns
    -------
    str
        Without a line end; says so when there are no windows, when the
        joint retrieval is singular, or when the table has no error columns.
    """
    if len(table79) == 0:
        return "table79 has no windows"
    joint = table79[-1]
    windows = f"All {len(table79) - 1} windows together"
    if joint["singular"]:
        return f"{windows}: singular (no degrees of freedom, no column error)"
    dofs = "none" if np.isnan(joint["dofs"]) else f"{joint['dofs']:.3f}"
    if not has_column_errors(table79):
        return f"{windows}: {dofs} degrees of freedom; no column errors in this table79 (of an older tesk)"
    return f"{windows}: {dofs} degrees of freedom, total column error {percent_text(joint['total'])}"
