#!/usr/bin/env python3
"""belvaron-cli --check-update against a local update server.

Usage: check_update.py BELVARON_CLI FIXTURE_FOLDER

The server (127.0.0.1, a free port) serves one information file per case;
the command line must report the versions, answer the update dialog with
Cancel and never ask for the installer.
"""
import http.server
import os
import subprocess
import sys
import tempfile
import threading

INFO_PATH = "/updates/Belvaron/ReadMe.txt"


class Handler(http.server.BaseHTTPRequestHandler):
    info = b""
    status = 200
    paths = []

    def do_GET(self):
        Handler.paths.append(self.path)
        body = Handler.info if self.path == INFO_PATH else b"<html>404</html>"
        status = Handler.status if self.path == INFO_PATH else 404
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def run_case(cli, fixtures, base_url, home, name, fixture, status, want_stderr, want_exit):
    with open(os.path.join(fixtures, fixture), "rb") as f:
        Handler.info = f.read()
    Handler.status = status
    Handler.paths = []
    env = {k: v for k, v in os.environ.items() if "proxy" not in k.lower()}
    env.update(BELVARON_UPDATE_URL=base_url, HOME=home, XDG_CONFIG_HOME=home, TMPDIR=home,
               LC_ALL="C", TZ="UTC")
    done = subprocess.run([cli, "--check-update"], env=env, capture_output=True, timeout=60)
    failures = []
    if done.returncode != want_exit:
        failures.append(f"exit status {done.returncode}, expected {want_exit}")
    if done.stderr != want_stderr.encode("utf-8"):
        failures.append(f"stderr {done.stderr!r}\n   expected {want_stderr.encode('utf-8')!r}")
    if Handler.paths != [INFO_PATH]:
        failures.append(f"requests {Handler.paths}")
    if done.stdout:
        failures.append(f"stdout {done.stdout!r}")
    for f in failures:
        print(f"{name}: {f}")
    return not failures


def main():
    cli, fixtures = sys.argv[1], sys.argv[2]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    base_url = f"http://127.0.0.1:{server.server_address[1]}/"
    cases = [
        ("equal", "readme_same.txt", 200,
         "Das Programm ist auf dem neuesten Stand.\nEs sind keine neuen Updates verfügbar.\n\n", 0),
        ("older", "readme_older.txt", 200,
         "Das Programm ist auf dem neuesten Stand.\n"
         "Auf dem Update-Server befindet sich noch die Version: V2.2.9\n\n", 0),
        ("newer", "readme_newer.txt", 200,
         "Für Belvaron ist ein neues Update (V2.4) verfügbar!\n"
         "Version: Belvaron V2.4: 15.03.2027\n- Export nach DATEV im neuen Format\n"
         "- Fehler beim Import behoben\n\n"
         "Das Update ist für Sie kostenlos verfügbar.\n\n", 0),
        ("not found", "readme_newer.txt", 404,
         "Es konnten keine Update-Informationen gefunden werden.[404]\n\n", 1),
    ]
    ok = True
    try:
        with tempfile.TemporaryDirectory() as home:
            for case in cases:
                ok = run_case(cli, fixtures, base_url, home, *case) and ok
            if os.listdir(home):
                print(f"files left in the home folder: {os.listdir(home)}")
                ok = False
    finally:
        server.shutdown()
        server.server_close()
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
