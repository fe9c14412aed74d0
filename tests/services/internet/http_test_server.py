"""A small HTTP server for the client's tests: listens on 127.0.0.1 on a free port, prints that port, serves
until it is killed.

    http_test_server.py [--tls CERT KEY] [--auth USER:PASSWORD] [--premium]

Paths: /bytes/N (N bytes of a known pattern), /missing (404 with a page), /empty (204), /secret (401 until
the credentials of --auth come), /stall (never answers), /stall-body (stops after 100 of the 1,000 bytes it
announces), /endless (a body without end), /redirect/N (302 to /redirect/N-1, /redirect/0 is
/bytes/100), /loop (302 to itself), /premium/default.htm (200; with --premium guarded like /secret); every
POST answers with what it received.
"""
import base64
import http.server
import ssl
import sys
import time


def pattern(size):
    block = bytes(range(256))
    return (block * (size // 256 + 1))[:size]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    credentials = None
    premium = False

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", content_type="application/octet-stream"):
        self.send_response(status)
        if status == 401:
            self.send_header("WWW-Authenticate", 'Basic realm="zorta"')
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def redirect(self, location):
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "5")
        self.end_headers()
        self.wfile.write(b"moved")

    def authorised(self):
        if not self.credentials:
            return False
        expected = "Basic " + base64.b64encode(self.credentials.encode()).decode()
        return self.headers.get("Authorization") == expected

    def do_GET(self):
        if self.path.startswith("/bytes/"):
            self.answer(200, pattern(int(self.path[7:])))
        elif self.path == "/missing":
            self.answer(404, b"no such page", "text/html")
        elif self.path == "/empty":
            self.send_response(204)
            self.end_headers()
        elif self.path == "/secret" or (self.path == "/premium/default.htm" and self.premium):
            if self.authorised():
                self.answer(200, b"secret", "text/plain")
            else:
                self.answer(401, b"who are you", "text/html")
        elif self.path == "/premium/default.htm":
            self.answer(200, b"premium", "text/html")
        elif self.path == "/stall":
            time.sleep(60)
        elif self.path == "/stall-body":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(pattern(100))
            self.wfile.flush()
            time.sleep(60)
        elif self.path == "/endless":
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            try:
                while True:
                    self.wfile.write(pattern(65536))
            except OSError:
                pass
        elif self.path.startswith("/redirect/"):
            left = int(self.path[10:])
            if left == 0:
                self.answer(200, pattern(100))
            else:
                self.redirect("/redirect/%d" % (left - 1))
        elif self.path == "/loop":
            self.redirect("/loop")
        else:
            self.answer(404, b"", "text/html")

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        echo = "path=%s\ntype=%s\nbody=%s" % (self.path, self.headers.get("Content-Type"), body.decode())
        self.answer(200, echo.encode(), "text/plain")


def main():
    arguments = sys.argv[1:]
    context = None
    while arguments:
        option = arguments.pop(0)
        if option == "--tls":
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(arguments.pop(0), arguments.pop(0))
        elif option == "--auth":
            Handler.credentials = arguments.pop(0)
        elif option == "--premium":
            Handler.premium = True
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if context:
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
