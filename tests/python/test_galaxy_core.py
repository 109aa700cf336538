"""The Python module against galaxy_viewer's command line: the same stars, systems, codes and
name search. GALAXY_VIEWER names the viewer; PYTHONPATH finds the module."""
import json
import os
import subprocess

import numpy as np
import pytest

import galaxy_core

VIEWER = os.environ["GALAXY_VIEWER"]


def viewer(*args):
    return subprocess.run([VIEWER, *args], check=True, capture_output=True, text=True).stdout


SPIRAL = viewer("--seed", "5", "--arms", "3", "--print-code").strip()
HUBBLE = viewer("--seed", "9", "--type", "Sc", "--density", "2", "--print-code").strip()


@pytest.fixture(scope="module", params=[SPIRAL, HUBBLE], ids=["spiral", "hubble"])
def exported(request, tmp_path_factory):
    path = tmp_path_factory.mktemp("export") / "stars.csv"
    viewer("--code", request.param, "--export", str(path))
    return request.param, np.loadtxt(path, delimiter=",", skiprows=1, dtype=np.float64)


# Catches stars out of order, rounded, or dropped, and colours that lost their stars.
def test_stars_and_colors_equal_the_export(exported):
    code, rows = exported
    stars = galaxy_core.stars(code)
    assert stars.dtype == np.float32 and stars.shape == (len(rows), 3)
    assert np.array_equal(rows[:, 0], np.arange(len(rows)))
    assert np.array_equal(stars, rows[:, 1:].astype(np.float32))
    colors = galaxy_core.colors(code)
    assert colors.dtype == np.uint8 and colors.shape == stars.shape
    assert len(np.unique(colors, axis=0)) > 1


# Catches a system of another star or galaxy, or a dict that lost fields or numbers.
@pytest.mark.parametrize("code", [SPIRAL, HUBBLE], ids=["spiral", "hubble"])
def test_system_equals_the_command_line(code):
    last = len(galaxy_core.stars(code)) - 1
    for index in (0, 4321, last):
        assert galaxy_core.system(code, index) == json.loads(viewer("--code", code, "--system", str(index)))
    with pytest.raises(IndexError, match="numbered 0 to"):
        galaxy_core.system(code, last + 1)


# Catches fields swapped or lost between the code and the dict.
def test_codes_round_trip():
    values = galaxy_core.decode_code(SPIRAL)
    assert values["seed"] == 5 and values["arms"] == 3 and values["model"] == 0
    assert galaxy_core.encode_code(values) == SPIRAL
    assert galaxy_core.encode_code(galaxy_core.decode_code(HUBBLE)) == HUBBLE
    assert galaxy_core.decode_code(HUBBLE.lower())["density"] == 2
    values["curvature"] += 1
    changed = galaxy_core.encode_code(values)
    assert changed != SPIRAL and galaxy_core.decode_code(changed) == values
    assert galaxy_core.encode_code({}) == galaxy_core.default_code() == viewer("--print-code").strip()


# Catches bad input passing as a galaxy, or failing without a reason.
def test_bad_input_raises_with_the_reason():
    for bad in ("GX1-NOT-A-CODE", "", SPIRAL[:-2], SPIRAL + "#3"):
        with pytest.raises(ValueError, match="galaxy code"):
            galaxy_core.stars(bad)
    with pytest.raises(ValueError, match="no galaxy value is called arm"):
        galaxy_core.encode_code({"arm": 3})
    for not_whole in ("4", 4.5, True, None):
        with pytest.raises(TypeError, match="arms must be a whole number"):
            galaxy_core.encode_code({"arms": not_whole})
    with pytest.raises(ValueError, match="seed .* does not fit in 64 bits"):
        galaxy_core.encode_code({"seed": 2**70})
    no_stars = galaxy_core.encode_code({"arms": 0})
    with pytest.raises(ValueError, match="no stars"):
        galaxy_core.stars(no_stars)


# Catches a search that ranks or names stars unlike --find.
def test_find_equals_the_command_line():
    found = galaxy_core.find(SPIRAL, "ar")
    lines = viewer("--code", SPIRAL, "--find", "ar").splitlines()
    assert found and [f"{index}\t{name}" for index, name in found] == lines
