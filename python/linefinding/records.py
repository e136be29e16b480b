"""Fixed-column records as the programs write them.

The programs write every table as text records ended by CR LF, each value in
a field of fixed columns (1-based, inclusive). A value too wide for its field
is written as a field of asterisks: read here as NaN, with an
:class:`OverflowFieldWarning`. Real fields follow the programs' own rules:
no zero before the decimal point (``.0567``), exponents of three digits
without the letter E (``.150+101``), a blank field reads as zero.

The programs never write an infinite value or NaN as text (they write
asterisks), nor a record shorter than its layout: a reader refuses both,
naming the file, the record and the columns, as it refuses a record cut
short by a full disk or an interrupted copy.
"""

import math
import re
import warnings
from dataclasses import dataclass

import numpy as np


class OverflowFieldWarning(UserWarning):
    """A field held only asterisks (a value too wide for it); read as NaN."""


class RecordLayoutError(ValueError):
    """A file does not follow the layout of its kind (an unreadable field,
    a missing header line). The message names the file, record and columns."""


_BARE_EXPONENT = re.compile(r"([+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+))([+-][0-9]+)")
_INTEGER = re.compile(r"[+-]?[0-9]+")
# What is left of a real field once D is E and a bare exponent has its E:
# Python's float() alone would also take "inf", "nan" and "1_000".
_REAL = re.compile(r"[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:E[+-]?[0-9]+)?", re.IGNORECASE)


@dataclass(frozen=True)
class Field:
    """One column of a record layout.

    Attributes
    ----------
    name : str
        Field name in the returned structured array.
    first, last : int
        First and last column, 1-based and inclusive.
    kind : str
        ``"f"`` real (float64), ``"i"`` integer (int64), ``"a"`` text
        (trailing blanks removed).
    """

    name: str
    first: int
    last: int
    kind: str = "f"

    @property
    def dtype(self):
        if self.kind == "f":
            return np.float64
        if self.kind == "i":
            return np.int64
        return f"U{self.last - self.first + 1}"


def read_lines(path):
    """The records of a text file, without their CR LF or LF terminators.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    list of str
    """
    with open(path, "r", encoding="latin-1", newline="") as f:
        text = f.read()
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return [line[:-1] if line.endswith("\r") else line for line in lines]


def parse_real(text, where):
    """One real field as the programs read it.

    Parameters
    ----------
    text : str
        The characters of the field.
    where : str
        File, record and columns, for the error message.

    Returns
    -------
    float
        The value; 0.0 for a blank field; NaN for a field of asterisks.

    Raises
    ------
    RecordLayoutError
        When the field holds something else than a number, or a number
        that is not finite (``inf``, ``nan``, or ``1e999``, beyond the
        range of a double).
    """
    s = text.strip()
    if not s:
        return 0.0
    if set(s) == {"*"}:
        return np.nan
    s = s.replace("D", "E").replace("d", "E")
    m = _BARE_EXPONENT.fullmatch(s)
    if m:
        s = f"{m.group(1)}E{m.group(2)}"
    try:
        value = float(s)
    except ValueError:
        value = None
    if value is not None and not math.isfinite(value):
        raise RecordLayoutError(f"{where}: not a finite number: {text!r}")
    if value is None or not _REAL.fullmatch(s):
        raise RecordLayoutError(f"{where}: not a number: {text!r}")
    return value


def parse_records(lines, fields, path, first_record, whole=False):
    """Structured array of fixed-column records.

    Parameters
    ----------
    lines : list of str
        The records to read, one row each.
    fields : sequence of Field
    path : str
        File name for messages.
    first_record : int
        Record number (1-based) of ``lines[0]`` in the file, for messages.
    whole : bool
        The fields are the whole record: anything but blanks after the last
        field is a field the layout does not have (a row of more columns
        than its header announces).

    Returns
    -------
    numpy.ndarray
        Structured array, one element per record, one field per Field.
        Fields of asterisks are NaN (one OverflowFieldWarning per file).

    Raises
    ------
    RecordLayoutError
        For a record that ends before the last column of its fields, text
        after them (with ``whole``), an unreadable or non-finite field, or
        asterisks in an integer field.
    """
    dtype = [(f.name, f.dtype) for f in fields]
    out = np.zeros(len(lines), dtype=dtype)
    end = max((f.last for f in fields), default=0)
    overflow = []
    for i, line in enumerate(lines):
        recno = first_record + i
        check_record_length(line, end, path, recno, whole)
        for f in fields:
            text = line[f.first - 1:f.last]
            where = f"{path}, record {recno}, columns {f.first}-{f.last}"
            if f.kind == "a":
                out[f.name][i] = text.rstrip()
                continue
            value = parse_real(text, where)
            if np.isnan(value):
                if f.kind == "i":
                    raise RecordLayoutError(f"{where}: integer field of asterisks")
                overflow.append(where)
            if f.kind == "i":
                if value != int(value):
                    raise RecordLayoutError(f"{where}: not an integer: {text!r}")
                value = int(value)
            out[f.name][i] = value
    if overflow:
        more = f" and {len(overflow) - 1} more" if len(overflow) > 1 else ""
        warnings.warn(
            f"{overflow[0]}{more}: field of asterisks (value too wide for its field) read as NaN",
            OverflowFieldWarning, stacklevel=3)
    return out


def check_record_length(line, end, path, recno, whole=False):
    """Refuses a record that ends before column ``end``, the last of its
    layout (a blank field at its end is still written in full), or, with
    ``whole``, that holds more than blanks after it.

    Raises
    ------
    RecordLayoutError
        Naming the file, the record and the missing or extra columns.
    """
    if len(line) < end:
        raise RecordLayoutError(f"{path}, record {recno}: record cut short, columns {len(line) + 1}-{end} "
                                f"missing ({len(line)} characters, its layout has {end})")
    if whole and line[end:].strip():
        raise RecordLayoutError(f"{path}, record {recno}, columns {end + 1}-{len(line)}: more fields than "
                                f"the layout's {end} columns hold")


def repeated(name, count, first, width, gap, kind="f"):
    """Fields of a repeated group such as ``21(e10.3,4x)``.

    Parameters
    ----------
    name : str
        Stem of the field names: ``name_1`` ... ``name_<count>``.
    count : int
    first : int
        First column of the first field.
    width, gap : int
        Field width and the blanks after each field, in characters.

    Returns
    -------
    list of Field
    """
    step = width + gap
    return [Field(f"{name}_{k + 1}", first + k * step, first + k * step + width - 1, kind)
            for k in range(count)]


def stack_fields(table, stems, name, count):
    """Gathers ``name_1`` ... ``name_<count>`` of ``table`` into one sub-array field.

    Parameters
    ----------
    table : numpy.ndarray
        Structured array with the repeated fields.
    stems : list of str
        The other field names to keep, in order.
    name : str
        Name of the repeated fields and of the sub-array field.
    count : int

    Returns
    -------
    numpy.ndarray
        Structured array with field ``name`` of shape (count,) and the others.
    """
    dtype = [(name, np.float64, (count,))] + [(s, table.dtype[s]) for s in stems]
    out = np.zeros(len(table), dtype=dtype)
    for k in range(count):
        out[name][:, k] = table[f"{name}_{k + 1}"]
    for s in stems:
        out[s] = table[s]
    return out


def count_header(lines, path):
    """The header protocol of the spectrum-like tables.

    The first record begins with the number of header records (that record
    included), followed by the number of columns.

    Parameters
    ----------
    lines : list of str
    path : str

    Returns
    -------
    (int, int)
        Number of header records and number of columns.

    Raises
    ------
    RecordLayoutError
        When the first record does not start with two integers, or the file
        is shorter than its header.
    """
    words = lines[0].split() if lines else []
    if len(words) < 2 or not all(_INTEGER.fullmatch(w) for w in words[:2]):
        raise RecordLayoutError(
            f"{path}, record 1: expected the number of header lines and of columns")
    nhead, ncols = int(words[0]), int(words[1])
    if nhead < 1 or len(lines) < nhead:
        raise RecordLayoutError(f"{path}: {nhead} header lines announced, {len(lines)} records in the file")
    return nhead, ncols


def deck_header(lines, path, extra):
    """The header of the line tables: deck lines, two blank lines, column header.

    The first record is the first deck line; it begins with ``nhead``, the
    number of deck lines that head the table. After them come two records
    holding one blank, then ``extra`` column-header records.

    Parameters
    ----------
    lines : list of str
    path : str
    extra : int
        Column-header records after the two blank ones (1 for tables 72-75).

    Returns
    -------
    (list of str, int)
        The deck lines (trailing blanks removed) and the number of header
        records, i.e. the index of the first row.

    Raises
    ------
    RecordLayoutError
        When the first record does not begin with a positive integer or the
        file is shorter than its header.
    """
    try:
        nhead = int(lines[0].split()[0])
    except (IndexError, ValueError):
        raise RecordLayoutError(f"{path}, record 1: expected the number of deck lines of the header") from None
    total = nhead + 2 + extra
    if nhead < 1 or len(lines) < total:
        raise RecordLayoutError(f"{path}: header of {total} records announced, {len(lines)} in the file")
    return [line.rstrip() for line in lines[:nhead]], total


def rows_after_header(path):
    """The records of a table that has one header line (table76, microwin),
    the header left out; raises RecordLayoutError for an empty file."""
    lines = read_lines(path)
    if not lines:
        raise RecordLayoutError(f"{path}: no header line")
    return lines[1:]


def read_deck_lines(path):
    """The deck lines heading one of the line tables ``table72`` to ``table75``.

    Parameters
    ----------
    path : str or os.PathLike

    Returns
    -------
    list of str
        The copied lines of the input deck, trailing blanks removed; the
        first begins with their number.
    """
    deck, _ = deck_header(read_lines(path), path, extra=1)
    return deck


def read_deck_headed_rows(path, fields):
    """The rows of a table headed by deck lines (tables 72 to 75), read by
    `fields`; raises RecordLayoutError for a short header or a bad field."""
    lines = read_lines(path)
    _, nhead = deck_header(lines, path, extra=1)
    return parse_records(lines[nhead:], fields, str(path), nhead + 1)


def read_counted_rows(path, fields, columns=None):
    """The rows of a table whose first number counts its header lines
    (tables 70, 90, spectra.out), read by `fields`, which are the whole row.

    Parameters
    ----------
    path : str or os.PathLike
    fields : sequence of Field
    columns : int, optional
        The number of columns the header must announce (table70's header
        announces 2 for its 3 columns: not checked).

    Raises
    ------
    RecordLayoutError
        For a short header, another number of columns, a record shorter or
        longer than `fields`, or a bad field.
    """
    lines = read_lines(path)
    nhead, ncols = count_header(lines, path)
    if columns is not None and ncols != columns:
        raise RecordLayoutError(f"{path}, record 1: {ncols} columns announced, this table has {columns}")
    return parse_records(lines[nhead:], fields, str(path), nhead + 1, whole=True)
