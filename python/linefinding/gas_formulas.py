"""gas_formulas: the molecule that each of kormal's gas names stands for.

kormal names its gases in lower case ("co2", "hb", "ch3I"), names an
isotope study's target and its isotopologue pseudo-gases with a leading
digit ("2co", "1co" ... "5co"), and adds entries that stand for no molecule:
"solar", the sun's own lines, and "gas", every entry beyond the named ones.
A retrieval control file names molecules by their HITRAN formula ("CO2",
"HBr", "CH3I"); molecules without HITRAN lines by their chemical formula.
"""

# kormal's gas table, in its order, with the formula of each name; None for
# an entry that stands for no molecule.
FORMULAS = {
    "h2o": "H2O", "co2": "CO2", "o3": "O3", "n2o": "N2O", "co": "CO", "ch4": "CH4", "o2": "O2", "no": "NO",
    "so2": "SO2", "no2": "NO2", "nh3": "NH3", "hno3": "HNO3", "oh": "OH", "hf": "HF", "hcl": "HCl",
    "hb": "HBr", "hi": "HI", "clo": "ClO", "ocs": "OCS", "h2co": "H2CO", "hocl": "HOCl", "ho2": "HO2",
    "h2o2": "H2O2", "hono": "HONO", "ho2no2": "HO2NO2", "n2o5": "N2O5", "clno3": "ClONO2", "hcn": "HCN",
    "ch3f": "CH3F", "ch3cl": "CH3Cl", "cf4": "CF4", "ccl2f2": "CCl2F2", "ccl3f": "CCl3F",
    "ch3ccl3": "CH3CCl3", "ccl4": "CCl4", "cof2": "COF2", "cfclo": "COFCl", "c2h6": "C2H6", "c2h4": "C2H4",
    "c2h2": "C2H2", "n2": "N2", "chclf2": "CHClF2", "cocl2": "COCl2", "ch3br": "CH3Br", "ch3I": "CH3I",
    "hcooh": "HCOOH", "h2s": "H2S", "chfcl2": "CHCl2F",
    "hdo": "H2O",  # an isotopologue of water: fitted as water
    "sf6": "SF6", "f113": "C2Cl3F3", "clcn": "ClCN", "f142b": "CH3CClF2",
    "gas": None,    # kormal's entries beyond its named gases
    "solar": None,  # the solar lines: the retrieval's solar model, not a gas to fit
}

# kormal keeps 7 characters of a name: a digit and the first 6 of the gas's.
_PSEUDO_NAME_LENGTH = 6
_ISOTOPE_MARKS = "0123456789*"  # an isotope digit, or tesk's mark of a number above 9


def molecule(name):
    """The formula of a kormal gas name, or None when it stands for no molecule.

    An isotope target or isotopologue pseudo-gas ("2co", "1ch3ccl") is its
    molecule. Raises KeyError for a name kormal does not write.
    """
    name = name.strip()
    if name in FORMULAS:
        return FORMULAS[name]
    rest = name[1:]
    if name[:1] and name[0] in _ISOTOPE_MARKS and rest:
        if rest in FORMULAS:
            return FORMULAS[rest]
        if len(rest) == _PSEUDO_NAME_LENGTH:
            matches = [g for g in FORMULAS if g.startswith(rest)]
            if len(matches) == 1:
                return FORMULAS[matches[0]]
    raise KeyError(f"{name!r} is none of kormal's gas names")


def gases_to_fit(names):
    """The formulas of `names` in their order, each once, and the names left out.

    Returns (formulas, left_out): left_out holds, each once and in order,
    the names that stand for no molecule or that kormal does not write.
    """
    formulas, left_out = [], []
    for name in names:
        try:
            formula = molecule(name)
        except KeyError:
            formula = None
        if formula is None:
            if name not in left_out:
                left_out.append(name)
        elif formula not in formulas:
            formulas.append(formula)
    return formulas, left_out
