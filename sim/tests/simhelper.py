"""Start the simulated receiver for a test and talk to it."""
import atexit
import base64
import http.client
import json
import os
import random
import select
import shutil
import socket
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SIM_DIR = os.path.dirname(os.path.dirname(os.path.realpath(__file__)))
sys.path.insert(0, SIM_DIR)
E2SIM = os.path.join(SIM_DIR, "e2sim")
CACHE = tempfile.mkdtemp(prefix="e2sim-test-cache-")
atexit.register(shutil.rmtree, CACHE, True)
START_LIMIT = 120   # seconds to wait for "ready" before giving up (cold media cache)

# Clock moments for the cases that depend on the time: every hour of the last
# day of a year (at a different minute each), and the turn of the year.
_NEW_YEARS_EVE = 1798675200     # 2026-12-31 00:00 UTC
SWEEP_MOMENTS = [_NEW_YEARS_EVE + h * 3600 + (h * 7 % 60) * 60 for h in range(24)] + [
    _NEW_YEARS_EVE + 86400]


def free_port(host):
    with socket.socket() as sock:
        sock.bind((host, 0))
        return sock.getsockname()[1]


class Sim:
    def __init__(self, *extra, ftp=False, stream=False, https=False):
        self.host = "127.0.%d.%d" % (random.randint(1, 250), random.randint(2, 250))
        self.port = free_port(self.host)
        self.stream_port = free_port(self.host)
        self.ftp_port = free_port(self.host) if ftp else None
        self.https = https
        self.logdir = tempfile.mkdtemp(prefix="e2sim-test-log-")
        self.logfile = os.path.join(self.logdir, "sim.log")
        cmd = [E2SIM, "--host", self.host, "--web-port", str(self.port),
               "--stream-port", str(self.stream_port), "--cache-dir", CACHE,
               "--log", self.logfile, "--stub-stream"]
        cmd += ["--ftp-port", str(self.ftp_port)] if ftp else ["--no-ftp"]
        if not stream:
            cmd.append("--no-stream")
        if https:
            cmd.append("--https")
        cmd += list(extra)
        self.proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        ready, _, _ = select.select([self.proc.stdout], [], [], START_LIMIT)
        line = self.proc.stdout.readline().decode() if ready else ""
        if line.strip() != "ready":
            self.stop()
            raise RuntimeError("simulator did not start: %r %s" % (
                line, self.proc.stderr.read().decode(errors="replace")))

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc.stdout.close()
        self.proc.stderr.close()
        shutil.rmtree(self.logdir, ignore_errors=True)

    def connection(self, timeout=10):
        if self.https:
            import ssl
            context = ssl._create_unverified_context()
            return http.client.HTTPSConnection(self.host, self.port, timeout=timeout,
                                               context=context)
        return http.client.HTTPConnection(self.host, self.port, timeout=timeout)

    def request(self, path, auth=("root", "zaptower"), headers=None, method="GET"):
        """(status, headers, body) of one request on a fresh connection."""
        conn = self.connection()
        try:
            all_headers = dict(headers or {})
            if auth:
                token = base64.b64encode(("%s:%s" % auth).encode()).decode()
                all_headers["Authorization"] = "Basic " + token
            conn.putrequest(method, path, skip_accept_encoding=True)
            for name, value in all_headers.items():
                conn.putheader(name, value)
            conn.endheaders()
            resp = conn.getresponse()
            return resp.status, resp.headers, resp.read()
        finally:
            conn.close()

    def web(self, command):
        """Root element of a /web/ command's reply (asserting status 200)."""
        status, _, body = self.request("/web/" + command)
        if status != 200:
            raise AssertionError("HTTP %d for %s" % (status, command))
        return ET.fromstring(body)

    def control(self, path):
        status, _, body = self.request("/control/" + path, auth=None)
        return status, json.loads(body)

    def log_records(self):
        with open(self.logfile, encoding="utf-8") as log:
            return [json.loads(line) for line in log if line.strip()]


def texts(element, tag):
    return [e.text or "" for e in element.iter(tag)]
