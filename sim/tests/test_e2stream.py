#!/usr/bin/python3
"""Transport streams of the simulated receiver: TS structure, tables,
timestamps across the loop, teletext and subtitle coding, the HTTP
streaming port with its faults, and playback of a recording by GStreamer."""

import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

SIM_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
if SIM_DIR not in sys.path:
    sys.path.insert(0, SIM_DIR)

import e2stream  # noqa: E402
from e2stream import dvbsub, es, media, mux, teletext, ts  # noqa: E402

CACHE = os.environ.get("E2STREAM_CACHE") or os.path.join(SIM_DIR, ".cache")
SID = 0x6D66
GST = shutil.which("gst-launch-1.0")


def setUpModule():
    e2stream.prepare(CACHE)


# --- independent readers, written from the standards --------------------

def ham(byte):
    """Hamming 8/4 decoding by the parity tests A..D of the teletext
    standard (b1..b8 = bits 0..7); None for an uncorrectable byte."""
    b = [None] + [(byte >> i) & 1 for i in range(8)]
    a = b[1] ^ b[2] ^ b[6] ^ b[8]
    bb = b[2] ^ b[3] ^ b[4] ^ b[8]
    c = b[2] ^ b[4] ^ b[5] ^ b[6]
    d = sum(b[1:]) & 1
    if a and bb and c:
        pass                 # no error, or only b7 (covered by D alone)
    elif d:
        return None          # checks fail but overall parity holds: two errors
    else:
        # one error: the failing checks name the bit
        failing = (1 - a, 1 - bb, 1 - c)
        pos = {(1, 0, 0): 1, (1, 1, 1): 2, (0, 1, 0): 3, (0, 1, 1): 4,
               (0, 0, 1): 5, (1, 0, 1): 6, (1, 1, 0): 8}[failing]
        b[pos] ^= 1
    return b[2] | (b[4] << 1) | (b[6] << 2) | (b[8] << 3)


def parity_ok(byte):
    return bin(byte).count("1") % 2 == 1


def read_ts(data):
    """Yield (pid, pusi, cc, has_payload, adaptation bytes, payload)."""
    assert len(data) % 188 == 0
    for i in range(0, len(data), 188):
        p = data[i:i + 188]
        assert p[0] == 0x47, "lost sync at %d" % i
        pid = ((p[1] & 0x1F) << 8) | p[2]
        afc = (p[3] >> 4) & 3
        pos = 4
        af = b""
        if afc & 2:
            af = p[5:5 + p[4]]
            pos = 5 + p[4]
        yield pid, bool(p[1] & 0x40), p[3] & 15, bool(afc & 1), af, p[pos:]


def pes_units(data):
    """Reassemble PES packets / sections: {pid: [(first packet index, bytes)]}."""
    out = {}
    cur = {}
    for n, (pid, pusi, cc, has_payload, af, payload) in enumerate(read_ts(data)):
        if not has_payload:
            continue
        if pusi:
            if pid in cur:
                out.setdefault(pid, []).append(cur[pid])
            cur[pid] = [n, bytearray(payload)]
        elif pid in cur:
            cur[pid][1] += payload
    for pid, v in cur.items():
        out.setdefault(pid, []).append(v)
    return out


def pcr_of(af):
    if len(af) >= 7 and af[0] & 0x10:
        base = (af[1] << 25) | (af[2] << 17) | (af[3] << 9) | (af[4] << 1) | (af[5] >> 7)
        ext = ((af[5] & 1) << 8) | af[6]
        return base * 300 + ext
    return None


def pes_times(pes):
    assert pes[:3] == b"\x00\x00\x01"
    flags = pes[7] >> 6
    pts = ts.decode_ts(pes[9:14]) if flags & 2 else None
    dts = ts.decode_ts(pes[14:19]) if flags == 3 else pts
    return pts, dts, pes[9 + pes[8]:]


def parse_pmt(section):
    assert section[0] == 0x02
    length = ((section[1] & 0x0F) << 8) | section[2]
    sec = section[:3 + length]
    assert ts.crc32_mpeg(sec) == 0, "PMT CRC"
    pcr = ((sec[8] & 0x1F) << 8) | sec[9]
    info = ((sec[10] & 0x0F) << 8) | sec[11]
    pos = 12 + info
    streams = {}
    while pos < len(sec) - 4:
        stype = sec[pos]
        pid = ((sec[pos + 1] & 0x1F) << 8) | sec[pos + 2]
        esl = ((sec[pos + 3] & 0x0F) << 8) | sec[pos + 4]
        d = sec[pos + 5:pos + 5 + esl]
        descs = {}
        j = 0
        while j < len(d):
            descs[d[j]] = bytes(d[j + 2:j + 2 + d[j + 1]])
            j += 2 + d[j + 1]
        streams[pid] = (stype, descs)
        pos += 5 + esl
    return ((sec[3] << 8) | sec[4]), pcr, streams


class _Recording:
    files = {}

    @classmethod
    def get(cls, kind, seconds=12):
        key = (kind, seconds)
        if key not in cls.files:
            d = tempfile.mkdtemp(prefix="e2stream-test-")
            path = os.path.join(d, "%s.ts" % kind)
            e2stream.make_recording(path, kind, seconds, SID)
            with open(path, "rb") as f:
                cls.files[key] = (path, f.read())
        return cls.files[key]


def tearDownModule():
    for path, _ in _Recording.files.values():
        shutil.rmtree(os.path.dirname(path), ignore_errors=True)


# --- tests ---------------------------------------------------------------

class CodingTables(unittest.TestCase):
    def test_crc32_mpeg_check_value(self):
        self.assertEqual(ts.crc32_mpeg(b"123456789"), 0x0376E6E7)

    def test_odd_parity(self):
        for c in range(0x80):
            p = teletext.odd_parity(c)
            self.assertTrue(parity_ok(p))
            self.assertEqual(p & 0x7F, c)

    def test_timestamp_field_roundtrip_and_markers(self):
        for v in (0, 1, 900000, (1 << 33) - 1, 0x123456789):
            f = ts.encode_ts(2, v)
            self.assertEqual(ts.decode_ts(f), v & ((1 << 33) - 1))
            self.assertEqual(f[0] & 1, 1)
            self.assertEqual(f[2] & 1, 1)
            self.assertEqual(f[4] & 1, 1)


class ElementaryStreams(unittest.TestCase):
    def test_mpeg2_units_are_pictures_and_gops_carry_sequence_header(self):
        with open(os.path.join(CACHE, "sd_video.m2v"), "rb") as f:
            units = es.split_mpeg2_video(f.read())
        self.assertGreaterEqual(len(units), media.VIDEO_FRAMES)
        for intra, unit in units:
            self.assertEqual(unit.count(b"\x00\x00\x01\x00"), 1)
            self.assertNotIn(b"\x00\x00\x01\xB7", unit)
            if intra:
                self.assertTrue(unit.startswith(b"\x00\x00\x01\xB3"))
        self.assertTrue(units[0][0])

    def test_h264_idr_units_carry_parameter_sets(self):
        with open(os.path.join(CACHE, "hd_video.h264"), "rb") as f:
            units = es.split_h264(f.read())
        self.assertGreaterEqual(len(units), media.VIDEO_FRAMES)
        for idr, unit in units:
            self.assertTrue(unit.startswith(b"\x00\x00\x00\x01\x09"))
            if idr:
                self.assertIn(b"\x00\x00\x00\x01\x67", unit)
                self.assertIn(b"\x00\x00\x00\x01\x68", unit)

    def test_audio_frames_fill_the_loop(self):
        t = media.tracks(CACHE)
        for name, ticks in (("eng_mp2", media.MP2_TICKS), ("deu_ac3", media.AC3_TICKS)):
            self.assertEqual(len(t[name].units) * ticks, media.LOOP_TICKS)
        self.assertEqual(len(t["sd_video"].units) * media.VIDEO_TICKS, media.LOOP_TICKS)

    def test_prepare_is_idempotent(self):
        before = os.path.getmtime(os.path.join(CACHE, "sd_video.m2v"))
        e2stream.prepare(CACHE)
        self.assertEqual(os.path.getmtime(os.path.join(CACHE, "sd_video.m2v")), before)


class TransportStructure(unittest.TestCase):
    """A 12 s recording spans the 9.6 s media loop once."""

    def test_sync_and_continuity(self):
        for kind in e2stream.KINDS:
            _, data = _Recording.get(kind)
            last = {}
            for pid, pusi, cc, has_payload, af, payload in read_ts(data):
                if has_payload:
                    if pid in last:
                        self.assertEqual(cc, (last[pid] + 1) & 15,
                                         "%s pid %#x" % (kind, pid))
                    last[pid] = cc

    def test_pat_and_pmt_sd(self):
        _, data = _Recording.get("sd")
        units = pes_units(data)
        pat = bytes(units[0][0][1])
        sec = pat[1 + pat[0]:]
        self.assertEqual(sec[0], 0x00)
        self.assertEqual(ts.crc32_mpeg(sec[:3 + (((sec[1] & 0xF) << 8) | sec[2])]), 0)
        self.assertEqual((sec[8] << 8) | sec[9], SID)
        self.assertEqual(((sec[10] & 0x1F) << 8) | sec[11], e2stream.PMT_PID)
        pmt = bytes(units[e2stream.PMT_PID][0][1])
        program, pcr, streams = parse_pmt(pmt[1 + pmt[0]:])
        self.assertEqual(program, SID)
        self.assertEqual(pcr, 0x200)
        self.assertEqual(sorted(streams), [0x100, 0x101, 0x102, 0x103, 0x104, 0x200])
        self.assertEqual(streams[0x200][0], 0x02)
        self.assertEqual(streams[0x100], (0x03, {0x0A: b"eng\x00"}))
        self.assertEqual(streams[0x101], (0x03, {0x0A: b"deu\x00"}))
        self.assertEqual(streams[0x102][0], 0x06)
        self.assertIn(0x6A, streams[0x102][1])
        stype, d = streams[0x103]
        self.assertEqual(stype, 0x06)
        ttx = d[0x56]
        self.assertEqual(ttx[:3], b"deu")
        self.assertEqual(ttx[3] >> 3, 1)          # initial page
        self.assertEqual((ttx[3] & 7) * 256 + ttx[4], 0x100)
        sub = streams[0x104][1][0x59]
        self.assertEqual(sub, b"deu\x10\x00\x01\x00\x01")

    def test_pmt_hd_and_radio(self):
        for kind, pcr_pid, expect in (("hd", 0x200, {0x200: 0x1B, 0x100: 0x03}),
                                      ("radio", 0x100, {0x100: 0x03})):
            _, data = _Recording.get(kind)
            pmt = bytes(pes_units(data)[e2stream.PMT_PID][0][1])
            _, pcr, streams = parse_pmt(pmt[1 + pmt[0]:])
            self.assertEqual(pcr, pcr_pid)
            self.assertEqual({p: s[0] for p, s in streams.items()}, expect)
            self.assertEqual(streams[0x100][1][0x0A][:3], b"deu")

    def test_tables_and_pcr_are_frequent_and_monotonic(self):
        for kind in e2stream.KINDS:
            _, data = _Recording.get(kind)
            pcr_pid = mux.pcr_pid(kind)
            clock = None
            last_pcr = None
            last_pat = None
            for pid, pusi, cc, hp, af, payload in read_ts(data):
                pcr = pcr_of(af)
                if pcr is not None:
                    self.assertEqual(pid, pcr_pid)
                    if last_pcr is not None:
                        self.assertGreater(pcr, last_pcr)
                        self.assertLessEqual(pcr - last_pcr, 27000000 // 10)
                    last_pcr = clock = pcr
                if pid == 0 and pusi and clock is not None:
                    if last_pat is not None:
                        self.assertLessEqual(clock - last_pat, 27000000 // 10)
                    last_pat = clock

    def test_timestamps_continue_across_loop(self):
        for kind in e2stream.KINDS:
            _, data = _Recording.get(kind)
            for pid, pes_list in pes_units(data).items():
                if pid in (0, e2stream.PMT_PID, 0x103, 0x104):
                    continue
                times = [pes_times(bytes(p))[:2] for _, p in pes_list[:-1]]
                steps = {b[1] - a[1] for a, b in zip(times, times[1:])}
                self.assertEqual(len(steps), 1, "%s pid %#x steps %s" % (kind, pid, steps))
                self.assertGreater(steps.pop(), 0)
                span = times[-1][1] - times[0][1]
                self.assertGreater(span, media.LOOP_TICKS)
                for pts, dts in times:
                    self.assertGreaterEqual(pts, dts)

    def test_data_leaves_before_it_is_due(self):
        _, data = _Recording.get("sd")
        clock = None
        for n, (pid, pusi, cc, hp, af, payload) in enumerate(read_ts(data)):
            pcr = pcr_of(af)
            if pcr is not None:
                clock = pcr
            if pusi and pid in (0x100, 0x200) and clock is not None:
                dts = pes_times(payload)[1]
                self.assertGreater(dts * 300, clock)


class TeletextContent(unittest.TestCase):
    # The pages themselves are read back by libzvbi (ForeignDecoders and the
    # client's teletext reference test); these are the encoder's own choices.
    def test_national_option_follows_pmt_language(self):
        def option(language):
            line = teletext.header_line(0x100, 0, "", language=language)
            c = ham(line[9])
            return (c >> 1) & 1, (c >> 2) & 1, (c >> 3) & 1      # C12, C13, C14
        self.assertEqual(option("eng"), (0, 0, 0))
        self.assertEqual(option("deu"), (0, 0, 1))
        self.assertEqual(option("fra"), (1, 0, 0))
        self.assertEqual(option("ita"), (0, 1, 1))
        ttx = [e for e in mux.layout("sd") if e[4] == "teletext"][0]
        self.assertEqual(ttx[5], "deu")
        self.assertIn(b"deu", ttx[3])   # and the sd headers carry 0x9 (see above)

    def test_pages_show_hold_mosaics(self):
        rows = teletext.PAGES[0x402][0]
        held = [r for r in rows if r.startswith(chr(teletext.HOLD))]
        self.assertEqual(len(held), 1)
        self.assertIn(chr(teletext.HOLD), teletext.PAGES[0x100][0][2])

    def test_header_clock_follows_wall_time(self):
        wall = time.mktime((2026, 3, 1, 13, 14, 15, 0, 0, -1))
        car = teletext.Carousel()
        lines = car.next_lines(1, 0.0, wall)
        text = bytes(c & 0x7F for c in lines[0][10:]).decode("latin-1")
        self.assertEqual(text[24:], "13:14:15")
        self.assertIn("01.03.26", text)


class Subtitles(unittest.TestCase):
    def decode_2bit(self, data):
        """Decode one 2-bit/pixel code string and its end-of-line code."""
        bits = "".join("{:08b}".format(b) for b in data)
        self.assertEqual(bits[:8], "00010000")
        pos = 8
        out = []

        def take(n):
            nonlocal pos
            v = int(bits[pos:pos + n], 2)
            pos += n
            return v
        while True:
            c = take(2)
            if c:
                out.append(c)
                continue
            if take(1):
                n = take(3) + 3
                out += [take(2)] * n
                continue
            if take(1):
                out.append(0)
                continue
            s3 = take(2)
            if s3 == 0:
                break
            if s3 == 1:
                out += [0, 0]
            elif s3 == 2:
                n = take(4) + 12
                out += [take(2)] * n
            else:
                n = take(8) + 29
                out += [take(2)] * n
        pos = (pos + 7) // 8 * 8
        self.assertEqual(bits[pos:pos + 8], "11110000")
        return out, pos // 8 + 1

    def test_run_length_coding_roundtrip(self):
        for line in ([1] * 300 + [2, 0, 0, 3] + [0] * 28 + [1] * 11 + [2, 2],
                     [0], [0, 0], [3] * 12, [2] * 29):
            out, used = self.decode_2bit(dvbsub.encode_2bit_line(line))
            self.assertEqual(out, line)

    def test_display_set_segments(self):
        _, data = _Recording.get("sd")
        pes_list = pes_units(data)[0x104]
        pts, _, payload = pes_times(bytes(pes_list[0][1]))
        self.assertEqual(payload[:2], b"\x20\x00")
        pos = 2
        segs = []
        while payload[pos] == 0x0F:
            stype = payload[pos + 1]
            n = (payload[pos + 4] << 8) | payload[pos + 5]
            segs.append((stype, payload[pos + 6:pos + 6 + n]))
            self.assertEqual((payload[pos + 2] << 8) | payload[pos + 3], 1)
            pos += 6 + n
        self.assertEqual(payload[pos], 0xFF)
        self.assertEqual([s for s, _ in segs], [0x10, 0x11, 0x12, 0x13, 0x80])
        rcs = segs[1][1]
        width, height = (rcs[2] << 8) | rcs[3], (rcs[4] << 8) | rcs[5]
        ods = segs[3][1]
        top_len = (ods[3] << 8) | ods[4]
        block = ods[7:7 + top_len]
        rows = []
        while block:
            row, used = self.decode_2bit(block)
            rows.append(row)
            block = block[used:]
        self.assertEqual(rows, dvbsub.render(dvbsub.TEXTS[0]))
        self.assertEqual(len(rows) * 2, height)
        self.assertTrue(all(len(r) < width for r in rows))
        self.assertIn(1, rows[3])   # some ink


class Playback(unittest.TestCase):
    @unittest.skipUnless(GST, "gst-launch-1.0 missing")
    def test_recordings_decode_with_gstreamer(self):
        chains = {
            "sd": "d.video_0_0200 ! queue ! mpeg2dec ! fakesink "
                  "d.audio_0_0100 ! queue ! mpegaudioparse ! mpg123audiodec ! fakesink "
                  "d.audio_0_0102 ! queue ! a52dec ! fakesink "
                  "d.private_0_0103 ! queue ! fakesink "
                  "d.subpicture_0_0104 ! queue ! dvbsubenc ! fakesink",
            "hd": "d.video_0_0200 ! queue ! h264parse ! avdec_h264 ! fakesink "
                  "d.audio_0_0100 ! queue ! mpegaudioparse ! mpg123audiodec ! fakesink",
            "radio": "d.audio_0_0100 ! queue ! mpegaudioparse ! mpg123audiodec ! fakesink",
        }
        chains["sd"] = chains["sd"].replace("dvbsubenc ! ", "")
        for kind, chain in chains.items():
            path, _ = _Recording.get(kind)
            cmd = "%s -q filesrc location=%s ! tsdemux name=d %s" % (GST, path, chain.replace(
                "fakesink", "fakesink sync=false"))
            r = subprocess.run(cmd, shell=True, capture_output=True, timeout=120)
            self.assertEqual(r.returncode, 0, "%s: %s" % (kind, r.stderr.decode()[-500:]))

    @unittest.skipUnless(shutil.which("gst-discoverer-1.0"), "gst-discoverer-1.0 missing")
    def test_recording_is_seekable_with_length(self):
        path, _ = _Recording.get("sd")
        r = subprocess.run(["gst-discoverer-1.0", path], capture_output=True, timeout=120)
        out = r.stdout.decode()
        self.assertIn("Seekable: yes", out)
        self.assertRegex(out, r"Duration: 0:00:1[12]\.")


def _ffmpeg_has_teletext():
    if not shutil.which("ffmpeg"):
        return False
    r = subprocess.run(["ffmpeg", "-hide_banner", "-decoders"], capture_output=True)
    return b"libzvbi_teletextdec" in r.stdout


class ForeignDecoders(unittest.TestCase):
    """Other decoders read our teletext and tables the same way."""

    @unittest.skipUnless(_ffmpeg_has_teletext(), "ffmpeg with libzvbi missing")
    def test_libzvbi_reads_pages_with_german_characters(self):
        path, _ = _Recording.get("sd")
        for page, expect in (("100", "Übersicht"), ("700", "Ä Ö Ü ä ö ü ß § °"),
                             ("150", "Unterseite 2 von 4")):
            r = subprocess.run(
                ["ffmpeg", "-hide_banner", "-loglevel", "error", "-txt_format", "text",
                 "-txt_page", page, "-i", path, "-map", "0:4", "-c:s", "srt",
                 "-f", "srt", "-"], capture_output=True, timeout=120)
            self.assertIn(expect, r.stdout.decode("utf-8"), page)

    @unittest.skipUnless(shutil.which("ffprobe"), "ffprobe missing")
    def test_ffprobe_lists_streams_and_languages(self):
        path, _ = _Recording.get("sd")
        r = subprocess.run(["ffprobe", "-v", "error", "-of", "json", "-show_streams", path],
                           capture_output=True, timeout=60)
        streams = {s["id"]: s for s in json.loads(r.stdout)["streams"]}
        for pid, codec, lang in (("0x200", "mpeg2video", None), ("0x100", "mp2", "eng"),
                                 ("0x101", "mp2", "deu"), ("0x102", "ac3", "deu"),
                                 ("0x103", "dvb_teletext", "deu"),
                                 ("0x104", "dvb_subtitle", "deu")):
            self.assertEqual(streams[pid]["codec_name"], codec)
            if lang:
                self.assertEqual(streams[pid]["tags"]["language"], lang)
        self.assertEqual((streams["0x200"]["width"], streams["0x200"]["height"]), (720, 576))


class _Faults:
    stop_after = None
    stall = False
    refuse = False


_next_host = [20]


class StreamServer(unittest.TestCase):
    def setUp(self):
        self.faults = _Faults()
        self.logs = []
        _next_host[0] += 1
        self.host = "127.0.0.%d" % (_next_host[0] % 200 + 20)
        refs = {"1:0:1:6D66:437:1:C00000:0:0:0:": ("sd", 0x6D66),
                "1:0:2:6F3A:431:1:C00000:0:0:0:": ("radio", 0x6F3A)}
        self.server = e2stream.start_stream_server(
            self.host, 0, refs.get, self.logs.append, self.faults)
        self.port = self.server.server_address[1]
        self.addCleanup(self.server.shutdown)

    def open(self, ref="1%3A0%3A1%3A6D66%3A437%3A1%3AC00000%3A0%3A0%3A0%3A"):
        s = socket.create_connection((self.host, self.port), timeout=10)
        s.sendall(("GET /%s HTTP/1.0\r\n\r\n" % ref).encode())
        return s

    def read_head(self, s):
        buf = b""
        while b"\r\n\r\n" not in buf:
            chunk = s.recv(4096)
            if not chunk:
                break
            buf += chunk
        head, _, rest = buf.partition(b"\r\n\r\n")
        return head.decode("latin-1"), rest

    def read_bytes(self, s, rest, n):
        data = bytearray(rest)
        while len(data) < n:
            chunk = s.recv(65536)
            if not chunk:
                break
            data += chunk
        return bytes(data)

    def wait_logs(self, count):
        for _ in range(100):
            if len(self.logs) >= count:
                return
            time.sleep(0.05)

    def test_live_stream_headers_content_and_log(self):
        s = self.open()
        head, rest = self.read_head(s)
        self.assertTrue(head.startswith("HTTP/1.0 200"))
        self.assertIn("Content-Type: video/mp2t", head)
        self.assertNotIn("Content-Length", head)
        data = self.read_bytes(s, rest, 188 * 2000)
        s.close()
        data = data[:len(data) // 188 * 188]
        pids = {pid for pid, *_ in read_ts(data)}
        self.assertTrue({0, 0x1000, 0x100, 0x101, 0x102, 0x103, 0x200} <= pids)
        self.wait_logs(1)
        rec = self.logs[0]
        self.assertEqual((rec["kind"], rec["method"], rec["status"]), ("stream", "GET", 200))
        self.assertEqual(rec["path"], "/1%3A0%3A1%3A6D66%3A437%3A1%3AC00000%3A0%3A0%3A0%3A")
        self.assertGreaterEqual(rec["bytes"], len(data))

    def test_unknown_service_is_404(self):
        s = self.open("1%3A0%3A1%3A1%3A1%3A1%3A0%3A0%3A0%3A0%3A")
        head, _ = self.read_head(s)
        s.close()
        self.assertTrue(head.startswith("HTTP/1.0 404"))
        self.wait_logs(1)
        self.assertEqual(self.logs[0]["status"], 404)

    def test_refuse_closes_without_answer(self):
        self.faults.refuse = True
        s = self.open()
        self.assertEqual(s.recv(100), b"")
        s.close()

    def test_stop_after_ends_the_stream(self):
        self.faults.stop_after = 0.5
        s = self.open("1%3A0%3A2%3A6F3A%3A431%3A1%3AC00000%3A0%3A0%3A0%3A")
        head, rest = self.read_head(s)
        data = self.read_bytes(s, rest, 1 << 30)   # returns at end of stream
        s.close()
        self.assertTrue(head.startswith("HTTP/1.0 200"))
        self.assertGreater(len(data), 0)
        self.wait_logs(1)
        self.assertEqual(self.logs[0]["bytes"], len(data))

    def test_stall_keeps_connection_open_and_resumes(self):
        s = self.open("1%3A0%3A2%3A6F3A%3A431%3A1%3AC00000%3A0%3A0%3A0%3A")
        head, rest = self.read_head(s)
        self.read_bytes(s, rest, 188 * 50)
        self.faults.stall = True
        # drain what was sent before the stall took effect
        s.settimeout(0.5)
        try:
            while s.recv(65536):
                pass
            self.fail("connection closed during stall")
        except socket.timeout:
            pass
        s.settimeout(10)
        self.faults.stall = False
        self.assertTrue(s.recv(65536))
        s.close()

    def test_shutdown_ends_running_streams(self):
        s = self.open()
        head, rest = self.read_head(s)
        self.read_bytes(s, rest, 188 * 100)
        self.server.shutdown()
        s.settimeout(10)
        data = b"x"
        while data:
            data = s.recv(65536)
        s.close()


class Interface(unittest.TestCase):
    def test_audio_tracks(self):
        self.assertEqual(e2stream.audio_tracks("sd"),
                         [(0x100, "eng", "MPEG"), (0x101, "deu", "MPEG"), (0x102, "deu", "AC3")])
        self.assertEqual(e2stream.audio_tracks("hd"), [(0x100, "deu", "MPEG")])
        self.assertEqual(e2stream.audio_tracks("radio"), [(0x100, "deu", "MPEG")])
        with self.assertRaises(ValueError):
            e2stream.audio_tracks("tv")


if __name__ == "__main__":
    unittest.main()
