"""HTTP streaming port of the simulated receiver."""

import socket
import socketserver
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler

from . import mux

BURST_SECONDS = 1.0     # sent at once when a client connects: players start fast
SEND_TIMEOUT = 0.25     # lets a blocked send notice shutdown and faults


def _fault(faults, name, default):
    return getattr(faults, name, default) if faults is not None else default


def ref_from_path(raw_path):
    """Service reference of a request path: URL-decoded, without the
    leading slash and without a query."""
    path = raw_path.split("?", 1)[0]
    if path.startswith("/"):
        path = path[1:]
    return urllib.parse.unquote(path)


class _Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "e2sim-stream/1.0"

    def log_message(self, *args):
        pass

    def _log(self, status, sent):
        try:
            self.server.log_func({"time": time.time(), "kind": "stream",
                                  "method": self.command, "path": self.path,
                                  "status": status, "bytes": sent})
        except Exception:  # a broken logger must not kill the stream thread
            pass

    def do_HEAD(self):
        self._answer(head=True)

    def do_GET(self):
        self._answer(head=False)

    def _answer(self, head):
        srv = self.server
        if _fault(srv.faults, "refuse", False):
            self.close_connection = True
            self._log(0, 0)
            return
        ref = ref_from_path(self.path)
        target = ("sync", mux.SYNC_SID) if ref == mux.SYNC_REF else srv.resolve(ref)
        if target is None:
            body = b"<html><body>Service not found</body></html>\n"
            self.send_response(404)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if not head:
                self.wfile.write(body)
            self._log(404, 0 if head else len(body))
            return
        kind, sid = target
        self.send_response(200)
        self.send_header("Content-Type", "video/mp2t")
        self.end_headers()
        self.wfile.flush()
        sent = 0
        if not head:
            try:
                sent = self._stream(kind, sid)
            except (OSError, ValueError):
                pass
        self._log(200, sent)

    def _send(self, data):
        """Send all of data; False when the client left or we stop."""
        sock = self.connection
        view = memoryview(data)
        while view:
            if self.server.stopping.is_set():
                return False
            try:
                n = sock.send(view)
            except socket.timeout:
                continue
            except OSError:
                return False
            view = view[n:]
        return True

    def _stream(self, kind, sid):
        srv = self.server
        m = mux.Multiplexer(kind, sid, srv.tracks(),
                            pid_shift=lambda: _fault(srv.faults, "pid_shift", 0))
        self.connection.settimeout(SEND_TIMEOUT)
        started = time.monotonic()
        clock0 = started          # wall time that corresponds to pcr0
        pcr0 = None
        sent = 0
        buf = bytearray()

        def flush():
            nonlocal sent, buf
            if not buf:
                return True
            ok = self._send(bytes(buf))
            if ok:
                sent += len(buf)
            buf = bytearray()
            return ok

        for t27, data in m.chunks():
            if pcr0 is None:
                pcr0 = t27
            while True:
                if srv.stopping.is_set():
                    return sent
                stop_after = _fault(srv.faults, "stop_after", None)
                if stop_after is not None and time.monotonic() - started >= stop_after:
                    flush()
                    return sent
                if _fault(srv.faults, "stall", False):
                    if not flush():
                        return sent
                    # a stalled stream resumes at real time, not with a burst
                    time.sleep(0.05)
                    clock0 += 0.05
                    continue
                now = time.monotonic()
                due = clock0 + (t27 - pcr0) / 27e6 - BURST_SECONDS
                if due <= now:
                    break
                if buf:
                    if not flush():
                        return sent
                    continue
                time.sleep(min(due - now, 0.05))
            buf += data
            if len(buf) >= 64 * 1024 and not flush():
                return sent
        return sent


class StreamServer(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, addr, resolve, log, faults, tracks):
        self.resolve = resolve
        self.log_func = log if log is not None else (lambda rec: None)
        self.faults = faults
        self.tracks = tracks
        self.stopping = threading.Event()
        self.thread = None
        super().__init__(addr, _Handler)

    def shutdown(self):
        """Stop accepting, end every running stream and close the port."""
        self.stopping.set()
        super().shutdown()
        self.server_close()
        if self.thread is not None:
            self.thread.join(5)


def start(host, port, resolve, log, faults, tracks):
    srv = StreamServer((host, port), resolve, log, faults, tracks)
    srv.thread = threading.Thread(target=srv.serve_forever,
                                  kwargs={"poll_interval": 0.1},
                                  name="e2stream-server", daemon=True)
    srv.thread.start()
    return srv
