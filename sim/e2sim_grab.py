"""Picture of the receiver's TV output for the "grab" page.

The on-screen display shows the channel banner, the last remote-control
keys and any message still on screen; without "o" the simulated video
(colour bars) lies beneath it.
"""
import io
import time

from PIL import Image, ImageDraw, ImageFont

NATIVE = (1280, 720)
_FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
_BARS = [(192, 192, 192), (192, 192, 0), (0, 192, 192), (0, 192, 0),
         (192, 0, 192), (192, 0, 0), (0, 0, 192)]
_fonts = {}


def font(size):
    if size not in _fonts:
        try:
            _fonts[size] = ImageFont.truetype(_FONT_FILE, size)
        except OSError:
            _fonts[size] = ImageFont.load_default()
    return _fonts[size]


def grab_options(params):
    """Picture settings from the grab query: size, osd, video, better."""
    width, height = NATIVE
    if "r" in params and "d" not in params:
        try:
            wanted = int(params["r"])
        except ValueError:
            wanted = 0
        if 16 <= wanted <= 4096:
            width, height = wanted, max(9, round(wanted * NATIVE[1] / NATIVE[0]))
    return {"size": (width, height), "osd": "v" not in params,
            "video": "o" not in params, "better": "b" in params}


def active_messages(messages, now):
    """Messages still on screen: a timeout of 0 or less stays until replaced."""
    shown = []
    for msg in messages:
        timeout = msg.get("timeout", -1)
        if timeout is None or timeout <= 0 or now < msg["time"] + timeout:
            shown.append(msg)
    return shown[-1:]


def render_png(screen, params, now=None):
    """screen: dict with service, standby, keys, messages (control state)."""
    now = time.time() if now is None else now
    opts = grab_options(params)
    image = Image.new("RGB", NATIVE, (0, 0, 0))
    draw = ImageDraw.Draw(image)
    if opts["video"] and not screen["standby"]:
        bar = NATIVE[0] // len(_BARS) + 1
        for i, colour in enumerate(_BARS):
            draw.rectangle([i * bar, 0, (i + 1) * bar, NATIVE[1]], fill=colour)
        draw.text((40, NATIVE[1] - 120), screen.get("service") or "", font=font(48),
                  fill=(255, 255, 255))
    if opts["osd"] and not screen["standby"]:
        _draw_osd(draw, screen, now)
    if opts["size"] != NATIVE:
        image = image.resize(opts["size"], Image.LANCZOS if opts["better"] else Image.NEAREST)
    if not opts["better"]:
        image = image.quantize(64)
    out = io.BytesIO()
    image.save(out, "PNG", optimize=False)
    return out.getvalue()


def _draw_osd(draw, screen, now):
    draw.rectangle([40, 30, 1240, 100], fill=(20, 30, 70), outline=(200, 200, 255), width=2)
    draw.text((60, 45), screen.get("service") or "N/A", font=font(32), fill=(255, 255, 255))
    draw.text((1100, 45), time.strftime("%H:%M", time.localtime(now)), font=font(32),
              fill=(255, 255, 0))
    keys = [k["name"] + ("*" if k.get("long") else "") for k in screen.get("keys", [])[-6:]]
    if keys:
        draw.rectangle([40, 600, 1240, 660], fill=(30, 30, 30), outline=(255, 255, 255))
        draw.text((60, 612), "Tasten: " + " ".join(keys), font=font(28), fill=(0, 255, 0))
    last = screen.get("keys", [])[-1:]
    if last and last[0]["name"] == "MENU":
        draw.rectangle([440, 150, 840, 420], fill=(40, 40, 90), outline=(255, 255, 255))
        for i, entry in enumerate(["Hauptmenü", "Timer", "Aufnahmen", "Einstellungen"]):
            draw.text((470, 170 + i * 60), entry, font=font(30), fill=(255, 255, 255))
    for msg in active_messages(screen.get("messages", []), now):
        draw.rectangle([240, 250, 1040, 470], fill=(60, 60, 60), outline=(255, 200, 0), width=3)
        caption = {0: "Frage", 1: "Warnung", 2: "Info", 3: "Fehler"}.get(msg["type"], "?")
        draw.text((270, 270), caption, font=font(32), fill=(255, 200, 0))
        draw.multiline_text((270, 330), msg["text"][:300], font=font(26), fill=(255, 255, 255))
