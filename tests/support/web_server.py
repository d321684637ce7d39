#!/usr/bin/python3
"""A small web site for link checks, on 127.0.0.1 only.

Prints the port it got on its first line of stdout, then serves until it is
terminated. Answers by path:

  /ok/...           200
  /missing/...      404
  /error/...        500
  /nohead/...       405 to HEAD, 200 to GET
  /chain/N          302 to /chain/N-1, ..., /chain/0 answers 200
  /loop             302 to /loop
  /stall            takes the request and never answers
  anything else     404

  --delay-ms N      wait N ms before every answer
  --request-log F   append "METHOD PATH IN-FLIGHT" per request, IN-FLIGHT
                    being how many requests were being answered with it
"""

import argparse
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def make_handler(args, stop):
    lock = threading.Lock()
    state = {"in_flight": 0}

    class Handler(BaseHTTPRequestHandler):
        def reply(self, status, location=None):
            self.send_response(status)
            if location:
                self.send_header("Location", location)
            body = b"page\n"
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(body)

        def answer(self):
            with lock:
                state["in_flight"] += 1
                in_flight = state["in_flight"]
            try:
                if args.request_log:
                    with lock, open(args.request_log, "a", encoding="utf-8") as log:
                        log.write("%s %s %d\n" % (self.command, self.path, in_flight))
                if args.delay_ms:
                    time.sleep(args.delay_ms / 1000.0)
            finally:
                # Before the answer goes out: a client that has read it may
                # ask again at once, and must not find this request counted.
                with lock:
                    state["in_flight"] -= 1
            path = self.path
            if path.startswith("/ok/"):
                self.reply(200)
            elif path.startswith("/error/"):
                self.reply(500)
            elif path.startswith("/nohead/"):
                self.reply(405 if self.command == "HEAD" else 200)
            elif path.startswith("/chain/"):
                left = int(path[len("/chain/"):] or 0)
                self.reply(302, "/chain/%d" % (left - 1)) if left > 0 else self.reply(200)
            elif path == "/loop":
                self.reply(302, "/loop")
            elif path == "/stall":
                stop.wait()
            else:
                self.reply(404)

        do_GET = answer
        do_HEAD = answer

        def log_message(self, fmt, *values):
            sys.stderr.write(fmt % values + "\n")

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--delay-ms", type=int, default=0)
    parser.add_argument("--request-log")
    args = parser.parse_args()
    stop = threading.Event()
    server = ThreadingHTTPServer(("127.0.0.1", 0), make_handler(args, stop))
    server.daemon_threads = True
    server.request_queue_size = 128
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    finally:
        stop.set()


if __name__ == "__main__":
    main()
