#!/usr/bin/python3
"""A stand-in for the update service, on 127.0.0.1 only.

Prints the port it got on its first line of stdout, then serves until it is
terminated. Every request is answered alike:

  --status N          the HTTP status of the reply (default 200)
  --body-file FILE    the reply body, byte for byte (default: empty)
  --mute              accept the connection and the request, never reply
  --request-log FILE  append one JSON object per request: method, path,
                      user agent, content type and the form fields
"""

import argparse
import email.parser
import json
import sys
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def form_fields(content_type, body):
    """The fields of a multipart/form-data body, name -> text."""
    if not content_type.startswith("multipart/form-data"):
        return {}
    message = email.parser.BytesParser().parsebytes(
        b"Content-Type: " + content_type.encode("latin-1") + b"\r\n\r\n" + body)
    fields = {}
    for part in message.walk():
        name = part.get_param("name", header="content-disposition")
        if name:
            fields[name] = part.get_payload(decode=True).decode("utf-8", "replace")
    return fields


def make_handler(args, body, stop):
    class Handler(BaseHTTPRequestHandler):
        def answer(self):
            length = int(self.headers.get("Content-Length") or 0)
            data = self.rfile.read(length) if length else b""
            if args.request_log:
                entry = {
                    "method": self.command,
                    "path": self.path,
                    "user_agent": self.headers.get("User-Agent", ""),
                    "content_type": self.headers.get("Content-Type", ""),
                    "fields": form_fields(self.headers.get("Content-Type", ""), data),
                }
                with open(args.request_log, "a", encoding="utf-8") as log:
                    log.write(json.dumps(entry) + "\n")
            if args.mute:
                stop.wait()
                return
            self.send_response(args.status)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        do_POST = answer

        def log_message(self, fmt, *values):
            sys.stderr.write(fmt % values + "\n")

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--status", type=int, default=200)
    parser.add_argument("--body-file")
    parser.add_argument("--mute", action="store_true")
    parser.add_argument("--request-log")
    args = parser.parse_args()
    body = b""
    if args.body_file:
        with open(args.body_file, "rb") as f:
            body = f.read()
    stop = threading.Event()
    server = ThreadingHTTPServer(("127.0.0.1", 0), make_handler(args, body, stop))
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    finally:
        stop.set()


if __name__ == "__main__":
    main()
