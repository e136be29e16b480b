"""``microwin``: one line per reported window with its strongest interferers.

The first line is the first 24 characters of ``table76``'s header. Each
further line is 100 characters: the window's ``table76`` row (columns 1-23)
and the names of up to six interfering gases in 7-character slots, columns
27-68 when the gases were sorted by their variation in the window, 55-96
when sorted by their absorption.
"""

import numpy as np

from linefinding.records import Field, check_record_length, parse_records, rows_after_header

FIELDS = (
    Field("label", 1, 8, "a"),
    Field("centre", 10, 16),  # cm-1
    Field("width", 18, 23),   # cm-1
)
_SLOTS = {"d": 27, "a": 55}  # first column of the first name, by sort letter
_RECORD = 100  # every window line is written in full, blank name slots included


def read_microwin(path):
    """Reads a ``microwin``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per reported window: ``label``, ``centre`` and ``width``
        (cm-1), ``interferers`` (six names of 7 characters, blank where
        fewer were listed), ``sort`` (``"d"`` names in columns 27-68,
        ``"a"`` names in columns 55-96, ``""`` no names).

    Raises
    ------
    RecordLayoutError
        For an empty file, a window line shorter than 100 characters (cut
        short), or an unreadable or non-finite field.
    """
    rows = rows_after_header(path)
    for i, line in enumerate(rows):
        check_record_length(line, _RECORD, str(path), i + 2)
    head = parse_records(rows, FIELDS, str(path), 2)
    dtype = head.dtype.descr + [("interferers", "U7", (6,)), ("sort", "U1")]
    out = np.zeros(len(rows), dtype=dtype)
    for name in head.dtype.names:
        out[name] = head[name]
    for i, line in enumerate(rows):
        # The first name decides: sorted by variation it stands in columns
        # 27-33, by absorption in 55-61 (where a fifth name of the other
        # order would also stand).
        for letter, first in _SLOTS.items():
            if line[first - 1:first + 6].strip():
                out["interferers"][i] = [line[first - 1 + 7 * c:first + 6 + 7 * c].strip() for c in range(6)]
                out["sort"][i] = letter
                break
    return out
