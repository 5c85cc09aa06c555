#!/usr/bin/python3
"""Checks the generated artwork: the image document, the teletext font strips,
the remote-control masks, the sounds, and that the generator is reproducible
and its committed output current. Runs from the repository root:

    /usr/bin/python3 -m unittest tests/resources/test_artwork.py
"""

import filecmp
import json
import os
import subprocess
import tempfile
import unittest
import wave
import xml.etree.ElementTree as ET

from PIL import Image

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RES = os.path.join(REPO, "src", "resources")
GFX = os.path.join(RES, "gfx")
XRC = os.path.join(RES, "images.xrc")
KEYS = os.path.join(REPO, "tests", "resources", "remote_keys.json")
SCRIPT = os.path.join(REPO, "scripts", "make-artwork")
NS = "{http://www.wxwidgets.org/wxxrc}"

ICONS = {"IMG_ICON_TASKBAR", "IMG_LOG_INF", "IMG_LOG_WRN", "IMG_LOG_ERR", "IMG_LOG_VER"}
BITMAPS = (
    {"IMG_SPLASHSCREEN", "CUR_FULLSCREEN", "IMG_FLAG_DE", "IMG_FLAG_EN",
     "IMG_RESYNC1", "IMG_RESYNC2", "IMG_TIMEOUT", "IMG_ABORT", "IMG_PLAY", "IMG_PAUSE",
     "IMG_TREE_MARKER", "IMG_VIDEO", "IMG_CHOICE_AUDIO", "IMG_CHOICE_VIDEO", "DEFAULT_PICON",
     "IMG_SORT_AZ", "IMG_SORT_ZA", "IMG_SORT_09", "IMG_SORT_90",
     "IMG_DONATION_PAYPAL", "IMG_DONATION_EBANKING"}
    | {"IMG_TREE_%s%s" % (k, s) for k in ("TV", "RA", "HD") for s in ("_C", "_O", "")}
    | {"BMP_FONT_%s%s" % (f, dh) for f in ("G0", "G1_C", "G1_S", "G0_NS") for dh in ("", "_DH")}
    | {"IMG_REMOTECONTROL%s%d" % (k, n) for k in ("TYPE", "MASK") for n in range(1, 5)}
    | {"IMG_TIMER_%d" % n for n in range(6)}
    | {"IMG_PROVIDER_%d" % n for n in range(1, 5)}
    | {"IMG_PROFILE_%d" % n for n in range(1, 11)}
    | {"IMG_ABOUT_UPDATE_%s_%d" % (os_, s) for os_ in ("LIN", "MAC", "WIN") for s in (48, 64)}
    | {"IMG_ABOUT_%s_%d" % (k, s) for k in ("LANGUAGE", "FORUM", "EMAIL", "DONATE") for s in (48, 64)}
)

# Key code of each mask index (red 30 + 5 * index) for remote types 1..4.
KEY_CODES = {
    1: [0, 116, 0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 412, 11, 407, 115, 113, 402, 114, 174, 403, 358,
        103, 139, 105, 352, 106, 392, 108, 393, 398, 399, 400, 401, 377, 385, 388, 138, 0, 0, 0, 0],
    2: [0, 116, 0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 412, 11, 407, 115, 113, 402, 114, 174, 403, 358,
        103, 139, 105, 352, 106, 138, 108, 393, 398, 399, 400, 401, 165, 207, 128, 163, 377, 385,
        388, 167],
    3: [116, 2, 3, 4, 5, 6, 7, 8, 9, 10, 412, 11, 407, 0, 0, 0, 358, 103, 139, 105, 352, 106, 138,
        108, 393, 115, 113, 402, 114, 174, 403, 398, 399, 400, 401, 165, 207, 128, 163, 377, 385,
        388, 167],
    4: [116, 0, 138, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 412, 11, 407, 398, 399, 400, 401, 358, 103, 139,
        105, 352, 106, 392, 108, 393, 115, 174, 402, 114, 113, 403, 165, 207, 128, 163, 377, 385,
        388, 167],
}

NATIONAL_POSITIONS = [0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E]


def load(name):
    with Image.open(os.path.join(GFX, name)) as im:
        return im.copy()


def xrc_objects():
    root = ET.parse(XRC).getroot()
    return root, [(o.get("class"), o.get("name"), o.text) for o in root.findall(NS + "object")]


def xrc_file(name):
    return dict((n, f) for _, n, f in xrc_objects()[1])[name]


class ImageDocumentTest(unittest.TestCase):
    def test_names_classes_and_files(self):
        root, objs = xrc_objects()
        self.assertEqual(root.tag, NS + "resource")
        self.assertEqual(root.get("version"), "2.3.0.1")
        names = [n for _, n, _ in objs]
        self.assertEqual(len(names), len(set(names)), "duplicate resource names")
        self.assertEqual({n for c, n, _ in objs if c == "wxIcon"}, ICONS)
        self.assertEqual({n for c, n, _ in objs if c == "wxBitmap"}, BITMAPS)
        self.assertEqual((len(BITMAPS), len(ICONS)), (80, 5))
        for cls, name, path in objs:
            with self.subTest(name=name):
                self.assertTrue(path.startswith("gfx/gfx_"), path)
                full = os.path.join(RES, path)
                self.assertTrue(os.path.isfile(full), path)
                with Image.open(full) as im:
                    im.load()

    def test_sizes_the_windows_rely_on(self):
        sixteen = [n for n in BITMAPS | ICONS if n.startswith(
            ("IMG_TREE_", "IMG_LOG_", "IMG_TIMER_", "IMG_PROVIDER_", "IMG_PROFILE_", "IMG_SORT_",
             "IMG_CHOICE_"))] + ["IMG_VIDEO", "CUR_FULLSCREEN"]
        for name in sixteen:
            with self.subTest(name=name), Image.open(os.path.join(RES, xrc_file(name))) as im:
                self.assertEqual(im.size, (16, 16))
        for name in BITMAPS:
            if name.startswith("IMG_ABOUT_"):
                with self.subTest(name=name), Image.open(os.path.join(RES, xrc_file(name))) as im:
                    side = int(name.rsplit("_", 1)[1])
                    self.assertEqual(im.size, (side, side))
        with Image.open(os.path.join(RES, xrc_file("IMG_SPLASHSCREEN"))) as im:
            self.assertEqual(im.size, (384, 288))
        with Image.open(os.path.join(RES, xrc_file("DEFAULT_PICON"))) as im:
            self.assertEqual(im.size, (70, 53))

    def test_fullscreen_cursor_is_invisible(self):
        with Image.open(os.path.join(RES, xrc_file("CUR_FULLSCREEN"))) as im:
            self.assertEqual(im.convert("RGBA").getextrema()[3], (0, 0))

    def test_total_size_is_modest(self):
        total = sum(os.path.getsize(os.path.join(GFX, f)) for f in os.listdir(GFX))
        self.assertLess(total, 1024 * 1024)


def glyphs(strip_name, height):
    im = load(strip_name).convert("L")
    count = (im.width - 1) // 11
    return im, [im.crop((11 * n + 1, 1, 11 * n + 11, 1 + height)) for n in range(count)]


def sixth(code_bit, height):
    """Rectangle of one mosaic sixth: bits 0,1 top, 2,3 middle, 4,6 bottom."""
    n = {0x01: 0, 0x02: 1, 0x04: 2, 0x08: 3, 0x10: 4, 0x40: 5}[code_bit]
    c, r = n % 2, n // 2
    return (5 * c, height * r // 3, 5 * c + 5, height * (r + 1) // 3)


class TeletextFontTest(unittest.TestCase):
    STRIPS = {"gfx_font_g0.png": (1057, 14), "gfx_font_g1_c.png": (1057, 14),
              "gfx_font_g1_s.png": (1057, 14), "gfx_font_g0_ns.png": (1860, 14),
              "gfx_font_g0_dh.png": (1057, 26), "gfx_font_g1_c_dh.png": (1057, 26),
              "gfx_font_g1_s_dh.png": (1057, 26), "gfx_font_g0_ns_dh.png": (1860, 26)}

    def test_strip_geometry_and_pure_colours(self):
        for name, size in self.STRIPS.items():
            with self.subTest(strip=name):
                im = load(name).convert("L")
                self.assertEqual(im.size, size)
                self.assertLessEqual(set(im.getdata()), {0, 255})
                px = im.load()
                # the frame around each 10-pixel cell is never lit
                for x in range(0, im.width, 11):
                    self.assertTrue(all(px[x, y] == 0 for y in range(im.height)), "column %d" % x)
                for y in (0, im.height - 1):
                    self.assertTrue(all(px[x, y] == 0 for x in range(im.width)), "row %d" % y)

    def test_strips_map_to_their_resource_names(self):
        for res in ("BMP_FONT_G0", "BMP_FONT_G1_C", "BMP_FONT_G1_S", "BMP_FONT_G0_NS"):
            self.assertEqual(xrc_file(res), "gfx/gfx_font_%s.png" % res[9:].lower())
            self.assertEqual(xrc_file(res + "_DH"), "gfx/gfx_font_%s_dh.png" % res[9:].lower())

    def test_g0_text_glyphs(self):
        _, g0 = glyphs("gfx_font_g0.png", 12)
        self.assertEqual(len(g0), 96)
        self.assertIsNone(g0[0].getbbox(), "space must be empty")
        a = g0[ord("A") - 0x20]
        self.assertIsNotNone(a.getbbox())
        self.assertGreater(sum(1 for v in a.getdata() if v), 15)
        # letters are distinct from each other
        letters = [bytes(g.tobytes()) for g in g0[ord("A") - 0x20:ord("Z") - 0x1F]]
        self.assertEqual(len(set(letters)), 26)
        # descenders reach below the capitals' baseline
        self.assertGreater(g0[ord("g") - 0x20].getbbox()[3], a.getbbox()[3])

    def test_g1_mosaics(self):
        for name, separated, h in (("gfx_font_g1_c.png", False, 12), ("gfx_font_g1_s.png", True, 12),
                                   ("gfx_font_g1_c_dh.png", False, 24),
                                   ("gfx_font_g1_s_dh.png", True, 24)):
            with self.subTest(strip=name):
                _, g1 = glyphs(name, h)
                self.assertIsNone(g1[0].getbbox())
                full = g1[0x7F - 0x20]
                lit = sum(1 for v in full.getdata() if v)
                if separated:
                    self.assertLess(lit, 10 * h * 0.8, "separated blocks need gaps")
                    self.assertGreater(lit, 10 * h * 0.4)
                else:
                    self.assertEqual(lit, 10 * h, "full block fills its cell")
                for bit in (0x01, 0x02, 0x04, 0x08, 0x10, 0x40):
                    g = g1[(0x20 | bit) - 0x20]
                    box = g.getbbox()
                    self.assertIsNotNone(box, hex(bit))
                    x0, y0, x1, y1 = sixth(bit, h)
                    self.assertTrue(x0 <= box[0] and y0 <= box[1] and box[2] <= x1 and box[3] <= y1,
                                    "bit %#x lights %s, not %s" % (bit, box, (x0, y0, x1, y1)))

    def test_g1_blast_through_capitals(self):
        _, g0 = glyphs("gfx_font_g0.png", 12)
        for name in ("gfx_font_g1_c.png", "gfx_font_g1_s.png"):
            _, g1 = glyphs(name, 12)
            for c in range(0x41, 0x5B):
                self.assertEqual(g1[c - 0x20].tobytes(), g0[c - 0x20].tobytes(), "%s %#x" % (name, c))

    def test_double_height_is_the_same_glyph_stretched(self):
        for single, double in (("gfx_font_g0.png", "gfx_font_g0_dh.png"),
                               ("gfx_font_g1_c.png", "gfx_font_g1_c_dh.png"),
                               ("gfx_font_g0_ns.png", "gfx_font_g0_ns_dh.png")):
            _, sg = glyphs(single, 12)
            _, dg = glyphs(double, 24)
            for n in range(len(sg)):
                if single == "gfx_font_g1_c.png" and not 0x40 <= n + 0x20 <= 0x5F:
                    continue
                stretched = sg[n].resize((10, 24), Image.NEAREST)
                self.assertEqual(dg[n].tobytes(), stretched.tobytes(), "%s glyph %d" % (double, n))

    def test_national_subsets(self):
        _, ns = glyphs("gfx_font_g0_ns.png", 12)
        _, g0 = glyphs("gfx_font_g0.png", 12)
        self.assertEqual(len(ns), 13 * 13)

        def nat(subset, code):
            return ns[subset * 13 + NATIONAL_POSITIONS.index(code)].tobytes()

        def lat(code):
            return g0[code - 0x20].tobytes()

        cze, eng, est, fre, ger, ita, lav, pol, por, rum, scc, swe, tur = range(13)
        # German 0x5B is Ä: not the bracket, not the plain A, and not Ö
        self.assertNotEqual(nat(ger, 0x5B), lat(0x5B))
        self.assertNotEqual(nat(ger, 0x5B), lat(ord("A")))
        self.assertNotEqual(nat(ger, 0x5B), nat(ger, 0x5C))
        # the same character drawn from different subsets is the same glyph,
        # which pins the order of the subsets in the strip
        self.assertEqual(nat(est, 0x5B), nat(ger, 0x5B))            # Ä
        self.assertEqual(nat(swe, 0x5B), nat(ger, 0x5B))
        self.assertEqual(nat(tur, 0x5C), nat(ger, 0x5C))            # Ö
        self.assertEqual(nat(eng, 0x23), nat(ita, 0x23))            # £
        self.assertEqual(nat(eng, 0x5D), nat(ita, 0x5D))            # →
        self.assertEqual(nat(fre, 0x40), nat(ita, 0x7B))            # à
        self.assertEqual(nat(fre, 0x7B), nat(rum, 0x7B))            # â
        self.assertEqual(nat(por, 0x7B), nat(ger, 0x7D))            # ü
        for subset, code in ((scc, 0x7C), (est, 0x7D), (lav, 0x7D)):
            self.assertEqual(nat(cze, 0x5C), nat(subset, code))     # ž
        # characters a subset keeps from the Latin set look the same
        self.assertEqual(nat(cze, 0x23), lat(0x23))                 # #
        self.assertEqual(nat(ger, 0x5E), lat(0x5E))                 # ^
        self.assertEqual(nat(rum, 0x24), lat(0x24))                 # ¤
        self.assertEqual(nat(ger, 0x24), nat(eng, 0x24))            # $
        self.assertNotEqual(nat(ger, 0x24), lat(0x24))              # $ is not ¤
        self.assertNotEqual(nat(eng, 0x23), lat(0x23))              # £ is not #
        self.assertNotEqual(nat(ger, 0x7E), lat(ord("B")))          # ß
        for n, g in enumerate(ns):
            self.assertIsNotNone(g.getbbox(), "empty national glyph %d" % n)


class RemoteControlTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(KEYS, encoding="utf-8") as f:
            cls.listing = json.load(f)

    def test_keys_follow_the_key_table(self):
        for rtype in (1, 2, 3, 4):
            with self.subTest(type=rtype):
                keys = self.listing[str(rtype)]["keys"]
                drawn = {k["index"]: k["code"] for k in keys}
                expected = {i: c for i, c in enumerate(KEY_CODES[rtype]) if c}
                self.assertEqual(drawn, expected)
                for k in keys:
                    self.assertEqual(k["red"], 30 + 5 * k["index"])

    def test_masks_carry_exactly_the_key_values(self):
        for rtype in (1, 2, 3, 4):
            with self.subTest(type=rtype):
                pic = load("gfx_rc_type%d.png" % rtype)
                mask_file = xrc_file("IMG_REMOTECONTROLMASK%d" % rtype)
                self.assertTrue(mask_file.endswith((".png", ".bmp")))
                with Image.open(os.path.join(RES, mask_file)) as f:
                    mask = f.copy()
                self.assertEqual(mask.mode, "RGB", "masks carry no palette or alpha")
                self.assertEqual(mask.size, pic.size)
                self.assertEqual(xrc_file("IMG_REMOTECONTROLTYPE%d" % rtype),
                                 "gfx/gfx_rc_type%d.png" % rtype)
                r, g, b = mask.split()
                self.assertEqual(g.getextrema(), (0, 0))
                self.assertEqual(b.getextrema(), (0, 0))
                keys = self.listing[str(rtype)]["keys"]
                values = {k["red"] for k in keys}
                hist = r.histogram()
                present = {v for v in range(256) if hist[v]}
                self.assertEqual(present, values | {0})
                for k in keys:
                    x, y, w, h = k["rect"]
                    inside = r.crop((x, y, x + w, y + h)).histogram()[k["red"]]
                    self.assertGreater(inside, 0, k["label"])
                    self.assertEqual(inside, hist[k["red"]], "%s leaks outside its key" % k["label"])

    def test_click_in_the_middle_of_each_key_finds_its_code(self):
        for rtype in (1, 2, 3, 4):
            mask = load("gfx_rc_mask%d.png" % rtype).convert("RGB")
            pic = load("gfx_rc_type%d.png" % rtype).convert("RGB")
            for k in self.listing[str(rtype)]["keys"]:
                with self.subTest(type=rtype, key=k["label"]):
                    x, y, w, h = k["rect"]
                    red = mask.getpixel((x + w // 2, y + h // 2))[0]
                    self.assertNotIn(red, (0, 255))
                    index = (red - 30) // 5
                    self.assertEqual(KEY_CODES[rtype][index], k["code"])
                    # the picture shows a labelled key there, not plain body
                    colours = pic.crop((x, y, x + w, y + h)).getcolors(4096)
                    self.assertTrue(colours is None or len(colours) > 3)


class SoundTest(unittest.TestCase):
    def test_wave_files(self):
        for name, seconds in (("gfx_click.wav", 0.1), ("gfx_notify.wav", 0.8)):
            with self.subTest(sound=name), wave.open(os.path.join(GFX, name)) as w:
                self.assertEqual((w.getnchannels(), w.getsampwidth()), (1, 2))
                self.assertIn(w.getframerate(), (22050, 44100))
                self.assertAlmostEqual(w.getnframes() / w.getframerate(), seconds, delta=0.05)
                data = w.readframes(w.getnframes())
                samples = [int.from_bytes(data[i:i + 2], "little", signed=True)
                           for i in range(0, len(data), 2)]
                peak = max(abs(s) for s in samples)
                self.assertGreater(peak, 3000, "audible")
                self.assertLess(peak, 32767, "not clipped")


class GeneratorTest(unittest.TestCase):
    def run_script(self, out):
        keys = os.path.join(out, "keys.json")
        subprocess.run(["/usr/bin/python3", SCRIPT, "--out", out, "--keys", keys], check=True)
        return keys

    def test_reproducible_and_committed_output_current(self):
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            self.run_script(a)
            self.run_script(b)
            files = sorted(os.listdir(os.path.join(a, "gfx")))
            self.assertEqual(files, sorted(os.listdir(os.path.join(b, "gfx"))))
            match, mismatch, errors = filecmp.cmpfiles(os.path.join(a, "gfx"), os.path.join(b, "gfx"),
                                                       files, shallow=False)
            self.assertEqual((mismatch, errors), ([], []))
            self.assertTrue(filecmp.cmp(os.path.join(a, "images.xrc"), os.path.join(b, "images.xrc"),
                                        shallow=False))
            self.assertTrue(filecmp.cmp(os.path.join(a, "keys.json"), os.path.join(b, "keys.json"),
                                        shallow=False))
            # the committed files are what the script draws now (pixels, so a
            # different zlib cannot fail this)
            self.assertTrue(filecmp.cmp(os.path.join(a, "images.xrc"), XRC, shallow=False))
            self.assertTrue(filecmp.cmp(os.path.join(a, "keys.json"), KEYS, shallow=False))
            committed = sorted(f for f in os.listdir(GFX) if f.startswith("gfx_"))
            self.assertEqual(files, committed)
            for f in files:
                with self.subTest(file=f):
                    fresh, old = os.path.join(a, "gfx", f), os.path.join(GFX, f)
                    if f.endswith(".png"):
                        with Image.open(fresh) as x, Image.open(old) as y:
                            self.assertEqual((x.mode, x.size), (y.mode, y.size))
                            self.assertEqual(x.tobytes(), y.tobytes())
                    else:
                        self.assertTrue(filecmp.cmp(fresh, old, shallow=False))


if __name__ == "__main__":
    unittest.main()
