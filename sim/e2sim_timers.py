"""The receiver's timer list and the commands that edit it.

Every command returns (ok, text) as the receiver reports it.  Timer states
do not advance with the clock: a list stays as it was set up or edited.
"""
from e2sim_data import ref_key
import e2sim_epg

WAITING, PREPARING, RUNNING, DONE = 0, 1, 2, 3


def make_timer(sref, name, begin, end, description="", eit=0, justplay=0, afterevent=3,
               location="/hdd/movie/", tags="", state=WAITING, repeated=0, disabled=0,
               extended=""):
    return {"sref": sref, "name": name, "description": description, "extended": extended,
            "eit": eit, "begin": int(begin), "end": int(end), "justplay": justplay,
            "afterevent": afterevent, "location": location, "tags": tags, "state": state,
            "repeated": repeated, "disabled": disabled}


def initial_timers(data, now):
    """Timers in every state, repeated, disabled, zap, odd location."""
    t = int(now) // 60 * 60
    s = data.by_name
    timers = [
        make_timer(s("Erstes Programm HD").ref, "Tatort: Spuren im Schnee", t + 7200, t + 12600,
                   "Krimi & Spannung", 4711, tags="Krimi"),
        make_timer(s("Zweites Programm HD").ref, "Nachrichten", t + 60, t + 1800,
                   "Aktuelles aus aller Welt", 815, state=PREPARING),
        # on the transponder of the start service, so the second tuner stays free
        make_timer(s("Phönix Dokumente").ref, "Über den Alpen", t - 600, t + 3000,
                   "Dokumentation", 1234, state=RUNNING, afterevent=0),
        make_timer(s("arte HD").ref, "Kochen & Genießen", t - 90000, t - 86400,
                   "", 555, state=DONE, afterevent=1),
        make_timer(s("Tagesschau24").ref, "Nachrichten", t + 3600, t + 4500,
                   "Werktags um acht", 0, repeated=31),
        make_timer(s("Zweites Programm HD").ref, "Quiz & Spaß am Dienstag", t + 86400,
                   t + 90000, "Rateshow", 999, disabled=1),
        make_timer(s("Wetter & Reise").ref, "Wetter & Reise", t + 5400, t + 5400,
                   "Umschalten zum Wetter", 321, justplay=1, afterevent=0, tags=""),
        make_timer(s("\x86Nord\x87 Fernsehen").ref, "Heimatgeschichten", t - 200000, t - 196400,
                   "None", 42, location="/media/usb/aufnahmen/", tags="Doku Serie",
                   state=DONE, afterevent=2),
        make_timer(s("Bayern Klassik").ref, "Musik am Morgen", t + 40000, t + 43600,
                   "Klassik", 77, repeated=96, disabled=1),
    ]
    timers.sort(key=lambda x: x["begin"])
    return timers


def find(timers, sref, begin, end):
    key = ref_key(sref)
    for timer in timers:
        if ref_key(timer["sref"]) == key and timer["begin"] == begin and timer["end"] == end:
            return timer
    return None


def _int(params, name, default=None):
    value = params.get(name)
    if value is None or value == "":
        if default is None:
            raise ValueError(name)
        return default
    return int(value)


def add_by_event(timers, data, params, now):
    service = data.find_service(params.get("sRef", ""))
    if service is None:
        return False, "Service not found"
    try:
        event_id = _int(params, "eventid")
        justplay = _int(params, "justplay", 0)
    except ValueError as e:
        return False, "Invalid parameter '%s'" % e
    event = e2sim_epg.find_event(service, event_id, now)
    if event is None:
        return False, "EventId not found"
    if event.start + event.duration <= now:
        return False, "Event is in the past"
    for timer in timers:
        if ref_key(timer["sref"]) == ref_key(service.ref) and timer["eit"] == event.id:
            return False, "Conflicting Timer(s) detected! %s" % timer["name"]
    timer = make_timer(service.ref, event.title, event.start, event.start + event.duration,
                       event.description or "", event.id, justplay=1 if justplay else 0,
                       location=params.get("dirname") or "/hdd/movie/",
                       tags=params.get("tags", ""), extended=event.extended or "")
    clash = conflicts(timers, data, timer)
    if clash:
        return False, conflict_text(clash)
    timers.append(timer)
    timers.sort(key=lambda x: x["begin"])
    return True, "Timer '%s' added" % event.title


def change(timers, data, params):
    try:
        begin = _int(params, "begin")
        end = _int(params, "end")
        begin_old = _int(params, "beginOld")
        end_old = _int(params, "endOld")
    except ValueError as e:
        return False, "Invalid parameter '%s'" % e
    old = find(timers, params.get("channelOld", ""), begin_old, end_old)
    if old is None:
        return False, "Could not find timer '%s' with begin %d and end %d" % (
            params.get("name", ""), begin_old, end_old)
    service = data.find_service(params.get("sRef", ""))
    if service is None:
        return False, "Service not found"
    if end < begin:
        return False, "Timer end must not be before its begin"
    try:
        values = {name: _int(params, name, old[name])
                  for name in ("eit", "disabled", "justplay", "afterevent", "repeated")}
    except ValueError as e:
        return False, "Invalid parameter '%s'" % e
    new = dict(old)
    new.update(values)
    new.update({"sref": service.ref, "begin": begin, "end": end,
                "name": params.get("name", old["name"]),
                "description": params.get("description", old["description"]),
                "location": params.get("dirname", old["location"]),
                "tags": params.get("tags", old["tags"])})
    clash = conflicts([t for t in timers if t is not old], data, new)
    if clash:
        return False, conflict_text(clash)
    old.update(new)
    timers.sort(key=lambda x: x["begin"])
    return True, "Timer '%s' changed" % old["name"]


def _named(timers, params):
    """(timer, None) for the timer that sRef, begin and end name, else (None, why)."""
    try:
        begin = _int(params, "begin")
        end = _int(params, "end")
    except ValueError as e:
        return None, "Invalid parameter '%s'" % e
    timer = find(timers, params.get("sRef", ""), begin, end)
    return (timer, None) if timer is not None else (None, "No matching Timer found")


def delete(timers, params):
    timer, why = _named(timers, params)
    if timer is None:
        return False, why
    timers.remove(timer)
    return True, "The timer '%s' has been deleted successfully" % timer["name"]


def toggle(timers, data, params):
    """timertogglestatus: enables a disabled timer or disables an enabled one."""
    timer, why = _named(timers, params)
    if timer is None:
        return False, why
    if timer["disabled"]:
        clash = conflicts([t for t in timers if t is not timer], data, dict(timer, disabled=0))
        if clash:
            return False, conflict_text(clash)
        timer["disabled"] = 0
        return True, "Timer '%s' enabled" % timer["name"]
    timer["disabled"] = 1
    return True, "Timer '%s' disabled" % timer["name"]


def cleanup(timers):
    """timercleanup: removes the finished timers."""
    timers[:] = [t for t in timers if t["state"] != DONE]
    return True, "List of Timers has been cleaned"


def _records(timer):
    """Whether a timer holds a tuner while it runs."""
    return not timer["disabled"] and not timer["justplay"] and timer["state"] != DONE


def conflicts(timers, data, timer):
    """The timers that, together with timer, would need more tuners than the box
    has at some moment of its run (timers on one transponder share a tuner)."""
    if not _records(timer):
        return []
    own = data.find_service(timer["sref"])
    overlapping = [t for t in timers if _records(t)
                   and t["begin"] < timer["end"] and timer["begin"] < t["end"]]
    # the tuners needed change only where a timer begins
    for moment in sorted({timer["begin"]} | {t["begin"] for t in overlapping
                                             if t["begin"] > timer["begin"]}):
        running = [t for t in overlapping if t["begin"] <= moment < t["end"]]
        held = {own.transponder if own else None}
        for t in running:
            service = data.find_service(t["sref"])
            held.add(service.transponder if service else None)
        if len(held) > TUNERS:
            return running
    return []


def conflict_text(clash):
    return "Conflicting Timer(s) detected! %s" % " / ".join(t["name"] for t in clash)


def busy_transponders(timers, data, current_ref, standby):
    """Transponders the two tuners hold: the watched service's (unless in
    standby) and those of running, enabled record timers."""
    busy = []
    current = data.find_service(current_ref) if current_ref else None
    if current is not None and not standby:
        busy.append(current.transponder)
    for timer in timers:
        if timer["state"] == RUNNING and not timer["disabled"] and not timer["justplay"]:
            service = data.find_service(timer["sref"])
            if service is not None and service.transponder not in busy:
                busy.append(service.transponder)
    return busy


TUNERS = 2


def playable(service, busy):
    """A service plays if a tuner already sits on its transponder or one is free."""
    return service.transponder in busy or len(busy) < TUNERS
