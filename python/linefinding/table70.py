"""``table70``: the vmr profile of the target gas on the path segments."""

from linefinding.records import Field, read_counted_rows

FIELDS = (
    Field("vmr", 1, 9),        # 1pe9.2, volume fraction
    Field("lg_vmr", 11, 19),   # 1pe9.2, log10 of vmr
    Field("altitude", 21, 25), # f5.1, km
)


def read_table70(path):
    """Reads a ``table70``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per path segment, lowest first: ``vmr`` (volume fraction),
        ``lg_vmr`` (log10 of it), ``altitude`` (km).

    Raises
    ------
    RecordLayoutError
        For a missing header, a row of another length, or an unreadable or
        non-finite field.
    OSError
        When the file cannot be read.
    """
    return read_counted_rows(path, FIELDS)
