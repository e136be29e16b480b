"""``table73``: the target lines rated for temperature dependence and interference."""

from linefinding.records import Field, read_deck_headed_rows

FIELDS = (
    Field("wavenumber", 2, 10),               # f9.4, cm-1
    Field("lower_energy", 12, 18),            # f7.1, E'', cm-1
    Field("temp_dependence", 20, 26),         # f7.1, % per K ("rel-eprim")
    Field("sensitivity", 28, 38),             # e11.5 ("intensity")
    Field("interference", 40, 50),            # e11.5, spread of the other gases' spectrum
    Field("sensitivity_minus_interference", 52, 62),  # e11.5 ("intens-inter")
)


def read_table73(path):
    """Reads a ``table73``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per target line: ``wavenumber`` (cm-1), ``lower_energy``
        (cm-1), ``temp_dependence`` (percent per K), ``sensitivity``,
        ``interference`` and ``sensitivity_minus_interference`` (spectrum units).

    Raises
    ------
    RecordLayoutError
        For a short header or an unreadable field.
    """
    return read_deck_headed_rows(path, FIELDS)
