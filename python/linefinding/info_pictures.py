"""Pictures of the information content: averaging kernels and the degrees
of freedom per microwindow.

Each function takes arrays as the readers return them and returns a
matplotlib Figure (object interface, no pyplot state); the caller saves it.
"""

import numpy as np
from matplotlib import colormaps
from matplotlib.cm import ScalarMappable
from matplotlib.colors import Normalize
from matplotlib.figure import Figure

from linefinding.pictures import finite_range

_ALTITUDE_LABEL = "Altitude (km)"
_BAR_COLOUR = "#1f77b4"
_JOINT_COLOUR = "#d62728"


def kernels_figure(kernels, title=None):
    """The averaging kernels of a ``table78`` or ``table80``.

    One curve per path segment k: row k of the averaging-kernel matrix,
    A(k, j) against the altitude of segment j, coloured by the altitude of
    k; the kernel areas (row sums) as a thick black curve. Curve k has the
    SVG id ``kernel-<k>``, the areas ``kernel-area``.

    Parameters
    ----------
    kernels : numpy.ndarray
        As returned by :func:`linefinding.read_table78` or
        :func:`linefinding.read_table80`, at least one row.
    title : str, optional

    Returns
    -------
    matplotlib.figure.Figure
    """
    fig = Figure(figsize=(7, 8), layout="constrained")
    ax = fig.add_subplot()
    z = kernels["altitude"]
    lo, hi = finite_range(z) or (0.0, 0.0)
    span = (lo, hi if hi > lo else lo + 1.0)
    norm = Normalize(*span)
    cmap = colormaps["viridis"]
    for k, row in enumerate(kernels, start=1):
        line, = ax.plot(row["kernel"], z, color=cmap(norm(row["altitude"])), lw=0.8)
        line.set_gid(f"kernel-{k}")
    area, = ax.plot(kernels["area"], z, color="black", lw=2.0, label="area (row sum)")
    area.set_gid("kernel-area")
    ax.axvline(0.0, color="0.6", lw=0.5)
    ax.set_ylim(*span)
    ax.set_xlabel("Averaging kernel A(k, j) (dimensionless, per segment)")
    ax.set_ylabel(_ALTITUDE_LABEL)
    ax.grid(True, color="0.9", lw=0.5)
    ax.legend(loc="upper right", framealpha=0.9)
    bar = fig.colorbar(ScalarMappable(norm=norm, cmap=cmap), ax=ax, pad=0.01)
    bar.set_label("Altitude of the kernel's segment k (km)")
    if title:
        fig.suptitle(title)
    return fig


def dofs_figure(table79, title=None):
    """The degrees of freedom of every window of a ``table79``.

    One bar per window in ``table76`` order, labelled with its rank, gas
    label and centre; a singular window gets no bar but the word
    "singular". The joint degrees of freedom of all windows (the ``all``
    row) are a dashed line. Bar n has the SVG id ``dofs-<n>``, the joint
    line ``dofs-all``.

    Parameters
    ----------
    table79 : numpy.ndarray
        As returned by :func:`linefinding.read_table79`, the ``all`` row last.
    title : str, optional

    Returns
    -------
    matplotlib.figure.Figure
    """
    windows, joint = table79[:-1], table79[-1]
    fig = Figure(figsize=(max(6.0, 0.6 * len(windows) + 2.0), 4.8), layout="constrained")
    ax = fig.add_subplot()
    ranks = np.arange(1, len(windows) + 1)
    for rank, w in zip(ranks, windows):
        if w["singular"] or np.isnan(w["dofs"]):
            ax.text(rank, 0.02, "singular", transform=ax.get_xaxis_transform(), rotation=90,
                    ha="center", va="bottom", fontsize=8, color="0.4")
            continue
        bar, = ax.bar(rank, w["dofs"], width=0.7, color=_BAR_COLOUR)
        bar.set_gid(f"dofs-{rank}")
    if not (joint["singular"] or np.isnan(joint["dofs"])):
        line = ax.axhline(joint["dofs"], color=_JOINT_COLOUR, ls="--", lw=1.2,
                          label=f"all windows together: {joint['dofs']:.3f}")
        line.set_gid("dofs-all")
        ax.legend(loc="upper right", framealpha=0.9)
    ax.set_xticks(ranks, [f"{r}\n{w['label']}\n{w['centre']:.2f}" for r, w in zip(ranks, windows)], fontsize=8)
    ax.set_xlim(0.4, len(windows) + 0.6)
    ax.set_xlabel("Microwindow (rank, gas, centre in cm$^{-1}$)")
    ax.set_ylabel("Degrees of freedom (trace of A)")
    values = table79["dofs"][~np.isnan(table79["dofs"])]
    ax.set_ylim(0.0, 1.2 * values.max() if len(values) and values.max() > 0 else 1.0)  # room for the legend
    ax.grid(True, axis="y", color="0.9", lw=0.5)
    if title:
        fig.suptitle(title)
    return fig
