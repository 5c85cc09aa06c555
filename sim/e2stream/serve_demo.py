#!/usr/bin/python3
"""Serve the three stream kinds on their own for trying them with players.

  sim/e2stream/serve_demo.py [--host 127.0.0.9] [--port 18001] [--cache DIR]

Service references: 1:0:1:6D66:437:1:C00000:0:0:0: (sd), 1:0:19:2B66:3F3:1:C00000:0:0:0: (hd),
1:0:2:6F3A:431:1:C00000:0:0:0: (radio); any other reference gets 404.
Faults can be changed by typing "stall", "go", "stop N", "refuse", "accept".
"""

import argparse
import json
import os
import sys
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import e2stream  # noqa: E402

SERVICES = {
    "1:0:1:6D66:437:1:C00000:0:0:0:": "sd",
    "1:0:19:2B66:3F3:1:C00000:0:0:0:": "hd",
    "1:0:2:6F3A:431:1:C00000:0:0:0:": "radio",
}


class Faults:
    stop_after = None
    stall = False
    refuse = False


def resolve(ref):
    kind = SERVICES.get(ref)
    if kind is None:
        return None
    return kind, int(ref.split(":")[3], 16)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--host", default="127.0.0.9")
    ap.add_argument("--port", type=int, default=18001)
    ap.add_argument("--cache", default=os.path.join(
        os.path.dirname(os.path.dirname(os.path.abspath(__file__))), ".cache"))
    args = ap.parse_args()
    if not args.host.startswith("127."):
        ap.error("loopback addresses only")
    e2stream.prepare(args.cache)
    faults = Faults()
    srv = e2stream.start_stream_server(
        args.host, args.port, resolve,
        lambda rec: print(json.dumps(rec), flush=True), faults)
    for ref, kind in SERVICES.items():
        print("%s: http://%s:%d/%s" % (kind, args.host, args.port,
                                       urllib.parse.quote(ref)), flush=True)
    print("ready", flush=True)
    try:
        for line in sys.stdin:
            words = line.split()
            if not words:
                continue
            if words[0] == "stall":
                faults.stall = True
            elif words[0] == "go":
                faults.stall = False
            elif words[0] == "stop":
                faults.stop_after = float(words[1]) if len(words) > 1 else None
            elif words[0] == "refuse":
                faults.refuse = True
            elif words[0] == "accept":
                faults.refuse = False
        # stdin closed: keep serving until interrupted
        import threading
        threading.Event().wait()
    except KeyboardInterrupt:
        pass
    finally:
        srv.shutdown()


if __name__ == "__main__":
    main()
