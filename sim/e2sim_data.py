"""The receiver's channel data: services, bouquets, providers, sub-services.

Everything here is deterministic, so tests on the client side can rely on
names, references and order.  A service reference is
"1:0:<type>:<sid>:<tsid>:<onid>:<namespace>:0:0:0:" with hexadecimal fields;
the transponder is (tsid, onid, namespace).
"""

SD, HD, RADIO = "sd", "hd", "radio"
_TYPE = {SD: 0x1, HD: 0x19, RADIO: 0x2}
ONID = 0x1
NAMESPACE = 0xC00000

TV_QUERY_TYPES = "(type == 1) || (type == 17) || (type == 195) || (type == 25)"
RADIO_QUERY_TYPES = "(type == 2)"


def service_ref(kind, sid, tsid, onid=ONID, ns=NAMESPACE):
    return "1:0:%X:%X:%X:%X:%X:0:0:0:" % (_TYPE[kind], sid, tsid, onid, ns)


def marker_ref(number, name):
    return "1:64:%d:0:0:0:0:0:0:0::%s" % (number, name)


def ref_key(ref):
    """Canonical form for comparing references: the ten numeric fields in
    upper-case hex without leading zeros plus the path; a trailing name
    ("...:0:0:0::Name") is not part of the identity."""
    ref = ref.strip()
    fields = ref.split(":")
    if len(fields) < 10:
        return ref.upper()
    norm = []
    for field in fields[:10]:
        try:
            norm.append("%X" % int(field, 16))
        except ValueError:
            norm.append(field.upper())
    path = fields[10] if len(fields) > 10 else ""
    return ":".join(norm) + ":" + path


def ref_sid(ref):
    """Service id: the fourth colon field, hexadecimal (0 if unreadable)."""
    fields = ref.split(":")
    try:
        return int(fields[3], 16)
    except (IndexError, ValueError):
        return 0


class Service:
    def __init__(self, ref, name, kind, providers, index):
        self.ref = ref
        self.name = name
        self.kind = kind
        self.providers = providers
        self.index = index          # stable number, seeds the programme guide
        fields = ref.split(":")
        self.sid = int(fields[3], 16)
        self.transponder = (int(fields[4], 16), int(fields[5], 16), int(fields[6], 16))
        self.subservices = []       # [(ref, name)]
        self.slot_minutes = None    # guide slot length; None: the usual grid

    @property
    def is_radio(self):
        return self.kind == RADIO


class Marker:
    def __init__(self, ref, name):
        self.ref = ref
        self.name = name


class Container:
    """A bouquet or a provider: a reference, a name and its entries."""
    def __init__(self, ref, name, entries):
        self.ref = ref
        self.name = name
        self.entries = entries


# name, kind, tsid, providers; a name ending in "::" gives the service a
# reference with the name appended after "::" (as stream relays have).
_TV = [
    ("Erstes Programm HD", HD, 0x401, ["ARD"]),
    ("Kulturkanal", SD, 0x401, ["arte", "ARD"]),
    ("Phönix Dokumente", SD, 0x401, ["ARD"]),
    ("Tagesschau24", SD, 0x401, ["ARD"]),
    ("Zweites Programm HD", HD, 0x437, ["ZDFvision"]),
    ("zdf_info", SD, 0x437, ["ZDFvision"]),
    ("Kinderkanal", SD, 0x437, ["ZDFvision"]),
    ("arte HD", HD, 0x3FB, ["arte"]),
    ("Bayern Fernsehen", SD, 0x3FB, ["bayern media"]),
    ("Schwaben & Franken TV", SD, 0x3FB, ["bayern media"]),
    ("\x86Nord\x87 Fernsehen", SD, 0x3FB, ["ARD"]),
    ("Canal Süd", SD, 0x41B, ["Canal Süd"]),
    ("Sport Portal HD", HD, 0x41B, ["Astra Media"]),
    ("ÜberTV", SD, 0x41B, ["Astra Media"]),
    ("sonnenkanal", SD, 0x41B, ["Astra Media"]),
    ("Wetter & Reise", SD, 0x44D, ["Astra Media"]),
    ("Nachrichten Welt", SD, 0x44D, ["Astra Media"]),
    ("Kanal Nord Relay::", SD, 0x44D, ["ARD"]),
    ("Musik Clips", SD, 0x44D, ["Canal Süd"]),
    ("Heimat Kanal", SD, 0x44D, ["bayern media"]),
]

_RADIO = [
    ("Bayern Klassik", 0x3F9, ["ARD"]),
    ("Deutschlandfunk Süd", 0x3F9, ["ARD"]),
    ("antenne süd", 0x3F9, ["antenne"]),
    ("Radio Öko & Welt", 0x3F9, ["ARD", "antenne"]),
    ("Jazz Lounge", 0x40D, ["antenne"]),
    ("\x86Rock\x87 Radio", 0x40D, ["Rock FM"]),
    ("NDR Info Nord", 0x40D, ["ARD"]),
]


def _bouquet_ref(radio, filename):
    return '1:7:%d:0:0:0:0:0:0:0:FROM BOUQUET "%s" ORDER BY bouquet' % (2 if radio else 1, filename)


def _provider_ref(radio, name):
    types = RADIO_QUERY_TYPES if radio else TV_QUERY_TYPES
    return '1:7:%d:0:0:0:0:0:0:0:(provider == "%s") && %s ORDER BY name' % (
        2 if radio else 1, name, types)


def _fold(text):
    return text.casefold()


class DataSet:
    def __init__(self, large_providers=False, many_bouquets=False, large_bouquet=False):
        self.services = []              # every playable service, stable order
        self._by_key = {}
        self._containers = {}
        self.tv_bouquets = []
        self.radio_bouquets = []
        self._build_services()
        self._build_bouquets(many_bouquets)
        if large_bouquet:
            self._add_large_bouquet()
        self.tv_providers = self._providers(radio=False)
        self.radio_providers = self._providers(radio=True)
        if large_providers:
            self._add_large_providers()
        for container in (self.tv_bouquets + self.radio_bouquets
                          + self.tv_providers + self.radio_providers):
            self._containers[_container_key(container.ref)] = container

    # -- construction -------------------------------------------------
    def _add(self, name, kind, tsid, providers, sid):
        ref = service_ref(kind, sid, tsid)
        if name.endswith("::"):
            name = name[:-2]
            ref = ref + ":" + name
        service = Service(ref, name, kind, providers, len(self.services))
        self.services.append(service)
        self._by_key[ref_key(ref)] = service
        return service

    def _build_services(self):
        sid = 0x2800
        for name, kind, tsid, providers in _TV:
            self._add(name, kind, tsid, providers, sid)
            sid += 0x11
        sid = 0x3400
        for name, tsid, providers in _RADIO:
            self._add(name, RADIO, tsid, providers, sid)
            sid += 0x13
        sport = self.by_name("Sport Portal HD")
        feed1 = service_ref(HD, 0x2F01, sport.transponder[0])
        feed2 = service_ref(HD, 0x2F02, sport.transponder[0])
        feed3 = service_ref(HD, 0x2F03, sport.transponder[0])
        # the second feed's reference is contained in its "Konferenz" variant
        sport.subservices = [
            (sport.ref, sport.name),
            (feed1, "Sport Portal Feed 1"),
            (feed2, "Sport Portal Feed 2"),
            (feed2 + ":Konferenz", "Sport Portal Konferenz"),
            (feed3, ""),
        ]
        for ref, name in sport.subservices[1:]:
            if ref_key(ref) not in self._by_key:
                feed = Service(ref, name or "Sport Portal Feed", HD, ["Astra Media"],
                               len(self.services))
                self.services.append(feed)
                self._by_key[ref_key(ref)] = feed

    def _build_bouquets(self, many_bouquets):
        s = self.by_name
        m = 0

        def marker(name):
            nonlocal m
            m += 1
            return Marker(marker_ref(m, name), name)

        tv = [
            ("userbouquet.favourites.tv", "Favoriten (TV)", [
                s("Erstes Programm HD"), s("Zweites Programm HD"), marker("--- Regional ---"),
                s("Bayern Fernsehen"), s("\x86Nord\x87 Fernsehen"), s("Kanal Nord Relay"),
                marker("--- Sport ---"), s("Sport Portal HD"), s("Canal Süd"),
                s("arte HD"), s("ÜberTV"), s("sonnenkanal")]),
            ("userbouquet.news.tv", "\x86Nachrichten\x87 & Info", [
                marker("Nachrichten"), marker("--- aktuell ---"), s("Tagesschau24"),
                s("Nachrichten Welt"), s("zdf_info"), s("Wetter & Reise")]),
            ("userbouquet.empty.tv", "Leeres Bouquet", []),
            ("userbouquet.oer.tv", "Öffentlich-Rechtliche", [
                s("Erstes Programm HD"), s("Zweites Programm HD"), s("Phönix Dokumente"),
                s("Kinderkanal"), s("Kulturkanal"), s("Tagesschau24"), s("zdf_info")]),
            ("userbouquet.sport.tv", "Sport & Spaß", [
                s("Sport Portal HD"), s("Musik Clips"), marker("Unterhaltung"),
                s("Schwaben & Franken TV"), s("Heimat Kanal")]),
        ]
        if many_bouquets:
            tv_services = [x for x in self.services if x.kind != RADIO]
            for i in range(len(tv) + 1, 121):
                entries = [tv_services[(i * 3 + k) % len(tv_services)] for k in range(3)]
                tv.append(("userbouquet.extra%03d.tv" % i, "Bouquet %03d" % i, entries))
        radio = [
            ("userbouquet.favourites.radio", "Favoriten (Radio)", [
                s("Bayern Klassik"), s("antenne süd"), marker("--- Musik ---"),
                s("Jazz Lounge"), s("\x86Rock\x87 Radio")]),
            ("userbouquet.mix.radio", "Radio Süd & Nord", [
                s("Deutschlandfunk Süd"), s("Radio Öko & Welt"), s("NDR Info Nord")]),
        ]
        self.tv_bouquets = [Container(_bouquet_ref(False, f), n, e) for f, n, e in tv]
        self.radio_bouquets = [Container(_bouquet_ref(True, f), n, e) for f, n, e in radio]

    def _providers(self, radio):
        names = {}
        for service in self.services:
            if service.is_radio != radio or service.ref in dict(self._subservice_refs()):
                continue
            for provider in service.providers:
                names.setdefault(provider, []).append(service)
        result = []
        for name in sorted(names, key=_fold):
            entries = sorted(names[name], key=lambda x: _fold(x.name))
            result.append(Container(_provider_ref(radio, name), name, entries))
        return result

    def _subservice_refs(self):
        for service in self.services:
            for ref, name in service.subservices[1:]:
                yield ref, name

    def _add_large_providers(self):
        """20,000 TV services over 200 providers (and 2,000 radio services
        over 40), for load tests of the provider lists."""
        for radio, count, per in ((False, 20000, 100), (True, 2000, 50)):
            containers = []
            for p in range(count // per):
                pname = ("Anbieter %03d" if p % 3 else "anbieter %03d") % (p + 1)
                entries = []
                for k in range(per):
                    n = p * per + k
                    kind = RADIO if radio else (HD if n % 7 == 0 else SD)
                    name = "%s %05d%s" % ("Radio" if radio else "Sender", n + 1,
                                          " Süd" if n % 10 == 3 else "")
                    tsid = 0x1000 + n // 8
                    sid = (0x5000 if radio else 0x8000) + n
                    entries.append(self._add(name, kind, tsid, [pname], sid))
                containers.append(Container(_provider_ref(radio, pname), pname, entries))
            target = self.radio_providers if radio else self.tv_providers
            target.extend(containers)
            target.sort(key=lambda c: _fold(c.name))

    def _add_large_bouquet(self):
        """A TV bouquet of 300 services with a few markers; its first service,
        a news ticker, has 5-minute slots (over 2,000 events a week)."""
        ticker = self._add("Nachrichten-Ticker", SD, 0x2000, ["Astra Media"], 0xA000)
        ticker.slot_minutes = 5
        entries = [ticker]
        for n in range(1, 300):
            if n % 100 == 0:
                entries.append(Marker(marker_ref(900 + n // 100, "--- %d ---" % n), "--- %d ---" % n))
            kind = HD if n % 9 == 0 else SD
            entries.append(self._add("Kanal %03d" % n, kind, 0x2000 + n // 10, ["Astra Media"],
                                     0xA000 + n))
        self.tv_bouquets.append(Container(_bouquet_ref(False, "userbouquet.large.tv"),
                                          "Großes Bouquet", entries))

    # -- look-ups -----------------------------------------------------
    def by_name(self, name):
        for service in self.services:
            if service.name == name:
                return service
        raise KeyError(name)

    def find_service(self, ref):
        return self._by_key.get(ref_key(ref)) if ref else None

    def find_container(self, ref):
        return self._containers.get(_container_key(ref)) if ref else None

    def bouquet_services(self):
        """Services reachable from a bouquet or a small provider list, in a
        stable order without duplicates (the search range of the guide)."""
        seen, result = set(), []
        for container in self.tv_bouquets + self.radio_bouquets:
            for entry in container.entries:
                if isinstance(entry, Service) and entry.ref not in seen:
                    seen.add(entry.ref)
                    result.append(entry)
        for service in self.services[:len(_TV) + len(_RADIO)]:
            if service.ref not in seen:
                seen.add(service.ref)
                result.append(service)
        return result


def _container_key(ref):
    # blanks may arrive as "%20" already decoded or collapsed; compare without them
    return "".join(ref.split())
