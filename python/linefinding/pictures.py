"""Pictures of the programs' spectra, one function per picture kind.

Each function takes arrays as the readers return them and returns a
matplotlib Figure (object interface, no pyplot state); the caller saves it.
"""

import numpy as np
from matplotlib.figure import Figure
from matplotlib.patches import Patch
from matplotlib.transforms import blended_transform_factory

WAVENUMBER_LABEL = "Wavenumber (cm$^{-1}$)"
_RADIANCE_LABEL = "Radiance (mW m$^{-2}$ sr$^{-1}$ (cm$^{-1}$)$^{-1}$)"
_WINDOW_COLOUR = "#f2b134"
# table81's recommended windows: hatched outlines, so that they read apart
# from (and on top of) table76's shaded ones.
_RECOMMENDED_COLOUR = "#7b2cbf"


def _y_label(units):
    return "Transmission" if units == "transmission" else _RADIANCE_LABEL


def finite_range(values):
    """The lowest and highest finite value, or None when there is none (a
    column of asterisks read as NaN)."""
    finite = values[np.isfinite(values)]
    return (finite.min(), finite.max()) if len(finite) else None


def _axes_of_wavenumber(ax, nu):
    span = finite_range(nu)
    if span:
        ax.set_xlim(*span)
    ax.grid(True, color="0.9", lw=0.5)


def _shade_windows(ax, windows, nu, label):
    """Shades the windows overlapping the wavenumbers nu; returns how many.

    With ``label`` each patch gets the SVG id ``window-<rank>`` and its rank
    and gas label above the axes."""
    top = blended_transform_factory(ax.transData, ax.transAxes)
    shown = 0
    first, last = finite_range(nu)
    for rank, w in enumerate(windows, start=1):
        lo, hi = w["centre"] - w["width"] / 2, w["centre"] + w["width"] / 2
        if np.isnan(lo) or np.isnan(hi) or hi < first or lo > last:
            continue
        patch = ax.axvspan(lo, hi, color=_WINDOW_COLOUR, alpha=0.35, lw=0, zorder=0)
        if label:
            patch.set_gid(f"window-{rank}")
            ax.text(w["centre"], 1.02, f"{rank} {w['label']}", transform=top,
                    ha="center", va="bottom", fontsize=8, rotation=90)
        shown += 1
    return shown


def _mark_recommended(ax, recommended, nu, label):
    """Outlines table81's windows overlapping the wavenumbers nu, hatched;
    returns how many.

    With ``label`` each patch gets the SVG id ``recommended-<rank>`` and
    its rank inside the top of the axes."""
    top = blended_transform_factory(ax.transData, ax.transAxes)
    shown = 0
    first, last = finite_range(nu)
    for w in recommended:
        lo, hi = w["lower"], w["upper"]
        if np.isnan(lo) or np.isnan(hi) or hi < first or lo > last:
            continue
        patch = ax.axvspan(lo, hi, facecolor="none", edgecolor=_RECOMMENDED_COLOUR, hatch="///", lw=1.0, zorder=1)
        if label:
            patch.set_gid(f"recommended-{w['rank']}")
            ax.text((lo + hi) / 2, 0.98, str(w["rank"]), transform=top, ha="center", va="top", fontsize=8,
                    color=_RECOMMENDED_COLOUR, fontweight="bold",
                    bbox={"facecolor": "white", "edgecolor": "none", "pad": 1.0})
        shown += 1
    return shown


def spectrum_figure(spectra, windows=None, units="transmission", title=None, recommended=None):
    """The spectra of a ``table71`` with the microwindows of a ``table76``
    and the recommended windows of a ``table81``.

    Two panels over the same wavenumbers: above, the spectrum of all gases;
    below, the target gas alone and all other gases, so that a window's
    interferers show at a glance.

    Parameters
    ----------
    spectra : numpy.ndarray
        As returned by :func:`linefinding.read_table71`.
    windows : numpy.ndarray, optional
        As returned by :func:`linefinding.read_table76`. Each window that
        overlaps the spectra is shaded in both panels and labelled above
        with its rank (1 = best) and gas label; its patch in the upper
        panel has the SVG id ``window-<rank>``.
    recommended : numpy.ndarray, optional
        As returned by :func:`linefinding.read_table81`. Each window that
        overlaps the spectra is outlined and hatched in both panels, its
        rank in the order of choice inside the top of the upper panel; its
        patch there has the SVG id ``recommended-<rank>``.
    units : str
        ``"transmission"`` or a radiance unit, see :func:`linefinding.table71_units`.
    title : str, optional

    Returns
    -------
    matplotlib.figure.Figure
    """
    fig = Figure(figsize=(11, 6.5), layout="constrained")
    upper, lower = fig.subplots(2, 1, sharex=True)
    nu = spectra["wavenumber"]
    upper.plot(nu, spectra["all_gases"], color="black", lw=0.8, label="all gases")
    lower.plot(nu, spectra["other_gases"], color="#2ca02c", lw=0.9, label="other gases")
    lower.plot(nu, spectra["target"], color="#1f77b4", lw=0.9, label="target gas")
    for ax in (upper, lower):
        _axes_of_wavenumber(ax, nu)
        ax.set_ylabel(_y_label(units))
    lower.set_xlabel(WAVENUMBER_LABEL)
    lower.ticklabel_format(axis="x", useOffset=False, style="plain")  # wavenumbers read whole
    handles, _ = upper.get_legend_handles_labels()
    if windows is not None and len(windows) and finite_range(nu):
        if _shade_windows(upper, windows, nu, label=True):
            _shade_windows(lower, windows, nu, label=False)
            handles.append(Patch(color=_WINDOW_COLOUR, alpha=0.35, label="microwindows (rank, gas)"
                                 + (" of table76" if recommended is not None else "")))
    if recommended is not None and len(recommended) and finite_range(nu):
        if _mark_recommended(upper, recommended, nu, label=True):
            _mark_recommended(lower, recommended, nu, label=False)
            handles.append(Patch(facecolor="none", edgecolor=_RECOMMENDED_COLOUR, hatch="///",
                                 label="recommended windows of table81 (order of choice)"))
    upper.legend(handles=handles, loc="lower left", framealpha=0.9)
    lower.legend(loc="lower left", framealpha=0.9)
    if title:
        fig.suptitle(title)
    return fig


def kormal_figure(spectra, title=None):
    """The transmissions of ``kormal``'s last window (``spectra.out``).

    Parameters
    ----------
    spectra : numpy.ndarray
        As returned by :func:`linefinding.read_spectra_out`.
    title : str, optional

    Returns
    -------
    matplotlib.figure.Figure
    """
    fig = Figure(figsize=(9, 4.5), layout="constrained")
    ax = fig.add_subplot()
    nu = spectra["wavenumber"]
    ax.plot(nu, spectra["all_gases"], color="0.6", lw=2.4, label="all gases")
    ax.plot(nu, spectra["other_gases"], color="#2ca02c", lw=1.0, label="other gases")
    ax.plot(nu, spectra["target"], color="#1f77b4", lw=1.0, label="target gas")
    _axes_of_wavenumber(ax, nu)
    ax.set_xlabel(WAVENUMBER_LABEL)
    ax.ticklabel_format(axis="x", useOffset=False, style="plain")  # wavenumbers read whole
    ax.set_ylabel("Transmission")
    ax.legend(loc="lower left", framealpha=0.9)
    if title:
        fig.suptitle(title)
    return fig
