"""``table90``: the interferogram of the all-gases spectrum and of its change."""

from linefinding.records import Field, read_counted_rows

# Rows "(i5,1x,e11.4,1x,e11.4)". The index is kept as a real: from 100000 on
# it no longer fits its five columns and is written as asterisks (NaN here).
FIELDS = (
    Field("index", 1, 5),
    Field("interferogram", 7, 17),  # cosine transform of the all-gases spectrum
    Field("difference", 19, 29),    # transform of the change when the target is scaled
)


def read_table90(path):
    """Reads a ``table90``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per sample of the transform: ``index`` (1-based, float, NaN
        where it overflowed its field), ``interferogram``, ``difference``
        (spectrum units times points).

    Raises
    ------
    RecordLayoutError
        For a missing header, a header of another column count than 3, a
        row of another length, or an unreadable or non-finite field.
    """
    return read_counted_rows(path, FIELDS, columns=3)
