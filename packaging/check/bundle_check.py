#!/usr/bin/env python3
"""Checks what the Mac bundle and its release are made of, on any system.

    bundle_check.py info-plist Info.plist [--release] [--icon AppIcon.icns]
    bundle_check.py entitlements Fenwold.entitlements
    bundle_check.py workflow macos.yml --validator PATH
    bundle_check.py cask fenwold.rb --info-plist Info.plist [--released]
    bundle_check.py tag v1.2.3

Each prints one line per problem and exits 1 when there is one. The facts checked against come
from where they are declared: the rendered Info.plist for the identifier and the version, the
program's sources for the pins folder and for the APIs that need a usage string.
"""
import argparse
import base64
import plistlib
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
MAC_SOURCES = [ROOT / "src/platform/mac", ROOT / "src/app/MacHost.mm"]

# Every key Info.plist must hold, with its type.
REQUIRED_KEYS = {
    "CFBundleDevelopmentRegion": str,
    "CFBundleExecutable": str,
    "CFBundleIconFile": str,
    "CFBundleIdentifier": str,
    "CFBundleInfoDictionaryVersion": str,
    "CFBundleName": str,
    "CFBundlePackageType": str,
    "CFBundleShortVersionString": str,
    "CFBundleVersion": str,
    "LSMinimumSystemVersion": str,
    "LSUIElement": bool,
    "NSHighResolutionCapable": bool,
    "NSPrincipalClass": str,
}
OPTIONAL_KEYS = {
    "CFBundleDisplayName": str,
    "LSApplicationCategoryType": str,
    "SUFeedURL": str,
    "SUPublicEDKey": str,
}
# A usage string is shown when the program calls an API that asks the user; one without such a
# call is a question the program never asks. Each key with the calls that need it.
USAGE_STRINGS = {
    "NSAppleEventsUsageDescription": r"NSAppleScript|AESendMessage|SBApplication|NSUserAppleScriptTask",
    "NSCameraUsageDescription": r"AVCaptureDevice|AVCaptureSession",
    "NSMicrophoneUsageDescription": r"AVCaptureDevice|AVAudioRecorder|AVAudioEngine",
    "NSLocationUsageDescription": r"CLLocationManager",
    "NSLocationWhenInUseUsageDescription": r"CLLocationManager",
    "NSContactsUsageDescription": r"CNContactStore",
    "NSCalendarsUsageDescription": r"EKEventStore",
    "NSRemindersUsageDescription": r"EKEventStore",
    "NSPhotoLibraryUsageDescription": r"PHPhotoLibrary",
    "NSBluetoothAlwaysUsageDescription": r"CBCentralManager|CBPeripheralManager",
    "NSSpeechRecognitionUsageDescription": r"SFSpeechRecognizer",
    "NSSystemAdministrationUsageDescription": r"AuthorizationCreate|SMJobBless",
}
MINIMUM_MACOS = (14, 0)
# What Homebrew's style check (rubocops/shared/desc_helper.rb) refuses in a cask's desc.
DESC_RULES = [
    (re.compile(r"^\s|\s$"), "has leading or trailing spaces"),
    (re.compile(r"^(the|an?)\s", re.I), "starts with an article"),
    (re.compile(r"^[a-z]"), "starts with a lower-case letter"),
    (re.compile(r"^fenwold\b", re.I), "starts with the cask's name"),
    (re.compile(r"\b(macOS|Mac( ?OS( ?X)?)?|OS ?X)(?! virtual machines?)\b", re.I),
     "names the platform (casks are only for macOS)"),
    (re.compile(r"\.$"), "ends with a full stop"),
]
DESC_LENGTH = 80

# Entitlements the program may carry, each with the reason it needs it. None today: see the
# comment in packaging/macos/Fenwold.entitlements.
ALLOWED_ENTITLEMENTS: dict[str, str] = {}
# Entitlements that must never be there, and why.
FORBIDDEN_ENTITLEMENTS = {
    "com.apple.security.get-task-allow": "a debugging exception the notary service refuses",
    "com.apple.security.cs.disable-library-validation": "every library in the bundle is signed with its identity",
    "com.apple.security.cs.allow-dyld-environment-variables": "lets any environment inject code",
    "com.apple.security.app-sandbox": "a sandboxed process cannot tap the keyboard or move other windows",
    "com.apple.security.automation.apple-events": "the program sends no Apple events",
}


def source_text():
    files = []
    for place in MAC_SOURCES:
        files += sorted(place.glob("*.mm")) + sorted(place.glob("*.h")) if place.is_dir() else [place]
    return "\n".join(f.read_text(errors="replace") for f in files if f.exists())


def load_plist(path, what):
    try:
        with open(path, "rb") as f:
            value = plistlib.load(f)
    except Exception as error:  # any parse failure is the finding
        return None, [f"{what}: not a property list ({error})"]
    if not isinstance(value, dict):
        return None, [f"{what}: the top level is not a dictionary"]
    return value, []


def version_tuple(text):
    return tuple(int(part) for part in text.split("."))


def check_info_plist(path, release=False, icon=None):
    plist, problems = load_plist(path, "Info.plist")
    if plist is None:
        return problems
    for key, kind in {**REQUIRED_KEYS, **OPTIONAL_KEYS}.items():
        if key not in plist:
            if key in REQUIRED_KEYS:
                problems.append(f"Info.plist: {key} is missing")
            continue
        if not isinstance(plist[key], kind):
            problems.append(f"Info.plist: {key} is a {type(plist[key]).__name__}, not a {kind.__name__}")
        elif kind is str and not plist[key].strip():
            problems.append(f"Info.plist: {key} is empty")
    if problems:
        return problems
    if not re.fullmatch(r"[A-Za-z][A-Za-z0-9-]*(\.[A-Za-z0-9-]+)+", plist["CFBundleIdentifier"]):
        problems.append(f"Info.plist: CFBundleIdentifier {plist['CFBundleIdentifier']!r} is not reverse-DNS")
    if not re.fullmatch(r"\d+\.\d+\.\d+", plist["CFBundleShortVersionString"]):
        problems.append(f"Info.plist: CFBundleShortVersionString {plist['CFBundleShortVersionString']!r} is not x.y.z")
    # Update feeds compare builds as numbers: a whole number that only grows.
    if not re.fullmatch(r"[1-9]\d*", plist["CFBundleVersion"]):
        problems.append(f"Info.plist: CFBundleVersion {plist['CFBundleVersion']!r} is not a whole number")
    minimum = plist["LSMinimumSystemVersion"]
    if not re.fullmatch(r"\d+\.\d+(\.\d+)?", minimum) or version_tuple(minimum)[:2] < MINIMUM_MACOS:
        problems.append(f"Info.plist: LSMinimumSystemVersion {minimum!r} is not macOS 14 or later")
    if plist["CFBundlePackageType"] != "APPL":
        problems.append("Info.plist: CFBundlePackageType is not APPL")
    if plist["LSUIElement"] is not True:
        problems.append("Info.plist: LSUIElement is not true (the program has no Dock icon)")
    if "SUFeedURL" in plist and not re.fullmatch(r"https://[^\s/]+/\S*", plist["SUFeedURL"]):
        problems.append(f"Info.plist: SUFeedURL {plist['SUFeedURL']!r} is not an https address")
    if "SUPublicEDKey" in plist:
        try:
            key = base64.b64decode(plist["SUPublicEDKey"], validate=True)
        except ValueError:
            key = b""
        if len(key) != 32:
            problems.append("Info.plist: SUPublicEDKey is not a base64 Ed25519 public key (32 bytes)")
    if release:
        problems += [f"Info.plist: a release needs {key}" for key in ("SUFeedURL", "SUPublicEDKey") if key not in plist]
    sources = source_text()
    for key in plist:
        if not key.endswith("UsageDescription"):
            continue
        api = USAGE_STRINGS.get(key)
        if api is None:
            problems.append(f"Info.plist: {key} is not a usage string this check knows the calls of")
        elif not re.search(api, sources):
            problems.append(f"Info.plist: {key} without a use (no {api} in the Mac sources)")
    known = set(REQUIRED_KEYS) | set(OPTIONAL_KEYS) | set(USAGE_STRINGS)
    problems += [f"Info.plist: unexpected key {key}" for key in plist if key not in known]
    if icon is not None and not Path(icon).is_file():
        problems.append(f"Info.plist: CFBundleIconFile names {plist['CFBundleIconFile']}.icns, which was not made")
    return problems


def check_entitlements(path):
    entitlements, problems = load_plist(path, "entitlements")
    if entitlements is None:
        return problems
    for key, value in entitlements.items():
        if key in FORBIDDEN_ENTITLEMENTS:
            problems.append(f"entitlements: {key} must not be there: {FORBIDDEN_ENTITLEMENTS[key]}")
        elif key not in ALLOWED_ENTITLEMENTS:
            problems.append(f"entitlements: {key} has no stated reason (ALLOWED_ENTITLEMENTS)")
        elif value is not True:
            problems.append(f"entitlements: {key} is not true")
    return problems


def check_workflow(path, validator):
    problems = []
    run = subprocess.run([validator, str(path)], capture_output=True, text=True, cwd=ROOT)
    if run.returncode != 0:
        problems.append(f"workflow: not valid against the workflow schema:\n{run.stdout}{run.stderr}")
    # The build number is the commit count: every checkout that builds needs the whole history.
    text = Path(path).read_text()
    for match in re.finditer(r"uses: actions/checkout@\S+(?P<step>(\n\s+(with:|[a-z-]+:).*)*)", text):
        if not re.search(r"fetch-depth:\s*0\b", match.group("step")):
            line = text.count("\n", 0, match.start()) + 1
            problems.append(f"workflow: line {line}: the checkout fetches a shallow history (fetch-depth: 0)")
    return problems


def pins_folder():
    header = (ROOT / "src/core/clipboard/PinsFile.h").read_text()
    return re.search(r'relativePath = QStringLiteral\("([^"/]+)/', header).group(1)


def check_cask(path, info_plist, released=False):
    plist, problems = load_plist(info_plist, "Info.plist")
    if plist is None:
        return problems
    cask = Path(path).read_text()

    def field(pattern):
        match = re.search(pattern, cask, re.M)
        return match.group(1) if match else None

    if not re.match(r'\s*cask "fenwold" do\n', cask) or not cask.rstrip().endswith("end"):
        problems.append('cask: not a cask "fenwold" do … end')
    if len(re.findall(r"\bdo\b", cask)) != len(re.findall(r"^\s*end\s*$", cask, re.M)):
        problems.append("cask: its do and end do not pair")
    version = field(r'^\s*version "([^"]*)"')
    if version != plist["CFBundleShortVersionString"]:
        problems.append(f"cask: version {version!r} is not the bundle's {plist['CFBundleShortVersionString']!r}")
    sha = field(r"^\s*sha256 (:no_check|\"[^\"]*\")")
    if sha is None or not (re.fullmatch(r'"[0-9a-f]{64}"', sha) or (sha == ":no_check" and not released)):
        problems.append(f"cask: sha256 {sha} is not the disk image's checksum")
    url = field(r'^\s*url "([^"]*)"')
    if not url or not re.fullmatch(r"https://\S+#\{version\}\S*\.dmg", url):
        problems.append(f"cask: url {url!r} is not an https address of the version's disk image")
    for name in ("name", "desc", "homepage"):
        if not field(rf'^\s*{name} "([^"]+)"'):
            problems.append(f"cask: no {name}")
    desc = field(r'^\s*desc "([^"]*)"') or ""
    problems += [f"cask: desc {desc!r} {why}" for rule, why in DESC_RULES if rule.search(desc)]
    if len(desc) > DESC_LENGTH:
        problems.append(f"cask: desc is {len(desc)} characters, over Homebrew's {DESC_LENGTH}")
    if field(r'^\s*depends_on macos: "([^"]*)"') != ">= :sonoma":
        problems.append('cask: depends_on macos is not ">= :sonoma" (the bundle needs macOS 14)')
    app = plist["CFBundleName"] + ".app"
    if field(r'^\s*app "([^"]*)"') != app:
        problems.append(f"cask: does not install {app}")
    if not re.search(r"^\s*auto_updates true", cask, re.M):
        problems.append("cask: auto_updates is not true (the program updates itself)")
    zap = field(r"^\s*zap trash: \[([^\]]*)\]") or ""
    wanted = [f"~/Library/Preferences/{plist['CFBundleIdentifier']}.plist",
              f"~/Library/Application Support/{pins_folder()}"]
    problems += [f"cask: zap leaves {place}" for place in wanted if f'"{place}"' not in zap]
    return problems


def project_version():
    cmake = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(\s*Fenwold\s+VERSION\s+([0-9.]+)", cmake).group(1)


def check_tag(tag):
    """A release tag is v and the version project() declares: checked before anything is built."""
    version = project_version()
    if tag != f"v{version}":
        return [f"tag: {tag!r} is not v{version}, the version CMakeLists.txt's project() declares"]
    return []


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="what", required=True)
    p = sub.add_parser("info-plist")
    p.add_argument("file")
    p.add_argument("--release", action="store_true")
    p.add_argument("--icon")
    p = sub.add_parser("entitlements")
    p.add_argument("file")
    p = sub.add_parser("workflow")
    p.add_argument("file")
    p.add_argument("--validator", required=True)
    p = sub.add_parser("cask")
    p.add_argument("file")
    p.add_argument("--info-plist", required=True)
    p.add_argument("--released", action="store_true")
    p = sub.add_parser("tag")
    p.add_argument("file", metavar="tag")
    args = parser.parse_args()
    if args.what == "info-plist":
        problems = check_info_plist(args.file, args.release, args.icon)
    elif args.what == "entitlements":
        problems = check_entitlements(args.file)
    elif args.what == "workflow":
        problems = check_workflow(args.file, args.validator)
    elif args.what == "cask":
        problems = check_cask(args.file, args.info_plist, args.released)
    else:
        problems = check_tag(args.file)
    for problem in problems:
        print(problem)
    print(f"{args.what} {args.file}: {'OK' if not problems else f'{len(problems)} problem(s)'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
