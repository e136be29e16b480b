"""What the package's commands share: their parser, their output and how
they end.

A wrong command line is a stop with a message (exit status 1), as a wrong
deck answer is for the programs, not argparse's own exit with status 2, which
the package keeps for unreadable files. Every error ends a command with one
line on stderr; anything unexpected with one line and status 3, as the
programs do, never a traceback. A reader that goes away before the command
has written everything (``plan | head -1``) is no error: what it would have
read is dropped and the command ends as it would have.
"""

import argparse
import os
import sys


class UsageError(Exception):
    """A command line the command cannot use; the message says why."""


class CommandParser(argparse.ArgumentParser):
    def error(self, message):
        self.print_usage(sys.stderr)
        raise UsageError(message)

    def _print_message(self, message, file=None):
        if message:
            say(message, file or sys.stderr)


def one_line(error):
    """The message of an exception on one line."""
    return " ".join(str(error).splitlines())


def _drop_output(stream):
    """Sends a stream whose reader has gone to the null device, so that
    later writes and the flush at exit neither fail nor print a report."""
    try:
        fd = stream.fileno()
    except (AttributeError, OSError, ValueError):  # a stream without a file (a test's capture)
        return
    devnull = os.open(os.devnull, os.O_WRONLY)
    os.dup2(devnull, fd)
    os.close(devnull)


def say(text, stream=None):
    """Writes `text` to `stream` (default: stdout) at once; a broken pipe drops it quietly."""
    stream = stream or sys.stdout
    try:
        stream.write(text)
        stream.flush()
    except BrokenPipeError:
        _drop_output(stream)


def run_command(prog, body, argv=None):
    """Runs a command and gives its exit status.

    Parameters
    ----------
    prog : str
        The command's name, which starts every message.
    body : callable
        Takes `argv` and returns the exit status (0, 1 or 2).
    argv : list of str, optional

    Returns
    -------
    int
        The body's status; 1 for a wrong command line, 0 after ``--help``,
        3 for an unexpected error (reported on one line on stderr).
    """
    try:
        status = body(argv)
    except UsageError as e:
        say(f"{prog}: {one_line(e)}\n", sys.stderr)
        status = 1
    except SystemExit as e:  # --help
        status = e.code if isinstance(e.code, int) else 0
    except Exception as e:
        say(f"{prog}: unexpected error, the command ends: {type(e).__name__}: {one_line(e)}\n", sys.stderr)
        status = 3
    say("")
    return status
