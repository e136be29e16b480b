"""``table74``: the target lines ranked best first, with the starting window."""

from linefinding.records import Field, read_deck_headed_rows

# Rows "(a8,1x,f7.2,1x,f6.2,5x,f7.1,3(1x,e11.5))".
FIELDS = (
    Field("label", 1, 8, "a"),          # gas label: isotope digit or blank, gas name
    Field("wavenumber", 10, 16),        # f7.2, cm-1
    Field("width", 18, 23),             # f6.2, starting window width, cm-1
    Field("temp_dependence", 29, 35),   # f7.1, % per K (headed "e-prime")
    Field("sensitivity", 37, 47),
    Field("interference", 49, 59),
    Field("sensitivity_minus_interference", 61, 71),
)


def read_table74(path):
    """Reads a ``table74``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per ranked line, best first: ``label`` (gas label, trailing blanks removed),
        ``wavenumber`` (cm-1), ``width`` (cm-1), ``temp_dependence`` (percent
        per K), ``sensitivity``, ``interference``,
        ``sensitivity_minus_interference`` (spectrum units).

    Raises
    ------
    RecordLayoutError
        For a short header or an unreadable field.
    """
    return read_deck_headed_rows(path, FIELDS)
