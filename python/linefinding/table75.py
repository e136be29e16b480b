"""``table75``: the ranked lines with their optimum windows.

The rows of ``table74`` with the position and width columns replaced by the
optimum window's centre and width.
"""

from linefinding.records import Field, read_deck_headed_rows
from linefinding.table74 import FIELDS as _T74

FIELDS = (_T74[0], Field("centre", 10, 16), Field("width", 18, 23)) + _T74[3:]


def read_table75(path):
    """Reads a ``table75``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per ranked line: ``label``, ``centre`` and ``width`` of the
        optimum window (cm-1), ``temp_dependence`` (percent per K),
        ``sensitivity``, ``interference``, ``sensitivity_minus_interference``.

    Raises
    ------
    RecordLayoutError
        For a short header or an unreadable field.
    """
    return read_deck_headed_rows(path, FIELDS)
