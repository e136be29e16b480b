"""``table71``: the spectra of a run, point by point.

Three spectra (target gas alone, all other gases, all gases), or four
columns with the change of the all-gases spectrum when the target amount is
scaled (line-finding and interferogram runs).
"""

from linefinding.records import Field, RecordLayoutError, count_header, parse_records, read_lines

_NAMES = ("target", "other_gases", "all_gases", "difference")


def _fields(ncols):
    fields = [Field("wavenumber", 1, 10)]  # f10.4, cm-1
    for k in range(ncols - 1):              # e11.5 each, after one blank
        first = 12 + 12 * k
        fields.append(Field(_NAMES[k], first, first + 10))
    return tuple(fields)


def read_table71(path):
    """Reads a ``table71``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per spectral point: ``wavenumber`` (cm-1), ``target``,
        ``other_gases``, ``all_gases`` and, in five-column tables,
        ``difference`` (all gases minus all gases with the target scaled).
        Spectra are transmissions (0..1) or radiances, see :func:`table71_units`.

    Raises
    ------
    RecordLayoutError
        For a header that announces neither 4 nor 5 columns, a row of
        another number of columns, or an unreadable or non-finite field.
    """
    lines = read_lines(path)
    nhead, ncols = count_header(lines, path)
    if ncols not in (4, 5):
        raise RecordLayoutError(f"{path}, record 1: a spectrum table has 4 or 5 columns, not {ncols}")
    return parse_records(lines[nhead:], _fields(ncols), str(path), nhead + 1, whole=True)


def table71_units(path):
    """The quantity of a ``table71``'s spectra, from its second header line.

    Returns
    -------
    str
        ``"transmission"`` or the radiance unit ``"mW m-2 sr-1 (cm-1)-1"``
        (a run in brightness temperature labels its table as radiance too).
    """
    lines = read_lines(path)
    if len(lines) < 2:
        raise RecordLayoutError(f"{path}: no unit line")
    return "transmission" if "transmission" in lines[1] else "mW m-2 sr-1 (cm-1)-1"
