"""The readers on tables that the built tesk writes from the example data:
every value read is the number printed in the table."""

from pathlib import Path

import numpy as np
import pytest

import linefinding as lf
from conftest import deck

# The example's kormal deck, rating table76 (the example itself rates table81).
_EXAMPLE_KORMAL = (Path(__file__).resolve().parents[2] / "examples" / "co_window" / "input-kormal").read_text()
KORMAL_DECK = "\n".join(["table76" + line[len(line.split()[0]):] if i == 1 else line
                         for i, line in enumerate(_EXAMPLE_KORMAL.splitlines())]) + "\n"


def printed_rows(path, nhead):
    """The numbers of each row, split at blanks (the fields of these tables
    are always kept apart by at least one blank)."""
    lines = path.read_text().splitlines()[nhead:]
    return np.array([[float(w) for w in line.split()] for line in lines])


def flat(table):
    """The columns of a structured array side by side, sub-arrays spread out."""
    columns = []
    for name in table.dtype.names:
        column = np.asarray(table[name], dtype=float)
        columns.append(column.reshape(len(table), -1))
    return np.hstack(columns)


# study letter, range, tables and their readers
STUDIES = [
    ("s", "2140.", "2160.", [("table70", lf.read_table70, 3), ("table71", lf.read_table71, 3)]),
    ("w", "2145.", "2146.", [("table70", lf.read_table70, 3), ("table71", lf.read_table71, 3),
                             ("table77", lf.read_table77, 3)]),
]


@pytest.mark.parametrize("study, start, end, tables", STUDIES, ids=[s[0] for s in STUDIES])
def test_readers_give_the_printed_numbers(example_run, study, start, end, tables):
    result = example_run.tesk(deck(line9=study, line17=start, line18=end, line43="n"))
    assert result.returncode == 0, result.stdout + result.stderr
    for name, reader, nhead in tables:
        path = example_run.dir / name
        table = reader(path)
        assert len(table) > 0, name
        np.testing.assert_array_equal(flat(table), printed_rows(path, nhead), err_msg=name)


def numbers_of(line):
    """The words of a printed row that are numbers, in order."""
    values = []
    for word in line.split():
        try:
            values.append(float(word))
        except ValueError:
            pass
    return values


def numeric_columns(table):
    """The number fields of a structured array side by side."""
    names = [n for n in table.dtype.names if table.dtype[n].kind == "f" and n != "window"]
    return np.column_stack([np.asarray(table[n], dtype=float) for n in names])


# Tables whose rows mix a text label with numbers, and the header lines
# before their rows (the example deck heads tables 72-75 with 5 deck lines).
LINE_TABLES = [("table72", lf.read_table72, 8), ("table73", lf.read_table73, 8),
               ("table74", lf.read_table74, 8), ("table75", lf.read_table75, 8),
               ("table76", lf.read_table76, 1)]


def test_line_finding_and_kormal_tables_give_the_printed_numbers(example_run):
    result = example_run.tesk(deck(line18="2160.", line43="n"))
    assert result.returncode == 0, result.stdout + result.stderr
    for name, reader, nhead in LINE_TABLES:
        path = example_run.dir / name
        table = reader(path)
        printed = [numbers_of(line) for line in path.read_text().splitlines()[nhead:]]
        assert len(table) == len(printed) > 0, name
        np.testing.assert_array_equal(numeric_columns(table), np.array(printed), err_msg=name)

    result = example_run.kormal(KORMAL_DECK)
    assert result.returncode == 0, result.stdout + result.stderr
    windows = lf.read_table76(example_run.dir / "table76")
    microwin = lf.read_microwin(example_run.dir / "microwin")
    np.testing.assert_array_equal(microwin["centre"], windows["centre"])
    report = lf.read_output_dat(example_run.dir / "output.dat")
    targets = report[report["target"]]
    assert len(targets) == len(windows)
    assert np.all(targets["name"] == "co")
    spectra = lf.read_spectra_out(example_run.dir / "spectra.out")
    path = example_run.dir / "spectra.out"
    np.testing.assert_array_equal(flat(spectra), printed_rows(path, 2))


@pytest.mark.parametrize("study, table, reader", [("a", "table78", lf.read_table78),
                                                  ("i", "table90", lf.read_table90)])
def test_kernel_and_interferogram_tables_give_the_printed_numbers(example_run, study, table, reader):
    result = example_run.tesk(deck(line9=study, line17="2145.", line18="2146.", line43="n"))
    assert result.returncode == 0, result.stdout + result.stderr
    path = example_run.dir / table
    values = reader(path)
    assert len(values) > 0
    nhead = int(path.read_text().split()[0])  # the first number of the table counts its header lines
    np.testing.assert_array_equal(flat(values), printed_rows(path, nhead))


def test_spectrum_of_the_example(example_run):
    result = example_run.tesk(deck(line9="s", line17="2140.", line18="2160.", line43="n"))
    assert result.returncode == 0, result.stdout + result.stderr
    spectra = lf.read_table71(example_run.dir / "table71")
    profile = lf.read_table70(example_run.dir / "table70")
    # 2140 to 2160 cm-1 every 0.002 cm-1
    assert len(spectra) == 10001
    np.testing.assert_allclose(spectra["wavenumber"][[0, -1]], [2140.0, 2160.0])
    assert lf.table71_units(example_run.dir / "table71") == "transmission"
    # The CO lines saturate at their centres; between them the air is clear.
    assert spectra["target"].min() < 0.05
    assert np.median(spectra["all_gases"]) > 0.5
    assert np.all(np.diff(profile["altitude"]) > 0)


def test_the_example_chain_finds_the_strongest_co_lines(example_run):
    """The bundled example as the README's first command runs it: line
    finding, then the interfering gases of every window."""
    result = example_run.tesk(deck())
    assert result.returncode == 0, result.stdout + result.stderr
    for name in ["table70", "table71", "table72", "table73", "table74", "table75", "table76"]:
        assert len((example_run.dir / name).read_text().splitlines()) > 3, name
    result = example_run.kormal(KORMAL_DECK)
    assert result.returncode == 0, result.stdout + result.stderr

    # The five strongest CO lines of the range, from the generated list's
    # columns 1-2 (molecule), 4-15 (position) and 16-25 (intensity).
    co = []
    for record in (example_run.dir / "lines.hit").read_text().splitlines():
        position = float(record[3:15])
        if int(record[0:2]) == 5 and 2140.0 < position < 2180.0:
            co.append((float(record[15:25]), position))
    strongest = [position for _, position in sorted(co, reverse=True)[:5]]
    windows = lf.read_table76(example_run.dir / "table76")
    for position in strongest:
        inside = np.abs(windows["centre"] - position) <= windows["width"] / 2
        assert inside.any(), f"no window holds the CO line at {position}"
    assert len(lf.read_microwin(example_run.dir / "microwin")) == len(windows)
