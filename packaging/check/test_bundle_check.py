#!/usr/bin/env python3
"""Each bundle check passes on the project's own file and fails on a deliberately broken copy.

    FENWOLD_INFO_PLIST=build/bundle-check/bundle/Info.plist FENWOLD_ACTION_VALIDATOR=... \
        python3 packaging/check/test_bundle_check.py
"""
import os
import plistlib
import re
import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import bundle_check  # noqa: E402
from importlib.machinery import SourceFileLoader  # noqa: E402
from importlib.util import module_from_spec, spec_from_loader  # noqa: E402

ROOT = bundle_check.ROOT
INFO_PLIST = Path(os.environ["FENWOLD_INFO_PLIST"])
VALIDATOR = os.environ["FENWOLD_ACTION_VALIDATOR"]


def script(path):
    """A script of the project without a .py name, as a module."""
    loader = SourceFileLoader(path.name.replace("-", "_"), str(path))
    module = module_from_spec(spec_from_loader(loader.name, loader))
    loader.exec_module(module)
    return module


class Copies(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())

    def tearDown(self):
        shutil.rmtree(self.dir)

    def copy(self, source, name, change=None):
        text = Path(source).read_text()
        if change:
            changed = change(text)
            self.assertNotEqual(changed, text, f"the change to {name} changed nothing")
            text = changed
        path = self.dir / name
        path.write_text(text)
        return path

    def plist(self, change):
        value = plistlib.loads(INFO_PLIST.read_bytes())
        change(value)
        path = self.dir / "Info.plist"
        path.write_bytes(plistlib.dumps(value))
        return path

    def assertProblem(self, problems, words):
        self.assertTrue(any(words in p for p in problems), f"no problem mentions {words!r}: {problems}")


class InfoPlist(Copies):
    def test_the_rendered_one_is_a_release_plist(self):
        self.assertEqual(bundle_check.check_info_plist(INFO_PLIST, release=True), [])

    def test_missing_or_mistyped_keys(self):
        self.assertProblem(bundle_check.check_info_plist(self.plist(lambda p: p.pop("CFBundleVersion"))),
                           "CFBundleVersion is missing")
        self.assertProblem(bundle_check.check_info_plist(self.plist(lambda p: p.update(LSUIElement="YES"))),
                           "LSUIElement is a str")
        self.assertProblem(bundle_check.check_info_plist(self.plist(lambda p: p.update(CFBundleName=""))),
                           "CFBundleName is empty")
        self.assertProblem(bundle_check.check_info_plist(self.copy(INFO_PLIST, "Info.plist", lambda t: t[:-20])),
                           "not a property list")

    def test_malformed_version_numbers(self):
        for key, value in [("CFBundleVersion", "1.0"), ("CFBundleVersion", "0"),
                           ("CFBundleShortVersionString", "0.1"), ("LSMinimumSystemVersion", "13.5")]:
            problems = bundle_check.check_info_plist(self.plist(lambda p: p.update({key: value})))
            self.assertProblem(problems, key)

    def test_a_usage_string_without_a_use(self):
        problems = bundle_check.check_info_plist(self.plist(
            lambda p: p.update(NSAppleEventsUsageDescription="Fenwold opens Finder windows.")))
        self.assertProblem(problems, "NSAppleEventsUsageDescription without a use")
        problems = bundle_check.check_info_plist(self.plist(lambda p: p.update(NSFooUsageDescription="?")))
        self.assertProblem(problems, "NSFooUsageDescription")

    def test_update_entries(self):
        problems = bundle_check.check_info_plist(self.plist(lambda p: p.pop("SUFeedURL")), release=True)
        self.assertProblem(problems, "a release needs SUFeedURL")
        self.assertEqual(bundle_check.check_info_plist(self.plist(lambda p: p.pop("SUFeedURL"))), [])
        self.assertProblem(bundle_check.check_info_plist(self.plist(lambda p: p.update(SUPublicEDKey="c2hvcnQ="))),
                           "SUPublicEDKey")
        self.assertProblem(bundle_check.check_info_plist(
            self.plist(lambda p: p.update(SUFeedURL="http://example.org/appcast.xml"))), "https")

    def test_the_icon_it_names(self):
        self.assertProblem(bundle_check.check_info_plist(INFO_PLIST, icon=self.dir / "AppIcon.icns"), "not made")


class Entitlements(Copies):
    FILE = ROOT / "packaging/macos/Fenwold.entitlements"

    def add(self, key):
        return self.copy(self.FILE, "x.entitlements",
                         lambda t: t.replace("<dict/>", f"<dict><key>{key}</key><true/></dict>"))

    def test_the_projects_file_holds_nothing_without_a_reason(self):
        self.assertEqual(bundle_check.check_entitlements(self.FILE), [])

    def test_forbidden_unexplained_and_unreadable(self):
        self.assertProblem(bundle_check.check_entitlements(self.add("com.apple.security.get-task-allow")),
                           "notary")
        self.assertProblem(bundle_check.check_entitlements(self.add("com.apple.security.cs.allow-jit")),
                           "no stated reason")
        self.assertProblem(bundle_check.check_entitlements(
            self.copy(self.FILE, "x.entitlements", lambda t: t.replace("<dict/>", "<dict>"))), "not a property list")


class Workflow(Copies):
    FILE = ROOT / ".github/workflows/macos.yml"

    def test_the_projects_workflow_is_valid(self):
        self.assertEqual(bundle_check.check_workflow(self.FILE, VALIDATOR), [])

    def test_a_workflow_the_schema_refuses(self):
        broken = self.copy(self.FILE, "macos.yml", lambda t: t.replace("runs-on: macos-14", "runs_on: macos-14", 1))
        self.assertProblem(bundle_check.check_workflow(broken, VALIDATOR), "workflow schema")

    def test_a_shallow_checkout(self):
        broken = self.copy(self.FILE, "macos.yml", lambda t: t.replace("fetch-depth: 0", "fetch-depth: 1", 1))
        self.assertProblem(bundle_check.check_workflow(broken, VALIDATOR), "shallow history")


class Cask(Copies):
    FILE = ROOT / "packaging/homebrew/Casks/fenwold.rb"

    def check(self, change=None, released=False):
        return bundle_check.check_cask(self.copy(self.FILE, "fenwold.rb", change), INFO_PLIST, released)

    def test_the_projects_cask_and_the_release_steps(self):
        self.assertEqual(bundle_check.check_cask(self.FILE, INFO_PLIST), [])
        filled = script(ROOT / "packaging/homebrew/fill-cask")
        version = plistlib.loads(INFO_PLIST.read_bytes())["CFBundleShortVersionString"]
        text = filled.fill(self.FILE.read_text(), version, "ab" * 32, "someone/fenwold")
        self.assertEqual(self.check(lambda t: text, released=True), [])
        self.assertIn("github.com/someone/fenwold/releases/download", text)
        self.assertProblem(self.check(released=True), "sha256")

    def test_broken_fields(self):
        cases = [
            (lambda t: t.replace('version "', 'version "9', 1), "version"),
            (lambda t: t.replace(":no_check", '"abc"'), "sha256"),
            (lambda t: t.replace(':sonoma"', ':ventura"'), "depends_on macos"),
            (lambda t: t.replace('app "Fenwold.app"', 'app "Fenwold Beta.app"'), "does not install"),
            (lambda t: re.sub(r'\s*"~/Library/Preferences/[^"]*",', "", t), "zap leaves ~/Library/Preferences"),
            (lambda t: t.replace('"~/Library/Application Support/Fenwold",', ""), "Application Support"),
            (lambda t: t.replace(".dmg", ".zip"), "url"),
            (lambda t: t.replace("auto_updates true\n", ""), "auto_updates"),
            (lambda t: t.replace("  end\n", "", 1), "do and end"),
            (lambda t: re.sub(r'desc "([^"]*)"', r'desc "\1 for the Mac"', t), "names the platform"),
            (lambda t: re.sub(r'desc "([^"]*)"', r'desc "\1 on macOS"', t), "names the platform"),
            (lambda t: re.sub(r'desc "([^"]*)"', r'desc "A \1"', t), "article"),
            (lambda t: re.sub(r'desc "([^"]*)"', r'desc "\1."', t), "full stop"),
            (lambda t: re.sub(r'desc "(\w)', lambda m: f'desc "{m.group(1).lower()}', t), "lower-case"),
            (lambda t: re.sub(r'desc "([^"]*)"', r'desc "Fenwold: \1"', t), "cask's name"),
            (lambda t: re.sub(r'desc "([^"]*)"', r'desc "\1, \1"', t), "over Homebrew's 80"),
        ]
        for change, words in cases:
            with self.subTest(words=words):
                self.assertProblem(self.check(change), words)


class Tag(unittest.TestCase):
    def test_only_the_declared_version_is_released(self):
        version = bundle_check.project_version()
        self.assertEqual(bundle_check.check_tag(f"v{version}"), [])
        for tag in (version, f"v{version}.1", "v0.0.0", "release"):
            self.assertTrue(bundle_check.check_tag(tag), tag)


if __name__ == "__main__":
    unittest.main(verbosity=1)
