"""``table81``: the recommended microwindows of a line-finding study.

The header of the line tables (``nhead`` deck lines, two lines of one
blank, the column heading), then one row per recommended window, the first
chosen first, ``(i4,1x,a8,2(1x,f9.3),1x,i6,2(1x,f6.3),5(1x,f9.3))``: rank,
gas label, lower and upper edge (cm-1), grid points of the window, degrees
of freedom of the window alone, joint degrees of freedom of windows 1 to
rank, then the error of the target's total column (% of the column) of the
retrieval from windows 1 to rank: total, then its noise, smoothing,
interference and temperature parts. An error of 100000 % or more is written
as 99999.999. A study without target lines has the header alone.

The windows are chosen one at a time from the optimum windows of all rated
lines, so their edges need not be ``table76``'s; no two overlap.
"""

import numpy as np

from linefinding.records import Field, RecordLayoutError, deck_header, parse_records, read_lines

HEADER = ("rank name         lower     upper points   dofs  jdofs    total%    noise%   smooth%   interf%     temp%")
# The column-error fields in the order of their columns; % of the column.
ERROR_NAMES = ("total", "noise", "smoothing", "interference", "temperature")
FIELDS = (
    Field("rank", 1, 4, "i"),
    Field("label", 6, 13, "a"),     # isotope digit or blank, then the gas name
    Field("lower", 15, 23),         # cm-1
    Field("upper", 25, 33),         # cm-1
    Field("points", 35, 40, "i"),
    Field("dofs", 42, 47),          # of the window alone
    Field("joint_dofs", 49, 54),    # of windows 1 .. rank
) + tuple(Field(name, 56 + 10 * k, 64 + 10 * k) for k, name in enumerate(ERROR_NAMES))  # 5(1x,f9.3)


def read_table81(path):
    """Reads a ``table81``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per recommended window, rank 1 first: ``rank``, ``label``
        (trailing blanks removed), ``lower`` and ``upper`` (cm-1),
        ``points``, ``dofs`` (the window alone), ``joint_dofs`` (windows 1
        to rank), then ``total``, ``noise``, ``smoothing``,
        ``interference`` and ``temperature``: the error of the target's
        total column of the retrieval from windows 1 to rank, in % of the
        column (99999.999 for 100000 % or more). No rows when there is
        nothing to recommend.

    Raises
    ------
    RecordLayoutError
        For a short header, a heading other than :data:`HEADER` where the
        header count puts it, a row shorter or longer than its layout, an
        unreadable or non-finite field, ranks out of their order 1, 2, ...,
        an upper edge not above the lower one, or windows that overlap.
    """
    lines = read_lines(path)
    _, nhead = deck_header(lines, path, extra=1)
    for n in (nhead - 3, nhead - 2):
        if lines[n].strip():
            raise RecordLayoutError(f"{path}, record {n + 1}: expected a blank line after the deck lines "
                                    f"(the header count {nhead - 3} of record 1 does not fit the file)")
    if lines[nhead - 1].rstrip() != HEADER:
        raise RecordLayoutError(f"{path}, record {nhead}: expected the column heading {HEADER!r}")
    rows = parse_records(lines[nhead:], FIELDS, str(path), nhead + 1, whole=True)
    for i, row in enumerate(rows):
        where = f"{path}, record {nhead + 1 + i}"
        if row["rank"] != i + 1:
            raise RecordLayoutError(f"{where}: rank {row['rank']} where rank {i + 1} belongs (a row misplaced?)")
        if not row["upper"] > row["lower"]:
            raise RecordLayoutError(f"{where}: upper edge {row['upper']:.3f} cm-1 not above the lower "
                                    f"{row['lower']:.3f} cm-1")
    order = np.argsort(rows["lower"], kind="stable")
    for a, b in zip(order[:-1], order[1:]):
        if rows["lower"][b] < rows["upper"][a]:
            raise RecordLayoutError(f"{path}: the windows of rank {rows['rank'][a]} and {rows['rank'][b]} overlap")
    return rows
