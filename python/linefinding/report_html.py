"""HTML pieces of the study and sweep pages: escaped text, tables, bars of an
error budget, pictures as inline SVG, and the page around them.

Every piece is a string of HTML; text that comes from a file goes through
:func:`esc`. The pages carry their own style (a print stylesheet included)
and their pictures, so that one file can be mailed and opened anywhere,
without network, scripts or fonts.
"""

import html
import io
import re

import matplotlib

matplotlib.use("Agg")
matplotlib.rcParams["svg.hashsalt"] = "linefinding"  # the same SVG for the same data
matplotlib.rcParams["svg.fonttype"] = "path"  # glyphs as paths: no font needed where the page is read

# Colours of the column-error sources, as the pictures draw them.
SOURCE_COLOURS = {"noise": "#1f77b4", "smoothing": "#ff7f0e", "interference": "#2ca02c", "temperature": "#9467bd"}

STYLE = """
body { font-family: sans-serif; max-width: 72rem; margin: 0 auto; padding: 0 1rem 2rem; color: #222;
       line-height: 1.4; }
h1 { font-size: 1.6rem; margin: 1rem 0 0.3rem; }
h2 { font-size: 1.25rem; border-bottom: 1px solid #bbb; margin-top: 2rem; }
h3 { font-size: 1.05rem; }
table { border-collapse: collapse; margin: 0.5rem 0 1rem; font-size: 0.9rem; }
th, td { border: 1px solid #ccc; padding: 0.15rem 0.45rem; text-align: left; vertical-align: top; }
th { background: #eef1f5; }
td.n { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
.bar { display: inline-block; height: 0.8rem; vertical-align: middle; }
.bars { white-space: nowrap; min-width: 12rem; }
.legend span { margin-right: 1rem; white-space: nowrap; }
.note { color: #555; font-style: italic; }
.failed { color: #a00000; }
pre { background: #f6f6f6; border: 1px solid #ddd; padding: 0.5rem; overflow-x: auto; font-size: 0.85rem; }
figure { margin: 0.5rem 0 1.5rem; }
figure svg { max-width: 100%; height: auto; }
figcaption { font-size: 0.9rem; color: #444; }
nav ul { display: flex; flex-wrap: wrap; gap: 0.2rem 1.2rem; list-style: none; padding: 0; margin: 0.3rem 0; }
.glance { font-size: 1.1rem; background: #f3f6fa; border-left: 4px solid #7b2cbf; padding: 0.4rem 0.8rem; }
dl { display: grid; grid-template-columns: max-content auto; gap: 0.2rem 1rem; }
dt { font-weight: bold; }
dd { margin: 0; }
@media print {
  body { max-width: none; font-size: 10pt; padding: 0; }
  nav { display: none; }
  h2 { break-after: avoid; }
  figure, table, pre { break-inside: avoid; }
  pre { white-space: pre-wrap; }
  a { color: inherit; text-decoration: none; }
  .bar { print-color-adjust: exact; -webkit-print-color-adjust: exact; }
}
"""


def esc(value):
    """Text for HTML, quotes included."""
    return html.escape(str(value), quote=True)


def number(value, form=".3f", missing=""):
    """A number as a table cell shows it: ``missing`` for None or NaN."""
    if value is None or value != value:
        return missing
    return format(value, form)


def table(header, rows, numeric=()):
    """An HTML table.

    Parameters
    ----------
    header : list of str
        Plain text, escaped here.
    rows : list of list of str
        Cells as HTML (the caller escapes text from files).
    numeric : collection of int
        Columns set right-aligned as numbers.
    """
    head = "".join(f"<th>{esc(h)}</th>" for h in header)
    right = ' class="n"'
    body = "".join("<tr>" + "".join(f"<td{right if k in numeric else ''}>{cell}</td>"
                                    for k, cell in enumerate(row)) + "</tr>\n" for row in rows)
    return f"<table>\n<thead><tr>{head}</tr></thead>\n<tbody>\n{body}</tbody>\n</table>\n"


def budget_bars(parts, total, scale, width_rem=12.0):
    """A bar of a column error: its length the total, split into the
    sources' shares of the variance.

    The sources add in quadrature (the total is the root of the sum of
    their squares), so a segment's share of the bar is its square's share
    of that sum.

    Parameters
    ----------
    parts : dict
        Source name (a key of :data:`SOURCE_COLOURS`) to its error, % of the
        column; None or NaN draws nothing.
    total : float
        The total error, % of the column.
    scale : float
        The total, %, that fills ``width_rem``: the largest of a table, so
        that rows compare.
    """
    values = {name: parts.get(name) for name in SOURCE_COLOURS}
    values = {name: v for name, v in values.items() if v is not None and v == v}
    variance = sum(v * v for v in values.values())
    if not (scale > 0 and variance > 0 and total == total):
        return ""
    length = width_rem * min(total, scale) / scale
    spans = [f'<span class="bar" style="width:{length * v * v / variance:.2f}rem;background:{SOURCE_COLOURS[name]}" '
             f'title="{esc(name)} {v:.3f} %"></span>' for name, v in values.items()]
    return f'<span class="bars">{"".join(spans)}</span>'


def budget_legend():
    """The colours of :func:`budget_bars`, as a line of HTML."""
    return '<p class="legend">Bars: the total column error, split into the sources\' shares of its square: ' + "".join(
        f'<span><span class="bar" style="width:1rem;background:{colour}"></span> {esc(name)}</span>'
        for name, colour in SOURCE_COLOURS.items()) + "</p>\n"


_SVG_START = re.compile(r"<svg\b")
_ID = re.compile(r'(\bid="|url\(#|href="#)([^")]+)')


def svg(fig, name):
    """A matplotlib figure as inline SVG text: the ``<svg>`` element alone,
    without the XML declaration and document type, which do not belong
    inside HTML. Its ids and the references to them get the prefix
    ``name-``, so that several pictures on one page keep their ids apart."""
    out = io.StringIO()
    fig.savefig(out, format="svg", metadata={"Date": None})
    text = out.getvalue()
    text = text[_SVG_START.search(text).start():]
    return _ID.sub(lambda m: f"{m.group(1)}{name}-{m.group(2)}", text)


def figure(fig, caption, name):
    """A figure with its caption; ``name`` prefixes the picture's ids."""
    return f'<figure id="{esc(name)}">\n{svg(fig, name)}\n<figcaption>{esc(caption)}</figcaption>\n</figure>\n'


def section(anchor, title, body):
    """A section with a heading that the contents link to."""
    return f'<section id="{esc(anchor)}">\n<h2>{esc(title)}</h2>\n{body}</section>\n'


def left_out(why):
    """The one line of a section left out, saying why."""
    return f'<p class="note">{esc(why)}</p>\n'


def page(title, subtitle, sections, glance=""):
    """A whole HTML page.

    Parameters
    ----------
    title, subtitle : str
        Plain text.
    sections : list of (anchor, title, html)
        In the order they appear; a contents list links to each.
    glance : str
        Plain text: the page's main result, set apart below the title.
    """
    contents = "".join(f'<li><a href="#{esc(a)}">{esc(t)}</a></li>' for a, t, _ in sections)
    body = "".join(section(a, t, h) for a, t, h in sections)
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            f'<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            f"<title>{esc(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n"
            f"<h1>{esc(title)}</h1>\n<p>{esc(subtitle)}</p>\n"
            + (f'<p class="glance">{esc(glance)}</p>\n' if glance else "") +
            f'<nav><ul>{contents}</ul></nav>\n{body}</body>\n</html>\n')
