"""What the tests of the Python module share: the command-line programs they compare it
with (BOXPAINT, BOXPAINT_CHECK: paths, as CTest gives them) and a plain reader of the model
file boxpaint writes."""

import os
import re
import subprocess
import sys

import numpy as np
import pytest
from hypothesis import settings

# No example database: the generated cases are drawn afresh, and no folder is left behind.
settings.register_profile("boxpaint", database=None)
settings.load_profile("boxpaint")

# The repository's examples, for the bundled-example comparison.
REPOSITORY = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

LARGEST = sys.float_info.max


def program(variable):
    path = os.environ.get(variable)
    if not path or not os.path.exists(path):
        pytest.skip(f"{variable} does not name the program")
    return path


@pytest.fixture
def boxpaint_cli():
    """Runs boxpaint on a mesh file and a block file; returns the model file's bytes."""
    executable = program("BOXPAINT")

    def run(mesh, blocks, model):
        done = subprocess.run([executable, str(mesh), str(blocks), str(model)],
                              capture_output=True)
        assert (done.returncode, done.stderr) == (0, b"")
        with open(model, "rb") as f:
            return f.read()

    return run


def record_value(text):
    """The value of one 10-character record, read plainly: the forms without an exponent
    letter (1.000+100) included, and the text of the largest doubles as the largest one."""
    text = text.strip()
    if text in ("1.798+308", "-1.798+308"):
        return LARGEST if text[0] != "-" else -LARGEST
    return float(re.sub(r"(\d)([+-]\d{3})$", r"\1E\2", text))


def read_records(data):
    """The values of a model file's CR LF records."""
    assert data == b"" or data.endswith(b"\r\n")
    return np.array([record_value(line.decode()) for line in data.split(b"\r\n")[:-1]])
