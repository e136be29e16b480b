"""The readers on tables that the built tesk writes from the example data:
every value read is the number printed in the table."""

import numpy as np
import pytest

import linefinding as lf
from conftest import deck


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


def test_spectrum_of_the_example(example_run):
    result = example_run.tesk(deck(line43="n"))
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
