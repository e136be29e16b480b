"""``table79``: the information content of every microwindow.

Six lines of what the table was computed with (read by
``linefinding.run_ties``), the column heading, then one row per window of ``table76`` in its order, then
one row labelled ``all`` for the windows together (no rows at all when
there are no windows). A row is
``(a8,1x,f7.2,1x,f6.2,1x,i6,1x,f6.3,1x,f5.1,1x,f5.1)``: gas label, centre
and width (cm-1, as ``table76`` has them), number of grid points, degrees
of freedom (trace of the averaging-kernel matrix), lowest and highest
altitude (km) whose kernel area exceeds 0.5. A window whose matrices could
not be inverted has `` singular`` after its number of points instead.
"""

import numpy as np

from linefinding.run_ties import ORIGIN_KEYS
from linefinding.records import Field, RecordLayoutError, parse_records, read_lines

HEADER = "name     cm-1     window points   dofs  zlow zhigh"
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
_SINGULAR = "singular"


def _heading_record(lines):
    """The index of the column heading: after the lines of what the table was
    computed with (none in a table of an older tesk)."""
    n = 0
    while n < len(lines) and n < len(ORIGIN_KEYS) and lines[n].split()[:1] == [ORIGIN_KEYS[n]]:
        n += 1
    return n


def read_table79(path):
    """Reads a ``table79``.

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
        kernel area exceeds 0.5), ``singular`` (True where the row says
        so; its ``dofs``, ``zlow`` and ``zhigh`` are NaN).

    Raises
    ------
    RecordLayoutError
        For a missing header line, a missing final ``all`` row, a row
        shorter or longer than its layout, or an unreadable or non-finite
        field.
    """
    lines = read_lines(path)
    start = _heading_record(lines)
    if len(lines) <= start or lines[start].rstrip() != HEADER:
        raise RecordLayoutError(f"{path}, record {start + 1}: expected the header line {HEADER!r}")
    rows = lines[start + 1:]
    head = parse_records(rows, _HEAD, str(path), start + 2)
    if len(rows) > 0 and head["label"][-1] != "all":
        raise RecordLayoutError(f"{path}: no final row labelled 'all' (a table cut short?)")
    dtype = head.dtype.descr + [(f.name, np.float64) for f in _NUMBERS] + [("singular", bool)]
    out = np.zeros(len(rows), dtype=dtype)
    for name in head.dtype.names:
        out[name] = head[name]
    for i, line in enumerate(rows):
        if line[30:].strip() == _SINGULAR:
            out["singular"][i] = True
            for f in _NUMBERS:
                out[f.name][i] = np.nan
            continue
        numbers = parse_records([line], _NUMBERS, str(path), i + start + 2, whole=True)
        for f in _NUMBERS:
            out[f.name][i] = numbers[f.name][0]
    return out
