"""Splitting encoded elementary streams into access units."""


def _start_codes(data, prefix=b"\x00\x00\x01"):
    i = data.find(prefix)
    while i >= 0:
        yield i
        i = data.find(prefix, i + 3)


def split_mpeg2_video(data):
    """Return a list of (is_intra, bytes) per picture in coded order.

    Every GOP is made self-contained (sequence header repeated in front of
    it) so a decoder can join at any GOP; the sequence end code is dropped
    because a looping stream never ends."""
    seq_header = None
    units = []
    cur = None
    has_picture = False
    intra = False
    positions = list(_start_codes(data))
    for n, pos in enumerate(positions):
        end = positions[n + 1] if n + 1 < len(positions) else len(data)
        code = data[pos + 3]
        if code == 0xB7:
            continue
        starts_unit = code in (0xB3, 0xB8) or (code == 0x00 and has_picture)
        if starts_unit and (cur is None or has_picture):
            if cur is not None:
                units.append((intra, bytes(cur)))
            cur = bytearray()
            has_picture = False
        if cur is None:
            cur = bytearray()
        if code == 0x00:
            has_picture = True
            intra = ((data[pos + 5] >> 3) & 7) == 1
        cur += data[pos:end]
    if cur is not None and has_picture:
        units.append((intra, bytes(cur)))
    # collect the first sequence header with its extensions
    first = units[0][1] if units else b""
    gop = first.find(b"\x00\x00\x01\xB8")
    if first.startswith(b"\x00\x00\x01\xB3") and gop > 0:
        seq_header = first[:gop]
    out = []
    for intra, unit in units:
        if seq_header and unit.startswith(b"\x00\x00\x01\xB8"):
            unit = seq_header + unit
        out.append((intra, unit))
    return out


def split_h264(data):
    """Split an Annex B byte stream at access unit delimiters; returns
    (is_idr, bytes) per access unit, with SPS/PPS in front of every IDR."""
    nals = []
    positions = list(_start_codes(data))
    for n, pos in enumerate(positions):
        end = positions[n + 1] if n + 1 < len(positions) else len(data)
        if n + 1 < len(positions) and data[end - 1] == 0 and end - 1 > pos + 3:
            end -= 1
        nals.append((data[pos + 3] & 0x1F, b"\x00\x00\x00\x01" + data[pos + 3:end]))
    aus = []
    cur = []
    for t, nal in nals:
        if t == 9 and cur:
            aus.append(cur)
            cur = []
        cur.append((t, nal))
    if cur:
        aus.append(cur)
    sps = pps = None
    out = []
    for au in aus:
        types = [t for t, _ in au]
        for t, nal in au:
            if t == 7 and sps is None:
                sps = nal
            if t == 8 and pps is None:
                pps = nal
        idr = 5 in types
        if idr and 7 not in types and sps and pps:
            # keep the delimiter first
            head = [n for t, n in au if t == 9]
            rest = [n for t, n in au if t != 9]
            body = b"".join(head) + sps + pps + b"".join(rest)
        else:
            body = b"".join(n for _, n in au)
        out.append((idr, body))
    return out


_MP2_BITRATES = [0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384]
_MP2_RATES = [44100, 48000, 32000]


def split_mpeg_audio(data):
    """Split MPEG-1 layer II audio into frames."""
    frames = []
    pos = 0
    while pos + 4 <= len(data):
        h = data[pos:pos + 4]
        if h[0] != 0xFF or (h[1] & 0xFE) != 0xFC:
            nxt = data.find(b"\xFF", pos + 1)
            if nxt < 0:
                break
            pos = nxt
            continue
        br = _MP2_BITRATES[h[2] >> 4] if (h[2] >> 4) < 15 else 0
        sr = _MP2_RATES[(h[2] >> 2) & 3] if ((h[2] >> 2) & 3) < 3 else 0
        if not br or not sr:
            pos += 1
            continue
        size = 144000 * br // sr + ((h[2] >> 1) & 1)
        if pos + size > len(data):
            break
        frames.append(data[pos:pos + size])
        pos += size
    return frames


# AC-3 frame sizes in 16-bit words for 48 kHz, by frmsizecod >> 1
_AC3_48K_WORDS = [64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448,
                  512, 640, 768, 896, 1024, 1152, 1280]


def split_ac3(data):
    frames = []
    pos = 0
    while pos + 6 <= len(data):
        if data[pos] != 0x0B or data[pos + 1] != 0x77:
            nxt = data.find(b"\x0B\x77", pos + 1)
            if nxt < 0:
                break
            pos = nxt
            continue
        fscod = data[pos + 4] >> 6
        frmsizecod = data[pos + 4] & 0x3F
        if fscod != 0 or (frmsizecod >> 1) >= len(_AC3_48K_WORDS):
            pos += 2
            continue
        size = _AC3_48K_WORDS[frmsizecod >> 1] * 2
        if pos + size > len(data):
            break
        frames.append(data[pos:pos + size])
        pos += size
    return frames
