"""A small RFC 3161 time-stamp service for the signing tests.

Listens on 127.0.0.1 on a free port, prints the port on its first line, and
answers every POST with the reply `openssl ts -reply` makes for the request.

    tsa_server.py CERT KEY FOLDER

CERT and KEY are the time-stamping certificate and its key (PEM); FOLDER
takes the serial file, the configuration and each request while it is
answered. Requests are logged to standard error.
"""

import http.server
import os
import subprocess
import sys
import tempfile

CONFIG = """\
[ tsa ]
default_tsa = tsa_config

[ tsa_config ]
serial = {folder}/tsaserial
signer_cert = {cert}
signer_key = {key}
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
"""


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        query = self.rfile.read(length)
        with tempfile.TemporaryDirectory(dir=self.server.folder) as work:
            request = os.path.join(work, "request.tsq")
            reply = os.path.join(work, "reply.tsr")
            with open(request, "wb") as out:
                out.write(query)
            made = subprocess.run(
                ["openssl", "ts", "-reply", "-config", self.server.config, "-queryfile", request,
                 "-out", reply],
                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=False)
            if made.returncode != 0:
                sys.stderr.write(made.stderr.decode(errors="replace"))
                self.send_error(500, "openssl ts -reply failed")
                return
            with open(reply, "rb") as answer:
                body = answer.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, format, *args):
        sys.stderr.write("tsa: " + (format % args) + "\n")


def main():
    cert, key, folder = sys.argv[1:4]
    config = os.path.join(folder, "tsa.cnf")
    with open(config, "w", encoding="utf-8") as out:
        out.write(CONFIG.format(folder=folder, cert=cert, key=key))
    with open(os.path.join(folder, "tsaserial"), "w", encoding="utf-8") as out:
        out.write("01\n")
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    server.folder = folder
    server.config = config
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
