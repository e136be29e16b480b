"""kormal's solar zenith angle in the deck writer: tesk's angle of a
ground-based path by default, the base deck's or the caller's own angle
before it, none for a limb path, and kormal's refusal of a nonsense angle."""

import pytest

from conftest import REPOSITORY, binary
from linefinding.deck import DeckError, read_answers, set_answers

BASE_VORNE = (REPOSITORY / "examples" / "co_window" / "input-vorne").read_text()
BASE_KORMAL = (REPOSITORY / "examples" / "co_window" / "input-kormal").read_text()


@pytest.fixture
def programs():
    return {"tesk": str(binary("tesk")), "kormal": str(binary("kormal"))}


def kormal_lines(answers, base_kormal=BASE_KORMAL, programs=None):
    _, kormal = set_answers(BASE_VORNE, base_kormal, answers, programs=programs, check=programs is not None)
    return kormal.splitlines()


def test_kormal_looks_along_tesks_ground_based_path(programs):
    lines = kormal_lines({"angle": 45}, programs=programs)
    assert len(lines) == 16
    assert lines[15].split()[0] == "45" and "zenith angle" in lines[15]
    assert lines[:15] == BASE_KORMAL.splitlines()
    _, kormal = set_answers(BASE_VORNE, BASE_KORMAL, {"angle": 45}, check=False)
    assert read_answers(BASE_VORNE, kormal)["kormal_angle"] == "45"


def test_a_limb_path_leaves_kormal_at_its_own_angle():
    assert kormal_lines({"geometry": "s", "angle": 15}) == BASE_KORMAL.splitlines()


def test_the_callers_and_the_base_decks_angle_come_first(programs):
    assert kormal_lines({"angle": 45, "kormal_angle": 60}, programs=programs)[15].split()[0] == "60"
    assert kormal_lines({"geometry": "s", "angle": 15, "kormal_angle": 20})[15].split()[0] == "20"
    own = BASE_KORMAL + "50          my angle\n"
    assert kormal_lines({"angle": 45}, base_kormal=own)[15] == "50          my angle"
    # An answer given replaces the number and keeps the base line's comment.
    assert kormal_lines({"kormal_angle": 10}, base_kormal=own)[15] == "10         my angle"


def test_kormal_refuses_an_angle_no_path_has(programs):
    for angle in (90, -5, "sunset"):
        with pytest.raises(DeckError) as refused:
            set_answers(BASE_VORNE, BASE_KORMAL, {"kormal_angle": angle}, programs=programs)
        message = str(refused.value)
        assert message.startswith(f"answer kormal_angle = '{angle}' (line 16 of input-kormal)"), message
        assert message.endswith("the solar zenith angle must be a number of degrees, at least 0 and below 90, "
                                f"found \"{str(angle):<10} solar zenith angle of kormal's path, degrees\""), message
