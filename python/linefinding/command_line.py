"""The command-line parser shared by the package's commands.

A wrong command line is a stop with a message (exit status 1), as a wrong deck
answer is for the programs, not argparse's own exit with status 2, which the
package keeps for unreadable files.
"""

import argparse
import sys


class UsageError(Exception):
    """A command line the command cannot use; the message says why."""


class CommandParser(argparse.ArgumentParser):
    def error(self, message):
        self.print_usage(sys.stderr)
        raise UsageError(message)
