"""Pictures of the information content: averaging kernels, the degrees
of freedom and column-error budget per microwindow, and how the joint
degrees of freedom and column error of the recommended windows grow with
their number.

Each function takes arrays as the readers return them and returns a
matplotlib Figure (object interface, no pyplot state); the caller saves it.
"""

import numpy as np
from matplotlib import colormaps
from matplotlib.cm import ScalarMappable
from matplotlib.colors import Normalize
from matplotlib.figure import Figure

from linefinding.pictures import finite_range
from linefinding.table79 import ERROR_CAP, has_column_errors

_ALTITUDE_LABEL = "Altitude (km)"
_BAR_COLOUR = "#1f77b4"
_JOINT_COLOUR = "#d62728"
# The sources of the column error: table79's field, legend, colour.
_SOURCES = (("noise", "measurement noise", "#1f77b4"), ("smoothing", "smoothing", "#ff7f0e"),
            ("interference", "interfering gases", "#2ca02c"), ("temperature", "temperature", "#9467bd"))
# Above this ratio of the largest to the smallest error the axis is logarithmic.
_LOG_SPREAD = 100.0


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


def _window_ticks(windows):
    return [f"{r}\n{w['label']}\n{w['centre']:.2f}" for r, w in enumerate(windows, start=1)]


def _dofs_panel(ax, table79):
    windows, joint = table79[:-1], table79[-1]
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
    ax.set_xticks(ranks, _window_ticks(windows), fontsize=8)
    ax.set_xlim(0.4, len(windows) + 0.6)
    ax.set_xlabel("Microwindow (rank, gas, centre in cm$^{-1}$)")
    ax.set_ylabel("Degrees of freedom (trace of A)")
    values = table79["dofs"][~np.isnan(table79["dofs"])]
    ax.set_ylim(0.0, 1.2 * values.max() if len(values) and values.max() > 0 else 1.0)  # room for the legend
    ax.grid(True, axis="y", color="0.9", lw=0.5)


def _budget_panel(ax, table79):
    """Grouped bars of the column-error sources per window and for the
    ``all`` row, the total (their root sum of squares) as a marker."""
    groups = [str(r) for r in range(1, len(table79))] + ["all"]
    width = 0.8 / len(_SOURCES)
    values = np.concatenate([table79[name] for name, _, _ in _SOURCES] + [table79["total"]])
    positive = values[np.isfinite(values) & (values > 0)]
    # Errors from a fraction of a per cent to the cap of 100000 % share one
    # axis only on a log scale; a small spread reads better from zero.
    log = len(positive) > 0 and positive.max() > _LOG_SPREAD * positive.min()
    labelled = set()  # each legend entry once, at its first bar or marker

    def legend(text):
        if text in labelled:
            return None
        labelled.add(text)
        return text

    for x, (group, row) in enumerate(zip(groups, table79), start=1):
        if row["singular"]:
            ax.text(x, 0.02, "singular", transform=ax.get_xaxis_transform(), rotation=90,
                    ha="center", va="bottom", fontsize=8, color="0.4")
            continue
        for k, (name, text, colour) in enumerate(_SOURCES):
            if np.isfinite(row[name]):
                bar, = ax.bar(x + (k - (len(_SOURCES) - 1) / 2) * width, row[name], width=width, color=colour,
                              label=legend(text))
                bar.set_gid(f"budget-{group}-{name}")
        if np.isfinite(row["total"]):
            capped = row["total"] >= ERROR_CAP
            marker, = ax.plot([x], [row["total"]], ls="none", color="black", ms=7, marker="^" if capped else "D",
                              label=legend("total, 100000 % or more" if capped else "total (root sum of squares)"))
            marker.set_gid(f"budget-{group}-total")
    ax.set_xticks(np.arange(1, len(groups) + 1), _window_ticks(table79[:-1]) + ["all\nwindows"], fontsize=8)
    ax.set_xlim(0.4, len(groups) + 0.6)
    ax.set_xlabel("Microwindow (rank, gas, centre in cm$^{-1}$), then all windows together")
    ax.set_ylabel("Error of the total column (% of the column)")
    if log:
        ax.set_yscale("log")
        ax.set_ylim(positive.min() / 2.0, positive.max() * 20.0)  # room for the legend
    else:
        ax.set_ylim(0.0, 1.3 * positive.max() if len(positive) else 1.0)
    ax.grid(True, axis="y", color="0.9", lw=0.5)
    handles, texts = ax.get_legend_handles_labels()
    if handles:
        order = [text for _, text, _ in _SOURCES] + ["total (root sum of squares)", "total, 100000 % or more"]
        pairs = sorted(zip(handles, texts), key=lambda pair: order.index(pair[1]))
        ax.legend([h for h, _ in pairs], [t for _, t in pairs], loc="upper right", framealpha=0.9, fontsize=8, ncol=3)


def dofs_figure(table79, title=None):
    """The degrees of freedom and the column-error budget of every window
    of a ``table79``.

    Above, one bar per window in ``table76`` order, labelled with its rank,
    gas label and centre; a singular window gets no bar but the word
    "singular". The joint degrees of freedom of all windows (the ``all``
    row) are a dashed line. Bar n has the SVG id ``dofs-<n>``, the joint
    line ``dofs-all``.

    Below, when the table has column errors, the error of the target's
    total column per window and for the ``all`` row: grouped bars of the
    noise, smoothing, interference and temperature errors, the total as a
    diamond (a triangle at the cap of 100000 % or more). Each has the SVG
    id ``budget-<n or all>-<noise|smoothing|interference|temperature|total>``.
    A table79 of an older tesk gives the upper panel alone.

    Parameters
    ----------
    table79 : numpy.ndarray
        As returned by :func:`linefinding.read_table79`, the ``all`` row last.
    title : str, optional

    Returns
    -------
    matplotlib.figure.Figure
    """
    budget = has_column_errors(table79)
    # A group of bars for every window and the "all" row below; a bar per window above.
    width = max(6.0, 0.9 * len(table79) + 2.0 if budget else 0.6 * (len(table79) - 1) + 2.0)
    fig = Figure(figsize=(width, 9.0 if budget else 4.8), layout="constrained")
    if budget:
        top, bottom = fig.subplots(2, 1, height_ratios=(1.0, 1.2))
        _dofs_panel(top, table79)
        _budget_panel(bottom, table79)
    else:
        _dofs_panel(fig.add_subplot(), table79)
    if title:
        fig.suptitle(title)
    return fig


def _choice_ticks(table81):
    return [f"{w['rank']}\n{w['label']}\n{w['lower']:.2f}" for w in table81]


def choice_figure(table81, title=None):
    """How many of the recommended windows of a ``table81`` are enough.

    Against the number of windows fitted together (1 = the first chosen,
    n = windows 1 to n): above, the joint degrees of freedom as a line
    (SVG id ``choice-jdofs``) over bars of each window's own (``choice-dofs-<n>``);
    below, the error of the target's total column of the retrieval from
    those windows (% of the column) and its noise, smoothing, interference
    and temperature parts, one line each (``choice-<total|noise|smoothing|
    interference|temperature>``), on a log scale when they spread over more
    than a factor of 100. A window whose addition no longer lowers the
    total much is where more windows stop paying.

    Parameters
    ----------
    table81 : numpy.ndarray
        As returned by :func:`linefinding.read_table81`, at least one row.
    title : str, optional

    Returns
    -------
    matplotlib.figure.Figure
    """
    fig = Figure(figsize=(max(6.0, 0.7 * len(table81) + 3.0), 8.0), layout="constrained")
    top, bottom = fig.subplots(2, 1, sharex=True)
    n = table81["rank"]
    for rank, dofs in zip(n, table81["dofs"]):
        if np.isfinite(dofs):
            bar, = top.bar(rank, dofs, width=0.6, color=_BAR_COLOUR, alpha=0.4,
                           label="the window alone" if rank == n[0] else None)
            bar.set_gid(f"choice-dofs-{rank}")
    line, = top.plot(n, table81["joint_dofs"], color=_JOINT_COLOUR, marker="o", lw=1.5,
                     label="windows 1 to n together")
    line.set_gid("choice-jdofs")
    values = np.concatenate([table81["dofs"], table81["joint_dofs"]])
    values = values[np.isfinite(values)]
    top.set_ylim(0.0, 1.2 * values.max() if len(values) and values.max() > 0 else 1.0)  # room for the legend
    top.set_ylabel("Degrees of freedom (trace of A)")
    top.legend(loc="upper left", framealpha=0.9)
    top.grid(True, color="0.9", lw=0.5)

    total, = bottom.plot(n, table81["total"], color="black", marker="D", lw=2.0, label="total (root sum of squares)")
    total.set_gid("choice-total")
    for name, text, colour in _SOURCES:
        part, = bottom.plot(n, table81[name], color=colour, marker="o", ms=4, lw=1.0, label=text)
        part.set_gid(f"choice-{name}")
    errors = np.concatenate([table81[name] for name in ("total",) + tuple(s[0] for s in _SOURCES)])
    positive = errors[np.isfinite(errors) & (errors > 0)]
    if len(positive) and positive.max() > _LOG_SPREAD * positive.min():
        bottom.set_yscale("log")
        bottom.set_ylim(positive.min() / 2.0, positive.max() * 20.0)  # room for the legend
    else:
        bottom.set_ylim(0.0, 1.3 * positive.max() if len(positive) else 1.0)
    if (table81["total"] >= ERROR_CAP).any():
        bottom.axhline(ERROR_CAP, color="0.5", ls=":", lw=1.0, label="100000 % or more")
    bottom.set_ylabel("Error of the total column (% of the column)")
    bottom.set_xlabel("Windows fitted together: 1 to n (rank n, gas, lower edge in cm$^{-1}$)")
    bottom.set_xticks(n, _choice_ticks(table81), fontsize=8)
    bottom.set_xlim(n[0] - 0.6, n[-1] + 0.6)
    bottom.legend(loc="upper right", framealpha=0.9, fontsize=8, ncol=3)
    bottom.grid(True, color="0.9", lw=0.5)
    if title:
        fig.suptitle(title)
    return fig
