"""FTP access to the simulated hard disk (recordings and their .meta files)."""
import logging
import os
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

_TRANSFERS = ("RETR", "STOR", "APPE", "STOU")


class LoggingHandler(FTPHandler):
    """Logs every FTP command with its final reply code; transfers are
    logged when they end, with the file's size."""
    e2log = staticmethod(lambda record: None)
    _pending = None

    def pre_process_command(self, line, cmd, arg):
        self._pending = (cmd, "***" if cmd == "PASS" else (arg or ""))
        super().pre_process_command(line, cmd, arg)

    def respond(self, resp, logfun=logging.debug):
        super().respond(resp, logfun)
        try:
            code = int(resp[:3])
        except ValueError:
            return
        if self._pending is None or code < 200:
            return
        cmd, arg = self._pending
        if code == 226 and cmd in _TRANSFERS:
            return
        self._pending = None
        self.e2log({"kind": "ftp", "method": cmd, "path": arg, "status": code, "bytes": 0})

    def _transfer(self, file, status):
        cmd = self._pending[0] if self._pending else "RETR"
        self._pending = None
        try:
            size = os.path.getsize(file)
        except OSError:
            size = 0
        self.e2log({"kind": "ftp", "method": cmd, "path": self.fs.fs2ftp(file),
                    "status": status, "bytes": size})

    def on_file_sent(self, file):
        self._transfer(file, 226)

    def on_file_received(self, file):
        self._transfer(file, 226)

    def on_incomplete_file_sent(self, file):
        self._transfer(file, 426)

    def on_incomplete_file_received(self, file):
        self._transfer(file, 426)


class FtpServer:
    def __init__(self, host, port, user, password, root, log):
        # a handler of our own keeps the library from logging to stderr
        ftplog = logging.getLogger("pyftpdlib")
        if not ftplog.handlers:
            ftplog.addHandler(logging.NullHandler())
        ftplog.propagate = False
        ftplog.setLevel(logging.CRITICAL)
        authorizer = DummyAuthorizer()
        authorizer.add_user(user, password, root, perm="elradfmwMT")
        handler = type("E2FtpHandler", (LoggingHandler,), {})
        handler.authorizer = authorizer
        handler.e2log = staticmethod(log)
        handler.banner = "e2sim FTP server ready."
        handler.permit_foreign_addresses = False
        self.server = FTPServer((host, port), handler)
        self.port = self.server.address[1]
        self.thread = threading.Thread(target=self.server.serve_forever,
                                       kwargs={"timeout": 0.5, "handle_exit": False},
                                       daemon=True)
        self.thread.start()

    def stop(self):
        self.server.close_all()


def start(host, port, user, password, root, log, warn):
    """Start on port; when port is None try 21 and fall back to 2121 (the
    client's FTP URLs carry no port, so 21 is what it reaches)."""
    if port is not None:
        return FtpServer(host, port, user, password, root, log)
    try:
        return FtpServer(host, 21, user, password, root, log)
    except OSError as e:
        warn("FTP port 21 not available (%s), using 2121; the client reaches only port 21" % e)
        return FtpServer(host, 2121, user, password, root, log)
