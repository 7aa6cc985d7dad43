"""boxpaint: three-dimensional earth models on rectilinear meshes, painted from blocks.

Make a mesh from arrays (Mesh) or a mesh file (read_mesh), paint a model from a
background value and an (N, 7) array of blocks (paint), and write and read model files
(write_model, read_model) exactly as the command-line program boxpaint does.

Every call releases the GIL while it works. Calls that work in memory only (Mesh, paint,
render_model) run in parallel from several threads; calls that open files run one at a
time, each holding a lock of the library while it works. Control-C stops a long call
between two of its pieces with KeyboardInterrupt; a file being written then holds whole
records only. Failures raise boxpaint.Error with boxpaint's message number. Meshes,
failures and the functions themselves pickle, so that concurrent.futures and Dask can
hand them to other processes.
"""

from . import _boxpaint
from ._boxpaint import Mesh, __version__
from ._errors import Error, FileMissingError

# Shown and pickled as boxpaint.Mesh, the name users know it by.
Mesh.__module__ = __name__


# The module's functions, as functions of this package: the bound ones cannot be pickled.
def paint(mesh, background, blocks):
    return _boxpaint.paint(mesh, background, blocks)


def write_model(path, values, terminator="\r\n"):
    return _boxpaint.write_model(path, values, terminator)


def render_model(values, terminator="\r\n"):
    return _boxpaint.render_model(values, terminator)


def write_blocks(path, background, blocks):
    return _boxpaint.write_blocks(path, background, blocks)


def read_mesh(path):
    return _boxpaint.read_mesh(path)


def read_blocks(path):
    return _boxpaint.read_blocks(path)


def read_model(path, mesh):
    return _boxpaint.read_model(path, mesh)


def build(mesh_path, block_path, model_path):
    return _boxpaint.build(mesh_path, block_path, model_path)


def check(mesh_path, block_path, model_path=None):
    return _boxpaint.check(mesh_path, block_path, model_path)


def write_vtr(path, mesh, values, name="value"):
    return _boxpaint.write_vtr(path, mesh, values, name)


for _function in (paint, write_model, render_model, write_blocks, read_mesh, read_blocks,
                  read_model, build, check, write_vtr):
    # The bound function's text without its first line, a signature this one shows itself.
    _function.__doc__ = getattr(_boxpaint, _function.__name__).__doc__.split("\n", 2)[-1]
del _function

__all__ = [
    "Error",
    "FileMissingError",
    "Mesh",
    "build",
    "check",
    "paint",
    "read_blocks",
    "read_mesh",
    "read_model",
    "render_model",
    "write_blocks",
    "write_model",
    "write_vtr",
]
