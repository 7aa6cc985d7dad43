"""boxpaint: three-dimensional earth models on rectilinear meshes, painted from blocks.

Make a mesh from arrays (Mesh) or a mesh file (read_mesh), paint a model from a
background value and an (N, 7) array of blocks (paint), and write and read model files
(write_model, read_model) exactly as the command-line program boxpaint does.

Every call releases the GIL while it works. Calls that work in memory only (Mesh, paint,
render_model) run in parallel from several threads; calls that open files run one at a
time, each holding a lock of the library while it works. Control-C stops a long call
between two of its pieces with KeyboardInterrupt; a file being written then holds whole
records only. Failures raise boxpaint.Error with boxpaint's message number.
"""

from ._boxpaint import (
    Mesh,
    __version__,
    build,
    check,
    paint,
    read_blocks,
    read_mesh,
    read_model,
    render_model,
    write_blocks,
    write_model,
    write_vtr,
)
from ._errors import Error, FileMissingError

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
