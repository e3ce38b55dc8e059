#!/usr/bin/env python3
"""packaging/macos/check-bundle-links on what Apple's otool -L and lipo -archs print for a deployed
bundle (fixtures/bundle-links, replayed): it passes a sound bundle, thin and universal, and fails
each broken one.

    python3 packaging/check/test_check_bundle_links.py
    FENWOLD_CHECK_BUNDLE_LINKS=/other/checkout/packaging/macos/check-bundle-links python3 ...
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import macho  # noqa: E402

ROOT = HERE.parents[1]
CHECK = Path(os.environ.get("FENWOLD_CHECK_BUNDLE_LINKS", ROOT / "packaging/macos/check-bundle-links"))
FIXTURES = HERE / "fixtures/bundle-links"
# Prints the output recorded for the tool and the file it is given: FENWOLD_REPLAY/TOOL/PATH.
REPLAY = """#!/bin/sh
for file; do :; done
exec cat "$FENWOLD_REPLAY/$(basename "$0")$(realpath "$file")"
"""


class BundleLinks(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())
        self.bin = self.dir / "bin"
        self.bin.mkdir()
        for tool in ("otool", "lipo"):
            (self.bin / tool).write_text(REPLAY)
            (self.bin / tool).chmod(0o755)
        self.app = self.dir / "Fenwold.app"
        self.replay = self.dir / "replay"

    def tearDown(self):
        shutil.rmtree(self.dir)

    def binary(self, relative, fixture, universal, kind="dylib"):
        """A Mach-O file in the bundle for which otool and lipo print the recorded output."""
        path = self.app / "Contents" / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        macho.write(path, macho.make(kind, ["x86_64", "arm64"] if universal else ["arm64"]))
        for tool, recorded in (("otool", fixture), ("lipo", f"{'universal' if universal else 'thin'}.lipo-archs")):
            replay = self.replay / tool / path.resolve().relative_to("/")
            replay.parent.mkdir(parents=True, exist_ok=True)
            if replay.is_symlink():
                replay.unlink()
            replay.symlink_to(FIXTURES / recorded)
        return path

    def framework(self, name, fixture, universal, version="A"):
        root = Path("Frameworks") / f"{name}.framework"
        self.binary(root / "Versions" / version / name, fixture, universal)
        (self.app / "Contents" / root / "Versions" / version / "Resources").mkdir()
        (self.app / "Contents" / root / "Versions/Current").symlink_to(version)
        for entry in (name, "Resources"):
            (self.app / "Contents" / root / entry).symlink_to(f"Versions/Current/{entry}")

    def sound(self, universal):
        """A bundle as the deployment leaves it."""
        kind = "universal" if universal else "thin"
        self.binary("MacOS/Fenwold", f"Fenwold.{kind}.otool-L", universal, "execute")
        self.framework("QtCore", f"QtCore.{kind}.otool-L", universal)
        self.framework("QtGui", f"QtGui.{kind}.otool-L", universal)
        for name in ("QtWidgets", "QtNetwork"):
            self.framework(name, f"QtCore.{kind}.otool-L", universal)
        for plugin in ("platforms/libqcocoa", "styles/libqmacstyle", "imageformats/libqjpeg"):
            self.binary(f"PlugIns/{plugin}.dylib", f"libqcocoa.{kind}.otool-L", universal, "bundle")
        if universal:
            self.framework("Sparkle", "Sparkle.universal.otool-L", universal, "B")
            self.binary("Frameworks/Sparkle.framework/Versions/B/Autoupdate", "Autoupdate.universal.otool-L",
                        universal, "execute")
        resources = self.app / "Contents/Resources"
        resources.mkdir(parents=True, exist_ok=True)
        (resources / "AppIcon.icns").write_bytes(b"icns\0\0\0\x08")
        (resources / "qt.conf").write_text("[Paths]\nPlugins = PlugIns\n")
        (self.app / "Contents/Info.plist").write_text("<plist><dict/></plist>\n")

    def run_check(self, *options):
        env = {**os.environ, "PATH": f"{self.bin}:{os.environ['PATH']}", "FENWOLD_REPLAY": str(self.replay)}
        return subprocess.run([str(CHECK), *options, str(self.app)], capture_output=True, text=True, env=env)

    def assertPasses(self, *options):
        result = self.run_check(*options)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def assertFails(self, words, *options):
        result = self.run_check(*options)
        self.assertNotEqual(result.returncode, 0, f"passed although broken ({words}):\n{result.stdout}")
        self.assertIn(words, result.stdout + result.stderr)

    def test_a_sound_universal_bundle_passes(self):
        self.sound(universal=True)
        self.assertPasses("--universal")
        self.assertPasses()

    def test_a_sound_thin_bundle_passes_unless_both_architectures_are_asked_for(self):
        self.sound(universal=False)
        self.assertPasses()
        self.assertFails("MacOS/Fenwold", "--universal")

    def test_a_binary_loading_homebrews_qt_fails(self):
        self.sound(universal=True)
        self.binary("MacOS/Fenwold", "homebrew-qt.otool-L", True, "execute")
        self.assertFails("/opt/homebrew/opt/qt/lib/QtWidgets.framework", "--universal")

    def test_a_framework_that_was_not_deployed_fails(self):
        self.sound(universal=True)
        self.binary("PlugIns/imageformats/libqjpeg.dylib", "missing-framework.otool-L", True, "bundle")
        self.assertFails("@rpath/QtSvg.framework", "--universal")

    def test_a_loader_path_out_of_the_bundle_fails(self):
        self.sound(universal=True)
        self.binary("PlugIns/styles/libqmacstyle.dylib", "outside-loader-path.otool-L", True, "bundle")
        self.assertFails("@loader_path/../../../../../lib/QtWidgets.framework", "--universal")

    def test_a_plugin_that_was_not_chosen_fails(self):
        self.sound(universal=True)
        self.binary("PlugIns/iconengines/libqsvgicon.dylib", "libqcocoa.universal.otool-L", True, "bundle")
        self.assertFails("PlugIns/iconengines/libqsvgicon.dylib", "--universal")

    def test_a_framework_copied_without_its_links_fails(self):
        self.sound(universal=True)
        current = self.app / "Contents/Frameworks/QtGui.framework/Versions/Current"
        current.unlink()
        shutil.copytree(current.parent / "A", current)
        self.assertFails("QtGui.framework: Versions/Current is not a symbolic link", "--universal")

    def test_a_bundle_without_qt_conf_fails(self):
        self.sound(universal=True)
        (self.app / "Contents/Resources/qt.conf").unlink()
        self.assertFails("no qt.conf", "--universal")

    def test_a_bundle_without_the_cocoa_plugin_fails(self):
        self.sound(universal=True)
        (self.app / "Contents/PlugIns/platforms/libqcocoa.dylib").unlink()
        self.assertFails("no Cocoa platform plug-in", "--universal")


if __name__ == "__main__":
    unittest.main()
