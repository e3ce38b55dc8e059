#!/usr/bin/env python3
"""Writes a stand-in for Sparkle's release archive, as scripts/check-mac-install builds the Apple
build against it: Sparkle.framework laid out as Sparkle 2 ships it (Versions/B with the framework,
Autoupdate, Updater.app and the Downloader and Installer XPC services; the links at its top and
Versions/Current), each part signed ad hoc as shipped, the Downloader with entitlements of its
own; and bin/sign_update, which prints what Sparkle's prints for a file.

    standin_sparkle.py FOLDER [--archs arm64,x86_64]
"""
import argparse
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import macho  # noqa: E402

INSTALL_NAME = "@rpath/Sparkle.framework/Versions/B/Sparkle"
SYSTEM = ["/System/Library/Frameworks/AppKit.framework/Versions/C/AppKit",
          "/System/Library/Frameworks/Foundation.framework/Versions/C/Foundation", "/usr/lib/libSystem.B.dylib"]
DOWNLOADER_ENTITLEMENTS = """<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>com.apple.security.app-sandbox</key><true/>
<key>com.apple.security.network.client</key><true/></dict></plist>
"""
SIGN_UPDATE = '''#!/usr/bin/env python3
"""Stand-in for Sparkle's sign_update: reads the private key (--ed-key-file -: standard input) and
prints the file's EdDSA signature and length as Sparkle's tool prints them."""
import base64, hashlib, sys
from pathlib import Path
args = sys.argv[1:]
if args[:2] != ["--ed-key-file", "-"] or len(args) != 3:
    sys.exit("sign_update (stand-in): --ed-key-file - FILE")
key = sys.stdin.read().strip()
if not key:
    sys.exit("ERROR! Unable to load private key from standard input")
data = Path(args[2]).read_bytes()
signature = base64.b64encode(hashlib.sha512(key.encode() + data).digest()).decode()
print(f'sparkle:edSignature="{signature}" length="{len(data)}"')
'''


def plist(path, executable, identifier, package="APPL"):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text('<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0"><dict>'
                    f"<key>CFBundleExecutable</key><string>{executable}</string>"
                    f"<key>CFBundleIdentifier</key><string>{identifier}</string>"
                    f"<key>CFBundlePackageType</key><string>{package}</string></dict></plist>\n")


def executable(path, archs):
    path.parent.mkdir(parents=True, exist_ok=True)
    macho.write(path, macho.make("execute", archs, None, SYSTEM, ["@executable_path/../../../../.."]))


def write(folder, archs=("arm64",)):
    folder = Path(folder).resolve()
    framework = folder / "Sparkle.framework"
    if framework.exists():
        shutil.rmtree(framework)
    versioned = framework / "Versions/B"
    for name in ("Headers", "Modules", "PrivateHeaders"):
        (versioned / name).mkdir(parents=True)
    (versioned / "Headers/Sparkle.h").write_text("// Sparkle\n")
    (versioned / "Modules/module.modulemap").write_text("framework module Sparkle {}\n")
    plist(versioned / "Resources/Info.plist", "Sparkle", "org.sparkle-project.Sparkle", "FMWK")
    macho.write(versioned / "Sparkle", macho.make("dylib", archs, INSTALL_NAME, SYSTEM, version="2.6.4"))
    executable(versioned / "Autoupdate", archs)
    for bundle, name, identifier in (("Updater.app", "Updater", "org.sparkle-project.Sparkle.Updater"),
                                     ("XPCServices/Installer.xpc", "Installer",
                                      "org.sparkle-project.InstallerLauncher"),
                                     ("XPCServices/Downloader.xpc", "Downloader", "org.sparkle-project.Downloader")):
        contents = versioned / bundle / "Contents"
        plist(contents / "Info.plist", name, identifier, "XPC!" if bundle.endswith(".xpc") else "APPL")
        executable(contents / "MacOS" / name, archs)
    (framework / "Versions/Current").symlink_to("B")
    for name in ("Autoupdate", "Headers", "Modules", "PrivateHeaders", "Resources", "Sparkle", "Updater.app",
                 "XPCServices"):
        (framework / name).symlink_to(f"Versions/Current/{name}")
    entitlements = folder / "Downloader.entitlements"
    entitlements.write_text(DOWNLOADER_ENTITLEMENTS)
    # Signed as Sparkle ships it: ad hoc, inside out, the Downloader with its entitlements.
    codesign = [sys.executable, str(HERE / "standins/codesign"), "--force", "--sign", "-"]
    services = versioned / "XPCServices"
    for command in ([str(services / "Installer.xpc")],
                    ["--entitlements", str(entitlements), str(services / "Downloader.xpc")],
                    [str(versioned / "Autoupdate")], [str(versioned / "Updater.app")], [str(framework)]):
        subprocess.run(codesign + command, check=True, capture_output=True)
    entitlements.unlink()
    tool = folder / "bin/sign_update"
    tool.parent.mkdir(exist_ok=True)
    tool.write_text(SIGN_UPDATE)
    tool.chmod(0o755)
    return framework


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--archs", default="arm64")
    args = parser.parse_args()
    write(args.folder, args.archs.split(","))


if __name__ == "__main__":
    sys.exit(main())
