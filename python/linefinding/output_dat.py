"""``output.dat``: per-window reports of ``kormal``.

A block per reported window: a line of asterisks, the total transmission
and the target's contribution at the target's peak, a legend, a column
header, then one row per gas, the target first. The window limits are not in
the file; block n belongs to the n-th window line of ``microwin``.
"""

import warnings

import numpy as np

from linefinding.records import (Field, OverflowFieldWarning, RecordLayoutError, check_record_length,
                                 parse_real, parse_records, read_lines)

# Rows "(a7,1x,i3,1x,3(f9.3,4x))".
FIELDS = (
    Field("name", 1, 7, "a"),
    Field("gas", 9, 11, "i"),
    Field("rel_trans", 13, 21),  # variation of the gas's transmission in the window, %
    Field("abs_trans", 26, 34),  # absorption at the gas's strongest point, %
    Field("position", 39, 47),   # target: peak position, cm-1; others: offset from it, cm-1
)
_TOTAL = "total TR at position of TG in window:"
_CONTRIBUTION = "contribution of TG at position of TG in %:"
_HEADER = "Name     No  rel.-trans   abs.-trans   nu and dnu"


def _percent(line, label, path, recno):
    """The f8.3 value behind a label of the window report."""
    first = len(label) + 1
    check_record_length(line, first + 7, path, recno)
    where = f"{path}, record {recno}, columns {first}-{first + 7}"
    value = parse_real(line[len(label):len(label) + 8], where)
    if np.isnan(value):
        warnings.warn(f"{where}: field of asterisks (value too wide for its field) read as NaN",
                      OverflowFieldWarning, stacklevel=3)
    return value


def read_output_dat(path):
    """Reads an ``output.dat``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per listed gas of every block: ``window`` (0-based block
        number), ``target`` (True for the block's first row, the target gas),
        ``name``, ``gas`` (number in the program's gas table), ``rel_trans``
        and ``abs_trans`` (%), ``position`` (cm-1), and the block's
        ``total`` (total transmission at the target's peak, %) and
        ``contribution`` (target's absorption there, %).

    Raises
    ------
    RecordLayoutError
        For a block without its total or contribution line, a line cut
        short, or an unreadable or non-finite field.
    """
    lines = read_lines(path)
    blocks = []  # (total, contribution, first record, rows)
    total = contribution = None
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith("*****"):
            total = contribution = None
        elif line.startswith(_TOTAL):
            total = _percent(line, _TOTAL, path, i + 1)
        elif line.startswith(_CONTRIBUTION):
            contribution = _percent(line, _CONTRIBUTION, path, i + 1)
        elif line.rstrip() == _HEADER:
            if total is None or contribution is None:
                raise RecordLayoutError(
                    f"{path}, record {i + 1}: gas rows without the total and contribution lines")
            first = i + 2
            j = i + 1
            while j < len(lines) and lines[j].strip() and not lines[j].startswith("*"):
                j += 1
            blocks.append((total, contribution, first, lines[i + 1:j]))
            i = j
            continue
        i += 1
    dtype = [("window", np.int64), ("target", bool)] + [(f.name, f.dtype) for f in FIELDS] + [
        ("total", np.float64), ("contribution", np.float64)]
    parts = []
    for n, (tot, contr, first, rows) in enumerate(blocks):
        rec = parse_records(rows, FIELDS, str(path), first)
        part = np.zeros(len(rec), dtype=dtype)
        for f in FIELDS:
            part[f.name] = rec[f.name]
        part["window"] = n
        part["target"][:1] = True
        part["total"] = tot
        part["contribution"] = contr
        parts.append(part)
    return np.concatenate(parts) if parts else np.zeros(0, dtype=dtype)
