"""Live multiplex of one programme: an endless, real-time-stamped TS."""

import heapq
import os
import time

from . import dvbsub, media, teletext, ts

VIDEO_PID = 0x200
# Timestamps start here so that PCR (sent DELAY ahead of DTS) stays positive.
BASE_TICKS = 90000 * 10
DELAY_TICKS = 45000           # data leaves the mux 0.5 s before it decodes
PSI_INTERVAL = 7200           # PAT/PMT every 80 ms
TTX_INTERVAL = media.VIDEO_TICKS

KINDS = ("sd", "hd", "radio")
# Served on the stream port beside the receiver's services: picture and
# sound mark the same instants, for checking a player's lip sync.
SYNC_REF = "1:0:1:2FFF:401:1:C00000:0:0:0:"
SYNC_SID = 0x2FFF


def _audio_desc(lang):
    return ts.lang_descriptor(lang)


def layout(kind):
    """Elementary streams of a kind, without media: (pid, type, id, desc,
    track name, language, codec). Teletext and subtitles have no track."""
    if kind == "sd":
        return [
            (VIDEO_PID, ts.ST_MPEG2_VIDEO, 0xE0, b"", "sd_video", None, None),
            (0x100, ts.ST_MPEG1_AUDIO, 0xC0, _audio_desc("eng"), "eng_mp2", "eng", "MPEG"),
            (0x101, ts.ST_MPEG1_AUDIO, 0xC1, _audio_desc("deu"), "deu_mp2", "deu", "MPEG"),
            (0x102, ts.ST_PRIVATE, 0xBD, ts.ac3_descriptor() + _audio_desc("deu"),
             "deu_ac3", "deu", "AC3"),
            (0x103, ts.ST_PRIVATE, 0xBD,
             ts.teletext_descriptor("deu", 1, 1, 0x00), "teletext", "deu", None),
            (0x104, ts.ST_PRIVATE, 0xBD,
             ts.subtitling_descriptor("deu", 0x10, 1, 1), "subtitles", "deu", None),
        ]
    if kind == "hd":
        return [
            (VIDEO_PID, ts.ST_H264, 0xE0, b"", "hd_video", None, None),
            (0x100, ts.ST_MPEG1_AUDIO, 0xC0, _audio_desc("deu"), "deu_mp2", "deu", "MPEG"),
        ]
    if kind == "radio":
        return [
            (0x100, ts.ST_MPEG1_AUDIO, 0xC0, _audio_desc("deu"), "deu_mp2", "deu", "MPEG"),
        ]
    if kind == "sync":
        return [
            (VIDEO_PID, ts.ST_MPEG2_VIDEO, 0xE0, b"", "sync_video", None, None),
            (0x100, ts.ST_MPEG1_AUDIO, 0xC0, _audio_desc("deu"), "sync_mp2", "deu", "MPEG"),
        ]
    raise ValueError("unknown kind %r" % (kind,))


def audio_tracks(kind):
    return [(pid, lang, codec) for pid, _, _, _, _, lang, codec in layout(kind)
            if codec is not None]


def pcr_pid(kind):
    return layout(kind)[0][0]


def psi_sections(kind, sid, pid_shift=0, version=0):
    """PAT and PMT; pid_shift moves every elementary PID (a programme that
    changes its PMT while it runs)."""
    streams = [(stype, pid + pid_shift, desc) for pid, stype, _, desc, _, _, _ in layout(kind)]
    return ts.pat_section(sid), ts.pmt_section(sid, pcr_pid(kind) + pid_shift, streams,
                                                version)


def _loop_events(pid, stream_id, track, kind_tag):
    """Endless (send time, order, pid, ...) events of a looping track."""
    n = 0
    while True:
        base = BASE_TICKS + n * media.LOOP_TICKS
        for dts, pts, data, key in track.units:
            yield (base + dts - DELAY_TICKS, pid, kind_tag,
                   (stream_id, base + pts, base + dts, data, key))
        n += 1


def _periodic(pid, kind_tag, interval, start):
    t = start
    while True:
        yield (t, pid, kind_tag, t)
        t += interval


def _subtitle_events(pid):
    sched = dvbsub.schedule(media.LOOP_TICKS)
    n = 0
    while True:
        base = BASE_TICKS + n * media.LOOP_TICKS
        for off, payload in sched:
            yield (base + off - DELAY_TICKS, pid, "sub", (base + off, payload))
        n += 1


class Multiplexer:
    """Produces the transport stream of one programme as a sequence of
    (send time in 27 MHz units, bytes) chunks."""

    def __init__(self, kind, sid, tracks, wall_start=None, pid_shift=lambda: 0):
        self.kind = kind
        self.sid = sid
        self.pcr_pid = pcr_pid(kind)
        self.pat, self.pmt = psi_sections(kind, sid)
        self.pid_shift = pid_shift      # read live
        self.shift = 0
        self.version = 0
        self.cc = ts.Continuity()
        self.wall_start = time.time() if wall_start is None else wall_start
        self.carousel = None
        self.start_ticks = BASE_TICKS - DELAY_TICKS
        sources = [_periodic(ts.PAT_PID, "psi", PSI_INTERVAL, self.start_ticks)]
        for pid, stype, sid_, desc, name, lang, codec in layout(kind):
            if name == "teletext":
                # page headers name the subset of the language the PMT gives
                self.carousel = teletext.Carousel(language=lang)
                sources.append(_periodic(pid, "ttx", TTX_INTERVAL,
                                         self.start_ticks))
            elif name == "subtitles":
                sources.append(_subtitle_events(pid))
            else:
                sources.append(_loop_events(pid, sid_, tracks[name], "pes"))
        # the order number keeps PSI first and the merge stable
        self.events = heapq.merge(*[
            ((ev[0], i, ev) for ev in src) for i, src in enumerate(sources)])

    def seconds(self, ticks):
        """Stream time in seconds since the start of this multiplex."""
        return (ticks - self.start_ticks) / 90000.0

    def chunks(self):
        for t, _, (send, pid, tag, arg) in self.events:
            yield send * 300, self._render(send, pid, tag, arg)

    def _render(self, send, pid, tag, arg):
        cc = self.cc
        if tag == "psi":
            shift = self.pid_shift()
            if shift != self.shift:
                self.shift = shift
                self.version = (self.version + 1) & 0x1F
                self.pat, self.pmt = psi_sections(self.kind, self.sid, shift, self.version)
        if pid != ts.PAT_PID:
            pid += self.shift
        if tag == "psi":
            return ts.psi_packets(ts.PAT_PID, self.pat, cc) + \
                ts.psi_packets(ts.PMT_PID, self.pmt, cc)
        if tag == "pes":
            stream_id, pts, dts, data, key = arg
            video = stream_id == 0xE0
            pes = ts.pes_packet(stream_id, data, pts, dts if video else None,
                                bounded=not video)
            return ts.packetize(pid, pes, cc,
                                pcr27=send * 300 if pid == self.pcr_pid + self.shift else None,
                                random_access=key and video)
        if tag == "ttx":
            pts = send + DELAY_TICKS
            secs = self.seconds(send)
            lines = self.carousel.next_lines(teletext.UNITS_PER_PES, secs,
                                             self.wall_start + secs)
            pes = ts.pes_packet(0xBD, teletext.pes_payload(lines), pts,
                                header_pad=0x24 - 5)
            return ts.packetize(pid, pes, cc)
        if tag == "sub":
            pts, payload = arg
            return ts.packetize(pid, ts.pes_packet(0xBD, payload, pts), cc)
        raise AssertionError(tag)


def write_recording(path, kind, seconds, sid, tracks, wall_start=None):
    """A finite TS of the given length in stream time."""
    mux = Multiplexer(kind, sid, tracks, wall_start)
    limit = mux.start_ticks * 300 + int(seconds * 27000000)
    with open(path + ".part", "wb") as f:
        for t, data in mux.chunks():
            if t >= limit:
                break
            f.write(data)
    os.replace(path + ".part", path)
