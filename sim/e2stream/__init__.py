"""Transport streams of the simulated receiver.

prepare(cache_dir)                      encode the media loops once (cached)
audio_tracks(kind)                      [(pid, language, codec)]
start_stream_server(host, port, resolve, log, faults) -> server
make_recording(path, kind, seconds, sid)

Kinds: "sd" (MPEG-2 video, two MPEG audio tracks, AC-3, teletext, DVB
subtitles), "hd" (H.264 video, MPEG audio), "radio" (MPEG audio).
"""

import os
import tempfile

from . import media, mux, server

PMT_PID = 0x1000
KINDS = mux.KINDS

_cache_dir = None


def _default_cache_dir():
    return os.environ.get("E2STREAM_CACHE") or os.path.join(
        tempfile.gettempdir(), "e2stream-cache-%d" % os.getuid())


def prepare(cache_dir):
    """Generate the elementary media once; later calls and other processes
    reuse the cache. Raises RuntimeError when GStreamer cannot encode."""
    global _cache_dir
    cache_dir = os.path.abspath(cache_dir)
    media.prepare(cache_dir)
    _cache_dir = cache_dir


def _tracks():
    return media.tracks(_cache_dir or _default_cache_dir())


def audio_tracks(kind):
    return mux.audio_tracks(kind)


def start_stream_server(host, port, resolve, log, faults):
    """Threaded HTTP server on host:port; server.shutdown() stops it and
    every stream it is sending."""
    tracks = _tracks()  # load now so the first client does not wait
    return server.start(host, port, resolve, log, faults, lambda: tracks)


def make_recording(path, kind, seconds, sid):
    mux.write_recording(path, kind, seconds, sid, _tracks())


class StreamService:
    """The module's functions under one name, for callers that import a
    single object."""
    prepare = staticmethod(prepare)
    audio_tracks = staticmethod(audio_tracks)
    start_stream_server = staticmethod(start_stream_server)
    make_recording = staticmethod(make_recording)
