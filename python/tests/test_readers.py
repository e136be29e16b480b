"""Each reader on a hand-made file of its layout."""

import numpy as np
import pytest

import linefinding as lf
from layouts import (MICROWIN, OUTPUT_DAT, SPECTRA_OUT, TABLE70, TABLE71, TABLE71_THREE, TABLE72,
                     TABLE73, TABLE74, TABLE75, TABLE76, TABLE77, TABLE78, TABLE81, TABLE90, DECK, crlf)

WEIGHTS = [1.0e-3 + 1.0e-5 * k for k in range(1, 21)]

# reader, file text, expected columns (every row)
CASES = [
    ("table70", lf.read_table70, TABLE70,
     {"vmr": [1.2e-7, 9.8e-8], "lg_vmr": [-6.92, -7.01], "altitude": [0.5, 1.5]}),
    ("table71", lf.read_table71, TABLE71,
     {"wavenumber": [2140.0, 2140.002], "target": [0.98765, 1.0], "other_gases": [0.54321, 0.5],
      "all_gases": [0.53649, 0.5], "difference": [1.2345e-3, -1.0e-30]}),
    ("table71 three columns", lf.read_table71, TABLE71_THREE,
     {"wavenumber": [2140.0], "target": [12.0], "other_gases": [34.0], "all_gases": [45.0]}),
    ("table72", lf.read_table72, TABLE72,
     {"wavenumber": [2147.0811, 2150.856], "lower_energy": [0.0, 3.8], "sensitivity": [1.2345e-2, 0.0]}),
    ("table73", lf.read_table73, TABLE73,
     {"wavenumber": [2147.0811], "lower_energy": [0.0], "temp_dependence": [-0.9],
      "sensitivity": [1.2345e-2], "interference": [2.3456e-3], "sensitivity_minus_interference": [9.9994e-3]}),
    ("table74", lf.read_table74, TABLE74,
     {"label": ["co", "1co"], "wavenumber": [2147.08, 2150.86], "width": [0.3, 0.3],
      "temp_dependence": [-0.9, 12.5], "sensitivity": [1.2345e-2, 1.1e-2],
      "interference": [2.3456e-3, 1.0e-3], "sensitivity_minus_interference": [9.9994e-3, 1.0e-2]}),
    ("table75", lf.read_table75, TABLE75,
     {"label": ["co"], "centre": [2147.10], "width": [0.24], "temp_dependence": [-0.9]}),
    ("table76", lf.read_table76, TABLE76,
     {"label": ["co", "1co", "co"], "centre": [2147.10, 2150.86, 2155.5],
      "width": [0.24, 0.8, 1.0]}),
    ("table77", lf.read_table77, TABLE77,
     {"weight": [WEIGHTS, [0.0] * 20], "mean": [1.1e-3, 0.0], "altitude": [0.5, 1.5]}),
    ("table78", lf.read_table78, TABLE78,
     {"kernel": [[0.8, 0.1], [0.2, 0.7]], "area": [0.9, 0.9], "altitude": [0.5, 1.5]}),
    ("table81", lf.read_table81, TABLE81,
     {"rank": [1, 2, 3], "label": ["co", "co", "co"], "lower": [2155.0, 2146.98, 2150.675],
      "upper": [2156.0, 2147.22, 2151.045], "points": [501, 121, 186], "dofs": [1.234, 0.812, 0.3],
      "joint_dofs": [1.234, 1.901, 2.05], "total": [99999.999, 0.6, 0.55], "noise": [0.3, 0.1, 0.09],
      "smoothing": [99999.999, 0.2, 0.19], "interference": [0.2, 0.2, 0.2], "temperature": [0.5, 0.5, 0.45]}),
    ("table90", lf.read_table90, TABLE90,
     {"index": [1, 2], "interferogram": [1234.0, 1.5e100], "difference": [-5.678e-3, 0.0]}),
    ("spectra.out", lf.read_spectra_out, SPECTRA_OUT,
     {"wavenumber": [2147.0, 2147.005], "target": [0.98, 0.97], "other_gases": [0.5, 0.6],
      "all_gases": [0.49, 0.582]}),
    ("output.dat", lf.read_output_dat, OUTPUT_DAT,
     {"window": [0, 0, 1], "target": [True, False, True], "name": ["co", "h2o", "n2o"], "gas": [5, 1, 4],
      "rel_trans": [40.0, 3.5, 1.0], "abs_trans": [50.0, 5.0, 2.0], "position": [2147.081, -0.12, 2150.86],
      "total": [49.0, 49.0, 90.5], "contribution": [20.0, 20.0, 1.25]}),
    ("microwin", lf.read_microwin, MICROWIN,
     {"label": ["co", "1co", "co"], "centre": [2147.10, 2150.86, 2147.10],
      "width": [0.24, 0.8, 0.24], "sort": ["d", "a", ""],
      "interferers": [["h2o", "n2o", "", "", "", ""], ["o3", "", "", "", "", ""], [""] * 6]}),
]


def _write(tmp_path, text, name="table"):
    path = tmp_path / name
    path.write_bytes(text.encode("latin-1"))
    return path


@pytest.mark.parametrize("name, reader, text, expected", CASES, ids=[c[0] for c in CASES])
def test_reader_reads_every_field(tmp_path, name, reader, text, expected):
    table = reader(_write(tmp_path, text))
    for field, values in expected.items():
        got = table[field]
        want = np.array(values)
        assert got.shape == want.shape, field
        if got.dtype.kind == "f":
            np.testing.assert_allclose(got, want, rtol=1e-12, atol=0, err_msg=field)
        else:
            assert got.tolist() == want.tolist(), field


# reader, file text, record (1-based), first and last column of a field, the
# field and its row (and element of a sub-array) that must become NaN
ASTERISKS = [
    ("table70", lf.read_table70, TABLE70, 5, 1, 9, "vmr", (1,)),
    ("table71", lf.read_table71, TABLE71, 4, 36, 46, "all_gases", (0,)),
    ("table72", lf.read_table72, TABLE72, 7, 20, 30, "sensitivity", (1,)),
    ("table73", lf.read_table73, TABLE73, 6, 40, 50, "interference", (0,)),
    ("table74", lf.read_table74, TABLE74, 7, 29, 35, "temp_dependence", (1,)),
    ("table75", lf.read_table75, TABLE75, 6, 10, 16, "centre", (0,)),
    ("table76", lf.read_table76, TABLE76, 3, 18, 23, "width", (1,)),
    ("table77", lf.read_table77, TABLE77, 4, 15, 24, "weight", (0, 1)),
    ("table78", lf.read_table78, TABLE78, 5, 21, 29, "area", (1,)),
    ("table81", lf.read_table81, TABLE81, 7, 42, 47, "dofs", (1,)),
    ("table90", lf.read_table90, TABLE90, 4, 1, 5, "index", (1,)),
    ("spectra.out", lf.read_spectra_out, SPECTRA_OUT, 3, 11, 20, "target", (0,)),
    ("output.dat", lf.read_output_dat, OUTPUT_DAT, 13, 39, 47, "position", (1,)),
    ("output.dat total", lf.read_output_dat, OUTPUT_DAT, 17, 38, 45, "total", (2,)),
    ("microwin", lf.read_microwin, MICROWIN, 2, 10, 16, "centre", (0,)),
]


@pytest.mark.parametrize("name, reader, text, record, first, last, field, index", ASTERISKS,
                         ids=[c[0] for c in ASTERISKS])
def test_field_of_asterisks_is_nan_with_a_warning(tmp_path, name, reader, text, record, first, last,
                                                  field, index):
    lines = text.split("\r\n")
    line = lines[record - 1]
    assert line[first - 1:last].strip(), "the case must name a filled field"
    lines[record - 1] = line[:first - 1] + "*" * (last - first + 1) + line[last:]
    with pytest.warns(lf.OverflowFieldWarning, match=f"record {record}, columns {first}-{last}"):
        table = reader(_write(tmp_path, "\r\n".join(lines)))
    assert np.isnan(table[field][index])
    others = np.array(table[field], dtype=float)
    assert np.count_nonzero(np.isnan(others)) == 1


@pytest.mark.parametrize("reader, text, message", [
    (lf.read_table71, "3 5\r\nRad. in transmission\r\n", "3 header lines announced, 2 records"),
    (lf.read_table71, "3 3\r\nx\r\ny\r\n", "4 or 5 columns"),
    (lf.read_table72, "7 lines\r\n", "header of 10 records announced"),
    (lf.read_table76, "name     cm-1     window \r\nco        2147.x0   .24\r\n", "record 2, columns 10-16"),
    (lf.read_table90, "", "record 1"),
    # a record cut short is refused, not read as zeros
    (lf.read_table76, TABLE76[:-6], r"record 4: record cut short, columns 20-23 missing"),
    (lf.read_table80, TABLE78[:-12], r"record 5: record cut short, columns 30-39 missing"),
    (lf.read_table80, TABLE78.replace(" 3   4", " 3   3000000"), "3000000 columns announced"),
    (lf.read_table80, crlf(TABLE78.splitlines()[:-1]), r"2 path segments announced \(record 1\), 1 kernel rows"),
    (lf.read_microwin, MICROWIN.replace("n2o" + " " * 64, "n2o"), "record 2: record cut short"),
    (lf.read_output_dat, OUTPUT_DAT.replace("window:  49.000", "window:  49."), "record 4: record cut short"),
    # rows of another field count than the header's
    (lf.read_table71, TABLE71_THREE.replace(" .45000E+02", " .45000E+02  .10000E+01"),
     "record 4, columns 47-58: more fields than the layout's 46 columns"),
    (lf.read_table90, TABLE90.replace(" 2 3 ", " 2 4 "), "record 1: 4 columns announced, this table has 3"),
    (lf.read_table77, TABLE77.replace(" 3 22 ", " 3 21 "), "record 1: 21 columns announced, this table has 22"),
    # what float() would take but no program writes
    (lf.read_table70, TABLE70.replace(" 1.20E-07", "      inf"), "record 4, columns 1-9: not a finite number"),
    (lf.read_table70, TABLE70.replace(" 1.20E-07", "   1e+999"), "record 4, columns 1-9: not a finite number"),
    (lf.read_spectra_out, SPECTRA_OUT.replace("  .980E+00", "       nan"), "record 3, columns 11-20: not a finite"),
    (lf.read_table70, TABLE70.replace(" 1.20E-07", "  1_2E-07"), "record 4, columns 1-9: not a number"),
])
def test_files_out_of_layout_name_file_and_place(tmp_path, reader, text, message):
    with pytest.raises(lf.RecordLayoutError, match=message):
        reader(_write(tmp_path, text))


def test_deck_lines_heading_the_line_tables(tmp_path):
    deck = lf.read_deck_lines(_write(tmp_path, TABLE74))
    assert deck == [line.rstrip() for line in DECK]


def test_units_of_table71(tmp_path):
    assert lf.table71_units(_write(tmp_path, TABLE71, "a")) == "transmission"
    assert lf.table71_units(_write(tmp_path, TABLE71_THREE, "b")) == "mW m-2 sr-1 (cm-1)-1"


@pytest.mark.parametrize("reader, text", [
    (lf.read_table76, "name     cm-1     window \r\n"),
    (lf.read_table78, " 3   2\r\n Averaging kernels \r\n\r\n"),  # a sort run: no segments
    (lf.read_table77, " 3 22 \r\n Weighting function \r\n weight  altitude\r\n"),
    (lf.read_output_dat, ""),  # no window reached the contribution threshold
])
def test_headers_only_give_empty_tables(tmp_path, reader, text):
    assert len(reader(_write(tmp_path, text))) == 0
