"""``table77``: weighting functions averaged over 20 spectral bins, per path segment."""

from linefinding.records import (Field, RecordLayoutError, count_header, parse_records, read_lines, repeated,
                                 stack_fields)

# Rows "(21(e10.3,4x),f5.1)": 20 bin means, their mean, the altitude.
_FIELDS = tuple(repeated("weight", 20, 1, 10, 4)) + (
    Field("mean", 281, 290),
    Field("altitude", 295, 299),
)


def read_table77(path):
    """Reads a ``table77``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per path segment, lowest first: ``weight`` (20 bin means of
        the weighting function, in order of wavenumber; per unit mixing
        ratio, or brightness temperature in MK per unit mixing ratio),
        ``mean`` (their mean), ``altitude`` (km).

    Raises
    ------
    RecordLayoutError
        For a missing header, a header of another column count than 22, a
        row of another length, or an unreadable or non-finite field.
    """
    lines = read_lines(path)
    nhead, ncols = count_header(lines, path)
    if ncols != len(_FIELDS):
        raise RecordLayoutError(f"{path}, record 1: {ncols} columns announced, this table has {len(_FIELDS)}")
    raw = parse_records(lines[nhead:], _FIELDS, str(path), nhead + 1, whole=True)
    return stack_fields(raw, ["mean", "altitude"], "weight", 20)
