"""The receiver's web server: /web/ commands, /file, /grab and /control/."""
import base64
import json
import os
import re
import select
import socket
import ssl
import stat
import threading
import time
import traceback
import urllib.parse
from http.server import BaseHTTPRequestHandler

import e2sim_grab
import e2sim_movies
import e2sim_state
from e2sim_replies import COMMANDS
from e2sim_xml import render

CHUNK = 64 * 1024
_PARAM_START = re.compile(r"^[A-Za-z_][A-Za-z0-9_]*(=|$)")


# -- request parsing -------------------------------------------------------

def decode_component(text):
    """Percent-decode; UTF-8 when the bytes are UTF-8, else Latin-1 (a
    client may encode with its locale's character set)."""
    raw = urllib.parse.unquote_to_bytes(text)
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("latin-1")


def parse_query(query):
    """Query parameters.  Service and bouquet references travel unencoded and
    may hold "&&"; a piece that does not start like "name=" (or is a bare
    name) therefore
    belongs to the previous value."""
    pieces = []
    for piece in query.split("&") if query else []:
        if pieces and not _PARAM_START.match(piece):
            pieces[-1] += "&" + piece
        else:
            pieces.append(piece)
    params = {}
    for piece in pieces:
        name, _, value = piece.partition("=")
        if name:
            params[decode_component(name)] = decode_component(value)
    return params


def parse_range(header, size):
    """(start, end) inclusive for a "bytes=" Range header, None when the header
    is absent or not understood (whole file), "unsatisfiable" for 416."""
    if not header:
        return None
    match = re.fullmatch(r"\s*bytes\s*=\s*(\d*)\s*-\s*(\d*)\s*", header)
    if not match or (match.group(1) == "" and match.group(2) == ""):
        return None
    first, last = match.groups()
    if first == "":
        length = int(last)
        if length == 0 or size == 0:
            return "unsatisfiable"
        return max(0, size - length), size - 1
    start = int(first)
    end = int(last) if last else size - 1
    if start >= size or end < start:
        return "unsatisfiable"
    return start, min(end, size - 1)


def break_xml(body):
    """A reply cut in the middle of the document."""
    return body[:max(1, len(body) // 2)] + b"<e2broken <<"


def rename_root(body, name="e2unexpected"):
    text = body.decode("utf-8")
    match = re.search(r"<(e2[A-Za-z0-9]+)>", text)
    if not match:
        return body
    root = match.group(1)
    start = match.start()
    text = text[:start] + "<%s>" % name + text[match.end():]
    close = text.rfind("</%s>" % root)
    if close >= 0:
        text = text[:close] + "</%s>" % name + text[close + len(root) + 3:]
    return text.encode("utf-8")


def credentials_ok(header, user, password):
    if not header or not header.startswith("Basic "):
        return False
    try:
        given = base64.b64decode(header[6:].strip(), validate=True).decode("utf-8")
    except (ValueError, UnicodeDecodeError):
        return False
    return given == "%s:%s" % (user, password)


def _error_page(status, text):
    return ("<html><head><title>%d %s</title></head><body><h1>%d %s</h1></body></html>"
            % (status, text, status, text)).encode("utf-8")


# -- listening -------------------------------------------------------------

class Listener:
    """A listening socket served by its own thread; it closes the port while
    is_closed() says so (connections are then refused) and reopens after."""
    def __init__(self, host, port, handle, is_closed=lambda: False):
        self.host, self.port = host, port
        self.handle = handle
        self.is_closed = is_closed
        self.stopped = False
        self._lock = threading.Lock()
        self.sock = self._open()
        self.port = self.sock.getsockname()[1]
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _open(self):
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            sock.bind((self.host, self.port))
            sock.listen(64)
        except OSError:
            sock.close()
            raise
        return sock

    def close_if_refused(self):
        """Apply a refusal at once instead of at the next poll."""
        with self._lock:
            if self.is_closed() and self.sock is not None:
                # shutdown stops listening at once, even while select() holds the socket
                try:
                    self.sock.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass
                self.sock.close()
                self.sock = None

    def _run(self):
        while not self.stopped:
            self.close_if_refused()
            with self._lock:
                if self.sock is None and not self.is_closed():
                    try:
                        self.sock = self._open()
                    except OSError:
                        pass
                sock = self.sock
            if sock is None:
                time.sleep(0.05)
                continue
            try:
                ready, _, _ = select.select([sock], [], [], 0.2)
                if not ready:
                    continue
                conn, addr = sock.accept()
            except (OSError, ValueError):
                continue
            threading.Thread(target=self.handle, args=(conn, addr), daemon=True).start()

    def stop(self):
        self.stopped = True
        self.thread.join(2)
        if self.sock is not None:
            self.sock.close()


class WebServer:
    def __init__(self, state, log, host, port, user, password, ssl_context=None,
                 control_port=None):
        self.state = state
        self.log = log
        self.host = host
        self.user = user
        self.password = password
        self.ssl_context = ssl_context
        self.scheme = "https" if ssl_context else "http"
        self.listener = Listener(host, port, self._serve, self._closed)
        self.port = self.listener.port
        self.control = None
        if control_port is not None:
            self.control = Listener(host, control_port, self._serve_control)

    def _closed(self):
        return self.state.web_refused() and self.state.refuse_mode == "close"

    def _serve(self, conn, addr):
        self._serve_with(conn, addr, WebHandler)

    def _serve_control(self, conn, addr):
        self._serve_with(conn, addr, ControlOnlyHandler, tls=False)

    def _serve_with(self, conn, addr, handler, tls=True):
        try:
            if tls and self.ssl_context is not None:
                conn.settimeout(10)
                conn = self.ssl_context.wrap_socket(conn, server_side=True)
            handler(conn, addr, self)
        except (OSError, ssl.SSLError):
            pass
        finally:
            try:
                conn.close()
            except OSError:
                pass

    def stop(self):
        self.listener.stop()
        if self.control:
            self.control.stop()


def make_ssl_context(cert, key):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


# -- requests --------------------------------------------------------------

class WebHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "e2sim/1.0"
    sys_version = ""
    timeout = 60

    def log_message(self, fmt, *args):
        pass

    def parse_request(self):
        # some clients put blanks of inserted values into the path unencoded
        line = str(self.raw_requestline, "iso-8859-1").rstrip("\r\n")
        words = line.split(" ")
        if len(words) > 3 and words[-1].startswith("HTTP/"):
            line = "%s %s %s" % (words[0], "%20".join(words[1:-1]), words[-1])
            self.raw_requestline = (line + "\r\n").encode("iso-8859-1")
        return super().parse_request()

    def do_GET(self):
        self._dispatch(head=False)

    def do_HEAD(self):
        self._dispatch(head=True)

    # -- plumbing ---------------------------------------------------------
    def _log(self, kind, status, count):
        record = {"kind": kind, "method": self.command, "path": self.path,
                  "status": status, "bytes": count}
        query = self.path.partition("?")[2]
        if query:
            # what the receiver made of the query, for clients that must
            # encode each value exactly once
            record["query"] = parse_query(query)
        self.server.log(record)

    def _send(self, kind, status, body, content_type, headers=(), head=False, drop=False):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        if drop:
            self.send_header("Connection", "close")
        self.end_headers()
        part = b"" if head else body[:len(body) // 2] if drop else body
        # logged before the body goes out, so a client that has the reply
        # always finds its record
        self._log(kind, status, len(part))
        self.wfile.write(part)
        self.wfile.flush()
        if drop:
            self._cut()

    def _cut(self):
        self.close_connection = True
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def _error(self, kind, status, text, headers=(), head=False):
        self._send(kind, status, _error_page(status, text), "text/html; charset=utf-8",
                   headers, head)

    # -- routing ----------------------------------------------------------
    def _dispatch(self, head):
        path, _, query = self.path.partition("?")
        state = self.server.state
        if path.startswith("/control/"):
            return self._control(path[len("/control/"):], parse_query(query))
        if state.web_refused():
            self._cut()
            self._log(_kind_of(path), 0, 0)
            return
        kind = _kind_of(path)
        if not credentials_ok(self.headers.get("Authorization"), self.server.user,
                              self.server.password):
            return self._error(kind, 401, "Unauthorized",
                               [("WWW-Authenticate", 'Basic realm="enigma2"')], head)
        if path.startswith("/web/"):
            cmd = path[len("/web/"):].strip("/")
            handler = COMMANDS.get(cmd)
        elif path in ("/file", "/grab"):
            cmd = path[1:]
            handler = self._file if cmd == "file" else self._grab
        else:
            cmd, handler = None, None
        if handler is None:
            return self._error(kind, 404, "Not Found", head=head)
        fault = state.faults.take(cmd) or {}
        if fault.get("delay"):
            time.sleep(fault["delay"])
        status = fault.get("status")
        if status:
            headers = []
            if 300 <= status < 400:
                headers.append(("Location", fault.get("location") or "%s://%s:%d/moved%s" % (
                    self.server.scheme, self.server.host, self.server.port, self.path)))
            return self._error(kind, status, "Fault", headers, head)
        params = parse_query(query)
        if cmd == "file":
            return self._file(params, head, fault)
        if cmd == "grab":
            body, ctype = self._grab(params), "image/png"
        else:
            try:
                reply = handler(state, params, state.clock.now())
            except Exception:
                # a fault of the simulator itself: answer like a crashed page
                traceback.print_exc()
                return self._error(kind, 500, "Internal Server Error", head=head)
            body = reply if isinstance(reply, bytes) else render(reply, state.pretty)
            ctype = "text/xml; charset=UTF-8"
            if fault.get("wrongroot"):
                body = rename_root(body)
        if fault.get("malformed"):
            body = break_xml(body)
        self._send(kind, 200, body, ctype, head=head, drop=bool(fault.get("drop")))

    def _grab(self, params):
        state = self.server.state
        with state.lock:
            service = state.data.find_service(state.current_ref or "")
            path = e2sim_movies.path_of_ref(state.current_ref or "")
            movie = state.disk.find(path) if path else None
            screen = {"service": service.name if service else movie["title"] if movie else "N/A",
                      "standby": state.standby, "keys": list(state.keys),
                      "messages": list(state.messages)}
        return e2sim_grab.render_png(screen, params, state.clock.now())

    def _file(self, params, head, fault):
        path = params.get("file", "")
        disk = self.server.state.disk
        local = disk.local(path) if path.startswith("/") else None
        try:
            handle = open(local, "rb") if local else None
        except OSError:
            handle = None
        if handle is None or not _is_file(handle):
            if handle:
                handle.close()
            return self._error("file", 404, "Not Found", head=head)
        with handle:
            size = _size(handle)
            span = parse_range(self.headers.get("Range"), size)
            if span == "unsatisfiable":
                return self._error("file", 416, "Range Not Satisfiable",
                                   [("Content-Range", "bytes */%d" % size)], head)
            start, end = span if span else (0, size - 1)
            length = max(0, end - start + 1)
            status = 206 if span else 200
            self.send_response(status)
            self.send_header("Content-Type", "video/mp2t" if path.endswith(".ts")
                             else "application/octet-stream")
            self.send_header("Content-Length", str(length))
            self.send_header("Accept-Ranges", "bytes")
            if span:
                self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end, size))
            self.end_headers()
            sent, logged = 0, False
            limit = 0 if head else length // 2 if fault.get("drop") else length
            handle.seek(start)
            try:
                while sent < limit:
                    block = handle.read(min(CHUNK, limit - sent))
                    if not block:
                        break
                    if sent + len(block) >= limit:
                        self._log("file", status, sent + len(block))
                        logged = True
                    self.wfile.write(block)
                    sent += len(block)
                self.wfile.flush()
            except (BrokenPipeError, ConnectionResetError):
                self.close_connection = True
            if not logged:
                self._log("file", status, sent)
            if fault.get("drop"):
                self._cut()

    # -- control ----------------------------------------------------------
    def _control(self, name, params):
        state = self.server.state
        try:
            status, reply = 200, control(state, name, params, self.server)
        except ValueError as e:
            status, reply = 400, {"ok": False, "error": str(e)}
        except KeyError:
            status, reply = 404, {"ok": False, "error": "unknown control %r" % name}
        body = json.dumps(reply, ensure_ascii=False, indent=1).encode("utf-8")
        self._send("control", status, body, "application/json; charset=utf-8")


class ControlOnlyHandler(WebHandler):
    def _dispatch(self, head):
        path, _, query = self.path.partition("?")
        if path.startswith("/control/"):
            return self._control(path[len("/control/"):], parse_query(query))
        return self._error("control", 404, "Not Found", head=head)


def _kind_of(path):
    return {"/file": "file", "/grab": "grab"}.get(path, "web")


def _is_file(handle):
    return stat.S_ISREG(os.fstat(handle.fileno()).st_mode)


def _size(handle):
    return os.fstat(handle.fileno()).st_size


def _flag(value):
    return value.lower() not in ("", "0", "false", "no", "off")


def control(state, name, params, server=None):
    """Run one control request; returns the JSON reply.  Raises KeyError for
    an unknown control, ValueError for bad parameters."""
    if name == "state":
        return state.snapshot()
    if name == "reset":
        state.reset()
        return {"ok": True}
    if name == "fault":
        query = urllib.parse.urlencode(params)
        cmd, fault = e2sim_state.parse_fault(query)
        state.faults.set(cmd, fault)
        return {"ok": True, "faults": state.faults.as_dict()}
    if name == "stream":
        faults = state.stream_faults
        with state.lock:
            if "stop_after" in params:
                value = params["stop_after"].strip().lower()
                faults.stop_after = None if value in ("", "0", "none") else float(value)
            if "stall" in params:
                faults.stall = _flag(params["stall"])
            if "refuse" in params:
                faults.refuse = _flag(params["refuse"])
            if "pid_shift" in params:
                faults.pid_shift = int(params["pid_shift"] or "0", 0)
        return {"ok": True, "stream": faults.as_dict()}
    if name == "refuse":
        with state.lock:
            state.refuse_web = _flag(params.get("web", "1"))
            state.refuse_mode = params.get("mode", "close")
            if state.refuse_mode not in ("close", "reset"):
                raise ValueError("mode must be close or reset")
            seconds = params.get("seconds")
            state.refuse_until = (time.time() + float(seconds)
                                  if state.refuse_web and seconds else None)
        if server is not None:
            server.listener.close_if_refused()
        return {"ok": True, "refuse_web": state.refuse_web, "mode": state.refuse_mode}
    if name == "clock":
        value = params.get("now", "").strip()
        state.clock.set(float(value) if value else None)
        return {"ok": True, "now": round(state.clock.now(), 3)}
    if name == "current":
        ref = params.get("sRef", "")
        with state.lock:
            state.current_ref = None if ref in ("", "N/A") else ref
        return {"ok": True, "current": state.current_ref or "N/A"}
    if name == "standby":
        with state.lock:
            state.standby = _flag(params.get("on", "1"))
        return {"ok": True, "standby": state.standby}
    if name == "signal":
        names = {"snrdb": "e2snrdb", "snr": "e2snr", "ber": "e2ber", "agc": "e2acg",
                 "acg": "e2acg"}
        with state.lock:
            if not params:
                state.signal_override.clear()
            for key, value in params.items():
                key = names.get(key, key)
                if key not in names.values():
                    raise ValueError("unknown signal value %r" % key)
                state.signal_override[key] = value
        return {"ok": True, "signal": dict(state.signal_override)}
    raise KeyError(name)
