#!/usr/bin/env python3
"""Each check of mac_install_check.py passes what scripts/check-mac-install made and ran, and fails
a copy of it broken on purpose.

    FENWOLD_MAC_INSTALL=build/mac-install python3 packaging/check/test_mac_install_check.py
"""
import json
import os
import shutil
import sys
import tarfile
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import macho  # noqa: E402
import mac_install_check as check  # noqa: E402

WORK = Path(os.environ["FENWOLD_MAC_INSTALL"])
README_APP = WORK / "readme/build/bundle/Fenwold.app"
README_LOG = WORK / "readme/commands.jsonl"
RELEASE_APP = WORK / "release/bundle/Fenwold.app"
RELEASE_LOG = WORK / "release/commands.jsonl"


def release_dmg():
    return next(p for p in (WORK / "release").glob("Fenwold-*.dmg"))


@unittest.skipUnless(RELEASE_APP.exists() and README_APP.exists(), "the release path did not get as far")
class Broken(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())

    def tearDown(self):
        shutil.rmtree(self.dir)

    def assertProblem(self, problems, words):
        self.assertTrue(any(words in p for p in problems), f"no problem mentions {words!r}: {problems}")

    def bundle(self, source):
        copy = self.dir / "Fenwold.app"
        shutil.copytree(source, copy, symlinks=True)
        return copy

    def log(self, source, change):
        """A copy of a recorded log, each command passed through `change`, which returns the commands
        to put in its place."""
        commands = [json.loads(line) for line in source.read_text().splitlines() if line.strip()]
        path = self.dir / "commands.jsonl"
        path.write_text("".join(json.dumps(c) + "\n" for command in commands for c in change(command)))
        return path

    def test_the_bundles_made(self):
        self.assertEqual(check.check_bundle(README_APP), [])
        self.assertEqual(check.check_bundle(RELEASE_APP, release=True), [])
        self.assertProblem(check.check_bundle(RELEASE_APP), "holds arm64 x86_64, not arm64")
        self.assertProblem(check.check_bundle(README_APP, release=True), "missing Frameworks/Sparkle.framework")

    def test_plug_ins_qt_conf_and_run_paths(self):
        app = self.bundle(README_APP)
        (app / "Contents/Resources/qt.conf").unlink()
        shutil.copy(app / "Contents/PlugIns/platforms/libqcocoa.dylib", app / "Contents/PlugIns/platforms/libqminimal.dylib")
        shutil.rmtree(app / "Contents/PlugIns/tls")
        executable = app / "Contents/MacOS/Fenwold"
        binary = macho.read(executable)
        binary.slices[0].commands.append(("rpath", "/Users/runner/Qt/6.8.3/macos/lib"))
        macho.write(executable, binary)
        problems = check.check_bundle(app)
        for words in ("qt.conf", "PlugIns/platforms/libqminimal.dylib was not chosen",
                      "missing plug-in PlugIns/tls/libqopensslbackend.dylib", "run paths"):
            self.assertProblem(problems, words)

    def test_frameworks(self):
        app = self.bundle(RELEASE_APP)
        frameworks = app / "Contents/Frameworks"
        current = frameworks / "Sparkle.framework/Versions/Current"
        current.unlink()
        shutil.copytree(frameworks / "Sparkle.framework/Versions/B", current, symlinks=True)
        shutil.copytree(frameworks / "QtCore.framework", frameworks / "QtDBus.framework", symlinks=True)
        (frameworks / "QtGui.framework/Versions/A/Headers").mkdir()
        problems = check.check_bundle(app, release=True)
        for words in ("Sparkle.framework: Versions/Current is not a link to B", "QtDBus.framework is not loaded",
                      "QtGui.framework carries its headers"):
            self.assertProblem(problems, words)

    def test_how_macdeployqt_ran(self):
        self.assertEqual(check.check_deployment(README_LOG, README_APP), [])
        self.assertEqual(check.check_deployment(RELEASE_LOG, RELEASE_APP), [])

        def relative_prefix(command):
            # The bundle named from the checkout while macdeployqt runs in the prefix.
            if command["tool"] == "macdeployqt":
                command["args"][0] = "build/bundle/Fenwold.app"
            return [command]
        self.assertProblem(check.check_deployment(self.log(README_LOG, relative_prefix), README_APP),
                           "not the installed bundle")

        def every_plugin(command):
            if command["tool"] == "macdeployqt":
                command["args"] = [a for a in command["args"] if a != "-no-plugins" and "libqtiff" not in a]
            return [command]
        problems = check.check_deployment(self.log(README_LOG, every_plugin), README_APP)
        self.assertProblem(problems, "-no-plugins")
        self.assertProblem(problems, "was not given the plug-in Contents/PlugIns/imageformats/libqtiff.dylib")

    def test_how_it_was_signed(self):
        self.assertEqual(check.check_signing(RELEASE_LOG, RELEASE_APP), [])
        signs = [c for c in map(json.loads, RELEASE_LOG.read_text().splitlines())
                 if c["tool"] == "codesign" and "--sign" in c["args"] and str(RELEASE_APP) in c["args"][-1]]
        app_sign = next(c for c in signs if c["args"][-1].endswith("Fenwold.app"))

        def deep_and_plain(command):
            if command == signs[0]:
                command = {**command, "args": ["--deep"] + command["args"]}
            elif command == signs[1]:
                command = {**command, "args": [a for a in command["args"] if a not in ("--options", "runtime")]}
            return [command]
        problems = check.check_signing(self.log(RELEASE_LOG, deep_and_plain), RELEASE_APP)
        self.assertProblem(problems, "was signed with --deep")
        self.assertProblem(problems, "hardened runtime")

        # The application first, then everything in it.
        outside_in = self.log(RELEASE_LOG, lambda c: [] if c == app_sign else [app_sign, c] if c == signs[0] else [c])
        problems = check.check_signing(outside_in, RELEASE_APP)
        self.assertProblem(problems, "was signed after Fenwold.app, which holds it")
        self.assertProblem(problems, "the application was not signed last")

        unsigned = self.log(RELEASE_LOG, lambda c: [] if c in signs and "libqcocoa" in c["args"][-1] else [c])
        self.assertProblem(check.check_signing(unsigned, RELEASE_APP), "libqcocoa.dylib was never signed")

    def test_the_disk_image(self):
        dmg = release_dmg()
        self.assertEqual(check.check_disk_image(RELEASE_LOG, dmg), [])
        copy = self.dir / dmg.name
        with tarfile.open(dmg) as source, tarfile.open(copy, "w") as broken:
            for member in source.getmembers():
                if member.name == "Applications":
                    member.linkname = "/tmp"
                broken.addfile(member, source.extractfile(member) if member.isfile() else None)
        log = self.log(RELEASE_LOG, lambda c: [{**c, "args": [str(copy) if a.endswith(dmg.name) else a
                                                              for a in c["args"]]}])
        self.assertProblem(check.check_disk_image(log, copy), "not a link to /Applications")
        with tarfile.open(copy, "w") as broken, tarfile.open(dmg) as source:
            for member in source.getmembers():
                if member.name != "Applications":
                    broken.addfile(member, source.extractfile(member) if member.isfile() else None)
        self.assertProblem(check.check_disk_image(log, copy), "not Fenwold.app and a link to /Applications")

    def test_the_notarisation(self):
        dmg = release_dmg()
        self.assertEqual(check.check_notarisation(RELEASE_LOG, dmg), [])
        unstapled = self.log(RELEASE_LOG, lambda c: [] if c["args"][:2] == ["stapler", "staple"] else [c])
        self.assertProblem(check.check_notarisation(unstapled, dmg), "not submit, staple, validate and assess")
        unwaited = self.log(RELEASE_LOG, lambda c: [{**c, "args": [a for a in c["args"] if a != "--wait"]}])
        self.assertProblem(check.check_notarisation(unwaited, dmg), "wait")


if __name__ == "__main__":
    unittest.main(verbosity=1)
