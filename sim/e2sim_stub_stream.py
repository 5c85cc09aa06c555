"""Minimal stand-in for the e2stream package (same functions): used when
that package is missing or with --stub-stream for quick tests.  Its
streams and recordings carry no pictures or sound, only a programme
association table and null packets of transport-stream size."""
import struct
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

_TRACKS = {
    "sd": [(0x100, "eng", "MPEG"), (0x101, "deu", "MPEG"), (0x102, "deu", "AC3")],
    "hd": [(0x100, "deu", "MPEG")],
    "radio": [(0x100, "deu", "MPEG")],
}
PACKET = 188
PMT_PID = 0x1000
_RATE = 50 * PACKET * 10          # bytes per second of the endless stream


def prepare(cache_dir):
    return None


def audio_tracks(kind):
    return list(_TRACKS.get(kind, []))


def _crc32_mpeg(data):
    crc = 0xFFFFFFFF
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
    return crc


def _pat(sid, counter=0):
    section = struct.pack(">BHHBBB", 0x00, 0xB00D, 1, 0xC1, 0, 0)
    section += struct.pack(">HH", sid & 0xFFFF, 0xE000 | PMT_PID)
    section += struct.pack(">I", _crc32_mpeg(section))
    payload = b"\x00" + section
    header = struct.pack(">BHB", 0x47, 0x4000, 0x10 | (counter & 0x0F))
    return header + payload + b"\xff" * (PACKET - 4 - len(payload))


def _null():
    return b"\x47\x1f\xff\x10" + b"\xff" * (PACKET - 4)


def _chunk(sid, counter, packets=100):
    return _pat(sid, counter) + _null() * (packets - 1)


def make_recording(path, kind, seconds, sid):
    with open(path, "wb") as out:
        for i in range(int(seconds) * 10):
            out.write(_chunk(sid, i))


def start_stream_server(host, port, resolve, log, faults):
    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"

        def log_message(self, *args):
            pass

        def do_GET(self):
            if faults.refuse:
                self.connection.close()
                return
            target = resolve(urllib.parse.unquote(self.path.lstrip("/")))
            if target is None:
                self.send_error(404)
                log({"kind": "stream", "method": "GET", "path": self.path, "status": 404,
                     "bytes": 0})
                return
            self.send_response(200)
            self.send_header("Content-Type", "video/mp2t")
            self.end_headers()
            sent, started, counter = 0, time.time(), 0
            try:
                while True:
                    elapsed = time.time() - started
                    if faults.stop_after is not None and elapsed >= faults.stop_after:
                        break
                    if faults.stall:
                        time.sleep(0.1)
                        continue
                    chunk = _chunk(target[1], counter)
                    self.wfile.write(chunk)
                    sent += len(chunk)
                    counter += 1
                    time.sleep(len(chunk) / _RATE)
            except OSError:
                pass
            log({"kind": "stream", "method": "GET", "path": self.path, "status": 200,
                 "bytes": sent})

    server = ThreadingHTTPServer((host, port), Handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server

