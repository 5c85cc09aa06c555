"""Plain functions of the simulator: parsing, data set, guide, timers, disk."""
import os
import shutil
import tempfile
import unittest
import xml.etree.ElementTree as ET

import simhelper  # noqa: F401  (puts the simulator on sys.path)
import e2sim_data
import e2sim_epg
import e2sim_grab
import e2sim_movies
import e2sim_state
import e2sim_stub_stream
import e2sim_timers
import e2sim_web
from e2sim_xml import render


class RequestParsing(unittest.TestCase):
    def test_references_with_double_ampersand_stay_whole(self):
        ref = '1:7:1:0:0:0:0:0:0:0:(provider%20==%20"ARD")%20&&%20(type%20==%201)%20ORDER%20BY%20name'
        params = e2sim_web.parse_query("bRef=%s&time=1700000000" % ref)
        self.assertEqual(params["bRef"],
                         '1:7:1:0:0:0:0:0:0:0:(provider == "ARD") && (type == 1) ORDER BY name')
        self.assertEqual(params["time"], "1700000000")

    def test_percent_decoding_utf8_and_locale_bytes(self):
        self.assertEqual(e2sim_web.parse_query("search=%C3%84rger%20%26%20Co")["search"],
                         "Ärger & Co")
        # a Latin-1 client sends Ä as one byte
        self.assertEqual(e2sim_web.parse_query("search=%C4rger")["search"], "Ärger")
        self.assertEqual(e2sim_web.parse_query("a=&b"), {"a": "", "b": ""})

    def test_ranges(self):
        cases = [
            (None, 1000, None), ("bytes=0-99", 1000, (0, 99)), ("bytes=900-", 1000, (900, 999)),
            ("bytes=-100", 1000, (900, 999)), ("bytes=990-2000", 1000, (990, 999)),
            ("bytes=1000-", 1000, "unsatisfiable"), ("bytes=50-10", 1000, "unsatisfiable"),
            ("bytes=-0", 1000, "unsatisfiable"), ("items=1-2", 1000, None),
            ("bytes=-5000", 1000, (0, 999)),
        ]
        for header, size, expected in cases:
            with self.subTest(header=header):
                self.assertEqual(e2sim_web.parse_range(header, size), expected)

    def test_credentials(self):
        import base64
        good = "Basic " + base64.b64encode(b"root:zaptower").decode()
        self.assertTrue(e2sim_web.credentials_ok(good, "root", "zaptower"))
        self.assertFalse(e2sim_web.credentials_ok(good, "root", "other"))
        self.assertFalse(e2sim_web.credentials_ok("Basic !!!", "root", "zaptower"))
        self.assertFalse(e2sim_web.credentials_ok(None, "root", "zaptower"))

    def test_faults(self):
        self.assertEqual(e2sim_state.parse_fault("cmd=getcurrent&status=301&location=/x"),
                         ("getcurrent", {"status": 301, "location": "/x"}))
        self.assertEqual(e2sim_state.parse_fault("cmd=zap&drop=1&delay=0.5&count=2"),
                         ("zap", {"drop": 1, "delay": 0.5, "count": 2}))
        self.assertEqual(e2sim_state.parse_fault("cmd=zap&clear=1"), ("zap", None))
        for bad in ("status=500", "cmd=zap&bogus=1", "cmd=zap&status=x"):
            with self.subTest(fault=bad), self.assertRaises(ValueError):
                e2sim_state.parse_fault(bad)
        table = e2sim_state.Faults()
        table.set("zap", {"status": 500, "count": 1})
        table.set("*", {"delay": 1.0})
        self.assertEqual(table.take("zap")["status"], 500)
        self.assertEqual(table.take("zap"), {"delay": 1.0})   # used up, the wildcard remains
        self.assertEqual(table.take("getcurrent"), {"delay": 1.0})


class XmlReplies(unittest.TestCase):
    def test_layout_and_values(self):
        body = render(("e2root", [("e2a", None), ("e2b", True), ("e2c", 12),
                                  ("e2list", [("e2d", "x & <y>\x86z\x87\x8a\x01")])]))
        self.assertTrue(body.startswith(b'<?xml version="1.0" encoding="UTF-8"?>\n<e2root>\n'
                                        b'\t<e2a>None</e2a>\n'))
        root = ET.fromstring(body)
        self.assertEqual([root.find("e2b").text, root.find("e2c").text], ["True", "12"])
        # C1 emphasis and line-break codes survive, C0 controls are dropped
        self.assertEqual(root.find("e2list/e2d").text, "x & <y>\x86z\x87\x8a")

    def test_pretty_layout_carries_the_same_values(self):
        tree = ("e2servicelistrecursive", [("e2bouquet", [
            ("e2servicereference", '1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "a.tv"'),
            ("e2servicename", "S\u00fcd & \x86Nord\x87 'Info'")])])
        body = render(tree, pretty=True)
        self.assertIn(b"&quot;a.tv&quot;", body)
        self.assertIn(b"&#134;Nord&#135;", body)
        plain, pretty = ET.fromstring(render(tree)), ET.fromstring(body)
        for path in ("e2bouquet/e2servicereference", "e2bouquet/e2servicename"):
            self.assertNotEqual(pretty.find(path).text, plain.find(path).text)
            self.assertEqual(pretty.find(path).text.strip(), plain.find(path).text)
        self.assertIsNotNone(pretty.find("e2bouquet/e2servicetype"))

    def test_fault_transformations_break_the_document(self):
        body = render(("e2eventlist", [("e2event", [("e2eventid", 1)])]))
        self.assertRaises(ET.ParseError, ET.fromstring, e2sim_web.break_xml(body))
        self.assertEqual(ET.fromstring(e2sim_web.rename_root(body)).tag, "e2unexpected")


class DataSet(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = e2sim_data.DataSet()

    def test_reference_keys(self):
        key = e2sim_data.ref_key
        self.assertEqual(key("1:0:19:2800:401:1:C00000:0:0:0:"),
                         key("1:0:19:02800:401:1:c00000:0:0:0::Erstes"))
        self.assertNotEqual(key("1:0:0:0:0:0:0:0:0:0:/hdd/movie/a.ts"),
                            key("1:0:0:0:0:0:0:0:0:0:/hdd/movie/b.ts"))
        self.assertEqual(e2sim_data.ref_sid("1:0:1:28AA:3FB:1:C00000:0:0:0:"), 0x28AA)

    def test_services_are_unique_and_kinds_match_references(self):
        refs = [e2sim_data.ref_key(s.ref) for s in self.data.services]
        self.assertEqual(len(refs), len(set(refs)))
        for service in self.data.services:
            prefix = "1:0:2:" if service.kind == "radio" else "1:0:1"
            self.assertTrue(service.ref.startswith(prefix), service.ref)
            self.assertEqual(service.sid, e2sim_data.ref_sid(service.ref))

    def test_bouquets_cover_the_awkward_cases(self):
        names = [b.name for b in self.data.tv_bouquets]
        self.assertIn("Leeres Bouquet", names)
        self.assertTrue(any("&" in n for n in names) and any("\x86" in n for n in names))
        starts_with_marker = [b for b in self.data.tv_bouquets
                              if b.entries and isinstance(b.entries[0], e2sim_data.Marker)]
        self.assertTrue(starts_with_marker)
        self.assertTrue(all(m.ref.startswith("1:64:") for b in self.data.tv_bouquets
                            for m in b.entries if isinstance(m, e2sim_data.Marker)))
        self.assertTrue(any("::" in s.ref for s in self.data.services))
        self.assertEqual(len(e2sim_data.DataSet(many_bouquets=True).tv_bouquets), 120)

    def test_providers_sort_and_share_services(self):
        names = [p.name for p in self.data.tv_providers]
        self.assertEqual(names, sorted(names, key=str.casefold))
        self.assertNotEqual(names, sorted(names))
        listed = [s.ref for p in self.data.tv_providers for s in p.entries]
        self.assertTrue(any(listed.count(r) == 2 for r in listed))
        self.assertTrue(all(self.data.find_container(p.ref) is p for p in self.data.tv_providers))

    def test_large_providers(self):
        large = e2sim_data.DataSet(large_providers=True)
        count = sum(len(p.entries) for p in large.tv_providers)
        self.assertGreaterEqual(count, 20000)
        self.assertIsNotNone(large.find_service(large.tv_providers[-1].entries[-1].ref))

    def test_large_bouquet(self):
        large = e2sim_data.DataSet(large_bouquet=True)
        bouquet = large.tv_bouquets[-1]
        services = [e for e in bouquet.entries if isinstance(e, e2sim_data.Service)]
        self.assertEqual(len(services), 300)
        self.assertTrue(any(isinstance(e, e2sim_data.Marker) for e in bouquet.entries))
        self.assertIs(large.find_container(bouquet.ref), bouquet)
        ticker = services[0]
        self.assertGreater(len(e2sim_epg.service_guide(ticker, 1796600000)), 2000)
        # the usual data set stays as it is
        self.assertEqual(len(e2sim_data.DataSet().tv_bouquets), 5)


class Guide(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = e2sim_data.DataSet()
        cls.service = cls.data.by_name("Kulturkanal")
        cls.now = 1796600000

    def test_events_are_stable_and_contiguous(self):
        first = e2sim_epg.service_guide(self.service, self.now)
        # a week of events
        self.assertGreaterEqual(first[-1].start + first[-1].duration, self.now + 7 * 86400)
        self.assertGreater(len(first), 100)
        again = e2sim_epg.service_guide(self.service, self.now + 60)
        self.assertEqual([(e.id, e.start, e.title) for e in first[:5]],
                         [(e.id, e.start, e.title) for e in again[:5]])
        self.assertLessEqual(first[0].start, self.now)
        self.assertGreater(first[0].start + first[0].duration, self.now)
        for a, b in zip(first, first[1:]):
            self.assertEqual(a.start + a.duration, b.start)
        self.assertEqual(len({e.id for e in first}), len(first))

    def test_texts_include_empty_none_and_dvb_codes(self):
        events = e2sim_epg.events_from(self.service, self.now, self.now + 7 * 86400)
        self.assertTrue(any(e.title == "" for e in events))
        self.assertTrue(any(e.description is None for e in events))
        self.assertTrue(any(e.description == "" for e in events))
        self.assertTrue(any(e.extended is None for e in events))
        self.assertTrue(any("\x8a" in (e.extended or "") for e in events))
        self.assertTrue(any("&" in e.title for e in events))

    def test_find_search_similar(self):
        event = e2sim_epg.service_guide(self.service, self.now)[3]
        found = e2sim_epg.find_event(self.service, event.id, self.now)
        self.assertEqual((found.start, found.title), (event.start, event.title))
        self.assertIsNone(e2sim_epg.find_event(self.service, 0, self.now))
        hits = e2sim_epg.search(self.data.bouquet_services(), "GENIESSEN", self.now)
        self.assertTrue(hits and all("Genießen" in h.title for h in hits))

    def test_repeats_and_titles_at_every_hour(self):
        """What the tests of the client rely on holds whatever the clock says."""
        services = self.data.bouquet_services()
        titles = {e.title for s in services for e in e2sim_epg.events_from(
            s, self.now, self.now + 7 * 86400) if e.title}
        for now in simhelper.SWEEP_MOMENTS:
            with self.subTest(now=now):
                for service in services:
                    titled = next(e for e in e2sim_epg.service_guide(service, now) if e.title)
                    similar = e2sim_epg.similar(services, service, titled.id, now)
                    self.assertIn(service.name, [s.service.name for s in similar])
                    self.assertTrue(all(s.title == titled.title and s.id != titled.id
                                        for s in similar if s.service is service))
                found = {e.title for s in services
                         for e in e2sim_epg.events_from(s, now, now + e2sim_epg.WINDOW_AFTER)}
                self.assertLessEqual(titles, found)


class Timers(unittest.TestCase):
    def setUp(self):
        self.data = e2sim_data.DataSet()
        self.now = 1796600000
        self.timers = e2sim_timers.initial_timers(self.data, self.now)

    def test_initial_list_has_every_kind(self):
        self.assertEqual({t["state"] for t in self.timers}, {0, 1, 2, 3})
        self.assertTrue(any(t["repeated"] for t in self.timers))
        self.assertTrue(any(t["disabled"] for t in self.timers))
        self.assertTrue(any(t["justplay"] for t in self.timers))

    def test_add_change_delete(self):
        service = self.data.by_name("Kinderkanal")
        event = e2sim_epg.service_guide(service, self.now)[2]
        params = {"sRef": service.ref, "eventid": str(event.id), "justplay": "0",
                  "dirname": "/hdd/movie/", "tags": "Serie"}
        ok, text = e2sim_timers.add_by_event(self.timers, self.data, params, self.now)
        self.assertTrue(ok, text)
        self.assertFalse(e2sim_timers.add_by_event(self.timers, self.data, params, self.now)[0])
        bad = dict(params, eventid="1")
        self.assertFalse(e2sim_timers.add_by_event(self.timers, self.data, bad, self.now)[0])
        begin, end = event.start, event.start + event.duration
        change = {"sRef": service.ref, "begin": str(begin + 60), "end": str(end + 60),
                  "name": "Neu", "description": "", "eit": str(event.id), "disabled": "1",
                  "justplay": "0", "afterevent": "2", "repeated": "32",
                  "channelOld": service.ref, "beginOld": str(begin), "endOld": str(end)}
        self.assertTrue(e2sim_timers.change(self.timers, self.data, change)[0])
        timer = e2sim_timers.find(self.timers, service.ref, begin + 60, end + 60)
        self.assertEqual((timer["name"], timer["disabled"], timer["repeated"], timer["tags"]),
                         ("Neu", 1, 32, "Serie"))
        # the old key is gone, so the same change fails now
        self.assertFalse(e2sim_timers.change(self.timers, self.data, change)[0])
        inverted = dict(change, beginOld=str(begin + 60), endOld=str(end + 60),
                        begin=str(end + 100), end=str(begin))
        self.assertFalse(e2sim_timers.change(self.timers, self.data, inverted)[0])
        delete = {"sRef": service.ref, "begin": str(begin + 60), "end": str(end + 60)}
        self.assertTrue(e2sim_timers.delete(self.timers, delete)[0])
        self.assertFalse(e2sim_timers.delete(self.timers, delete)[0])
        self.assertFalse(e2sim_timers.delete(self.timers, {"sRef": service.ref, "begin": "x"})[0])

    def test_initial_timers_need_no_third_tuner(self):
        for timer in self.timers:
            others = [t for t in self.timers if t is not timer]
            self.assertEqual(e2sim_timers.conflicts(others, self.data, timer), [], timer["name"])

    def test_a_third_transponder_at_once_is_refused(self):
        # recordings on 437 (preparing) and 401 (running) overlap right after now
        arte = self.data.by_name("arte HD")
        event = e2sim_epg.event_at(arte, self.now + 900)
        params = {"sRef": arte.ref, "eventid": str(event.id), "justplay": "0"}
        ok, text = e2sim_timers.add_by_event(self.timers, self.data, params, self.now)
        self.assertFalse(ok)
        self.assertTrue(text.startswith("Conflicting Timer(s) detected! "), text)
        self.assertIn("Über den Alpen", text)
        # a zap timer needs no tuner
        ok, text = e2sim_timers.add_by_event(self.timers, self.data, dict(params, justplay="1"),
                                             self.now)
        self.assertTrue(ok, text)

    def test_toggle_and_cleanup(self):
        disabled = [t for t in self.timers if t["disabled"] and not t["repeated"]][0]
        key = {"sRef": disabled["sref"], "begin": str(disabled["begin"]),
               "end": str(disabled["end"])}
        self.assertEqual(e2sim_timers.toggle(self.timers, self.data, key)[0], True)
        self.assertEqual(disabled["disabled"], 0)
        self.assertEqual(e2sim_timers.toggle(self.timers, self.data, key)[0], True)
        self.assertEqual(disabled["disabled"], 1)
        self.assertFalse(e2sim_timers.toggle(self.timers, self.data, dict(key, begin="1"))[0])
        count = len(self.timers)
        self.assertTrue(e2sim_timers.cleanup(self.timers)[0])
        self.assertEqual(len(self.timers), count - 2)
        self.assertNotIn(3, {t["state"] for t in self.timers})

    def test_tuner_rule(self):
        start = self.data.by_name("Erstes Programm HD")
        other = self.data.by_name("Zweites Programm HD")
        third = self.data.by_name("arte HD")
        busy = e2sim_timers.busy_transponders(self.timers, self.data, start.ref, False)
        self.assertEqual(busy, [start.transponder])     # the running recording shares it
        self.assertTrue(e2sim_timers.playable(third, busy))
        busy = e2sim_timers.busy_transponders(self.timers, self.data, other.ref, False)
        self.assertFalse(e2sim_timers.playable(third, busy))
        self.assertTrue(e2sim_timers.playable(start, busy))
        self.assertTrue(e2sim_timers.playable(other, busy))
        busy = e2sim_timers.busy_transponders(self.timers, self.data, other.ref, True)
        self.assertTrue(e2sim_timers.playable(third, busy))


class Disk(unittest.TestCase):
    def setUp(self):
        self.cache = tempfile.mkdtemp(prefix="e2sim-unit-")
        self.addCleanup(shutil.rmtree, self.cache, True)
        data = e2sim_data.DataSet()
        self.disk = e2sim_movies.Disk(self.cache, e2sim_stub_stream.make_recording,
                                      {s.ref: s.name for s in data.services}, "stub")

    def test_listing_reads_meta_files(self):
        movies = self.disk.movies("/hdd/movie/")
        self.assertEqual(len(movies), 4)
        unknown = next(m for m in movies if m["title"] == "Unbekannte Aufnahme")
        self.assertEqual((unknown["time"], unknown["length"], unknown["tags"]),
                         ("-1", "disabled", ""))
        tatort = next(m for m in movies if m["title"].startswith("Tatort"))
        self.assertEqual((tatort["servicename"], tatort["length"]), ("Erstes Programm HD", "0:20"))
        self.assertEqual(tatort["filesize"], os.path.getsize(self.disk.local(tatort["filename"])))
        self.assertEqual(len(self.disk.movies("/hdd/movie/archiv/")), 2)
        self.assertIsNone(self.disk.movies("/hdd/nothing/"))
        self.assertEqual(len(self.disk.movies("/hdd/movie/", tag="Krimi")), 2)

    def test_meta_edit_delete_and_reset(self):
        path = "/hdd/movie/Unbekannte Aufnahme.ts"
        meta = self.disk.local(path) + ".meta"
        with open(meta, "w", encoding="utf-8") as f:
            f.write("1:0:0:0:0:0:0:0:0:0:\nNeuer Titel\n\n-1\nNeuTag Spielfilm\n")
        self.assertEqual(self.disk.find(path)["tags"], "NeuTag Spielfilm")
        self.assertIn("NeuTag", self.disk.tags())
        self.assertTrue(self.disk.delete(path))
        self.assertFalse(os.path.exists(meta))
        self.assertIsNone(self.disk.find(path))
        self.assertFalse(self.disk.delete(path))
        self.disk.reset()
        self.assertEqual(self.disk.find(path)["title"], "Unbekannte Aufnahme")

    def test_paths_cannot_leave_the_disk(self):
        for path in ("/../../etc/passwd", "/hdd/movie/../../../x.ts", "/hdd/../.."):
            with self.subTest(path=path):
                self.assertIsNone(self.disk.local(path))
                self.assertFalse(self.disk.delete(path))


class GrabPicture(unittest.TestCase):
    def test_options(self):
        self.assertEqual(e2sim_grab.grab_options({"n": "", "p": "", "r": "720", "o": ""}),
                         {"size": (720, 405), "osd": True, "video": False, "better": False})
        self.assertEqual(e2sim_grab.grab_options({"p": "", "d": "", "b": ""})["size"], (1280, 720))
        self.assertFalse(e2sim_grab.grab_options({"v": ""})["osd"])
        self.assertEqual(e2sim_grab.grab_options({"r": "99999"})["size"], (1280, 720))

    def test_messages_on_screen(self):
        msgs = [{"text": "a", "type": 2, "timeout": 5, "time": 100},
                {"text": "b", "type": 1, "timeout": 5, "time": 200}]
        self.assertEqual(e2sim_grab.active_messages(msgs, 203), msgs[1:])
        self.assertEqual(e2sim_grab.active_messages(msgs, 206), [])
        forever = [{"text": "c", "type": 3, "timeout": 0, "time": 1}]
        self.assertEqual(e2sim_grab.active_messages(forever, 10 ** 9), forever)


if __name__ == "__main__":
    unittest.main()
