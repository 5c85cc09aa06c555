"""Recordings on the simulated hard disk.

The transport streams are made once into the cache directory; every run
gets its own disk tree (hard links or copies plus fresh ".meta" files), so
deleting recordings or uploading edited ".meta" files never touches the
cache and a reset can restore the original tree.

A ".meta" file has the receiver's line layout: service reference, title,
description, recording time, tags, length in 90 kHz ticks, file size.
"""
import os
import shutil
import tempfile

LOCATIONS = ["/hdd/movie/", "/hdd/movie/archiv/"]
BASE_TAGS = ["Doku", "Krimi", "Serie", "Spielfilm", "Sport"]
SECONDS = 20
_SIDECARS = (".meta", ".eit", ".ap", ".sc", ".cuts")

# directory, file name, channel, title, description, extended, time, has length, tags, kind, sid
RECORDINGS = [
    ("/hdd/movie/", "20261201 2015 - Erstes Programm HD - Tatort.ts", "Erstes Programm HD",
     "Tatort: Spuren im Schnee", "Krimi, Deutschland 2026",
     "Die Kommissarin ermittelt im Allgäu.\x8aMit Untertiteln.", 1796156100, True,
     "Krimi Spielfilm", "hd", 0x2800),
    ("/hdd/movie/", "20261202 2015 - arte HD - Der Schatz im Silbersee.ts", "arte HD",
     "Spielfilm: Der Schatz im Silbersee", "Abenteuer & Western",
     "Klassiker nach Karl May.", 1796242500, True, "Spielfilm Krimi", "hd", 0x2877),
    ("/hdd/movie/", "20261203 1930 - Kulturkanal - Über den Alpen.ts", "Kulturkanal",
     "Über den Alpen", "Dokumentation", "", 1796326200, True, "", "sd", 0x2811),
    ("/hdd/movie/", "Unbekannte Aufnahme.ts", "N/A", "Unbekannte Aufnahme", "", "",
     -1, False, "", "sd", 0x2822),
    ("/hdd/movie/archiv/", "20251224 1800 - Bayern Klassik - Weihnachtsoratorium.ts",
     "Bayern Klassik", "Weihnachtsoratorium", "Konzert", "Live aus München.", 1766595600,
     True, "Musik", "radio", 0x3400),
    ("/hdd/movie/archiv/", "20251231 2300 - Canal Süd - Silvester & Party.ts", "Canal Süd",
     "Silvester & Party", "Show", "Der Jahreswechsel\x8aaus Süddeutschland.", 1767222000,
     True, "Serie", "sd", 0x28BB),
]


def extended_of(filename):
    for entry in RECORDINGS:
        if entry[1] == filename:
            return entry[5]
    return ""


def recording_ref(path):
    return "1:0:0:0:0:0:0:0:0:0:" + path


def path_of_ref(ref):
    """Receiver path of a recording reference ("" when it is none)."""
    fields = ref.split(":", 10)
    if len(fields) < 11 or not fields[10].startswith("/"):
        return ""
    return fields[10]


class Disk:
    def __init__(self, cache_dir, make_recording, channels, media_tag="media"):
        """channels maps the service reference of each original channel to its
        name; media_tag separates the files of different stream generators."""
        self.cache_dir = cache_dir
        self.media_dir = os.path.join(cache_dir, "recordings", media_tag)
        self.make_recording = make_recording
        self.channels = dict(channels)
        self.root = None
        self.prepare_media()
        self.reset()

    def media_path(self, kind, sid):
        return os.path.join(self.media_dir, "%s_%04x_%ds.ts" % (kind, sid, SECONDS))

    def prepare_media(self):
        os.makedirs(self.media_dir, exist_ok=True)
        for entry in RECORDINGS:
            kind, sid = entry[9], entry[10]
            target = self.media_path(kind, sid)
            if os.path.exists(target) and os.path.getsize(target) > 0:
                continue
            partial = target + ".part%d" % os.getpid()
            self.make_recording(partial, kind, SECONDS, sid)
            os.replace(partial, target)

    def reset(self):
        """Lay out a fresh disk tree with every recording and its meta file."""
        # the root stays the same directory: the FTP server keeps serving it
        if self.root is None:
            self.root = tempfile.mkdtemp(prefix="disk-%d-" % os.getpid(),
                                         dir=self.cache_dir)
        for name in os.listdir(self.root):
            shutil.rmtree(os.path.join(self.root, name), ignore_errors=True)
        for location in LOCATIONS:
            os.makedirs(self.local(location), exist_ok=True)
        for (directory, filename, channel, title, descr, _ext, when, has_length,
             tags, kind, sid) in RECORDINGS:
            target = self.local(directory + filename)
            media = self.media_path(kind, sid)
            try:
                os.link(media, target)
            except OSError:
                shutil.copyfile(media, target)
            size = os.path.getsize(target)
            length = str(SECONDS * 90000) if has_length else ""
            lines = [self.channel_ref(channel), title, descr, str(when), tags, length, str(size)]
            with open(target + ".meta", "w", encoding="utf-8") as meta:
                meta.write("\n".join(lines) + "\n")

    def remove(self):
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None

    def local(self, path):
        """Local file for a receiver path, or None when it leaves the disk."""
        root = os.path.realpath(self.root)
        full = os.path.realpath(os.path.join(root, path.lstrip("/")))
        if full != root and not full.startswith(root + os.sep):
            return None
        return full

    def movies(self, dirname, tag=None):
        """Recordings directly inside dirname, as dicts of reply fields."""
        dirname = dirname or LOCATIONS[0]
        directory = self.local(dirname)
        if not directory or not os.path.isdir(directory):
            return None
        result = []
        for name in sorted(os.listdir(directory)):
            full = os.path.join(directory, name)
            if not name.endswith(".ts") or not os.path.isfile(full):
                continue
            movie = self._describe(dirname.rstrip("/") + "/" + name, full)
            if tag and tag not in movie["tags"].split():
                continue
            result.append(movie)
        return result

    def _describe(self, path, full):
        lines = read_meta(full + ".meta")
        lines += [""] * (7 - len(lines))
        when = lines[3].strip()
        try:
            when = str(int(when))
        except ValueError:
            when = str(int(os.path.getmtime(full)))
        try:
            ticks = int(lines[5].strip())
        except ValueError:
            ticks = 0
        seconds = ticks // 90000
        length = "%d:%02d" % (seconds // 60, seconds % 60) if ticks > 0 else "disabled"
        channel = self.channels.get(lines[0].strip(), "N/A")
        return {
            "ref": recording_ref(path),
            "title": lines[1].strip() or os.path.basename(path),
            "description": lines[2].strip(),
            "extended": extended_of(os.path.basename(path)),
            "servicename": channel,
            "time": when,
            "length": length,
            "tags": lines[4].strip(),
            "filename": path,
            "filesize": os.path.getsize(full),
        }

    def find(self, path):
        full = self.local(path) if path else None
        if not full or not path.endswith(".ts") or not os.path.isfile(full):
            return None
        return self._describe(path, full)

    def delete(self, path):
        full = self.local(path) if path else None
        if not full or not path.endswith(".ts") or not os.path.isfile(full):
            return False
        os.remove(full)
        for suffix in _SIDECARS:
            if os.path.exists(full + suffix):
                os.remove(full + suffix)
        return True

    def tags(self):
        found = set(BASE_TAGS)
        for location in LOCATIONS:
            for movie in self.movies(location) or []:
                found.update(movie["tags"].split())
        return sorted(found, key=str.casefold)

    def channel_ref(self, name):
        for ref, known in self.channels.items():
            if known == name:
                return ref
        return "1:0:0:0:0:0:0:0:0:0:"

    def kind_of(self, path):
        name = os.path.basename(path)
        for entry in RECORDINGS:
            if entry[1] == name:
                return entry[9]
        return "sd"


def read_meta(path):
    try:
        with open(path, "rb") as meta:
            raw = meta.read()
    except OSError:
        return []
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        text = raw.decode("latin-1")
    return text.splitlines()
