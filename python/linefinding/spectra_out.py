"""``spectra.out``: the transmissions of the last window ``kormal`` analysed."""

from linefinding.records import Field, read_counted_rows

# Rows "(f9.4,3(1x,e10.3))".
FIELDS = (
    Field("wavenumber", 1, 9),     # cm-1
    Field("target", 11, 20),       # transmission of the target gas
    Field("other_gases", 22, 31),  # transmission of all other species
    Field("all_gases", 33, 42),    # their product
)


def read_spectra_out(path):
    """Reads a ``spectra.out``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        One row per grid point inside the window: ``wavenumber`` (cm-1),
        ``target``, ``other_gases``, ``all_gases`` (transmissions, 0..1).

    Raises
    ------
    RecordLayoutError
        For a missing header, a header of another column count than 4, a
        row of another length, or an unreadable or non-finite field.
    """
    return read_counted_rows(path, FIELDS, columns=4)
