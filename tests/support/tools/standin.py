"""Shared parts of the stand-in build tools (signtool, inno-compiler, helpmaker).

They accept the command lines the build passes to the real tools and produce
the results it relies on, so the build can be run and tested where those
tools do not exist. Each run is controlled by environment variables:

  STANDIN_LOG            append one JSON line per call to this file:
                         {"tool": NAME, "args": [ARG, ...]}
  STANDIN_<TOOL>_FAIL    make calls of one tool fail (exit code 1); TOOL is
                         SIGNTOOL, COMPILER or HELPMAKER. Rules, separated
                         by ";":
                           always        every call fails
                           server=URL    time stamps from URL fail (signtool)
                           file=PATH     time stamps of PATH fail (signtool)
                           sign=PATH     signing PATH fails (signtool)
                           until=N       calls before the N-th call of this
                                         tool fail (counted in STANDIN_LOG)
  STANDIN_PFX_PASSWORD   signtool: the password the certificate file needs

Progress goes to standard output, notes and errors to standard error.
"""

import json
import os
import sys

FAILED = 1


def log_call(tool, args):
    """Records the call; returns how many calls of this tool came before it."""
    path = os.environ.get("STANDIN_LOG")
    if not path:
        return 0
    earlier = 0
    if os.path.exists(path):
        with open(path, encoding="utf-8") as log:
            for line in log:
                if line.strip() and json.loads(line).get("tool") == tool:
                    earlier += 1
    with open(path, "a", encoding="utf-8") as log:
        log.write(json.dumps({"tool": tool, "args": args}) + "\n")
    return earlier


def told_to_fail(variable, call_number, server=None, files=(), signed=()):
    """True when the rules in the environment variable fail this call."""
    for rule in os.environ.get(variable, "").split(";"):
        rule = rule.strip()
        if rule == "always":
            return True
        if rule.startswith("server=") and server is not None and rule[len("server="):] == server:
            return True
        if rule.startswith("file=") and rule[len("file="):] in files:
            return True
        if rule.startswith("sign=") and rule[len("sign="):] in signed:
            return True
        if rule.startswith("until=") and call_number < int(rule[len("until="):]):
            return True
    return False


def fail(tool, message):
    print(f"{tool}: error: {message}", file=sys.stderr)
    return FAILED


def native_path(path):
    """A path written on Windows, taken on this machine."""
    return path.replace("\\", "/") if os.sep == "/" else path


def switch(arg):
    """The lower-cased switch name of "/x" or "-x"; None for anything else."""
    if len(arg) >= 2 and arg[0] in "/-" and arg[1:].isalpha() and len(arg) <= 3:
        return arg[1:].lower()
    return None
