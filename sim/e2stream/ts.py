"""MPEG transport stream building blocks: CRC, PSI tables, PES and TS packets."""

TS_SIZE = 188
SYNC = 0x47
PAT_PID = 0x0000
PMT_PID = 0x1000
NULL_PID = 0x1FFF

# Stream types used in the programme map table.
ST_MPEG2_VIDEO = 0x02
ST_MPEG1_AUDIO = 0x03
ST_PRIVATE = 0x06
ST_H264 = 0x1B


def _crc_table():
    table = []
    for i in range(256):
        c = i << 24
        for _ in range(8):
            c = ((c << 1) ^ 0x04C11DB7) if c & 0x80000000 else (c << 1)
        table.append(c & 0xFFFFFFFF)
    return table


_CRC_TABLE = _crc_table()


def crc32_mpeg(data):
    crc = 0xFFFFFFFF
    for b in data:
        crc = ((crc << 8) & 0xFFFFFFFF) ^ _CRC_TABLE[((crc >> 24) ^ b) & 0xFF]
    return crc


def _section(table_id, ext_id, body, version=0):
    # section_length counts everything after it, CRC included
    length = 5 + len(body) + 4
    head = bytes([table_id, 0xB0 | (length >> 8), length & 0xFF,
                  ext_id >> 8, ext_id & 0xFF,
                  0xC1 | ((version & 0x1F) << 1), 0x00, 0x00])
    sec = head + body
    return sec + crc32_mpeg(sec).to_bytes(4, "big")


def pat_section(program_number, pmt_pid=PMT_PID, tsid=1):
    body = bytes([program_number >> 8, program_number & 0xFF,
                  0xE0 | (pmt_pid >> 8), pmt_pid & 0xFF])
    return _section(0x00, tsid, body)


def descriptor(tag, payload):
    return bytes([tag, len(payload)]) + payload


def lang_descriptor(lang, audio_type=0):
    return descriptor(0x0A, lang.encode("ascii") + bytes([audio_type]))


def ac3_descriptor():
    return descriptor(0x6A, b"\x00")


def teletext_descriptor(lang, ttype, magazine, page):
    # magazine 8 is transmitted as 0
    return descriptor(0x56, lang.encode("ascii") +
                      bytes([(ttype << 3) | (magazine & 7), page & 0xFF]))


def subtitling_descriptor(lang, stype, composition_page, ancillary_page):
    return descriptor(0x59, lang.encode("ascii") + bytes([
        stype, composition_page >> 8, composition_page & 0xFF,
        ancillary_page >> 8, ancillary_page & 0xFF]))


def pmt_section(program_number, pcr_pid, streams, version=0):
    """streams: list of (stream_type, pid, descriptor bytes)."""
    body = bytearray([0xE0 | (pcr_pid >> 8), pcr_pid & 0xFF, 0xF0, 0x00])
    for stype, pid, desc in streams:
        body += bytes([stype, 0xE0 | (pid >> 8), pid & 0xFF,
                       0xF0 | (len(desc) >> 8), len(desc) & 0xFF]) + desc
    return _section(0x02, program_number, bytes(body), version)


def encode_ts(prefix, value):
    """33-bit PTS/DTS field with its 4-bit prefix and marker bits."""
    value &= (1 << 33) - 1
    return bytes([(prefix << 4) | ((value >> 29) & 0x0E) | 1,
                  (value >> 22) & 0xFF, ((value >> 14) & 0xFE) | 1,
                  (value >> 7) & 0xFF, ((value << 1) & 0xFE) | 1])


def decode_ts(b):
    return (((b[0] >> 1) & 7) << 30) | (b[1] << 22) | ((b[2] >> 1) << 15) | \
        (b[3] << 7) | (b[4] >> 1)


def pes_packet(stream_id, payload, pts=None, dts=None, header_pad=0,
               bounded=True, data_alignment=True):
    flags2 = 0
    opt = b""
    if pts is not None and dts is not None and dts != pts:
        flags2 = 0xC0
        opt = encode_ts(3, pts) + encode_ts(1, dts)
    elif pts is not None:
        flags2 = 0x80
        opt = encode_ts(2, pts)
    opt += b"\xFF" * header_pad
    head = bytes([0x80 | (0x04 if data_alignment else 0), flags2, len(opt)]) + opt
    length = len(head) + len(payload)
    if not bounded or length > 0xFFFF:
        length = 0  # allowed for video only
    return b"\x00\x00\x01" + bytes([stream_id, length >> 8, length & 0xFF]) + \
        head + payload


def pcr_field(pcr27):
    base, ext = divmod(pcr27, 300)
    base &= (1 << 33) - 1
    return bytes([(base >> 25) & 0xFF, (base >> 17) & 0xFF, (base >> 9) & 0xFF,
                  (base >> 1) & 0xFF, ((base & 1) << 7) | 0x7E | (ext >> 8),
                  ext & 0xFF])


class Continuity:
    """Per-PID continuity counters of one output stream."""

    def __init__(self):
        self.cc = {}

    def next(self, pid):
        c = self.cc.get(pid, 15)
        c = (c + 1) & 15
        self.cc[pid] = c
        return c


def packetize(pid, data, counters, pcr27=None, random_access=False):
    """Split one PES packet or PSI section (with pointer field added by the
    caller) into TS packets; the first carries payload_unit_start and,
    optionally, a PCR."""
    out = []
    pos = 0
    first = True
    n = len(data)
    while pos < n or first:
        af = b""
        if first and (pcr27 is not None or random_access):
            flags = (0x40 if random_access else 0) | (0x10 if pcr27 is not None else 0)
            af_body = bytes([flags]) + (pcr_field(pcr27) if pcr27 is not None else b"")
            af = af_body
        room = 184 - (len(af) + 1 if af else 0)
        chunk = data[pos:pos + room]
        pos += len(chunk)
        if len(chunk) < room:
            # stuff through the adaptation field
            need = room - len(chunk)
            if af:
                af = af + b"\xFF" * need
            elif need == 1:
                af = None  # adaptation_field_length 0
            else:
                af = b"\x00" + b"\xFF" * (need - 2)
        hdr1 = (0x40 if first else 0) | (pid >> 8)
        if af is None:
            head = bytes([SYNC, hdr1, pid & 0xFF, 0x30 | counters.next(pid), 0])
        elif af:
            head = bytes([SYNC, hdr1, pid & 0xFF, 0x30 | counters.next(pid), len(af)]) + af
        else:
            head = bytes([SYNC, hdr1, pid & 0xFF, 0x10 | counters.next(pid)])
        pkt = head + chunk
        assert len(pkt) == TS_SIZE
        out.append(pkt)
        first = False
    return b"".join(out)


def pcr_only_packet(pid, pcr27, counters):
    """Adaptation-only packet carrying a PCR; the counter does not advance."""
    cc = counters.cc.get(pid, 0)
    af = bytes([0x10]) + pcr_field(pcr27)
    af += b"\xFF" * (183 - len(af))
    return bytes([SYNC, pid >> 8, pid & 0xFF, 0x20 | cc, len(af)]) + af


def psi_packets(pid, section, counters):
    return packetize(pid, b"\x00" + section, counters)

