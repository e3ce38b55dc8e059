#!/usr/bin/env python3
"""The stand-ins for Apple's tools do what the checks rely on: their Mach-O files are read by the
system's `file` and by LLVM's otool and lipo as the stand-ins read them, and codesign, hdiutil,
install_name_tool and the notary refuse what the real ones refuse.

    python3 packaging/check/test_standins.py
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

STANDINS = HERE / "standins"
LLVM_OTOOL = shutil.which("llvm-otool-19")
LLVM_LIPO = shutil.which("llvm-lipo-19")
QT_GUI = macho.Dylib("@rpath/QtGui.framework/Versions/A/QtGui", "6.8.3", "6.0.0")
SYSTEM = macho.Dylib("/usr/lib/libSystem.B.dylib", "1345.100.2")


def tool(name, *args, env=None, check=False):
    return subprocess.run([str(STANDINS / name), *map(str, args)], capture_output=True, text=True, check=check,
                          env={**os.environ, **(env or {})})


def libraries(otool_output):
    return [line.strip() for line in otool_output.splitlines() if line.startswith("\t")]


class Standins(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())
        self.env = {"FENWOLD_STANDIN_LOG": str(self.dir / "commands.jsonl")}
        os.environ.update(self.env)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def binary(self, name, archs, kind="dylib", **fields):
        path = self.dir / name
        path.parent.mkdir(parents=True, exist_ok=True)
        macho.write(path, macho.make(kind, archs, **fields))
        return path

    @unittest.skipUnless(LLVM_OTOOL and LLVM_LIPO, "LLVM 19's otool and lipo (scripts/bootstrap installs them)")
    def test_llvm_and_file_read_the_files_as_the_standins_do(self):
        for archs in (["arm64"], ["x86_64", "arm64"]):
            path = self.binary(f"lib{len(archs)}.dylib", archs, install_name="@rpath/libx.dylib",
                               dylibs=[QT_GUI, SYSTEM], rpaths=["@loader_path/../Frameworks"])
            ours = tool("otool", "-L", path, check=True).stdout
            for arch in archs:
                theirs = subprocess.run([LLVM_OTOOL, "-L", "-arch", arch, str(path)], capture_output=True,
                                        text=True, check=True).stdout
                self.assertEqual(libraries(theirs), libraries(ours)[:3])
            self.assertEqual(len(libraries(ours)), 3 * len(archs), "one list per architecture")
            lipo = subprocess.run([LLVM_LIPO, "-archs", str(path)], capture_output=True, text=True, check=True)
            self.assertEqual(lipo.stdout.split(), tool("lipo", "-archs", path, check=True).stdout.split())
            rpaths = subprocess.run([LLVM_OTOOL, "-l", str(path)], capture_output=True, text=True, check=True)
            self.assertIn("path @loader_path/../Frameworks (offset 12)", rpaths.stdout)
            described = subprocess.run(["file", "-b", str(path)], capture_output=True, text=True, check=True)
            self.assertTrue(described.stdout.startswith("Mach-O"), described.stdout)
        self.assertIn("(architecture x86_64):", tool("otool", "-L", self.dir / "lib2.dylib").stdout)

    def test_install_name_tool_changes_what_otool_lists_and_refuses_what_is_not_there(self):
        path = self.binary("Fenwold", ["arm64"], "execute", dylibs=[QT_GUI], rpaths=["/opt/qt/lib"])
        tool("install_name_tool", "-delete_rpath", "/opt/qt/lib", "-add_rpath", "@executable_path/../Frameworks",
             "-change", QT_GUI.name, "@executable_path/../Frameworks/QtGui", path, check=True)
        self.assertEqual(macho.read(path).slices[0].rpaths, ["@executable_path/../Frameworks"])
        self.assertIn("@executable_path/../Frameworks/QtGui (compatibility", tool("otool", "-L", path).stdout)
        refused = tool("install_name_tool", "-delete_rpath", "/opt/qt/lib", path)
        self.assertNotEqual(refused.returncode, 0)
        self.assertIn("no LC_RPATH load command with path: /opt/qt/lib", refused.stderr)
        self.assertNotEqual(tool("install_name_tool", "-add_rpath", "@executable_path/../Frameworks", path)
                            .returncode, 0)

    def app(self):
        """A small bundle: an executable, a framework with its links and a plug-in."""
        app = self.dir / "Small.app"
        (app / "Contents").mkdir(parents=True)
        (app / "Contents/Info.plist").write_text(
            "<plist><dict><key>CFBundleExecutable</key><string>Small</string></dict></plist>")
        self.binary("Small.app/Contents/MacOS/Small", ["arm64"], "execute")
        self.binary("Small.app/Contents/PlugIns/platforms/libqcocoa.dylib", ["arm64"], "bundle")
        framework = app / "Contents/Frameworks/QtCore.framework"
        self.binary("Small.app/Contents/Frameworks/QtCore.framework/Versions/A/QtCore", ["arm64"],
                    install_name="@rpath/QtCore.framework/Versions/A/QtCore")
        (framework / "Versions/A/Resources").mkdir()
        (framework / "Versions/Current").symlink_to("A")
        for entry in ("QtCore", "Resources"):
            (framework / entry).symlink_to(f"Versions/Current/{entry}")
        return app

    def sign(self, path, *options):
        return tool("codesign", "--force", "--timestamp", "--options", "runtime", *options, "--sign", "Developer ID",
                    path)

    def test_codesign_signs_inside_out_only_and_verify_finds_a_change(self):
        app = self.app()
        refused = self.sign(app)
        self.assertNotEqual(refused.returncode, 0, "a bundle with unsigned code inside was signed")
        self.assertIn("code object is not signed at all", refused.stderr)
        self.assertIn("In subcomponent:", refused.stderr)
        for inner in (app / "Contents/PlugIns/platforms/libqcocoa.dylib", app / "Contents/Frameworks/QtCore.framework",
                      app):
            self.assertEqual(self.sign(inner).returncode, 0, inner)
        self.assertEqual(tool("codesign", "--verify", "--strict", "--deep", app).returncode, 0)

        # Signed again after the app: the app's seal no longer matches what it holds.
        self.assertEqual(self.sign(app / "Contents/PlugIns/platforms/libqcocoa.dylib").returncode, 0)
        broken = tool("codesign", "--verify", "--strict", "--deep", app)
        self.assertNotEqual(broken.returncode, 0)
        self.assertIn("a sealed resource is missing or invalid", broken.stderr)

    def test_codesign_refuses_a_framework_without_its_links(self):
        app = self.app()
        framework = app / "Contents/Frameworks/QtCore.framework"
        (framework / "Versions/Current").unlink()
        shutil.copytree(framework / "Versions/A", framework / "Versions/Current")
        refused = self.sign(framework)
        self.assertNotEqual(refused.returncode, 0)
        self.assertIn("bundle format is ambiguous", refused.stderr)

    def test_hdiutil_is_busy_when_asked_and_the_notary_refuses_unsigned_code(self):
        app = self.app()
        volume = self.dir / "volume"
        volume.mkdir()
        shutil.copytree(app, volume / "Small.app", symlinks=True)
        (volume / "Applications").symlink_to("/Applications")
        dmg = self.dir / "Small.dmg"
        create = ["create", "-volname", "Small", "-srcfolder", volume, "-ov", "-format", "UDZO", dmg]
        busy = tool("hdiutil", *create, env={"FENWOLD_STANDIN_HDIUTIL_BUSY": "1"})
        self.assertIn("Resource busy", busy.stderr)
        self.assertEqual(tool("hdiutil", *create, env={"FENWOLD_STANDIN_HDIUTIL_BUSY": "1"}).returncode, 0)
        self.assertEqual(tool("codesign", "--force", "--sign", "Developer ID", dmg).returncode, 0)
        answer = tool("xcrun", "notarytool", "submit", dmg, "--wait", "--output-format", "json")
        self.assertEqual(answer.returncode, 0, "notarytool exits 0 whatever the verdict")
        self.assertIn('"status": "Invalid"', answer.stdout)
        self.assertNotEqual(tool("xcrun", "stapler", "staple", dmg).returncode, 0)


if __name__ == "__main__":
    unittest.main(verbosity=1)
