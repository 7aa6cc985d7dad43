"""The exceptions boxpaint raises for its numbered messages."""

import errno as _errno

# boxpaint's message for an input file that cannot be found.
FILE_NOT_FOUND = 29


class Error(Exception):
    """A failure boxpaint reports by number.

    Attributes:
        number: boxpaint's message number, as the command-line program's exit status
            (29 file not found, 38 error during write, 59 syntax error, ...), or -3 for
            a file that boxpaint has no message for as boxpaint-view and boxpaint-check
            read and write it (a model file of another number of records than cells, a
            record that is not one number, a grid that cannot be written).
        text: what went wrong, in the message's words.
        file: the file being read or written, or None.
        line: the line of that file where the failure was found (from 1), or None.
    """

    def __init__(self, number, text, file=None, line=None):
        super().__init__(number, text, file, line)
        self.number = number
        self.text = text
        self.file = file
        self.line = line

    def __reduce__(self):
        # Whole across processes (concurrent.futures, Dask): number, text, file and line.
        return type(self), (self.number, self.text, self.file, self.line)

    def __str__(self):
        where = ""
        if self.file:
            where = f", file {self.file}" + (f", line {self.line}" if self.line else "")
        return f"{self.text}{where} (boxpaint message {self.number})"


class FileMissingError(Error, FileNotFoundError):
    """An input file that does not exist: both a boxpaint.Error and a FileNotFoundError."""

    def __init__(self, number, text, file=None, line=None):
        Error.__init__(self, number, text, file, line)
        self.errno = _errno.ENOENT
        self.strerror = text
        self.filename = file

    __reduce__ = Error.__reduce__
    __str__ = Error.__str__


def _failure(number, text, file, line):
    """The exception for a failure the library returned (called by the module)."""
    kind = FileMissingError if number == FILE_NOT_FOUND else Error
    return kind(number, text, file or None, line or None)
