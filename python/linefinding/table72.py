"""``table72``: the target gas's lines in the range, with their sensitivity."""

from linefinding.records import Field, read_deck_headed_rows

FIELDS = (
    Field("wavenumber", 2, 10),     # f9.4, line position, cm-1
    Field("lower_energy", 12, 18),  # f7.1, E'', cm-1 (headed "e-prime")
    Field("sensitivity", 20, 30),   # e11.5, change of the spectrum per relative
                                    # change of the target amount (headed "intensity")
)


def read_table72(path):
    """Reads a ``table72``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per target line: ``wavenumber`` (cm-1), ``lower_energy``
        (cm-1), ``sensitivity`` (spectrum units).

    Raises
    ------
    RecordLayoutError
        For a header shorter than its deck-line count, or an unreadable field.
    """
    return read_deck_headed_rows(path, FIELDS)

