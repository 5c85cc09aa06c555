"""Replies of the /web/ commands.

Each command is a function (state, params, now) -> node tree (see
e2sim_xml) or already rendered bytes; commands that change the receiver
do so under state.lock.
"""
import math

import e2sim_epg
import e2sim_movies
import e2sim_timers
from e2sim_data import Marker, Service, ref_key
from e2sim_xml import render, simple_result

LANGUAGES = {"deu": "Deutsch", "ger": "Deutsch", "eng": "English", "fra": "Français"}

# Linux input key codes the remote control sends, for the on-screen display
KEY_NAMES = {
    2: "1", 3: "2", 4: "3", 5: "4", 6: "5", 7: "6", 8: "7", 9: "8", 10: "9", 11: "0",
    103: "UP", 105: "LEFT", 106: "RIGHT", 108: "DOWN", 113: "MUTE", 114: "VOLUMEDOWN",
    115: "VOLUMEUP", 116: "POWER", 128: "STOP", 138: "HELP", 139: "MENU", 163: "NEXTSONG",
    165: "PREVIOUSSONG", 167: "RECORD", 174: "EXIT", 207: "PLAY", 352: "OK", 358: "INFO",
    377: "TV", 385: "RADIO", 388: "TEXT", 392: "AUDIO", 393: "VIDEO", 398: "RED",
    399: "GREEN", 400: "YELLOW", 401: "BLUE", 402: "CHANNELUP", 403: "CHANNELDOWN",
    407: "NEXT", 412: "PREVIOUS",
}
KEY_POWER = 116
MESSAGE_TYPES = {0: "Frage", 1: "Warnung", 2: "Info", 3: "Fehler"}


# -- helpers ---------------------------------------------------------------

def _int(text, default=None):
    try:
        return int(text)
    except (TypeError, ValueError):
        return default


def event_node(event, now):
    return ("e2event", [
        ("e2eventid", event.id),
        ("e2eventstart", event.start),
        ("e2eventduration", event.duration),
        ("e2eventcurrenttime", int(now)),
        ("e2eventtitle", event.title),
        ("e2eventdescription", event.description),
        ("e2eventdescriptionextended", event.extended),
        ("e2eventservicereference", event.service.ref),
        ("e2eventservicename", event.service.name),
    ])


def empty_event_node(ref, name, now):
    """What the receiver lists for an entry without programme data (markers)."""
    return ("e2event", [
        ("e2eventid", None), ("e2eventstart", None), ("e2eventduration", None),
        ("e2eventcurrenttime", int(now)), ("e2eventtitle", None),
        ("e2eventdescription", None), ("e2eventdescriptionextended", None),
        ("e2eventservicereference", ref), ("e2eventservicename", name),
    ])


def event_list(events, now):
    return ("e2eventlist", [event_node(e, now) for e in events])


def service_node(ref, name):
    return ("e2service", [("e2servicereference", ref), ("e2servicename", name)])


def container_node(container):
    return ("e2bouquet", [
        ("e2servicereference", container.ref),
        ("e2servicename", container.name),
        ("e2servicelist", [service_node(e.ref, e.name) for e in container.entries]),
    ])


def _current(state):
    """(service or None, recording dict or None) of the current reference."""
    ref = state.current_ref
    if not ref:
        return None, None
    path = e2sim_movies.path_of_ref(ref)
    if path:
        return None, state.disk.find(path)
    return state.data.find_service(ref), None


def current_kind(state):
    service, movie = _current(state)
    if service is not None:
        return service.kind
    if movie is not None:
        return state.disk.kind_of(movie["filename"])
    return None


# -- power and service -----------------------------------------------------

def powerstate(state, params, now):
    newstate = _int(params.get("newstate"), -1)
    with state.lock:
        if newstate == 0:
            state.standby = not state.standby
        elif newstate in (1, 5):
            state.standby = True
        elif newstate == 4:
            state.standby = False
        if newstate >= 0:
            state.power_events.append({"newstate": newstate, "time": int(now)})
        return ("e2powerstate", [("e2instandby", "true" if state.standby else "false")])


def getcurrent(state, params, now):
    with state.lock:
        service, movie = _current(state)
        if service is not None:
            kind = service.kind
            tracks = state.media.audio_tracks(kind)
            info = [
                ("e2servicereference", service.ref), ("e2servicename", service.name),
                ("e2serviceprovider", service.providers[0]),
                ("e2videowidth", "N/A" if kind == "radio" else 1280 if kind == "hd" else 720),
                ("e2videoheight", "N/A" if kind == "radio" else 720 if kind == "hd" else 576),
                ("e2servicevideosize", "N/A" if kind == "radio" else
                 "1280x720" if kind == "hd" else "720x576"),
                ("e2iswidescreen", kind != "radio"),
                ("e2apid", tracks[0][0] if tracks else "N/A"),
                ("e2vpid", "N/A" if kind == "radio" else 0x200),
                ("e2pcrpid", 0x200 if kind != "radio" else 0x100),
                ("e2pmtpid", getattr(state.media, "PMT_PID", "N/A")),
                ("e2txtpid", 0x103 if kind == "sd" else "N/A"),
                ("e2tsid", service.transponder[0]), ("e2onid", service.transponder[1]),
                ("e2sid", service.sid),
            ]
            slot = e2sim_epg.slot_at(service, now)
            events = [e2sim_epg.Event(service, slot), e2sim_epg.Event(service, slot + 1)]
            return ("e2currentserviceinformation", [
                ("e2service", info), event_list(events, now)])
        if movie is not None:
            ref, name = movie["ref"], movie["title"]
        else:
            ref, name = "N/A", "N/A"
        return ("e2currentserviceinformation", [
            ("e2service", [("e2servicereference", ref), ("e2servicename", name)]),
            ("e2eventlist", [])])


def zap(state, params, now):
    ref = params.get("sRef", "")
    with state.lock:
        service = state.data.find_service(ref)
        if service is not None:
            state.current_ref = service.ref
            return simple_result(True, "Active service is now '%s'" % service.name)
        path = e2sim_movies.path_of_ref(ref)
        movie = state.disk.find(path) if path else None
        if movie is not None:
            state.current_ref = movie["ref"]
            return simple_result(True, "Active service is now '%s'" % movie["title"])
    return simple_result(False, "Service '%s' not found" % ref)


def serviceplayable(state, params, now):
    ref = params.get("sRef", "")
    with state.lock:
        service = state.data.find_service(ref)
        if service is not None:
            busy = e2sim_timers.busy_transponders(state.timers, state.data,
                                                  state.current_ref, state.standby)
            ok = e2sim_timers.playable(service, busy)
        else:
            path = e2sim_movies.path_of_ref(ref)
            ok = bool(path) and state.disk.find(path) is not None
    return ("e2serviceplayable", [("e2servicereference", ref), ("e2isplayable", ok)])


def getallservices(state, params, now):
    ref = params.get("sRef", "")
    compact = "".join(ref.split())
    data = state.data
    if 'FROMBOUQUET"bouquets.tv"' in compact:
        key, containers = "tvb", data.tv_bouquets
    elif 'FROMBOUQUET"bouquets.radio"' in compact:
        key, containers = "rab", data.radio_bouquets
    elif "FROMPROVIDERS" in compact:
        radio = compact.startswith("1:7:2:")
        key, containers = ("rap" if radio else "tvp"), (
            data.radio_providers if radio else data.tv_providers)
    else:
        container = data.find_container(ref)
        return ("e2servicelistrecursive", [container_node(container)] if container else [])
    with state.lock:
        cached = state.cache.get(key)
        if cached is None:
            cached = render(("e2servicelistrecursive", [container_node(c) for c in containers]),
                            state.pretty)
            state.cache[key] = cached
    return cached


def streamsubservices(state, params, now):
    service = state.data.find_service(params.get("sRef", ""))
    if service is None:
        return ("e2servicelist", [])
    entries = service.subservices or [(service.ref, service.name)]
    return ("e2servicelist", [service_node(r, n) for r, n in entries])


# -- programme guide -------------------------------------------------------

def _service_param(state, params):
    return state.data.find_service(params.get("sRef", ""))


def epgservice(state, params, now):
    service = _service_param(state, params)
    return event_list(e2sim_epg.service_guide(service, now) if service else [], now)


def epgservicenow(state, params, now):
    service = _service_param(state, params)
    return event_list([e2sim_epg.event_at(service, now)] if service else [], now)


def epgservicenext(state, params, now):
    service = _service_param(state, params)
    if service is None:
        return event_list([], now)
    return event_list([e2sim_epg.Event(service, e2sim_epg.slot_at(service, now) + 1)], now)


def _bouquet_epg(state, params, now, offset):
    container = state.data.find_container(params.get("bRef", ""))
    nodes = []
    for entry in container.entries if container else []:
        if isinstance(entry, Marker):
            nodes.append(empty_event_node(entry.ref, entry.name, now))
        else:
            nodes.append(event_node(e2sim_epg.Event(
                entry, e2sim_epg.slot_at(entry, now) + offset), now))
    return ("e2eventlist", nodes)


def epgnow(state, params, now):
    return _bouquet_epg(state, params, now, 0)


def epgnext(state, params, now):
    return _bouquet_epg(state, params, now, 1)


def epgbouquet(state, params, now):
    container = state.data.find_container(params.get("bRef", ""))
    moment = _int(params.get("time"), int(now))
    events = [e2sim_epg.event_at(e, moment) for e in (container.entries if container else [])
              if isinstance(e, Service)]
    return event_list(events, now)


def epgsearch(state, params, now):
    term = params.get("search", "").strip()
    hits = e2sim_epg.search(state.data.bouquet_services(), term, now) if term else []
    return event_list(hits, now)


def epgsimilar(state, params, now):
    service = _service_param(state, params)
    event_id = _int(params.get("eventid"))
    if service is None or event_id is None:
        return event_list([], now)
    return event_list(e2sim_epg.similar(state.data.bouquet_services(), service, event_id, now),
                      now)


# -- audio -----------------------------------------------------------------

def _track_description(lang, codec):
    name = LANGUAGES.get(lang, lang)
    return "%s (%s)" % (name, codec) if codec not in ("MPEG", "") else name


def _audio_list(state):
    kind = current_kind(state)
    tracks = state.media.audio_tracks(kind) if kind else []
    active = state.audio.get(ref_key(state.current_ref or ""), 0)
    return ("e2audiotracklist", [
        ("e2audiotrack", [
            ("e2audiotrackdescription", _track_description(lang, codec)),
            ("e2audiotrackid", i),
            ("e2audiotrackpid", pid),
            ("e2audiotrackactive", i == active),
        ]) for i, (pid, lang, codec) in enumerate(tracks)])


def getaudiotracks(state, params, now):
    with state.lock:
        return _audio_list(state)


def selectaudiotrack(state, params, now):
    with state.lock:
        kind = current_kind(state)
        count = len(state.media.audio_tracks(kind)) if kind else 0
        index = _int(params.get("id"))
        if index is not None and 0 <= index < count:
            state.audio[ref_key(state.current_ref)] = index
        return _audio_list(state)


# -- recordings ------------------------------------------------------------

def getlocations(state, params, now):
    return ("e2locations", [("e2location", x) for x in e2sim_movies.LOCATIONS])


def gettags(state, params, now):
    return ("e2tags", [("e2tag", t) for t in state.disk.tags()])


def movielist(state, params, now):
    movies = state.disk.movies(params.get("dirname", ""), params.get("tag") or None) or []
    return ("e2movielist", [("e2movie", [
        ("e2servicereference", m["ref"]), ("e2title", m["title"]),
        ("e2description", m["description"]), ("e2descriptionextended", m["extended"]),
        ("e2servicename", m["servicename"]), ("e2time", m["time"]),
        ("e2length", m["length"]), ("e2tags", m["tags"]), ("e2filename", m["filename"]),
        ("e2filesize", m["filesize"]),
    ]) for m in movies])


def moviedelete(state, params, now):
    path = e2sim_movies.path_of_ref(params.get("sRef", ""))
    with state.lock:
        movie = state.disk.find(path) if path else None
        if movie is not None and state.disk.delete(path):
            return simple_result(True, "The movie '%s' has been deleted successfully" %
                                 movie["title"])
    return simple_result(False, "Could not delete movie '%s'" % path)


# -- timers ----------------------------------------------------------------

def timerlist(state, params, now):
    data = state.data
    with state.lock:
        nodes = []
        for t in state.timers:
            service = data.find_service(t["sref"])
            nodes.append(("e2timer", [
                ("e2servicereference", t["sref"]),
                ("e2servicename", service.name if service else "N/A"),
                ("e2eit", t["eit"]), ("e2name", t["name"]),
                ("e2description", t["description"]),
                ("e2descriptionextended", t["extended"]),
                ("e2disabled", t["disabled"]),
                ("e2timebegin", t["begin"]), ("e2timeend", t["end"]),
                ("e2duration", t["end"] - t["begin"]),
                ("e2startprepare", t["begin"] - 20),
                ("e2justplay", t["justplay"]), ("e2afterevent", t["afterevent"]),
                ("e2location", t["location"]), ("e2tags", t["tags"]),
                ("e2logentries", ""), ("e2filename", ""), ("e2backoff", 0),
                ("e2nextactivation", None), ("e2firsttryprepare", True),
                ("e2state", t["state"]), ("e2repeated", t["repeated"]),
                ("e2dontsave", 0), ("e2cancled", False),
            ]))
        return ("e2timerlist", nodes)


def timeraddbyeventid(state, params, now):
    with state.lock:
        return simple_result(*e2sim_timers.add_by_event(state.timers, state.data, params, now))


def timerchange(state, params, now):
    with state.lock:
        return simple_result(*e2sim_timers.change(state.timers, state.data, params))


def timerdelete(state, params, now):
    with state.lock:
        return simple_result(*e2sim_timers.delete(state.timers, params))


def timertogglestatus(state, params, now):
    with state.lock:
        return simple_result(*e2sim_timers.toggle(state.timers, state.data, params))


def timercleanup(state, params, now):
    with state.lock:
        return simple_result(*e2sim_timers.cleanup(state.timers))


# -- box -------------------------------------------------------------------

def signal(state, params, now):
    with state.lock:
        standby = state.standby
        override = dict(state.signal_override)
    if standby:
        snr, agc, ber = 0, 0, 0
    else:
        snr = 76 + int(round(4 * math.sin(now / 7.0)))
        agc = 88 + int(round(3 * math.cos(now / 5.0)))
        ber = 0
    values = {
        "e2snrdb": "%.2f dB" % (snr * 0.16),
        "e2snr": "%d %%" % snr,
        "e2ber": "%d" % ber,
        "e2acg": "%d %%" % agc,
    }
    values.update({k: v for k, v in override.items() if k in values})
    return ("e2frontendstatus", [(k, values[k]) for k in ("e2snrdb", "e2snr", "e2ber", "e2acg")])


def deviceinfo(state, params, now):
    info = state.info
    return ("e2deviceinfo", [
        ("e2enigmaversion", "2026-11-30-master"),
        ("e2imageversion", "4.2.1"),
        ("e2webifversion", info["webif_version"]),
        ("e2fpversion", 7),
        ("e2devicename", "sim800hd"),
        ("e2frontends", [
            ("e2frontend", [("e2name", "Tuner A"), ("e2model", "DVB-S2 NIM(45208 FBC)")]),
            ("e2frontend", [("e2name", "Tuner B"), ("e2model", "DVB-S2 NIM(45208 FBC)")]),
        ]),
        ("e2network", [
            ("e2interface", [("e2name", "eth0"), ("e2mac", "00:09:34:ab:cd:ef"),
                             ("e2dhcp", True), ("e2ip", info["host"]),
                             ("e2gateway", "127.0.0.254"), ("e2netmask", "255.0.0.0")]),
            ("e2interface", [("e2name", "wlan0"), ("e2mac", "00:1c:c0:5e:a1:2b"),
                             ("e2dhcp", False), ("e2ip", "0.0.0.0"),
                             ("e2gateway", "0.0.0.0"), ("e2netmask", "0.0.0.0")]),
        ]),
        ("e2hdds", [
            ("e2hdd", [("e2model", "WDC WD5000AAKS"), ("e2capacity", "465.761 GB"),
                       ("e2free", "120.345 GB")]),
        ]),
    ])


def remotecontrol(state, params, now):
    code = _int(params.get("command"))
    if code is None or code <= 0:
        return ("e2remotecontrol", [("e2result", False),
                                    ("e2resulttext", "command missing or invalid")])
    long_press = params.get("type") == "long"
    with state.lock:
        state.keys.append({"code": code, "name": KEY_NAMES.get(code, str(code)),
                           "long": long_press, "time": round(now, 3)})
        if code == KEY_POWER and not long_press:
            state.standby = not state.standby
    return ("e2remotecontrol", [("e2result", True),
                                ("e2resulttext", "RC command '%d' has been issued" % code)])


def message(state, params, now):
    kind = _int(params.get("type"))
    timeout = _int(params.get("timeout"), -1)
    if kind not in MESSAGE_TYPES:
        return simple_result(False, "Invalid message type")
    with state.lock:
        state.messages.append({"text": params.get("text", ""), "type": kind,
                               "timeout": timeout, "time": round(now, 3)})
    return simple_result(True, "Message sent successfully!")


COMMANDS = {f.__name__: f for f in (
    powerstate, getcurrent, zap, serviceplayable, getallservices, streamsubservices,
    epgservice, epgservicenow, epgservicenext, epgnow, epgnext, epgbouquet, epgsearch,
    epgsimilar, getaudiotracks, selectaudiotrack, getlocations, gettags, movielist,
    moviedelete, timerlist, timeraddbyeventid, timerchange, timerdelete, timertogglestatus,
    timercleanup, signal,
    deviceinfo, remotecontrol, message)}
