"""EBU teletext in DVB: page content, line coding and PES data units."""

import time

# Hamming 8/4 codewords in transmission order (bit 0 is sent first).
def _hamming84(d):
    d1, d2, d3, d4 = d & 1, (d >> 1) & 1, (d >> 2) & 1, (d >> 3) & 1
    p1 = 1 ^ d1 ^ d3 ^ d4
    p2 = 1 ^ d1 ^ d2 ^ d4
    p3 = 1 ^ d1 ^ d2 ^ d3
    p4 = 1 ^ p1 ^ d1 ^ p2 ^ d2 ^ p3 ^ d3 ^ d4
    bits = [p1, d1, p2, d2, p3, d3, p4, d4]
    return sum(b << i for i, b in enumerate(bits))


HAMMING84 = [_hamming84(d) for d in range(16)]
REVERSE = [int("{:08b}".format(i)[::-1], 2) for i in range(256)]


def odd_parity(c):
    c &= 0x7F
    return c | (0x80 if bin(c).count("1") % 2 == 0 else 0)


# National option selection bits C12..C14 (C12 is bit 0) of the subsets a
# page header can name, by the ISO 639-2 language of the service.
NATIONAL_OPTION_BITS = {"eng": 0, "ger": 4, "deu": 4, "swe": 2, "fin": 2, "hun": 2,
                        "ita": 6, "fre": 1, "fra": 1, "por": 5, "spa": 5,
                        "cze": 3, "ces": 3, "slo": 3, "slk": 3}

# German national option subset: the code points the characters replace.
NATIONAL_DE = {"#": 0x23, "$": 0x24, "§": 0x40, "Ä": 0x5B, "Ö": 0x5C,
               "Ü": 0x5D, "^": 0x5E, "_": 0x5F, "°": 0x60, "ä": 0x7B,
               "ö": 0x7C, "ü": 0x7D, "ß": 0x7E}

# Spacing attributes (level 1)
RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(1, 8)
FLASH, STEADY = 0x08, 0x09
NORMAL_HEIGHT, DOUBLE_HEIGHT = 0x0C, 0x0D
MOS_RED, MOS_GREEN, MOS_YELLOW, MOS_BLUE, MOS_MAGENTA, MOS_CYAN, MOS_WHITE = range(0x11, 0x18)
CONCEAL = 0x18
SEPARATED = 0x1A
BLACK_BG, NEW_BG = 0x1C, 0x1D
HOLD, RELEASE = 0x1E, 0x1F


def encode_text(text):
    """Map a row written as Python text to 7-bit teletext codes; characters
    below 0x20 are spacing attributes, umlauts use the German subset."""
    out = []
    for ch in text:
        if ch in NATIONAL_DE:
            out.append(NATIONAL_DE[ch])
        elif ord(ch) < 0x80:
            out.append(ord(ch))
        else:
            out.append(0x3F)
    out = out[:40]
    return out + [0x20] * (40 - len(out))


def sextant(cells):
    """cells: 6 booleans, rows top to bottom, left then right -> G1 code."""
    bits = [0x01, 0x02, 0x04, 0x08, 0x10, 0x40]
    return 0x20 | sum(b for b, on in zip(bits, cells) if on)


def mosaic_row(pixel_rows, colour):
    """Turn three rows of pixels ('#' set) two columns per cell into one
    teletext row of G1 mosaics preceded by a mosaic colour attribute."""
    width = max(len(r) for r in pixel_rows)
    rows = [r.ljust(width + width % 2) for r in pixel_rows]
    cells = [chr(colour)]
    for x in range(0, len(rows[0]), 2):
        c = []
        for y in range(3):
            c += [rows[y][x] == "#", rows[y][x + 1] == "#"]
        cells.append(chr(sextant(c)))
    return "".join(cells)


def _art(rows, colour):
    out = []
    for i in range(0, len(rows), 3):
        chunk = rows[i:i + 3] + [""] * (3 - len(rows[i:i + 3]))
        out.append(mosaic_row(chunk, colour))
    return out


def _title(text, colour=YELLOW):
    return chr(DOUBLE_HEIGHT) + chr(colour) + text


def _links(*pairs):
    return [chr(CYAN) + "{:<30}".format(label) + chr(WHITE) + str(page)
            for label, page in pairs]


_SUN = ["      ####      ", "    ########    ", "   ##########   ",
        "  ############  ", "  ############  ", "   ##########   ",
        "    ########    ", "      ####      ", "                "]
_HOUSE = ["       ##       ", "     ######     ", "   ##########   ",
          " ############## ", "  ##        ##  ", "  ##  ####  ##  ",
          "  ##  ####  ##  ", "  ############  ", "                "]


def _colour_bar(hold):
    """Blocks in six colours; with hold mosaics the colour codes between
    them repeat the last block instead of leaving a gap."""
    row = chr(HOLD) if hold else " "
    for colour in (MOS_RED, MOS_YELLOW, MOS_GREEN, MOS_CYAN, MOS_BLUE, MOS_MAGENTA):
        row += chr(colour) + "\x7f" * 5
    return row + chr(RELEASE)


# Row under the index title: mosaic stripes in four colours, held across
# the colour changes, and a separated-mosaic tail.
_BANNER = (chr(HOLD) + chr(MOS_RED) + "\x2c" * 8 + chr(MOS_YELLOW) + "\x2c" * 8 +
           chr(MOS_GREEN) + "\x2c" * 8 + chr(RELEASE) + chr(MOS_CYAN) +
           chr(SEPARATED) + "\x7f" * 9)


def build_pages():
    """Return {page: {subpage: [23 rows]}} (rows 1..23 as text)."""
    pages = {}

    def put(num, rows, sub=0):
        rows = list(rows)[:23]
        pages.setdefault(num, {})[sub] = rows + [""] * (23 - len(rows))

    put(0x100, [
        _title("ZAPPORA TEXT  Übersicht"), "",
        _BANNER,
        chr(GREEN) + "Willkommen beim Simulator-Videotext",
        *_links(("Nachrichten", 101), ("Schlagzeilen", 102),
                ("Sport", 200), ("Wetter", 300), ("Grafik", 400),
                ("Rätsel", 500), ("Programm heute", 600),
                ("Sonderzeichen", 700), ("Service", 800),
                ("Unterseiten", 150), ("Letzte Seite", 899)),
        "",
        chr(WHITE) + "Alle Meldungen: siehe Seite 101",
        chr(NEW_BG) + chr(BLUE) + chr(NEW_BG) + chr(YELLOW) +
        " Blau hinterlegte Zeile ",
    ])
    put(0x101, [
        _title("Nachrichten", WHITE), "",
        chr(YELLOW) + "Wetterdienst warnt vor Glätte" + "  102",
        chr(YELLOW) + "Großer Andrang im Stadion" + "      200",
        chr(YELLOW) + "Übersicht der Sendungen" + "        600",
        "",
        chr(WHITE) + "Das Wetter: siehe Seite 300",
        chr(WHITE) + "Zurück zur Übersicht: Seite 100",
    ])
    for n, text in ((0x102, "Schlagzeilen"), (0x103, "Politik"),
                    (0x104, "Wirtschaft"), (0x110, "Börse"),
                    (0x111, "Kurse"), (0x120, "Kultur")):
        put(n, [_title(text, WHITE), "",
                chr(WHITE) + "Meldung auf Seite %X" % n,
                chr(GREEN) + "Mehr dazu: siehe Seite 101",
                "", chr(CYAN) + "Übersicht 100"])
    put(0x123, [_title("Tipps", WHITE), "",
                chr(WHITE) + "Seitennummer eintippen: 1 2 3",
                chr(WHITE) + "Unterseiten: siehe Seite 150",
                "", chr(CYAN) + "Übersicht 100"])
    for sub in range(1, 5):
        put(0x150, [_title("Unterseiten", GREEN), "",
                    chr(WHITE) + "Dies ist Unterseite %d von 4" % sub,
                    chr(YELLOW) + "Die Unterseiten wechseln alle 4 s",
                    "", chr(CYAN) + "Übersicht 100"], sub)
    put(0x200, [_title("Sport", GREEN), "",
                *_links(("Fußball", 201), ("Tennis", 202), ("Ergebnisse", 210)),
                "", chr(WHITE) + "Zurück: siehe Seite 100"])
    put(0x201, [_title("Fußball", GREEN), "",
                chr(WHITE) + "FC Musterstadt  -  SV Beispiel  2:1",
                chr(WHITE) + "Tabelle: siehe Seite 210"])
    put(0x202, [_title("Tennis", GREEN), "", chr(WHITE) + "Finale: 6:4 7:5"])
    put(0x210, [_title("Ergebnisse", GREEN), "",
                chr(WHITE) + "1. FC Musterstadt        42",
                chr(WHITE) + "2. SV Beispiel           39",
                chr(WHITE) + "3. TSV Übungsdorf        37"])
    put(0x300, [_title("Wetter", CYAN), "",
                *_art(_SUN, MOS_YELLOW),
                chr(WHITE) + "Heute sonnig, 21°C. Siehe auch 301"])
    put(0x301, [_title("Wetter morgen", CYAN), "",
                chr(WHITE) + "Wolkig, Höchstwerte 17°C"])
    put(0x302, [_title("Reisewetter", CYAN), "",
                chr(WHITE) + "Nordsee 18°C, Alpen 9°C"])
    put(0x400, [_title("Grafik", MAGENTA), "",
                *_art(_HOUSE, MOS_RED),
                chr(MOS_GREEN) + "\x7f" * 36,
                chr(SEPARATED) + chr(MOS_BLUE) + "\x7f" * 36,
                chr(WHITE) + "Mosaik-Grafik (G1), getrennt: 401"])
    put(0x401, [_title("Getrennte Mosaike", MAGENTA), "",
                chr(SEPARATED) + chr(MOS_CYAN) + "\x7f\x35\x6a" * 12])
    put(0x402, [_title("Gehaltene Mosaike", MAGENTA), "",
                chr(WHITE) + "Ohne Halten: Lücken bei Farbwechseln",
                _colour_bar(False),
                chr(WHITE) + "Mit Halten: durchgehender Balken",
                _colour_bar(True),
                chr(WHITE) + "Zurück zur Grafik: Seite 400"])
    put(0x500, [_title("Rätsel", YELLOW), "",
                chr(WHITE) + "Wie heißt die Hauptstadt von Bayern?",
                "",
                chr(GREEN) + "Antwort:" + chr(CONCEAL) + "München",
                "",
                chr(WHITE) + "Mit der Taste Aufdecken sichtbar",
                chr(FLASH) + chr(RED) + "Blinkender Hinweis" + chr(STEADY)])
    put(0x501, [_title("Noch ein Rätsel", YELLOW), "",
                chr(GREEN) + "Lösung:" + chr(CONCEAL) + "42"])
    put(0x555, [_title("Seite 555", RED), "", chr(WHITE) + "Schnapszahl-Seite"])
    put(0x600, [_title("Programm heute", BLUE), "",
                chr(WHITE) + "20:00 Nachrichten",
                chr(WHITE) + "20:15 Spielfilm: Die Übung",
                chr(WHITE) + "22:00 Sport (siehe Seite 200)"])
    put(0x601, [_title("Programm morgen", BLUE), "",
                chr(WHITE) + "20:15 Dokumentation"])
    put(0x700, [_title("Sonderzeichen", WHITE), "",
                chr(WHITE) + "Ä Ö Ü ä ö ü ß § °",
                chr(WHITE) + "Größe, Maße, Übermut, Äpfel, Öfen",
                chr(WHITE) + "# $ ^ _"])
    put(0x701, [_title("Zeichensatz", WHITE), "",
                chr(WHITE) + "".join(chr(c) for c in range(0x20, 0x40)),
                chr(WHITE) + "".join(chr(c) for c in range(0x40, 0x60)),
                chr(WHITE) + "".join(chr(c) for c in range(0x60, 0x7F))])
    put(0x777, [_title("Seite 777", GREEN), "", chr(WHITE) + "Glückszahl"])
    put(0x800, [_title("Service", CYAN), "",
                chr(WHITE) + "Hilfe: siehe Seite 801"])
    put(0x801, [_title("Hilfe", CYAN), "", chr(WHITE) + "Fragen? Seite 100"])
    put(0x850, [_title("Impressum", CYAN), "", chr(WHITE) + "Zappora E2 Simulator"])
    put(0x899, [_title("Letzte Seite", RED), "",
                chr(WHITE) + "Ende des Angebots. Weiter: Seite 100"])
    return pages


PAGES = build_pages()
ROTATING_PAGE = 0x150
SUBPAGE_PERIOD = 4.0  # seconds per rotating sub-page

_WEEKDAYS = ["Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"]


def header_text(wall):
    """Columns 8..39 of the header: name, date and the clock in 32..39."""
    tm = time.localtime(wall)
    left = "ZAPPORA {} {:02d}.{:02d}.{:02d}".format(
        _WEEKDAYS[tm.tm_wday], tm.tm_mday, tm.tm_mon, tm.tm_year % 100)
    return left.ljust(24)[:24] + time.strftime("%H:%M:%S", tm)


def _mrag(magazine, packet):
    m = magazine & 7
    return [HAMMING84[m | ((packet & 1) << 3)], HAMMING84[packet >> 1]]


def header_line(page, subpage, text, erase=False, language="deu"):
    """42 bytes (transmission order): MRAG and packet 0 of a page. The
    national option bits name the subset of the service's language."""
    mag = (page >> 8) & 7
    s1 = subpage & 0xF
    s2 = (subpage >> 4) & 7
    c4 = 1 if erase else 0
    c11 = 1       # serial magazine transmission
    c12_14 = NATIONAL_OPTION_BITS.get(language.lower(), 0)
    ctrl = [HAMMING84[page & 0xF], HAMMING84[(page >> 4) & 0xF],
            HAMMING84[s1], HAMMING84[s2 | (c4 << 3)], HAMMING84[0],
            HAMMING84[0], HAMMING84[0], HAMMING84[c11 | (c12_14 << 1)]]
    chars = [odd_parity(c) for c in encode_text(text)[:32]]
    return bytes(_mrag(mag, 0) + ctrl + chars)


def row_line(page, row, text):
    return bytes(_mrag((page >> 8) & 7, row) +
                 [odd_parity(c) for c in encode_text(text)])


def data_unit(line, line_offset, field=1):
    """One 46-byte EBU teletext data unit; bytes of the line are sent
    bit-reversed as DVB carries them."""
    return bytes([0x02, 0x2C, 0xC0 | (field << 5) | (line_offset & 0x1F), 0xE4]) + \
        bytes(REVERSE[b] for b in line)


STUFFING_UNIT = bytes([0xFF, 0x2C]) + b"\xFF" * 44
UNITS_PER_PES = 15   # 1 + 15 * 46 + 45 = 4 * 184: the PES fills 4 TS packets


class Carousel:
    """Cycles through all pages, row by row; headers carry the clock of
    the moment they are produced."""

    def __init__(self, pages=PAGES, language="deu"):
        self.pages = pages
        self.language = language
        self.order = sorted(pages)
        self.queue = []
        self.index = 0

    def _refill(self, stream_seconds):
        page = self.order[self.index]
        self.index = (self.index + 1) % len(self.order)
        subs = self.pages[page]
        if len(subs) > 1:
            keys = sorted(subs)
            sub = keys[int(stream_seconds // SUBPAGE_PERIOD) % len(keys)]
        else:
            sub = next(iter(subs))
        self.queue.append(("H", page, sub))
        for r, text in enumerate(subs[sub], start=1):
            self.queue.append(("R", page, r, text))

    def next_lines(self, count, stream_seconds, wall):
        lines = []
        while len(lines) < count:
            if not self.queue:
                self._refill(stream_seconds)
            item = self.queue.pop(0)
            if item[0] == "H":
                lines.append(header_line(item[1], item[2], header_text(wall),
                                         language=self.language))
            else:
                lines.append(row_line(item[1], item[2], item[3]))
        return lines


def pes_payload(lines):
    """Data field of one teletext PES: data identifier and data units."""
    units = [data_unit(line, 7 + i % 16) for i, line in enumerate(lines)]
    units += [STUFFING_UNIT] * (UNITS_PER_PES - len(units))
    return b"\x10" + b"".join(units)


# --- decoding, used by tests and the stream inspection tool -------------

def _dehamming_table():
    table = [0xFF] * 256
    for d, cw in enumerate(HAMMING84):
        table[cw] = d
        for bit in range(8):
            table[cw ^ (1 << bit)] = d
    return table


DEHAMMING = _dehamming_table()


def decode_units(payload):
    """Yield (packet, magazine, 40 data bytes after bit reversal) of every
    EBU teletext unit in a PES data field."""
    pos = 1 if payload and 0x10 <= payload[0] <= 0x1F else 0
    while pos + 46 <= len(payload):
        unit = payload[pos:pos + 46]
        pos += 46
        if unit[0] not in (0x02, 0x03) or unit[1] != 0x2C:
            continue
        line = bytes(REVERSE[b] for b in unit[4:46])
        a, b = DEHAMMING[line[0]], DEHAMMING[line[1]]
        if a == 0xFF or b == 0xFF:
            continue
        yield b * 2 + (a >> 3), a & 7, line[2:]
