"""DVB subtitle display sets with a small bitmap text."""

# 5x7 glyphs, one string per row, '#' = ink
_FONT = {
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "B": ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "G": [" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"],
    "I": [" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "L": ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    "N": ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "S": [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "Z": ["#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": [" ### ", "#   #", "    #", "  ## ", "    #", "#   #", " ### "],
    "!": ["  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "],
    " ": ["     "] * 7,
}

TEXTS = ["GUTEN ABEND!", "UNTERTITEL 2", "ZAPPORA TEST 3"]
SCALE_X = 4       # pixels per font column
LINES_PER_ROW = 3  # field lines per font row
PAGE_ID = 1


def render(text):
    """Bitmap rows (lists of 2-bit pixel codes, one per field line) of the
    text: 1 = white ink, 2 = black outline/background."""
    rows = []
    for y in range(7):
        line = [2, 2]
        for ch in text:
            glyph = _FONT.get(ch, _FONT[" "])
            for x in range(5):
                line += [1 if glyph[y][x] == "#" else 2] * SCALE_X
            line += [2] * SCALE_X
        line += [2]
        rows += [line] * LINES_PER_ROW
    width = len(rows[0])
    pad = [[2] * width]
    return pad + rows + pad


class _Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, value, bits):
        for i in range(bits - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                self.acc = self.n = 0

    def align(self):
        while self.n:
            self.put(0, 1)


def encode_2bit_line(pixels):
    """One object line as a 2-bit/pixel code string with run lengths."""
    bits = _Bits()
    bits.put(0x10, 8)  # data_type: 2-bit/pixel code string
    i = 0
    while i < len(pixels):
        colour = pixels[i]
        run = 1
        while i + run < len(pixels) and pixels[i + run] == colour:
            run += 1
        i += run
        while run:
            if run >= 29:
                n = min(run, 284)
                bits.put(0, 3); bits.put(3, 3); bits.put(n - 29, 8)
            elif run >= 12:
                n = min(run, 27)
                bits.put(0, 3); bits.put(2, 3); bits.put(n - 12, 4)
            elif run >= 3:
                n = min(run, 10)
                bits.put(1, 3); bits.put(n - 3, 3)
            elif colour:
                n = 1
                bits.put(colour, 2)
                run -= 1
                continue
            elif run == 2:
                n = 2
                bits.put(0, 4); bits.put(1, 2)
                run -= 2
                continue
            else:
                n = 1
                bits.put(1, 4)
                run -= 1
                continue
            bits.put(colour, 2)
            run -= n
    bits.put(0, 6)  # end of string
    bits.align()
    bits.put(0xF0, 8)  # end of object line
    return bytes(bits.out)


def _segment(seg_type, payload):
    n = len(payload)
    return bytes([0x0F, seg_type, PAGE_ID >> 8, PAGE_ID & 0xFF, n >> 8, n & 0xFF]) + payload


def display_set(text, version, timeout=5, y=400):
    """Segments that show one line of text (acquisition point)."""
    bitmap = render(text)
    # the region is wider than the object: some decoders reject an object
    # line that ends exactly at the region's right edge
    width, height = len(bitmap[0]) + 2, len(bitmap) * 2
    x = (720 - width) // 2 & ~1
    v = version & 0xF
    pcs = bytes([timeout, (v << 4) | (2 << 2) | 0x03,
                 1, 0xFF, x >> 8, x & 0xFF, y >> 8, y & 0xFF])
    rcs = bytes([1, (v << 4) | 0x08 | 0x07, width >> 8, width & 0xFF,
                 height >> 8, height & 0xFF, (1 << 5) | (1 << 2) | 0x03,
                 1, 0x00, (0 << 4) | (2 << 2) | 0x03,
                 0x00, 0x01, 0x00, 0x00, 0xF0, 0x00])
    # CLUT 1: 2-bit entries, full range (Y, Cr, Cb, T)
    entries = [(0, 16, 128, 128, 0xFF), (1, 235, 128, 128, 0),
               (2, 16, 128, 128, 0x40), (3, 125, 128, 128, 0)]
    cds = bytes([1, (v << 4) | 0x0F])
    for eid, yy, cr, cb, t in entries:
        cds += bytes([eid, 0x9F, yy, cr, cb, t])
    top = b"".join(encode_2bit_line(row) for row in bitmap)
    ods = bytes([0x00, 0x01, (v << 4) | 0x01,
                 len(top) >> 8, len(top) & 0xFF, 0, 0]) + top
    if (len(top)) % 2:
        ods += b"\x00"
    segs = _segment(0x10, pcs) + _segment(0x11, rcs) + _segment(0x12, cds) + \
        _segment(0x13, ods) + _segment(0x80, b"")
    return segs


def clear_set(version):
    """A page without regions: removes what is shown."""
    pcs = bytes([0, ((version & 0xF) << 4) | (0 << 2) | 0x03])
    return _segment(0x10, pcs) + _segment(0x80, b"")


def pes_payload(segments):
    return b"\x20\x00" + segments + b"\xFF"


def schedule(loop_ticks):
    """(pts offset, PES data field) of the subtitles within one media loop:
    three lines, each shown about 2.4 s and then cleared."""
    out = []
    step = loop_ticks // len(TEXTS)
    for i, text in enumerate(TEXTS):
        start = i * step + 36000
        out.append((start, pes_payload(display_set(text, 2 * i))))
        out.append((start + 216000, pes_payload(clear_set(2 * i + 1))))
    return out
