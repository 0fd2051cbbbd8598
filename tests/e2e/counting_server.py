"""A local HTTP server for the watcher's test that counts what reaches it: each connection adds a
line to the log file as it is accepted (a probe may only connect), and an HTTP request on it gets
a short page. Usage: counting_server.py PORT LOG_FILE"""
import socketserver
import sys
import time


class Counting(socketserver.BaseRequestHandler):
    def handle(self):
        with open(self.server.log, "a") as log:
            log.write("%.3f\n" % time.time())
        self.request.settimeout(2)
        try:
            if self.request.recv(4096):
                self.request.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok")
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True


def main():
    port, log = int(sys.argv[1]), sys.argv[2]
    open(log, "a").close()
    with Server(("127.0.0.1", port), Counting) as server:
        server.log = log
        server.serve_forever()


if __name__ == "__main__":
    main()
