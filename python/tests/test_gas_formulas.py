"""The molecules of kormal's gas names: every name kormal can print has
one (or stands for none), read from kormal's own sources."""

import re
from pathlib import Path

import pytest

from linefinding import plan
from linefinding.gas_formulas import FORMULAS, gases_to_fit, molecule
from test_plan import hand_made, TABLE76, TABLE79, MICROWIN, OUTPUT_DAT, echo

KORMAL = Path(__file__).resolve().parents[2] / "kormal"


def kormal_names():
    """The gas table of kormal (its named gases and the spare entry) and the solar pseudo-gas."""
    table = (KORMAL / "gas_names.cpp").read_text()
    body = re.search(r"kNames\s*=\s*\{(.*?)\};", table, re.S).group(1)
    names = re.findall(r'"([^"]*)"', body)
    names.append(re.search(r'kSpare\s*=\s*"([^"]*)"', table).group(1))
    names.append(re.search(r'kSolarName\s*=\s*"([^"]*)"', (KORMAL / "solar.cpp").read_text()).group(1))
    return names


def test_every_name_kormal_prints_has_its_entry():
    names = kormal_names()
    assert len(names) > 50 and "solar" in names and "gas" in names
    assert set(names) == set(FORMULAS), "kormal's gas table and FORMULAS differ"
    for name in names:
        # an isotope study's target "2co" and its pseudo-gases "1co" ... "5co",
        # a digit and the first six characters of the gas's name
        for digit in "12345":
            assert molecule(digit + name[:6]) == FORMULAS[name], digit + name[:6]
        formula = FORMULAS[name]
        assert formula is None or re.fullmatch(r"(?:[A-Z][a-z]?\d*)+", formula), formula
    with pytest.raises(KeyError):
        molecule("xyz")


def test_formulas_are_the_molecules_and_pseudo_gases_appear_once():
    assert [molecule(n) for n in ("co2", "hb", "ch3cl", "ch3I", "clno3", "f142b", "hdo")] == [
        "CO2", "HBr", "CH3Cl", "CH3I", "ClONO2", "CH3CClF2", "H2O"]
    assert gases_to_fit(["2co", "h2o", "1co", "3co", "hdo", "solar", "gas", "gas", "1ch3ccl", "xyz"]) == (
        ["CO", "H2O", "CH3CCl3"], ["solar", "gas", "xyz"])


def test_bands_ctl_of_an_isotope_study(tmp_path):
    # a study of CO isotope 2: kormal names the target "2co" and lists its
    # pseudo-gases "1co" and "3co" beside h2o and a spare entry
    def iso(text):
        return text.replace("co      ", "2co     ")
    microwin = iso(MICROWIN).replace("h2o    n2o    ", "1co    gas    ").replace("solar  o3     ", "3co    o3     ")
    output_dat = (iso(OUTPUT_DAT).replace("h2o       1", "1co      54").replace("n2o       4", "gas      55")
                  .replace("solar    53", "3co      54"))
    assert output_dat.count(" 54") == 2
    run = hand_made(tmp_path, output=echo(line31="0.00125", line20="2"), table76=iso(TABLE76), table79=iso(TABLE79),
                    microwin=microwin, **{"output.dat": output_dat})
    assert plan.main([str(run)]) == 0
    ctl = (run / "bands.ctl").read_text().splitlines()
    assert [line for line in ctl if "gasb" in line] == [
        "# band.1: gas left out of gasb: no molecule to fit", "band.1.gasb = CO",
        "band.2.gasb = CO", "band.3.gasb = CO O3"]
