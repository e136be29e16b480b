"""``table76``: the merged microwindows, the input of ``kormal``.

One header line (the first 25 characters of ``table74``'s column header),
then one row per window: label, centre, width. No count line, no trailer.
"""

from linefinding.records import Field, parse_records, rows_after_header

FIELDS = (
    Field("label", 1, 8, "a"),  # isotope digit or blank, then the gas name
    Field("centre", 10, 16),    # f7.2, cm-1
    Field("width", 18, 23),     # f6.2, cm-1
)


def read_table76(path):
    """Reads a ``table76``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per microwindow, best first: ``label`` (gas label, trailing blanks removed),
        ``centre`` and ``width`` (cm-1).

    Raises
    ------
    RecordLayoutError
        For an empty file or an unreadable field.
    """
    return parse_records(rows_after_header(path), FIELDS, str(path), 2)
