"""``table78``: the averaging kernels of an optimal-estimation retrieval.

The first header line gives the number of header lines and the number of
columns of a kernel row, L + 2 for L path segments; the third header line
holds the L segment altitudes.
"""

from linefinding.records import (Field, RecordLayoutError, count_header, parse_records,
                                 read_lines, repeated, stack_fields)

_ROW_WIDTH = 10  # e9.2 and its blank


def read_table78(path):
    """Reads a ``table78``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row k per path segment, lowest first: ``kernel`` (the L values
        A(k, 1..L) of row k of the averaging-kernel matrix, dimensionless),
        ``area`` (their sum), ``altitude`` (km).

    Raises
    ------
    RecordLayoutError
        For a header with fewer than 2 columns or with more than the
        file's longest record can hold, rows of another length, another
        number of rows than of segments, or an unreadable or non-finite
        field.
    """
    lines = read_lines(path)
    nhead, ncols = count_header(lines, path)
    nseg = ncols - 2
    if nseg < 0:
        raise RecordLayoutError(f"{path}, record 1: a kernel row has at least 2 columns, not {ncols}")
    # Checked before the fields are made: a count that no record of the
    # file can hold would otherwise cost minutes and gigabytes.
    end = _ROW_WIDTH * ncols - 1
    longest = max(len(line) for line in lines)
    if nseg > 0 and end > longest:
        raise RecordLayoutError(f"{path}, record 1: {ncols} columns announced, which need records of {end} "
                                f"characters; the longest record of the file has {longest}")
    # Rows "(161(e9.2,1x))": L kernel values, the area, the altitude.
    fields = tuple(repeated("kernel", nseg, 1, 9, 1)) + (
        Field("area", 1 + 10 * nseg, 9 + 10 * nseg),
        Field("altitude", 11 + 10 * nseg, 19 + 10 * nseg),
    )
    raw = parse_records(lines[nhead:], fields, str(path), nhead + 1, whole=True)
    if len(raw) != nseg:
        raise RecordLayoutError(f"{path}: {nseg} path segments announced (record 1), {len(raw)} kernel rows "
                                f"follow the header (a table cut short?)")
    return stack_fields(raw, ["area", "altitude"], "kernel", nseg)
