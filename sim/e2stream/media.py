"""Encoded media loops: generated once with GStreamer, cached on disk."""

import array
import fcntl
import json
import math
import os
import subprocess
import threading

from . import es

MEDIA_VERSION = 3

# One loop lasts 9.6 s: a whole number of video frames (40 ms), MPEG audio
# frames (24 ms) and AC-3 frames (32 ms), so every stream wraps cleanly.
LOOP_TICKS = 864000
VIDEO_FRAMES = 240
VIDEO_TICKS = 3600
MP2_TICKS = 2160
AC3_TICKS = 2880
GOP = 12

_GST = "/usr/bin/gst-launch-1.0"

_AUDIO_SRC = ("audiotestsrc num-buffers=100 samplesperbuffer=4800 freq={freq} "
              "volume=0.4 wave={wave} ! audio/x-raw,rate=48000,channels=2 ! "
              "audioconvert ! ")

_VIDEO_SRC = ("videotestsrc num-buffers=240 pattern={pattern} ! "
              "video/x-raw,width={w},height={h},framerate=25/1 ! "
              "timeoverlay font-desc=\"Sans 40\" halignment=left valignment=bottom ! "
              "textoverlay text=\"{label}\" font-desc=\"Sans 32\" "
              "halignment=right valignment=top ! videoconvert ! "
              "video/x-raw,format=I420 ! ")

ASSETS = {
    "sd_video.m2v": _VIDEO_SRC.format(pattern="smpte", w=720, h=576,
                                      label="Zappora SD") +
    "mpeg2enc format=3 b-per-refframe=0 min-gop-size=12 max-gop-size=12 "
    "closed-gop=true bitrate=3000 aspect=2 ! filesink location={out}",
    "hd_video.h264": _VIDEO_SRC.format(pattern="ball", w=1280, h=720,
                                       label="Zappora HD") +
    "x264enc threads=1 key-int-max=12 bframes=0 tune=zerolatency "
    "speed-preset=veryfast bitrate=2500 aud=true option-string=scenecut=0 ! "
    "video/x-h264,stream-format=byte-stream,alignment=au,profile=main ! "
    "filesink location={out}",
    "eng.mp2": _AUDIO_SRC.format(freq=440, wave="sine") +
    "twolamemp2enc bitrate=192 ! filesink location={out}",
    "deu.mp2": _AUDIO_SRC.format(freq=660, wave="sine") +
    "twolamemp2enc bitrate=192 ! filesink location={out}",
    "deu.ac3": _AUDIO_SRC.format(freq=330, wave="sine") +
    "avenc_ac3 bitrate=192000 ! filesink location={out}",
}


# Lip-sync loop: a black picture that flashes white for one frame while the
# sound, silent otherwise, beeps for the same 40 ms. Both are drawn here as
# raw media so that the instants are exact before encoding.
SYNC_W, SYNC_H = 352, 288
SYNC_FIRST_FLASH = 10          # frame of the first flash (0.4 s)
SYNC_PERIOD = 60               # frames between flashes (2.4 s)
RAW_SECONDS = 10               # a little more than one loop, like the other assets


def sync_flash_frames():
    """Indices of the flash frames within one loop."""
    return list(range(SYNC_FIRST_FLASH, VIDEO_FRAMES, SYNC_PERIOD))


def _sync_video_raw(path):
    luma = SYNC_W * SYNC_H
    chroma = bytes([128]) * (luma // 2)
    black, white = bytes([16]) * luma + chroma, bytes([235]) * luma + chroma
    flashes = set(sync_flash_frames())
    with open(path, "wb") as f:
        for i in range(25 * RAW_SECONDS):
            f.write(white if i % VIDEO_FRAMES in flashes else black)


def _sync_audio_raw(path):
    rate, beep = 48000, 1920          # 40 ms at 1 kHz
    samples = array.array("h", bytes(4 * rate * RAW_SECONDS))
    tone = [int(16000 * math.sin(2 * math.pi * 1000 * n / rate)) for n in range(beep)]
    loop = VIDEO_FRAMES * rate // 25
    for frame in sync_flash_frames():
        for start in range(frame * rate // 25, rate * RAW_SECONDS, loop):
            for n, v in enumerate(tone[:rate * RAW_SECONDS - start]):
                samples[2 * (start + n)] = samples[2 * (start + n) + 1] = v
    with open(path, "wb") as f:
        f.write(samples.tobytes())


RAW_INPUTS = {"sync_video.yuv": _sync_video_raw, "sync_audio.pcm": _sync_audio_raw}

ASSETS["sync_video.m2v"] = (
    "filesrc location={dir}/sync_video.yuv ! rawvideoparse format=i420 width=%d height=%d "
    "framerate=25/1 ! mpeg2enc format=3 b-per-refframe=0 min-gop-size=12 max-gop-size=12 "
    "closed-gop=true bitrate=1000 aspect=2 ! filesink location={out}" % (SYNC_W, SYNC_H))
ASSETS["sync.mp2"] = (
    "filesrc location={dir}/sync_audio.pcm ! rawaudioparse format=pcm pcm-format=s16le "
    "sample-rate=48000 num-channels=2 ! audioconvert ! twolamemp2enc bitrate=192 ! "
    "filesink location={out}")


class Track:
    """Access units of one elementary stream over one loop.
    units: list of (dts offset, pts offset, bytes, random access)."""

    def __init__(self, units):
        self.units = units


def _manifest_ok(cache_dir, complete=True):
    """The manifest is written last, so its presence means a complete cache
    of its version (complete=False: of this version, assets may be missing)."""
    try:
        with open(os.path.join(cache_dir, "manifest.json")) as f:
            m = json.load(f)
    except (OSError, ValueError):
        return False
    return m.get("version") == MEDIA_VERSION and (not complete or all(
        os.path.isfile(os.path.join(cache_dir, name)) for name in ASSETS))


def prepare(cache_dir):
    """Encode the media loops unless the cache already holds them.
    Concurrent callers wait for each other through a lock file."""
    os.makedirs(cache_dir, exist_ok=True)
    if _manifest_ok(cache_dir):
        return
    with open(os.path.join(cache_dir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if _manifest_ok(cache_dir):
            return
        # A cache of this version lacks at most the assets added since.
        if not _manifest_ok(cache_dir, complete=False):
            for name in ASSETS:
                if os.path.exists(os.path.join(cache_dir, name)):
                    os.remove(os.path.join(cache_dir, name))
        for name, make in RAW_INPUTS.items():
            make(os.path.join(cache_dir, name))
        procs = []
        for name, pipe in ASSETS.items():
            if os.path.isfile(os.path.join(cache_dir, name)):
                continue
            tmp = os.path.join(cache_dir, name + ".part")
            cmd = "%s -q %s" % (_GST, pipe.format(out=tmp, dir=cache_dir))
            procs.append((name, tmp, subprocess.Popen(
                cmd, shell=True, stdout=subprocess.DEVNULL,
                stderr=subprocess.PIPE)))
        failed = []
        for name, tmp, p in procs:
            _, err = p.communicate()
            if p.returncode != 0 or not os.path.exists(tmp) or os.path.getsize(tmp) == 0:
                failed.append("%s: %s" % (name, err.decode(errors="replace").strip()))
            else:
                os.replace(tmp, os.path.join(cache_dir, name))
        for name in RAW_INPUTS:
            os.remove(os.path.join(cache_dir, name))
        if failed:
            raise RuntimeError("media generation failed: " + "; ".join(failed))
        # check that every asset splits into a full loop before declaring it ready
        load_tracks(cache_dir)
        with open(os.path.join(cache_dir, "manifest.json.part"), "w") as f:
            json.dump({"version": MEDIA_VERSION, "assets": sorted(ASSETS)}, f)
        os.replace(os.path.join(cache_dir, "manifest.json.part"),
                   os.path.join(cache_dir, "manifest.json"))


def _read(cache_dir, name):
    with open(os.path.join(cache_dir, name), "rb") as f:
        return f.read()


def _video_track(units):
    if len(units) < VIDEO_FRAMES:
        raise RuntimeError("video loop too short: %d frames" % len(units))
    units = units[:VIDEO_FRAMES]
    if not units[0][0]:
        raise RuntimeError("video loop does not start with a key frame")
    # I and P pictures only: decode order is display order
    return Track([(i * VIDEO_TICKS, i * VIDEO_TICKS, data, key)
                  for i, (key, data) in enumerate(units)])


def _audio_track(frames, ticks):
    count = LOOP_TICKS // ticks
    if len(frames) < count:
        raise RuntimeError("audio loop too short: %d frames" % len(frames))
    return Track([(i * ticks, i * ticks, f, True)
                  for i, f in enumerate(frames[:count])])


def load_tracks(cache_dir):
    return {
        "sd_video": _video_track(es.split_mpeg2_video(_read(cache_dir, "sd_video.m2v"))),
        "hd_video": _video_track(es.split_h264(_read(cache_dir, "hd_video.h264"))),
        "eng_mp2": _audio_track(es.split_mpeg_audio(_read(cache_dir, "eng.mp2")), MP2_TICKS),
        "deu_mp2": _audio_track(es.split_mpeg_audio(_read(cache_dir, "deu.mp2")), MP2_TICKS),
        "deu_ac3": _audio_track(es.split_ac3(_read(cache_dir, "deu.ac3")), AC3_TICKS),
        "sync_video": _video_track(es.split_mpeg2_video(_read(cache_dir, "sync_video.m2v"))),
        "sync_mp2": _audio_track(es.split_mpeg_audio(_read(cache_dir, "sync.mp2")), MP2_TICKS),
    }


_loaded = {}
_lock = threading.Lock()


def tracks(cache_dir):
    """Parsed tracks of a prepared cache, loaded once per process."""
    with _lock:
        if cache_dir not in _loaded:
            prepare(cache_dir)
            _loaded[cache_dir] = load_tracks(cache_dir)
        return _loaded[cache_dir]
