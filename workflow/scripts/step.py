"""One step of a sweep run: a program in the run's directory, and how it ended.

    step.py step NAME DIR STATUS LOG [--after STATUS] [--link FILE ...]
                 [--clean FILE ...] -- COMMAND ...
    step.py check STATUS LOG

`step` runs COMMAND in DIR with its console (stdout and stderr) into LOG,
after linking the data files into DIR and removing the results of an
earlier run. A program that ends or stops with a message (exit status 1 or
2: a refused answer, an exceeded limit, a missing or unreadable file) has
still done its job: the step writes STATUS (JSON: step, ok, exit, message =
the program's last console line, log, id, and after = the id of the
--after STATUS) and ends with 0, and a later step given that STATUS with
--after passes the failure on without running.
Anything else (a program that cannot be started, exit status 3, a signal)
fails the step itself, so that the workflow engine tries it again. A step
that is killed itself (the scheduler's time limit, scancel) writes no
STATUS either; the workflow's summary marks such a run as not finished.

`check` fails (exit status 1) with the program's message, in LOG and on
stderr, when STATUS records a failure.

Standard library only: it starts at once on every node.
"""

import argparse
import json
import subprocess
import sys
import uuid
from pathlib import Path


def _write_json(path, data):
    Path(path).write_text(json.dumps(data, indent=1) + "\n")


def _last_line(text):
    lines = [line.rstrip("\r") for line in text.splitlines() if line.strip()]
    return lines[-1] if lines else ""


def step(name, directory, status, log, command, after=None, link=(), clean=()):
    """Runs one program of a run and records how it ended.

    Returns the exit status for the workflow: 0 when the program ended or
    stopped with a message (recorded in ``status``), 1 when it could not be
    run or ended unexpectedly.
    """
    directory = Path(directory)
    directory.mkdir(parents=True, exist_ok=True)
    Path(log).parent.mkdir(parents=True, exist_ok=True)
    # Every status has an id of its own and the id of the status it was run
    # after: a status left from an earlier run, whose new step before it
    # ended but which itself was never redone, shows by its "after".
    chain = {"id": uuid.uuid4().hex}
    if after:
        before = json.loads(Path(after).read_text())
        chain["after"] = before.get("id")
        if not before["ok"]:
            Path(log).write_text(f"{name} not run: {before['step']} failed before it\n")
            _write_json(status, {**before, **chain})
            return 0
    for f in link:
        target = directory / Path(f).name
        if target.is_symlink() or target.exists():
            target.unlink()
        target.symlink_to(Path(f).resolve())
    for f in clean:
        (directory / f).unlink(missing_ok=True)
    # The console goes straight into LOG, so that a job the scheduler ends
    # (time limit, scancel: the step is killed with the program) leaves what
    # the program wrote until then.
    try:
        with open(log, "wb") as console:
            done = subprocess.run(command, cwd=directory, stdin=subprocess.DEVNULL, stdout=console,
                                  stderr=subprocess.STDOUT)
    except OSError as e:
        Path(log).write_text(f"{name}: cannot run {command[0]}: {e}\n")
        print(f"{name}: cannot run {command[0]}: {e}", file=sys.stderr)
        return 1
    message = _last_line(Path(log).read_text(errors="replace"))
    if done.returncode not in (0, 1, 2):
        print(f"{name} ended unexpectedly with exit status {done.returncode}: {message}", file=sys.stderr)
        return 1
    _write_json(status, {"step": name, "ok": done.returncode == 0, "exit": done.returncode,
                         "message": "" if done.returncode == 0 else message.strip(), "log": str(log), **chain})
    return 0


def check(status, log):
    """Fails (returns 1) with the program's message when the run did not end well."""
    s = json.loads(Path(status).read_text())
    Path(log).parent.mkdir(parents=True, exist_ok=True)
    if s["ok"]:
        Path(log).write_text("ok\n")
        return 0
    text = f"{s['step']} stopped with exit status {s['exit']}: {s['message']}\n(console: {s['log']})\n"
    Path(log).write_text(text)
    sys.stderr.write(text)
    return 1


def main(argv=None):
    parser = argparse.ArgumentParser(prog="step.py", description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="what", required=True)
    p = sub.add_parser("step", help="run one program of a run and record how it ended")
    for a in ("name", "directory", "status", "log"):
        p.add_argument(a)
    p.add_argument("--after", help="status of the step before; when it failed, pass the failure on")
    p.add_argument("--link", nargs="*", default=[], help="files to link into the run directory")
    p.add_argument("--clean", nargs="*", default=[], help="old results to remove before the run")
    p = sub.add_parser("check", help="fail with the program's message when a run did not end well")
    p.add_argument("status")
    p.add_argument("log")
    argv = list(sys.argv[1:] if argv is None else argv)
    # The program's command follows "--", untouched by the option parser.
    split = argv.index("--") if "--" in argv else len(argv)
    argv, command = argv[:split], argv[split + 1:]
    args = parser.parse_args(argv)
    if args.what == "step":
        if not command:
            parser.error("step: the command to run follows --")
        return step(args.name, args.directory, args.status, args.log, command, args.after, args.link, args.clean)
    return check(args.status, args.log)


if __name__ == "__main__":
    sys.exit(main())
