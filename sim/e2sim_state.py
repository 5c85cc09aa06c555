"""Mutable receiver state, switchable faults and the request log."""
import json
import threading
import time
import urllib.parse

import e2sim_timers


class JsonLog:
    """One JSON object per line; safe to call from any thread."""
    def __init__(self, path):
        self._lock = threading.Lock()
        self._file = open(path, "a", encoding="utf-8") if path else None

    def __call__(self, record):
        record = dict(record)
        record.setdefault("time", round(time.time(), 3))
        line = json.dumps(record, ensure_ascii=False)
        with self._lock:
            if self._file is not None:
                self._file.write(line + "\n")
                self._file.flush()

    def close(self):
        with self._lock:
            if self._file:
                self._file.close()
                self._file = None


class Clock:
    """The receiver's clock: the real one, or one set to a moment (--now,
    E2SIM_NOW, /control/clock) that runs on in real time from there."""
    def __init__(self, start=None):
        self.set(start)

    def set(self, start):
        self._base = None if start is None else float(start)
        self._mark = time.monotonic()

    def now(self):
        if self._base is None:
            return time.time()
        return self._base + (time.monotonic() - self._mark)

    @property
    def fixed(self):
        return self._base is not None


class StreamFaults:
    """Read live by the stream server."""
    def __init__(self):
        self.stop_after = None
        self.stall = False
        self.refuse = False
        self.pid_shift = 0

    def as_dict(self):
        return {"stop_after": self.stop_after, "stall": self.stall, "refuse": self.refuse,
                "pid_shift": self.pid_shift}


FAULT_KEYS = ("status", "delay", "drop", "malformed", "wrongroot", "location", "count")


def parse_fault(text):
    """"cmd=getcurrent&status=500" -> ("getcurrent", {"status": 500}).
    Raises ValueError for a fault without cmd or with unknown keys."""
    params = dict(urllib.parse.parse_qsl(text.lstrip("?"), keep_blank_values=True))
    cmd = params.pop("cmd", "")
    if not cmd:
        raise ValueError("fault without cmd: %r" % text)
    clear = params.pop("clear", "") not in ("", "0")
    fault = {}
    for key, value in params.items():
        if key not in FAULT_KEYS:
            raise ValueError("unknown fault key %r" % key)
        if key == "location":
            fault[key] = value
        elif key == "delay":
            fault[key] = float(value)
        else:
            fault[key] = int(value or "1")
    return cmd, (None if clear else fault)


class Faults:
    """Faults per web command ("getcurrent", "file", "grab", or "*" for all)."""
    def __init__(self):
        self._lock = threading.Lock()
        self._table = {}

    def set(self, cmd, fault):
        with self._lock:
            if fault is None:
                self._table.pop(cmd, None)
            else:
                self._table[cmd] = fault

    def clear(self):
        with self._lock:
            self._table.clear()

    def take(self, cmd):
        """The fault for this request, counting down limited ones."""
        with self._lock:
            name = cmd if cmd in self._table else "*" if "*" in self._table else None
            if name is None:
                return None
            fault = self._table[name]
            if "count" in fault:
                fault["count"] -= 1
                if fault["count"] <= 0:
                    del self._table[name]
            return dict(fault)

    def as_dict(self):
        with self._lock:
            return {k: dict(v) for k, v in self._table.items()}


class State:
    def __init__(self, data, disk, media, info, standby=False,
                 start_service="Erstes Programm HD", clock=None, pretty=False):
        """media: the stream module (audio_tracks); info: host and webif_version."""
        self.lock = threading.RLock()
        self.clock = clock or Clock()
        self.start_now = self.clock._base
        self.pretty = pretty
        self.data = data
        self.disk = disk
        self.media = media
        self.info = dict(info)
        self.cache = {}
        self.start_standby = standby
        self.start_ref = data.by_name(start_service).ref
        self.faults = Faults()
        self.stream_faults = StreamFaults()
        self.reset(restore_disk=False)

    def reset(self, restore_disk=True):
        with self.lock:
            self.clock.set(self.start_now)
            self.current_ref = self.start_ref
            self.standby = self.start_standby
            self.power_events = []
            self.timers = e2sim_timers.initial_timers(self.data, self.clock.now())
            self.messages = []
            self.keys = []
            self.audio = {}
            self.signal_override = {}
            self.faults.clear()
            self.stream_faults.__init__()
            self.refuse_web = False
            self.refuse_mode = "close"
            self.refuse_until = None
            if restore_disk:
                self.disk.reset()

    def web_refused(self):
        with self.lock:
            if self.refuse_until is not None and time.time() >= self.refuse_until:
                self.refuse_web = False
                self.refuse_until = None
                self.refuse_mode = "close"
            return self.refuse_web

    def snapshot(self):
        with self.lock:
            current = self.data.find_service(self.current_ref) if self.current_ref else None
            return {
                "current": {"ref": self.current_ref or "N/A",
                            "name": current.name if current else None},
                "standby": self.standby,
                "power_events": list(self.power_events),
                "timers": [dict(t) for t in self.timers],
                "messages": list(self.messages),
                "keys": list(self.keys),
                "audio": dict(self.audio),
                "faults": self.faults.as_dict(),
                "stream": self.stream_faults.as_dict(),
                "refuse_web": self.refuse_web,
                "signal": dict(self.signal_override),
                "now": round(self.clock.now(), 3),
            }
