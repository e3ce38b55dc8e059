#!/usr/bin/env python3
"""Writes a stand-in for Qt's macOS build, as scripts/check-mac-install configures the Apple build
against it: frameworks and plug-ins as Mach-O files that load what the real ones load, and a CMake
package whose targets point at them.

    standin_qt.py PREFIX [--archs arm64,x86_64] [--version 6.8.3] [--absolute]

Its libraries are named as Qt's own builds name them (@rpath/QtCore.framework/…, plug-ins finding
Qt's lib folder through their run path), or with --absolute as Homebrew's are (the framework's
path in the prefix, no run path).

The CMake package runs Qt's own code where this machine has it: Debian's Qt6CoreMacros.cmake
makes the deployment support file (QtDeploySupport.cmake) and Qt6CoreDeploySupport.cmake runs
macdeployqt at install time; Debian's QtPublicPluginHelpers.cmake lists the plug-ins each module
brings, as QT_ALL_PLUGINS_FOUND_BY_FIND_PACKAGE_<type>. What this Qt (6.4) lacks and the build
uses is added from qt_backports.cmake. moc is Debian's.
"""
import argparse
import os
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import macho  # noqa: E402

DEBIAN_QT = Path(os.environ.get("FENWOLD_HOST_QT_CMAKE", "/usr/lib/x86_64-linux-gnu/cmake"))
DEBIAN_MOC = Path("/usr/lib/qt6/libexec/moc")

SYSTEM = {
    "libSystem": "/usr/lib/libSystem.B.dylib",
    "libc++": "/usr/lib/libc++.1.dylib",
    "AppKit": "/System/Library/Frameworks/AppKit.framework/Versions/C/AppKit",
    "Foundation": "/System/Library/Frameworks/Foundation.framework/Versions/C/Foundation",
    "CoreFoundation": "/System/Library/Frameworks/CoreFoundation.framework/Versions/A/CoreFoundation",
    "Security": "/System/Library/Frameworks/Security.framework/Versions/A/Security",
    "ImageIO": "/System/Library/Frameworks/ImageIO.framework/Versions/A/ImageIO",
}
# Module: (the modules it links, the system libraries it loads).
MODULES = {
    "Core": ([], ["CoreFoundation", "Foundation", "libc++", "libSystem"]),
    "Gui": (["Core"], ["AppKit", "libc++", "libSystem"]),
    "Widgets": (["Gui", "Core"], ["AppKit", "libc++", "libSystem"]),
    "Network": (["Core"], ["Security", "libc++", "libSystem"]),
    "DBus": (["Core"], ["libc++", "libSystem"]),
}
# The plug-ins of Qt's macOS build with qtimageformats, each under the module that brings it:
# (target, type, file, class name, the modules it links).
PLUGINS = {
    "Core": [("QDarwinCameraPermissionPlugin", "permissions", "libqdarwincamerapermission",
              "QDarwinCameraPermissionPlugin", ["Core"])],
    "Gui": [
        ("QCocoaIntegrationPlugin", "platforms", "libqcocoa", "QCocoaIntegrationPlugin", ["Gui", "Core"]),
        ("QMinimalIntegrationPlugin", "platforms", "libqminimal", "QMinimalIntegrationPlugin", ["Gui", "Core"]),
        ("QOffscreenIntegrationPlugin", "platforms", "libqoffscreen", "QOffscreenIntegrationPlugin", ["Gui", "Core"]),
        ("QTuioTouchPlugin", "generic", "libqtuiotouchplugin", "QTuioTouchPlugin", ["Gui", "Network", "Core"]),
        ("QGifPlugin", "imageformats", "libqgif", "QGifPlugin", ["Gui", "Core"]),
        ("QICOPlugin", "imageformats", "libqico", "QICOPlugin", ["Gui", "Core"]),
        ("QJpegPlugin", "imageformats", "libqjpeg", "QJpegPlugin", ["Gui", "Core"]),
        ("QICNSPlugin", "imageformats", "libqicns", "QICNSPlugin", ["Gui", "Core"]),
        ("QMacHeifPlugin", "imageformats", "libqmacheif", "QMacHeifPlugin", ["Gui", "Core"]),
        ("QTgaPlugin", "imageformats", "libqtga", "QTgaPlugin", ["Gui", "Core"]),
        ("QTiffPlugin", "imageformats", "libqtiff", "QTiffPlugin", ["Gui", "Core"]),
        ("QWbmpPlugin", "imageformats", "libqwbmp", "QWbmpPlugin", ["Gui", "Core"]),
        ("QWebpPlugin", "imageformats", "libqwebp", "QWebpPlugin", ["Gui", "Core"]),
    ],
    "Widgets": [("QMacStylePlugin", "styles", "libqmacstyle", "QMacStylePlugin", ["Widgets", "Gui", "Core"])],
    "Network": [
        ("QTlsBackendCertOnlyPlugin", "tls", "libqcertonlybackend", "QTlsBackendCertOnly", ["Network", "Core"]),
        ("QTlsBackendOpenSSLPlugin", "tls", "libqopensslbackend", "QTlsBackendOpenSSL", ["Network", "Core"]),
        ("QSecureTransportBackendPlugin", "tls", "libqsecuretransportbackend", "QSecureTransportBackend",
         ["Network", "Core"]),
        ("QSCNetworkReachabilityNetworkInformationPlugin", "networkinformation", "libqscnetworkreachability",
         "QSCNetworkReachabilityNetworkInformation", ["Network", "Core"]),
    ],
}


def install_name(module, lib=None):
    """The framework's own name, @rpath-relative unless the lib folder it is in is given."""
    return f"{lib or '@rpath'}/Qt{module}.framework/Versions/A/Qt{module}"


def loads(modules, system, version, lib=None):
    return ([macho.Dylib(install_name(m, lib), version, "6.0.0") for m in modules] +
            [macho.Dylib(SYSTEM[s]) for s in system])


def link(path, target):
    path.parent.mkdir(parents=True, exist_ok=True)
    if path.is_symlink():
        path.unlink()
    path.symlink_to(target)


def framework(lib, module, archs, version, absolute):
    """QtX.framework as Qt installs it: the binary and its resources in Versions/A, headers beside
    them (never deployed), and the links a framework is made of."""
    name = f"Qt{module}"
    root = lib / f"{name}.framework"
    versioned = root / "Versions/A"
    (versioned / "Resources").mkdir(parents=True, exist_ok=True)
    (versioned / "Headers").mkdir(exist_ok=True)
    (versioned / "Headers" / f"{name.lower()}.h").write_text(f"// {name}\n")
    (versioned / "Resources/Info.plist").write_text(
        f'<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0"><dict>'
        f"<key>CFBundleExecutable</key><string>{name}</string>"
        f"<key>CFBundleIdentifier</key><string>org.qt-project.{name}</string>"
        f"<key>CFBundlePackageType</key><string>FMWK</string>"
        f"<key>CFBundleShortVersionString</key><string>{version}</string></dict></plist>\n")
    modules, system = MODULES[module]
    named = lib if absolute else None
    macho.write(versioned / name, macho.make("dylib", archs, install_name(module, named),
                                             loads(modules, system, version, named), version=version))
    link(root / "Versions/Current", "A")
    for entry in (name, "Resources", "Headers"):
        link(root / entry, f"Versions/Current/{entry}")
    return versioned / name


def cmake_list(items):
    return " ".join(f'"{i}"' for i in items)


def package(prefix, version, archs, absolute):
    """The CMake package: Qt6Config.cmake finds the modules asked for; each module's file makes
    its framework target and, through Qt's own macro, its plug-ins' targets."""
    cmake = prefix / "lib/cmake"
    qt6 = cmake / "Qt6"
    qt6.mkdir(parents=True, exist_ok=True)
    link(qt6 / "QtPublicPluginHelpers.cmake", DEBIAN_QT / "Qt6/QtPublicPluginHelpers.cmake")
    major, minor, patch = version.split(".")
    (qt6 / "Qt6ConfigVersion.cmake").write_text(f"""set(PACKAGE_VERSION "{version}")
if(PACKAGE_FIND_VERSION_MAJOR STREQUAL "{major}" AND NOT PACKAGE_FIND_VERSION VERSION_GREATER PACKAGE_VERSION)
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
  if(PACKAGE_FIND_VERSION STREQUAL PACKAGE_VERSION)
    set(PACKAGE_VERSION_EXACT TRUE)
  endif()
else()
  set(PACKAGE_VERSION_COMPATIBLE FALSE)
endif()
""")
    (qt6 / "Qt6Config.cmake").write_text(f"""# A stand-in for Qt {version} for macOS ({', '.join(archs)}), written by {Path(__file__).name}.
set(QT_CMAKE_EXPORT_NAMESPACE Qt6)
set(QT_DEFAULT_MAJOR_VERSION 6)
set(QT6_IS_SHARED_LIBS_BUILD ON)
set(Qt6_VERSION_MAJOR {major})
set(Qt6_VERSION_MINOR {minor})
set(Qt6_VERSION_PATCH {patch})
get_filename_component(QT6_INSTALL_PREFIX "${{CMAKE_CURRENT_LIST_DIR}}/../../.." ABSOLUTE)
set(QT6_INSTALL_BINS bin)
set(QT6_INSTALL_LIBS lib)
set(QT6_INSTALL_PLUGINS plugins)
include("${{CMAKE_CURRENT_LIST_DIR}}/QtPublicPluginHelpers.cmake")
set(Qt6_FOUND TRUE)
foreach(component IN LISTS Qt6_FIND_COMPONENTS)
  set(file "${{CMAKE_CURRENT_LIST_DIR}}/../Qt6${{component}}/Qt6${{component}}Config.cmake")
  if(EXISTS "${{file}}")
    include("${{file}}")
    set(Qt6${{component}}_FOUND TRUE)
  else()
    set(Qt6${{component}}_FOUND FALSE)
    if(Qt6_FIND_REQUIRED_${{component}})
      set(Qt6_FOUND FALSE)
      set(Qt6_NOT_FOUND_MESSAGE "the stand-in Qt has no ${{component}}")
    endif()
  endif()
endforeach()
""")
    for module, (deps, _system) in MODULES.items():
        folder = cmake / f"Qt6{module}"
        folder.mkdir(parents=True, exist_ok=True)
        lines = ["include_guard(GLOBAL)"]
        lines += [f'include("${{CMAKE_CURRENT_LIST_DIR}}/../Qt6{d}/Qt6{d}Config.cmake")' for d in deps]
        location = f"${{QT6_INSTALL_PREFIX}}/lib/Qt{module}.framework/Versions/A/Qt{module}"
        lines += [
            f"add_library(Qt6::{module} SHARED IMPORTED)",
            f"set_target_properties(Qt6::{module} PROPERTIES",
            f'  IMPORTED_LOCATION "{location}"',
            f'  IMPORTED_SONAME "{install_name(module, prefix / "lib" if absolute else None)}"',
            "  FRAMEWORK TRUE",
            '  INTERFACE_QT_MAJOR_VERSION "6"',
            f'  INTERFACE_LINK_LIBRARIES "{";".join(f"Qt6::{d}" for d in deps)}")',
            f"set(Qt6{module}_VERSION {version})",
            f"set(Qt6{module}_VERSION_MAJOR {major})",
            f"set(Qt6{module}_VERSION_MINOR {minor})",
        ]
        if module == "Core":
            link(folder / "Qt6CoreMacros.cmake", DEBIAN_QT / "Qt6Core/Qt6CoreMacros.cmake")
            link(folder / "Qt6CoreDeploySupport.cmake", DEBIAN_QT / "Qt6Core/Qt6CoreDeploySupport.cmake")
            lines += [
                "add_executable(Qt6::moc IMPORTED)",
                f'set_target_properties(Qt6::moc PROPERTIES IMPORTED_LOCATION "{DEBIAN_MOC}")',
                'include("${CMAKE_CURRENT_LIST_DIR}/Qt6CoreMacros.cmake")',
                # As Qt6CoreConfigExtras.cmake does: the deployment support file, with the
                # deployment code of this folder.
                "_qt_internal_setup_deploy_support()",
                f'include("{HERE / "qt_backports.cmake"}")',
            ]
        for target, kind, file, class_name, links in PLUGINS.get(module, []):
            (folder / f"Qt6{target}Config.cmake").write_text(
                f"add_library(Qt6::{target} MODULE IMPORTED)\n"
                f"set_target_properties(Qt6::{target} PROPERTIES\n"
                f'  IMPORTED_LOCATION "${{QT6_INSTALL_PREFIX}}/plugins/{kind}/{file}.dylib"\n'
                f'  QT_PLUGIN_TYPE "{kind}"\n  QT_PLUGIN_CLASS_NAME "{class_name}"\n'
                f'  INTERFACE_LINK_LIBRARIES "{";".join(f"Qt6::{m}" for m in links)}")\n')
        lines.append(f"__qt_internal_include_plugin_packages({module})")
        (folder / f"Qt6{module}Config.cmake").write_text("\n".join(lines) + "\n")


def write(prefix, archs=("arm64",), version="6.8.3", absolute=False):
    prefix = Path(prefix).resolve()
    lib = prefix / "lib"
    for module in MODULES:
        framework(lib, module, archs, version, absolute)
    for plugins in PLUGINS.values():
        for _target, kind, file, _class, links in plugins:
            folder = prefix / "plugins" / kind
            folder.mkdir(parents=True, exist_ok=True)
            named = lib if absolute else None
            macho.write(folder / f"{file}.dylib",
                        macho.make("bundle", archs, None, loads(links, ["libc++", "libSystem"], version, named),
                                   rpaths=[] if absolute else ["@loader_path/../../lib"]))
    # macdeployqt lives in Qt's bin folder and deploys from the Qt it belongs to.
    link(prefix / "bin/macdeployqt", HERE / "standins/macdeployqt")
    package(prefix, version, archs, absolute)
    return prefix


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("prefix")
    parser.add_argument("--archs", default="arm64")
    parser.add_argument("--version", default="6.8.3")
    parser.add_argument("--absolute", action="store_true")
    args = parser.parse_args()
    write(args.prefix, args.archs.split(","), args.version, args.absolute)


if __name__ == "__main__":
    sys.exit(main())
