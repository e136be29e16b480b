"""``table80``: the averaging kernels of all microwindows together.

The layout is ``table78``'s: the first header line gives the number of
header lines and L + 2 columns, the third the L segment altitudes, then one
row per segment with its kernel, area and altitude.
"""

from linefinding.table78 import read_table78


def read_table80(path):
    """Reads a ``table80``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    numpy.ndarray
        As :func:`linefinding.read_table78`: ``kernel`` (L values, row k of
        the joint averaging-kernel matrix), ``area``, ``altitude`` (km).

    Raises
    ------
    RecordLayoutError
        As :func:`linefinding.read_table78`.
    """
    return read_table78(path)
