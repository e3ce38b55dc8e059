#!/usr/bin/env python3
"""The release job's feed and notes: packaging/appcast-item against a real HTTP server (a feed
found, not found, or failing) and packaging/release-notes on the project's changelog.

    FENWOLD_INFO_PLIST=build/bundle-check/bundle/Info.plist python3 packaging/check/test_release_tools.py
"""
import http.server
import os
import plistlib
import shutil
import socket
import tempfile
import threading
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

from test_bundle_check import ROOT, script

INFO_PLIST = Path(os.environ["FENWOLD_INFO_PLIST"])
appcast = script(ROOT / "packaging/appcast-item")
notes = script(ROOT / "packaging/release-notes")
SIGNED = 'sparkle:edSignature="c2lnbmF0dXJl" length="1234"'
SPARKLE = "{http://www.andymatuschak.org/xml-namespaces/sparkle}"


class Server:
    """A web server on this machine answering each path with (status, body)."""

    def __init__(self, answers):
        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                status, body = answers.get(self.path, (404, b"Not Found"))
                self.send_response(status)
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path):
        return f"http://127.0.0.1:{self.httpd.server_address[1]}{path}"

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Appcast(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())
        self.version, self.build, self.minimum = appcast.release(INFO_PLIST)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def item(self, feed, build=None, version="0.0.9", html="<p>Fixes.</p>"):
        return appcast.add_item(feed, version, build or "7", "14.0", f"https://example.org/{version}.dmg",
                                SIGNED, html, published="Mon, 01 Jan 2024 00:00:00 GMT")

    def test_the_bundle_gives_version_build_and_minimum_system(self):
        info = plistlib.loads(INFO_PLIST.read_bytes())
        self.assertEqual((self.version, self.build, self.minimum),
                         (info["CFBundleShortVersionString"], info["CFBundleVersion"], info["LSMinimumSystemVersion"]))

    def test_a_feed_found_keeps_its_items_and_one_not_found_starts_a_new_one(self):
        older = self.item("")
        server = Server({"/latest/appcast.xml": (200, older.encode())})
        try:
            self.assertEqual(appcast.previous_feed(server.url("/latest/appcast.xml")), older)
            self.assertEqual(appcast.previous_feed(server.url("/first-release/appcast.xml")), "")
        finally:
            server.close()
        feed = ET.fromstring(self.item(older, build="9", version="0.1.0", html="<ul><li>New &amp; better</li></ul>"))
        items = feed.findall("channel/item")
        self.assertEqual([i.findtext(SPARKLE + "version") for i in items], ["9", "7"])
        self.assertEqual(items[0].findtext("description"), "<ul><li>New &amp; better</li></ul>")
        self.assertEqual(items[0].findtext(SPARKLE + "minimumSystemVersion"), "14.0")
        self.assertEqual(items[0].find("enclosure").get(SPARKLE + "edSignature"), "c2lnbmF0dXJl")
        again = ET.fromstring(self.item(ET.tostring(feed, encoding="unicode"), build="9", version="0.1.1"))
        self.assertEqual(len(again.findall("channel/item")), 2, "the same build is replaced, not added")

    def test_a_feed_that_cannot_be_read_fails_the_release(self):
        server = Server({"/appcast.xml": (500, b"oops"), "/garbled.xml": (200, b"<rss><channel>")})
        try:
            with self.assertRaisesRegex(ValueError, "HTTP 500"):
                appcast.previous_feed(server.url("/appcast.xml"))
            with self.assertRaisesRegex(ValueError, "not XML"):
                self.item(appcast.previous_feed(server.url("/garbled.xml")))
        finally:
            server.close()
        with socket.socket() as unused:
            unused.bind(("127.0.0.1", 0))
            port = unused.getsockname()[1]
        with self.assertRaisesRegex(ValueError, "could not be read"):
            appcast.previous_feed(f"http://127.0.0.1:{port}/appcast.xml", timeout=5)

    def test_what_an_item_needs(self):
        for change, words in [({"sign": "length=12"}, "sign_update"), ({"notes": " "}, "notes"),
                              ({"minimum": "fourteen"}, "minimum system"), ({"build": "0"}, "build")]:
            with self.subTest(words=words), self.assertRaisesRegex(ValueError, words):
                appcast.add_item("", "0.1.0", change.get("build", "3"), change.get("minimum", "14.0"),
                                 "https://example.org/x.dmg", change.get("sign", SIGNED), change.get("notes", "<p>x</p>"))


class ReleaseNotes(unittest.TestCase):
    CHANGELOG = "# Changes\n\n## 1.1.0\n\nFaster.\n\n- One\n  wrapped\n- `Two` & **three**\n\n## 1.0.0\n\nFirst.\n"

    def test_a_version_gets_its_own_section_only(self):
        self.assertEqual(notes.section(self.CHANGELOG, "1.0.0"), "First.\n")
        self.assertNotIn("First", notes.section(self.CHANGELOG, "1.1.0"))
        with self.assertRaisesRegex(ValueError, "no section"):
            notes.section(self.CHANGELOG, "1.0")

    def test_as_html(self):
        self.assertEqual(notes.to_html(notes.section(self.CHANGELOG, "1.1.0")),
                         "<p>Faster.</p>\n<ul><li>One wrapped</li><li><code>Two</code> &amp; <strong>three</strong>"
                         "</li></ul>\n")

    def test_the_projects_changelog_has_the_declared_versions_notes(self):
        from bundle_check import project_version
        self.assertIn("<li>", notes.to_html(notes.section((ROOT / "CHANGELOG.md").read_text(), project_version())))


if __name__ == "__main__":
    unittest.main(verbosity=1)
