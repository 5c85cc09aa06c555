"""Generated programme guide.

Each service runs a fixed grid of slots: slot n starts at
offset + n * length (Unix seconds), so an event's id, title and times are a
pure function of the service and the slot; ids stay stable however often and
whenever the guide is asked.

What holds at every moment (tests rely on it, whatever the clock says):
titles follow a cycle of period(service) slots, at most REPEAT_AFTER long, so
every titled event is repeated on its own service within REPEAT_AFTER and the
guide window always holds a repeat ("epgsimilar"); the titles of any window
of REPEAT_AFTER are the same set ("epgsearch"). A guide reaching further
(a week) only needs a larger WINDOW_AFTER.
"""

_TV_TITLES = [
    "Nachrichten", "Tatort: Spuren im Schnee", "Kochen & Genießen", "Wetter für Österreich",
    "Die Sendung mit der Katze", "Sport am Abend", "Quiz & Spaß am Dienstag",
    "Über den Alpen", "Spielfilm: Der Schatz im Silbersee", "Tagesthemen",
    "Wildes Deutschland", "Heute-Journal", "Löwenzahn & Co.", "Magazin: Ärger im Büro",
]
_RADIO_TITLES = [
    "Musik am Morgen", "Hörspiel: Die drei ???", "Jazz & Blues", "Nachrichten",
    "Klassik zum Feierabend", "Rock Nacht", "Wort zum Tag",
]
_LENGTHS = [30, 45, 60, 90, 25, 120]
WINDOW_BEFORE = 2 * 3600
WINDOW_AFTER = 7 * 24 * 3600
REPEAT_AFTER = 12 * 3600


class Event:
    __slots__ = ("service", "slot", "id", "start", "duration", "title",
                 "description", "extended")

    def __init__(self, service, slot):
        self.service = service
        self.slot = slot
        length, offset = grid(service)
        self.start = offset + slot * length
        self.duration = length
        self.id = slot % ID_CYCLE + 1
        self.title = title_at(service, slot % period(service))
        if slot % 7 == 2:
            self.description = ""
        elif slot % 11 == 3:
            self.description = None
        else:
            self.description = "Folge %d" % (slot % 500 + 1)
        if slot % 5 == 1:
            self.extended = None
        elif slot % 13 == 4:
            self.extended = ""
        else:
            self.extended = ("%s im %s.\x8aMit Untertiteln & Audiodeskription.\x8aWiederholung"
                             " folgt." % (self.title or "Sendung", service.name))


def grid(service):
    """(slot length, grid offset) in seconds for a service."""
    minutes = getattr(service, "slot_minutes", None) or _LENGTHS[service.index % len(_LENGTHS)]
    length = minutes * 60
    offset = (service.index * 7 % 6) * 300
    return length, offset


ID_CYCLE = 65000


def title_at(service, place):
    """Title of the slot at place (0 .. period - 1) of the service's cycle."""
    titles = _RADIO_TITLES if service.is_radio else _TV_TITLES
    k = (place * 5 + service.index * 3) % len(titles)
    # some services have one untitled slot in every cycle
    untitled = service.index % 4 == 1 and place == period(service) - 1
    return "" if untitled else titles[k]


def period(service):
    """Slots in one cycle of titles."""
    return max(2, REPEAT_AFTER // grid(service)[0])


def slot_at(service, moment):
    length, offset = grid(service)
    return (int(moment) - offset) // length


def event_at(service, moment):
    return Event(service, slot_at(service, moment))


def events_from(service, moment, until):
    """Events from the one running at moment up to the one running at until."""
    first = slot_at(service, moment)
    last = slot_at(service, until)
    return [Event(service, n) for n in range(first, last + 1)]


def service_guide(service, now):
    """What "epgservice" lists: the running event and the next week."""
    return events_from(service, now, now + WINDOW_AFTER)


def find_event(service, event_id, now):
    """The event with that id in the guide window around now, or None."""
    if not isinstance(event_id, int) or not 1 <= event_id <= ID_CYCLE:
        return None
    first = slot_at(service, now - WINDOW_BEFORE)
    last = slot_at(service, now + WINDOW_AFTER)
    # ids repeat only every ID_CYCLE slots, far beyond the window
    slot = first + (event_id - 1 - first) % ID_CYCLE
    return Event(service, slot) if slot <= last else None


def search(services, term, now):
    """Events whose title contains term (case-insensitive), ordered by start."""
    needle = term.casefold()
    hits = []
    if not needle:
        return hits
    for service in services:
        cycle = period(service)
        places = {p for p in range(cycle) if needle in title_at(service, p).casefold()}
        if not places:
            continue
        first = slot_at(service, now)
        last = slot_at(service, now + WINDOW_AFTER)
        hits.extend(Event(service, n) for n in range(first, last + 1) if n % cycle in places)
    hits.sort(key=lambda e: (e.start, e.service.index))
    return hits


def similar(services, service, event_id, now):
    """Other broadcasts with the same title (repeats), the given one excluded."""
    original = find_event(service, event_id, now)
    if original is None or not original.title:
        return []
    hits = [e for e in search(services, original.title, now)
            if e.title == original.title and not (e.service is service and e.id == event_id)]
    return hits
