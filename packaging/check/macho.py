"""Mach-O files as the stand-ins for Apple's tools read and write them: thin 64-bit and universal
(fat) files holding nothing but the load commands the release path looks at (the install name,
the libraries loaded, the run paths) and, once signed, a code signature.

Headers and load commands are laid out as <mach-o/loader.h> and <mach-o/fat.h> define them, so
that the system's `file` and LLVM's otool and lipo read these files as they read real ones.
"""
import hashlib
import struct
from dataclasses import dataclass, field
from pathlib import Path

MH_MAGIC_64 = 0xFEEDFACF
FAT_MAGIC = 0xCAFEBABE
CSMAGIC_EMBEDDED_SIGNATURE = 0xFADE0CC0

# Architecture name: (cputype, cpusubtype), from <mach/machine.h>.
ARCHITECTURES = {"arm64": (0x0100000C, 0), "x86_64": (0x01000007, 3)}
# What a file is: MH_EXECUTE, MH_DYLIB (libraries and frameworks), MH_BUNDLE (plug-ins).
FILE_TYPES = {"execute": 2, "dylib": 6, "bundle": 8}
FLAGS = {"execute": 0x00200085, "dylib": 0x00100085, "bundle": 0x00000085}  # NOUNDEFS DYLDLINK TWOLEVEL (+PIE)

LC_LOAD_DYLIB = 0xC
LC_ID_DYLIB = 0xD
LC_CODE_SIGNATURE = 0x1D
LC_LOAD_WEAK_DYLIB = 0x80000018
LC_RPATH = 0x8000001C
DYLIB_COMMANDS = {LC_ID_DYLIB: "id", LC_LOAD_DYLIB: "load", LC_LOAD_WEAK_DYLIB: "weak"}
COMMAND_NAMES = {LC_ID_DYLIB: "LC_ID_DYLIB", LC_LOAD_DYLIB: "LC_LOAD_DYLIB", LC_LOAD_WEAK_DYLIB: "LC_LOAD_WEAK_DYLIB",
                 LC_RPATH: "LC_RPATH", LC_CODE_SIGNATURE: "LC_CODE_SIGNATURE"}
# Slices of a universal file start on 16 KiB boundaries, as for arm64 pages.
FAT_ALIGN = 14


class NotMachO(ValueError):
    pass


def version_number(text):
    major, minor, patch = (int(part) for part in (text.split(".") + ["0", "0"])[:3])
    return major << 16 | minor << 8 | patch


def version_text(number):
    return f"{number >> 16}.{number >> 8 & 0xFF}.{number & 0xFF}"


@dataclass
class Dylib:
    name: str
    current: str = "1.0.0"
    compatibility: str = "1.0.0"


@dataclass
class Slice:
    arch: str
    kind: str = "execute"
    # In file order: ("id" | "load" | "weak", Dylib) and ("rpath", path).
    commands: list = field(default_factory=list)
    signature: bytes = b""

    @property
    def install_name(self):
        return next((d.name for k, d in self.commands if k == "id"), None)

    @property
    def dylibs(self):
        return [(k, d) for k, d in self.commands if k in ("load", "weak")]

    @property
    def rpaths(self):
        return [p for k, p in self.commands if k == "rpath"]

    def digest(self):
        """What a signature seals: everything in the slice but the signature itself."""
        return hashlib.sha256(_slice_bytes(self, signature=False)).hexdigest()


@dataclass
class Binary:
    slices: list
    universal: bool = False

    @property
    def archs(self):
        return [s.arch for s in self.slices]


def _pad(data, alignment=8):
    return data + b"\0" * (-len(data) % alignment)


def _command(slice_, kind, value):
    if kind == "rpath":
        path = value.encode() + b"\0"
        path += b"\0" * (-(12 + len(path)) % 8)
        return struct.pack("<III", LC_RPATH, 12 + len(path), 12) + path
    code = {v: k for k, v in DYLIB_COMMANDS.items()}[kind]
    name = _pad(value.name.encode() + b"\0")
    return struct.pack("<IIIIII", code, 24 + len(name), 24, 2, version_number(value.current),
                       version_number(value.compatibility)) + name


def _slice_bytes(slice_, signature=True):
    commands = [_command(slice_, kind, value) for kind, value in slice_.commands]
    signed = signature and bool(slice_.signature)
    count = len(commands) + (1 if signed else 0)
    size = sum(len(c) for c in commands) + (16 if signed else 0)
    cputype, subtype = ARCHITECTURES[slice_.arch]
    header = struct.pack("<IIIIIIII", MH_MAGIC_64, cputype, subtype, FILE_TYPES[slice_.kind], count, size,
                         FLAGS[slice_.kind], 0)
    body = header + b"".join(commands)
    if not signed:
        return body
    offset = len(body) + 16
    offset += -offset % 16
    blob = struct.pack(">II", CSMAGIC_EMBEDDED_SIGNATURE, 8 + len(slice_.signature)) + slice_.signature
    body += struct.pack("<IIII", LC_CODE_SIGNATURE, 16, offset, len(blob))
    return _pad(body, 16) + blob


def dumps(binary):
    if not binary.universal:
        (only,) = binary.slices
        return _slice_bytes(only)
    parts = [_slice_bytes(s) for s in binary.slices]
    offset = 1 << FAT_ALIGN
    header = struct.pack(">II", FAT_MAGIC, len(parts))
    layout = []
    for slice_, data in zip(binary.slices, parts):
        cputype, subtype = ARCHITECTURES[slice_.arch]
        header += struct.pack(">IIIII", cputype, subtype, offset, len(data), FAT_ALIGN)
        layout.append((offset, data))
        offset += len(data) + (-len(data) % (1 << FAT_ALIGN))
    out = bytearray(header)
    for start, data in layout:
        out += b"\0" * (start - len(out)) + data
    return bytes(out)


def _parse_slice(data):
    if len(data) < 32:
        raise NotMachO("too short for a Mach-O header")
    magic, cputype, subtype, filetype, count, _size, _flags, _ = struct.unpack_from("<IIIIIIII", data)
    if magic != MH_MAGIC_64:
        raise NotMachO("not a 64-bit Mach-O file")
    arch = next((name for name, (t, _s) in ARCHITECTURES.items() if t == cputype), None)
    kind = next((name for name, code in FILE_TYPES.items() if code == filetype), None)
    if arch is None or kind is None:
        raise NotMachO(f"cputype {cputype:#x} filetype {filetype} not understood")
    slice_ = Slice(arch, kind)
    at = 32
    for _ in range(count):
        cmd, cmdsize = struct.unpack_from("<II", data, at)
        if cmd in DYLIB_COMMANDS:
            name_at, _stamp, current, compatibility = struct.unpack_from("<IIII", data, at + 8)
            name = data[at + name_at:at + cmdsize].split(b"\0", 1)[0].decode()
            slice_.commands.append((DYLIB_COMMANDS[cmd], Dylib(name, version_text(current), version_text(compatibility))))
        elif cmd == LC_RPATH:
            (path_at,) = struct.unpack_from("<I", data, at + 8)
            slice_.commands.append(("rpath", data[at + path_at:at + cmdsize].split(b"\0", 1)[0].decode()))
        elif cmd == LC_CODE_SIGNATURE:
            offset, size = struct.unpack_from("<II", data, at + 8)
            magic, length = struct.unpack_from(">II", data, offset)
            if magic != CSMAGIC_EMBEDDED_SIGNATURE or length != size:
                raise NotMachO("code signature is not an embedded signature blob")
            slice_.signature = data[offset + 8:offset + size]
        at += cmdsize
    return slice_


def loads(data):
    if len(data) >= 8 and struct.unpack_from(">I", data)[0] == FAT_MAGIC:
        (count,) = struct.unpack_from(">I", data, 4)
        if not 0 < count < 20:  # Java class files share the magic, with their version here
            raise NotMachO("not a universal binary")
        slices = []
        for i in range(count):
            _t, _s, offset, size, _a = struct.unpack_from(">IIIII", data, 8 + 20 * i)
            slices.append(_parse_slice(data[offset:offset + size]))
        return Binary(slices, universal=True)
    return Binary([_parse_slice(data)])


def read(path):
    return loads(Path(path).read_bytes())


def write(path, binary):
    Path(path).write_bytes(dumps(binary))


def is_macho(path):
    try:
        with open(path, "rb") as f:
            head = f.read(8)
    except OSError:
        return False
    if len(head) < 8:
        return False
    if struct.unpack_from("<I", head)[0] == MH_MAGIC_64:
        return True
    return struct.unpack_from(">I", head)[0] == FAT_MAGIC and 0 < struct.unpack_from(">I", head, 4)[0] < 20


def make(kind, archs, install_name=None, dylibs=(), rpaths=(), version="1.0.0"):
    """A binary as a linker would leave it: the install name first, then what it loads, then its
    run paths."""
    slices = []
    for arch in archs:
        commands = [("id", Dylib(install_name, version, version))] if install_name else []
        commands += [("load", d if isinstance(d, Dylib) else Dylib(d)) for d in dylibs]
        commands += [("rpath", r) for r in rpaths]
        slices.append(Slice(arch, kind, commands))
    return Binary(slices, universal=len(slices) > 1)
