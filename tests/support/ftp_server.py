#!/usr/bin/python3
"""A small FTP server for the tests, on 127.0.0.1 only.

Prints the port it got on its first line of stdout, then serves until it is
terminated. Switches let a test provoke the faults the client must survive:

  --root DIR            folder served as "/" (required)
  --user NAME --password PASS   the one account (full rights)
  --no-mlsd             neither offer nor accept MLST/MLSD (plain LIST only)
  --refuse CMD          answer CMD with 550 every time (repeatable)
  --refuse-once CMD     answer CMD with 550 the first time only (repeatable)
  --mute CMD            never answer CMD (the session hangs there)
  --delay-once CMD:SECS answer the first CMD of the server's life only after
                        SECS seconds (a transfer that stalls a while)
  --drop-on CMD         close the control connection when CMD arrives
  --drop-after N        close the control connection when command N+1 arrives
  --fault KIND:CMD:N    once, at the Nth CMD the server receives (counted over
                        all sessions, so a later session is clean): KIND
                        refuse answers 550; 421 answers 421 and closes; drop
                        closes without an answer; lost carries the command out
                        and closes before its answer; truncate (STOR) keeps
                        the first half of the file and still answers 226
                        (repeatable)
  --no-replace          refuse RNTO onto a name that exists, as some Windows
                        servers do
  --no-size-fact        leave the size fact out of MLSD and MLST lines
  --idle-timeout SECS   close a control connection left idle this long
                        (with a 421 reply first, or silently with --idle-silent)
  --command-log FILE    append every command received, one per line
                        (the password is masked)
  --fake-entry KIND:NAME  add an entry (KIND file or dir) that does not exist
                        to the listings of "/", as a hostile server might
                        (repeatable)
  --tls-cert FILE --tls-key FILE
                        offer explicit TLS (AUTH TLS) with this certificate
                        and key (PEM); plain FTP stays allowed
  --port N              listen on this port (default: any free one)
  --delay-ms N          wait N ms before handling each command, as a server
                        far away would seem; each connection is served by a
                        thread of its own, so each waits on its own
  --max-connections N   answer a control connection beyond N open ones
                        with 421 and close it, as busy hosts do
"""

import argparse
import logging
import os
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.handlers import FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer, ThreadedFTPServer


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="tester")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--no-mlsd", action="store_true")
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--refuse-once", action="append", default=[])
    parser.add_argument("--mute", action="append", default=[])
    parser.add_argument("--delay-once", action="append", default=[])
    parser.add_argument("--drop-on", action="append", default=[])
    parser.add_argument("--drop-after", type=int, default=0)
    parser.add_argument("--fault", action="append", default=[])
    parser.add_argument("--no-replace", action="store_true")
    parser.add_argument("--no-size-fact", action="store_true")
    parser.add_argument("--idle-timeout", type=float, default=0)
    parser.add_argument("--idle-silent", action="store_true")
    parser.add_argument("--command-log", default="")
    parser.add_argument("--shared-log", default="")
    parser.add_argument("--fake-entry", action="append", default=[])
    parser.add_argument("--tls-cert", default="")
    parser.add_argument("--tls-key", default="")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--delay-ms", type=int, default=0)
    parser.add_argument("--max-connections", type=int, default=0)
    return parser.parse_args()


def make_handler(args):
    upper = lambda names: {name.upper() for name in names}
    refuse = upper(args.refuse)
    refuse_once = upper(args.refuse_once)
    mute = upper(args.mute)
    drop_on = upper(args.drop_on)
    faults = {}
    for fault in args.fault:
        kind, cmd, nth = fault.split(":")
        faults[(cmd.upper(), int(nth))] = kind
    seen = {}  # occurrences of each command, over every session
    seen_lock = threading.Lock()  # sessions may run on threads of their own
    delay_once = {cmd.upper(): float(secs) for cmd, secs in (d.split(":", 1) for d in args.delay_once)}

    base = TLS_FTPHandler if args.tls_cert else FTPHandler

    class TestHandler(base):
        proto_cmds = dict(base.proto_cmds)
        if args.no_mlsd:
            proto_cmds.pop("MLSD", None)
            proto_cmds.pop("MLST", None)

        _commands_seen = 0

        def handle_timeout(self):
            if args.idle_silent:
                self.close()  # as a broken line or a crashed server would
            else:
                super().handle_timeout()

        def pre_process_command(self, line, cmd, arg):
            if args.delay_ms:
                time.sleep(args.delay_ms / 1000.0)
            self._commands_seen += 1
            if args.command_log:
                shown = "PASS ******" if cmd == "PASS" else line
                with open(args.command_log, "a", encoding="utf-8") as log:
                    log.write(shown + "\n")
            if args.shared_log:
                shown = "PASS ******" if cmd == "PASS" else line
                with open(args.shared_log, "a", encoding="utf-8") as log:
                    log.write("%d %s\n" % (self.socket.getsockname()[1], shown))
            if cmd in drop_on or (args.drop_after and self._commands_seen > args.drop_after):
                self.close()
                return
            if cmd in mute:
                return
            if cmd in delay_once:
                self.ioloop.call_later(delay_once.pop(cmd), self._run_delayed, line, cmd, arg)
                return
            if cmd in refuse:
                self.respond("550 Refused by the test server.")
                return
            if cmd in refuse_once:
                refuse_once.discard(cmd)
                self.respond("550 Refused once by the test server.")
                return
            with seen_lock:
                seen[cmd] = seen.get(cmd, 0) + 1
                fault = faults.get((cmd, seen[cmd]))
            if fault == "refuse":
                self.respond("550 Refused by the test server.")
            elif fault == "421":
                self.respond("421 Closing by the test server.")
                self.close_when_done()
            elif fault == "drop":
                self.close()
            elif fault == "lost":
                self._silenced = True
                super().pre_process_command(line, cmd, arg)
                self.close()
            else:
                self._truncate = fault == "truncate"
                super().pre_process_command(line, cmd, arg)

        def respond(self, resp, *more, **named):
            if not getattr(self, "_silenced", False):
                super().respond(resp, *more, **named)

        def on_file_received(self, file):
            if getattr(self, "_truncate", False):
                self._truncate = False
                os.truncate(file, os.path.getsize(file) // 2)

        def ftp_RNTO(self, path):
            if args.no_replace and self._rnfr and self.fs.lexists(path):
                self._rnfr = None
                self.respond("550 A file of that name exists.")
                return
            return super().ftp_RNTO(path)

        def _run_delayed(self, line, cmd, arg):
            if not self._closed:
                base.pre_process_command(self, line, cmd, arg)

    if args.tls_cert:
        class TestDTPHandler(TLS_DTPHandler):
            # Clients open a protected data connection's handshake at once,
            # before the transfer command; pyftpdlib would take the bytes of
            # that handshake for a hang-up and close the connection.
            def readable(self):
                if self._ssl_accepting:
                    return True
                return super().readable()

        TestHandler.dtp_handler = TestDTPHandler

    return TestHandler


def make_filesystem(args):
    fakes = [entry.split(":", 1) for entry in args.fake_entry]

    class TestFS(AbstractedFS):
        def _fakes(self, basedir, mlsx):
            if not fakes or os.path.realpath(basedir) != os.path.realpath(self.root):
                return
            for kind, name in fakes:
                if mlsx:
                    line = "type=%s;size=5;perm=r; %s\r\n" % (kind, name)
                else:
                    mode = "drwxr-xr-x" if kind == "dir" else "-rw-r--r--"
                    line = "%s   1 owner    group           5 Jan 01 00:00 %s\r\n" % (mode, name)
                yield line.encode("utf8")

        def format_mlsx(self, basedir, listing, perms, facts, ignore_err=True):
            if args.no_size_fact:
                facts = [fact for fact in facts if fact != "size"]
            yield from super().format_mlsx(basedir, listing, perms, facts, ignore_err)
            yield from self._fakes(basedir, True)

        def format_list(self, basedir, listing, ignore_err=True):
            yield from super().format_list(basedir, listing, ignore_err)
            yield from self._fakes(basedir, False)

    return TestFS


def main():
    args = parse_args()
    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = make_handler(args)
    if args.tls_cert:
        handler.certfile = args.tls_cert
        handler.keyfile = args.tls_key
    handler.authorizer = authorizer
    handler.abstracted_fs = make_filesystem(args)
    handler.banner = "Tarnwell test server ready."
    handler.auth_failed_timeout = 0  # answer a wrong password at once
    if args.idle_timeout:
        handler.timeout = args.idle_timeout
    handler.passive_ports = None
    handler.masquerade_address = None

    server_class = ThreadedFTPServer if args.delay_ms else FTPServer
    server = server_class(("127.0.0.1", args.port), handler)
    if args.max_connections:
        server.max_cons_per_ip = args.max_connections
    print(server.address[1], flush=True)
    # A short poll keeps the idle timer running on time.
    server.serve_forever(timeout=0.2)


if __name__ == "__main__":
    main()
