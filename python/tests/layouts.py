"""Hand-made files in the layouts the programs write, field by field.

Every row is put together from its fields, each exactly as wide as its edit
descriptor, so that a reader that misplaces a column fails.
"""


def crlf(lines):
    """Records ended by CR LF, as the programs write files."""
    return "".join(line + "\r\n" for line in lines)


DECK = ["2          lines of this deck that head the line tables".ljust(200),
        "lines.hit".ljust(200)]
BLANKS = [" ", " "]

TABLE70 = crlf([
    "3 2", " vmr-profile of target gas", " vmr         lg(vmr)       altitude ",
    # 1pe9.2, 1x, 1pe9.2, 1x, f5.1
    " 1.20E-07" + " " + "-6.92E+00" + " " + "   .5",
    " 9.80E-08" + " " + "-7.01E+00" + " " + "  1.5",
])

TABLE71 = crlf([
    "3 5", "Rad. in transmission", "  cm-1      target      all-target   all-gases  diff-10%",
    # f10.4, 4(1x, e11.5) (the trailing 1x is not part of the record)
    " 2140.0000" + " " + " .98765E+00" + " " + " .54321E+00" + " " + " .53649E+00" + " " + " .12345E-02",
    " 2140.0020" + " " + " .10000E+01" + " " + " .50000E+00" + " " + " .50000E+00" + " " + "-.10000E-29",
])

TABLE71_THREE = crlf([
    "3 4", "Rad. in: mW m-2 sr-1 (cm-1)-1", "  cm       target      all-target    all-gases",
    " 2140.0000" + " " + " .12000E+02" + " " + " .34000E+02" + " " + " .45000E+02",
])

TABLE72 = crlf(DECK + BLANKS + ["frequency  e-prime  intensity"] + [
    # 1x, f9.4, 1x, f7.1, 1x, e11.5
    " " + "2147.0811" + " " + "     .0" + " " + " .12345E-01",
    " " + "2150.8560" + " " + "    3.8" + " " + " .00000E+00",
])

TABLE73 = crlf(DECK + BLANKS + [
    " cm-1      e-prime rel-eprim intensity  interference intens-inter"] + [
    # 1x, f9.4, 1x, f7.1, 1x, f7.1, 3(1x, e11.5)
    " " + "2147.0811" + " " + "     .0" + " " + "    -.9" + " " + " .12345E-01" + " " + " .23456E-02"
    + " " + " .99994E-02",
])

_T74_HEADER = "name     cm-1     window     e-prime   intensity   interfer intens-inter"
TABLE74 = crlf(DECK + BLANKS + [_T74_HEADER] + [
    # a8, 1x, f7.2, 1x, f6.2, 5x, f7.1, 3(1x, e11.5)
    "co      " + " " + "2147.08" + " " + "   .30" + "     " + "    -.9" + " " + " .12345E-01" + " "
    + " .23456E-02" + " " + " .99994E-02",
    "1co     " + " " + "2150.86" + " " + "   .30" + "     " + "   12.5" + " " + " .11000E-01" + " "
    + " .10000E-02" + " " + " .10000E-01",
])

TABLE75 = crlf(DECK + BLANKS + [_T74_HEADER] + [
    ("co      " + " " + "2147.10" + " " + "   .24" + "     " + "    -.9" + " " + " .12345E-01" + " "
     + " .23456E-02" + " " + " .99994E-02").ljust(103),
])

TABLE76 = crlf([
    "name     cm-1     window ",
    # a8, 1x, f7.2, 1x, f6.2
    "co      " + " " + "2147.10" + " " + "   .24",
    "1co     " + " " + "2150.86" + " " + "   .80",
    "co      " + " " + "2155.50" + " " + "  1.00",
])

TABLE77 = crlf([
    " 3 22 ", " Weighting function ", " weight  altitude",
    # 21(e10.3, 4x), f5.1: bins 1.01e-3 ... 1.20e-3, their mean, altitude
    "".join(f"  .{100 + k}E-02    " for k in range(1, 21)) + "  .110E-02    " + "   .5",
    "".join("  .000E+00    " for k in range(1, 21)) + "  .000E+00    " + "  1.5",
])

TABLE78 = crlf([
    " 3   4", " Averaging kernels ",
    # 160(f9.2, 1x): the segment altitudes
    "      .50" + " " + "     1.50",
    # 161(e9.2, 1x): A(k, 1..2), area, altitude
    "  .80E+00" + " " + "  .10E+00" + " " + "  .90E+00" + " " + "  .50E+00",
    "  .20E+00" + " " + "  .70E+00" + " " + "  .90E+00" + " " + "  .15E+01",
])

TABLE90 = crlf([
    " 2 3 ", " ind inter  diff ",
    # i5, 1x, e11.4, 1x, e11.4; a three-digit exponent drops its E
    "    1" + " " + "  .1234E+04" + " " + " -.5678E-02",
    "    2" + " " + "  .1500+101" + " " + "  .0000E+00",
])

SPECTRA_OUT = crlf([
    " 2 4 ", " cm-1  target   all-target   all ",
    # f9.4, 3(1x, e10.3)
    "2147.0000" + " " + "  .980E+00" + " " + "  .500E+00" + " " + "  .490E+00",
    "2147.0050" + " " + "  .970E+00" + " " + "  .600E+00" + " " + "  .582E+00",
])


def output_dat_block(total, contribution, rows):
    """One window's report in output.dat: the heading block, then the gas rows."""
    return ["", "*" * 46, "TR: transmission, TG: target gas",
            "total TR at position of TG in window:" + total,
            "contribution of TG at position of TG in %:" + contribution, "",
            "rel-trans: TR(max)-TR(min) for gas in window in %",
            "abs-trans: TR(min) for gas in whole window in %",
            "nu and dnu: for target gas: position in cm-1, for others: delta cm-1", "",
            "Name     No  rel.-trans   abs.-trans   nu and dnu"] + rows


OUTPUT_DAT = crlf(
    # a7, 1x, i3, 1x, 3(f9.3, 4x), the last 4x not written
    output_dat_block("  49.000", "  20.000", [
        "co     " + " " + "  5" + " " + "   40.000" + "    " + "   50.000" + "    " + " 2147.081",
        "h2o    " + " " + "  1" + " " + "    3.500" + "    " + "    5.000" + "    " + "    -.120",
    ])
    + output_dat_block("  90.500", "   1.250", [
        "n2o    " + " " + "  4" + " " + "    1.000" + "    " + "    2.000" + "    " + " 2150.860",
    ]))

_ROW = "co      " + " " + "2147.10" + " " + "   .24"
MICROWIN = crlf([
    "name     cm-1     window ".ljust(24)[:24],
    # sorted by variation: names in columns 27-33, 34-40, ...
    (_ROW.ljust(26) + "h2o    " + "n2o    ").ljust(100),
    # sorted by absorption: names in columns 55-61, ...
    (("1co     " + " " + "2150.86" + " " + "   .80").ljust(54) + "o3     ").ljust(100),
    _ROW.ljust(100),
])

_T81_HEADING = ("rank name         lower     upper points   dofs  jdofs    total%    noise%   smooth%   interf%"
                "     temp%")
TABLE81 = crlf(DECK + BLANKS + [_T81_HEADING] + [
    # i4, 1x, a8, 2(1x, f9.3), 1x, i6, 2(1x, f6.3), 5(1x, f9.3): rank, name, lower, upper, points,
    # dofs, jdofs, then total, noise, smoothing, interference, temperature (% of the column);
    # the first window's smoothing and total at the cap of 100000 % or more
    "   1" + " " + "co      " + " " + " 2155.000" + " " + " 2156.000" + " " + "   501" + " " + " 1.234" + " "
    + " 1.234" + " " + "99999.999" + " " + "     .300" + " " + "99999.999" + " " + "     .200" + " " + "     .500",
    "   2" + " " + "co      " + " " + " 2146.980" + " " + " 2147.220" + " " + "   121" + " " + "  .812" + " "
    + " 1.901" + " " + "     .600" + " " + "     .100" + " " + "     .200" + " " + "     .200" + " " + "     .500",
    "   3" + " " + "co      " + " " + " 2150.675" + " " + " 2151.045" + " " + "   186" + " " + "  .300" + " "
    + " 2.050" + " " + "     .550" + " " + "     .090" + " " + "     .190" + " " + "     .200" + " " + "     .450",
])
