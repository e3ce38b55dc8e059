#!/usr/bin/env python3
"""Checks what the Mac release path made and ran, as scripts/check-mac-install executes it with
stand-ins for Apple's tools (packaging/check/standins, which record every call):

    mac_install_check.py bundle APP [--release]       the installed Fenwold.app
    mac_install_check.py deployment LOG APP           how cmake --install ran macdeployqt
    mac_install_check.py signing LOG APP              how packaging/macos/sign-app signed it
    mac_install_check.py disk-image LOG DMG           how packaging/macos/make-dmg made the image
    mac_install_check.py notarisation LOG DMG         how packaging/macos/notarize sent it

Each prints one line per problem and exits 1 when there is one.
"""
import argparse
import os
import plistlib
import sys
import tarfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
sys.path.insert(0, str(HERE / "standins"))
import macho  # noqa: E402
import standin  # noqa: E402

ROOT = HERE.parents[1]
# What the bundle carries from a Qt that has every plug-in cmake/DeployQt.cmake may choose.
PLUGINS = {"platforms/libqcocoa.dylib", "styles/libqmacstyle.dylib"} | {
    f"imageformats/libq{name}.dylib" for name in ("tiff", "jpeg", "gif", "icns", "webp", "tga", "ico")}
# Only without the update framework: the program then fetches its feed itself, over HTTPS.
TLS_PLUGINS = {f"tls/libq{name}backend.dylib" for name in ("certonly", "openssl", "securetransport")}
FRAMEWORKS = {"QtCore.framework", "QtGui.framework", "QtWidgets.framework", "QtNetwork.framework"}
SPARKLE_LINKS = {"Autoupdate", "Headers", "Modules", "PrivateHeaders", "Resources", "Sparkle", "Updater.app",
                 "XPCServices"}
QT_CONF = "[Paths]\nPlugins = PlugIns\n"
RPATH = "@executable_path/../Frameworks"
ENTITLEMENTS = ROOT / "packaging/macos/Fenwold.entitlements"


def inside(path, folder):
    path, folder = Path(os.path.normpath(path)), Path(os.path.normpath(folder))
    return path == folder or folder in path.parents


def value(args, option):
    """What follows an option in a recorded command line, or None."""
    return args[args.index(option) + 1] if option in args[:-1] else None


def where(command, path):
    """A path a recorded command was given, from the folder it ran in."""
    return Path(os.path.normpath(Path(command["cwd"]) / path))


def framework_links(framework, entries, version):
    problems = []
    current = framework / "Versions/Current"
    if not current.is_symlink() or os.readlink(current) != version:
        problems.append(f"{framework.name}: Versions/Current is not a link to {version}")
    for name in entries:
        entry = framework / name
        if not entry.is_symlink() or os.readlink(entry) != f"Versions/Current/{name}":
            problems.append(f"{framework.name}/{name} is not a link to Versions/Current/{name}")
    return problems


def check_bundle(app, release=False):
    app = Path(app)
    contents = app / "Contents"
    problems = []
    try:
        info = plistlib.loads((contents / "Info.plist").read_bytes())
    except (OSError, plistlib.InvalidFileException) as error:
        return [f"Info.plist: {error}"]
    executable = contents / "MacOS" / info.get("CFBundleExecutable", "")
    if info.get("CFBundleExecutable") != "Fenwold" or not macho.is_macho(executable):
        return [f"Contents/MacOS/Fenwold is not the bundle's executable ({info.get('CFBundleExecutable')})"]
    binary = macho.read(executable)
    archs = {"x86_64", "arm64"} if release else {"arm64"}
    if set(binary.archs) != archs:
        problems.append(f"Contents/MacOS/Fenwold holds {' '.join(binary.archs)}, not {' '.join(sorted(archs))}")
    rpaths = binary.slices[0].rpaths
    if rpaths != [RPATH]:
        problems.append(f"Contents/MacOS/Fenwold's run paths are {rpaths}, not only {RPATH}")
    if release and "SUFeedURL" not in info:
        problems.append("Info.plist: a release names its update feed (SUFeedURL)")
    icon = contents / "Resources/AppIcon.icns"
    if not icon.is_file() or icon.read_bytes()[:4] != b"icns":
        problems.append("Contents/Resources/AppIcon.icns is not an icon")
    conf = contents / "Resources/qt.conf"
    if not conf.is_file() or conf.read_text() != QT_CONF:
        problems.append(f"Contents/Resources/qt.conf does not say {QT_CONF!r}")

    plugins = {str(p.relative_to(contents / "PlugIns")) for p in (contents / "PlugIns").rglob("*") if p.is_file()}
    wanted = PLUGINS if release else PLUGINS | TLS_PLUGINS
    problems += [f"missing plug-in PlugIns/{p}" for p in sorted(wanted - plugins)]
    problems += [f"plug-in PlugIns/{p} was not chosen" for p in sorted(plugins - wanted)]

    frameworks = contents / "Frameworks"
    present = {p.name for p in frameworks.iterdir()} if frameworks.is_dir() else set()
    wanted = FRAMEWORKS | ({"Sparkle.framework"} if release else set())
    problems += [f"missing Frameworks/{f}" for f in sorted(wanted - present)]
    problems += [f"Frameworks/{f} is not loaded by anything in the bundle" for f in sorted(present - wanted)]
    for name in sorted(FRAMEWORKS & present):
        framework = frameworks / name
        binary = framework.stem
        problems += framework_links(framework, [binary, "Resources"], "A")
        if (framework / "Headers").exists() or (framework / "Versions/A/Headers").exists():
            problems.append(f"Frameworks/{name} carries its headers")
    if release and "Sparkle.framework" in present:
        problems += framework_links(frameworks / "Sparkle.framework", sorted(SPARKLE_LINKS), "B")
    return problems


def check_deployment(log, app):
    """macdeployqt was given the installed bundle, deployed for the chosen plug-ins and no others."""
    app = Path(app).resolve()
    calls = [c for c in standin.commands(log) if c["tool"] == "macdeployqt"]
    if len(calls) != 1:
        return [f"macdeployqt ran {len(calls)} times, not once"]
    (call,) = calls
    problems = []
    given = where(call, call["args"][0])
    if given != app:
        problems.append(f"macdeployqt was given {call['args'][0]} in {call['cwd']}, which is {given}, "
                        f"not the installed bundle {app}")
    if "-no-plugins" not in call["args"]:
        problems.append("macdeployqt was not told -no-plugins: it would deploy every plug-in of every module")
    executables = {where(call, a.split("=", 1)[1]) for a in call["args"] if a.startswith("-executable=")}
    plugins = {p.resolve() for p in (app / "Contents/PlugIns").rglob("*.dylib")}
    problems += [f"macdeployqt was given -executable={p}, not a plug-in of the bundle"
                 for p in sorted(executables - plugins)]
    problems += [f"macdeployqt was not given the plug-in {p.relative_to(app)}" for p in sorted(plugins - executables)]
    return problems


def main_executable(bundle):
    """The binary a bundle's own signature covers; None for a file."""
    bundle = Path(bundle)
    if bundle.suffix == ".framework":
        return (bundle / "Versions/Current" / bundle.stem).resolve()
    info = bundle / "Contents/Info.plist"
    if bundle.is_dir() and info.is_file():
        return (bundle / "Contents/MacOS" / plistlib.loads(info.read_bytes())["CFBundleExecutable"]).resolve()
    return None


def signed_paths(log):
    """(path, arguments) of each `codesign --sign` call, in order."""
    for call in standin.commands(log):
        args = call["args"]
        if call["tool"] == "codesign" and ("--sign" in args or "-s" in args):
            yield where(call, args[-1]), args


def check_signing(log, app):
    app = Path(app).resolve()
    problems = []
    calls = [(p, a) for p, a in signed_paths(log) if inside(p, app)]
    if not calls:
        return [f"nothing in {app} was signed"]
    last = {}
    for index, (path, args) in enumerate(calls):
        shown = path.relative_to(app.parent)
        last[path] = index
        if "--deep" in args:
            problems.append(f"{shown} was signed with --deep")
        if "--timestamp" not in args or value(args, "--options") != "runtime":
            problems.append(f"{shown} was not signed with the hardened runtime and a secure timestamp")
        entitled = "--entitlements" in args
        if entitled != (path == app):
            problems.append(f"{shown} was signed {'with' if entitled else 'without'} the application's entitlements")
        if entitled and Path(value(args, "--entitlements")).resolve() != ENTITLEMENTS:
            problems.append(f"{shown} was signed with entitlements other than {ENTITLEMENTS.relative_to(ROOT)}")
    if calls[-1][0] != app:
        problems.append(f"the application was not signed last ({calls[-1][0].relative_to(app.parent)} was)")
    # Inside out: whatever lies inside a signed item was signed, for the last time, before it.
    for outer, outer_index in last.items():
        for inner, inner_index in last.items():
            if inner != outer and inside(inner, outer) and inner_index > outer_index:
                problems.append(f"{inner.relative_to(app.parent)} was signed after {outer.relative_to(app.parent)}, "
                                "which holds it")
    covered = {p.resolve() for p in last} | {main_executable(p) for p in last}
    for binary in (p for p in app.rglob("*") if p.is_file() and not p.is_symlink() and macho.is_macho(p)):
        if binary.resolve() not in covered:
            problems.append(f"{binary.relative_to(app.parent)} was never signed")
    return problems


def check_disk_image(log, dmg):
    dmg = Path(dmg).resolve()
    problems = []
    creates = [c for c in standin.commands(log) if c["tool"] == "hdiutil" and c["args"][:1] == ["create"]]
    made = [c for c in creates if where(c, c["args"][-1]) == dmg]
    if not made:
        return [f"hdiutil did not make {dmg}"]
    args = made[-1]["args"]
    if value(args, "-format") != "UDZO":
        problems.append("the disk image is not a compressed read-only image (-format UDZO)")
    if value(args, "-volname") != "Fenwold":
        problems.append("the volume is not named Fenwold")
    with tarfile.open(dmg) as volume:
        entries = {m.name: m for m in volume.getmembers()}
    top = {name for name in entries if "/" not in name}
    if top != {"Fenwold.app", "Applications"}:
        problems.append(f"the volume holds {sorted(top)}, not Fenwold.app and a link to /Applications")
    link = entries.get("Applications")
    if link is not None and (not link.issym() or link.linkname != "/Applications"):
        problems.append("Applications on the volume is not a link to /Applications")
    if "Fenwold.app/Contents/MacOS/Fenwold" not in entries:
        problems.append("the volume's Fenwold.app has no executable")
    signs = [i for i, (p, _a) in enumerate(signed_paths(log)) if p == dmg]
    if not signs:
        problems.append("the disk image was not signed")
    return problems


def check_notarisation(log, dmg):
    dmg = Path(dmg).resolve()
    calls = [c for c in standin.commands(log) if c["tool"] in ("xcrun", "spctl")]
    steps = []
    for call in calls:
        args = call["args"]
        if args[:2] == ["notarytool", "submit"] and where(call, args[2]) == dmg:
            if "--wait" not in args or value(args, "--output-format") != "json":
                return ["notarytool submit was not asked to wait and answer in JSON"]
            steps.append("submit")
        elif args[:1] == ["stapler"] and where(call, args[-1]) == dmg:
            steps.append(args[1])
        elif call["tool"] == "spctl" and where(call, args[-1]) == dmg:
            steps.append("assess")
    if steps != ["submit", "staple", "validate", "assess"]:
        return [f"the image went through {steps}, not submit, staple, validate and assess"]
    return []


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="what", required=True)
    p = sub.add_parser("bundle")
    p.add_argument("app")
    p.add_argument("--release", action="store_true")
    for name, second in (("deployment", "app"), ("signing", "app"), ("disk-image", "dmg"), ("notarisation", "dmg")):
        p = sub.add_parser(name)
        p.add_argument("log")
        p.add_argument(second)
    args = parser.parse_args()
    if args.what == "bundle":
        problems, subject = check_bundle(args.app, args.release), args.app
    else:
        check = {"deployment": check_deployment, "signing": check_signing, "disk-image": check_disk_image,
                 "notarisation": check_notarisation}[args.what]
        subject = getattr(args, "app", None) or args.dmg
        problems = check(args.log, subject)
    for problem in problems:
        print(problem)
    print(f"{args.what} {subject}: {'OK' if not problems else f'{len(problems)} problem(s)'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
