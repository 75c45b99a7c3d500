#!/usr/bin/env python3
"""The maker's web site for the update scenario, on 127.0.0.1.

    update-server.py FOLDER

Listens on a free port of 127.0.0.1 and writes it to FOLDER/port. Every
answer depends on the case named in FOLDER/case.txt, which the test writes
before each check:

    newer   a version file listing 2.4.0.0 and a download page here
    same    2.3.0.0          older   2.2.9.9          nodot   3
    html    an error page delivered with status 200
    missing status 404
    huge    20 MB, a version file listing 2.4.0.0 at its start
    calc    2.4.0.0 with the address file:///C:/windows/system32/calc.exe
    stall   no answer    drip  one byte a second    loop  redirects to itself
    closed  the server ends, and the port is closed

Each request is appended to FOLDER/requests.log as "case path". The server
also ends by itself after five minutes without a request.
"""

import http.server
import os
import sys
import time

IDLE_LIMIT = 300
HUGE_SIZE = 20 * 1024 * 1024


def version_file(version, address):
    return (f'[CurrentVersions]\r\nMorvel={version}\r\nOther=9.9.9.9\r\n'
            f'[DownloadURL]\r\nMorvel={address}\r\n').encode('ascii')


def current_case(folder):
    try:
        with open(os.path.join(folder, 'case.txt')) as f:
            return f.read().strip()
    except OSError:
        return ''


class Handler(http.server.BaseHTTPRequestHandler):
    folder = '.'
    last_request = time.monotonic()

    def log_message(self, *args):
        pass

    def answer(self, status, body, kind='text/plain'):
        self.send_response(status)
        self.send_header('Content-Type', kind)
        self.send_header('Content-Length', str(len(body)))
        # Every check must reach the server, never a cache.
        self.send_header('Cache-Control', 'no-store, no-cache, must-revalidate')
        self.send_header('Pragma', 'no-cache')
        self.send_header('Expires', '0')
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        Handler.last_request = time.monotonic()
        case = current_case(self.folder)
        if not self.path.endswith('?again'):  # one redirect loop, one request
            with open(os.path.join(self.folder, 'requests.log'), 'a') as log:
                log.write(f'{case} {self.path}\n')
        here = f'http://127.0.0.1:{self.server.server_port}'
        if case == 'newer':
            self.answer(200, version_file('2.4.0.0', here + '/download/morvel-2.4.html'))
        elif case in ('same', 'older', 'nodot'):
            version = {'same': '2.3.0.0', 'older': '2.2.9.9', 'nodot': '3'}[case]
            self.answer(200, version_file(version, here + '/download/morvel.html'))
        elif case == 'html':
            self.answer(200, b'<html><body><h1>Sorry</h1>Something went wrong.</body></html>',
                        'text/html')
        elif case == 'huge':
            start = version_file('2.4.0.0', here + '/download/huge.html')
            self.answer(200, start + b';' * (HUGE_SIZE - len(start)))
        elif case == 'calc':
            self.answer(200, version_file('2.4.0.0', 'file:///C:/windows/system32/calc.exe'))
        elif case == 'stall':
            time.sleep(60)
        elif case in ('drip', 'loop'):
            body = version_file('2.4.0.0', here)
            self.send_response(200 if case == 'drip' else 302)
            self.send_header('Content-Length', str(len(body) if case == 'drip' else 0))
            self.send_header('Location', self.path.split('?')[0] + '?again')
            self.end_headers()
            for i in range(len(body) if case == 'drip' else 0):
                self.wfile.write(body[i:i + 1])  # unbuffered
                time.sleep(1)
        else:
            self.answer(404, b'Not found', 'text/html')


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    Handler.folder = argv[1]
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    server.handle_error = lambda *_: None  # a drip the program gave up on
    server.timeout = 0.2
    with open(os.path.join(argv[1], 'port.tmp'), 'w') as f:
        f.write(str(server.server_port))
    os.replace(os.path.join(argv[1], 'port.tmp'), os.path.join(argv[1], 'port'))
    Handler.last_request = time.monotonic()
    while time.monotonic() - Handler.last_request < IDLE_LIMIT:
        if current_case(argv[1]) == 'closed':
            break
        server.handle_request()
    server.server_close()
    os.remove(os.path.join(argv[1], 'port'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
