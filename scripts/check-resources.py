#!/usr/bin/env python3
"""Reads the resource section of a built Uninstall.exe and checks the program's own resources:
the eight strings with their exact texts, the icon group with its three images, the manifest
with its elements, and language 1031 on every resource.

Usage: check-resources.py EXE ARCH     (ARCH: the manifest's processorArchitecture, x86 or amd64)
Prints what it found; exits 1 with the reasons when anything is off.
"""
import struct
import sys
import xml.etree.ElementTree as ET

RT_ICON, RT_STRING, RT_GROUP_ICON, RT_MANIFEST = 3, 6, 14, 24
GERMAN = 1031

STRINGS = {
    6: "Korvane Version 7.0",
    7: "Korvane",
    100: "Are you sure that you want to remove the selected applications?",
    101: "The programs have been successfully removed from your computer.",
    102: "Some files could not be removed because they are in use. Close all Korvane applications and press 'Remove' again.",
    1100: "Sind Sie sicher, dass Sie die gew\u00e4hlten Programme von Ihrem Computer entfernen m\u00f6chten?",
    1101: "Die Programme wurden erfoglreich von Ihrem Computer entfernt.",
    1102: "Einige Dateien konnten nicht entfernt werden, weil sie gerade verwendet werden. Schlie\u00dfen Sie alle "
          "Korvane Anwendungen und bet\u00e4tigen Sie erneut 'Entfernen'.",
}
ICON_SIZES = (16, 32, 48)
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"


class PeResources:
    """The leaves of the resource tree: {(type, id, language): bytes}."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError("not an MZ file")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", d, pe + 4 + 2)
        optional = pe + 24
        magic = struct.unpack_from("<H", d, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.rsrc_rva, self.rsrc_size = struct.unpack_from("<II", d, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            virtual_size, rva, raw_size, raw = struct.unpack_from("<IIII", d, table + 40 * i + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw))
        self.leaves = {}
        if self.rsrc_rva:
            self._walk(self.offset(self.rsrc_rva), [])

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA %#x lies in no section" % rva)

    def _walk(self, directory, path):
        base = self.offset(self.rsrc_rva)
        named, ids = struct.unpack_from("<HH", self.data, directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
            key = name if not name & 0x80000000 else self._name(base + (name & 0x7FFFFFFF))
            if target & 0x80000000:
                self._walk(base + (target & 0x7FFFFFFF), path + [key])
            else:
                rva, size = struct.unpack_from("<II", self.data, base + target)
                start = self.offset(rva)
                self.leaves[tuple(path + [key])] = self.data[start:start + size]

    def _name(self, at):
        length = struct.unpack_from("<H", self.data, at)[0]
        return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")

    def of_type(self, kind):
        return {(rid, lang): blob for (t, rid, lang), blob in self.leaves.items() if t == kind}


def check(path, arch):
    problems = []
    res = PeResources(path)
    if not res.leaves:
        return ["no resources at all"]

    for (kind, rid, lang) in res.leaves:
        if lang != GERMAN:
            problems.append("resource type %s id %s has language %s, not %d" % (kind, rid, lang, GERMAN))

    # Strings: block n holds the ids 16 (n - 1) to 16 (n - 1) + 15, each a counted UTF-16 text.
    found = {}
    for (block, _lang), blob in res.of_type(RT_STRING).items():
        at = 0
        for index in range(16):
            length = struct.unpack_from("<H", blob, at)[0]
            text = blob[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            at += 2 + 2 * length
            if length:
                found[16 * (block - 1) + index] = text
    for sid, text in sorted(STRINGS.items()):
        if found.get(sid) != text:
            problems.append("string %d is %r, expected %r" % (sid, found.get(sid), text))
    for sid in sorted(set(found) - set(STRINGS)):
        problems.append("unexpected string %d: %r" % (sid, found[sid]))

    # Icon group 1: three images of 16, 32 and 48 pixels, 24 bits each with a 1-bit mask that
    # is all zero: the dialog draws the colour image alone, so no pixel may be transparent.
    groups = res.of_type(RT_GROUP_ICON)
    group = [blob for (gid, _lang), blob in groups.items() if gid == 1]
    if set(gid for gid, _ in groups) != {1}:
        problems.append("icon groups %s, expected only 1" % sorted(gid for gid, _ in groups))
    if len(group) != 1:
        problems.append("icon group 1 missing")
    else:
        blob = group[0]
        _reserved, kind, count = struct.unpack_from("<HHH", blob, 0)
        icons = {rid: data for (rid, _lang), data in res.of_type(RT_ICON).items()}
        sizes = []
        for i in range(count):
            w, h, _colours, _r, _planes, bits, size, image = struct.unpack_from("<BBBBHHIH", blob, 6 + 14 * i)
            w, h = w or 256, h or 256
            sizes.append(w)
            data = icons.get(image)
            if data is None:
                problems.append("icon image %d of the group is missing" % image)
                continue
            header, bw, bh, _planes, bpp = struct.unpack_from("<IiiHH", data, 0)
            colour = ((bw * 24 + 31) // 32) * 4 * bw
            mask = ((bw + 31) // 32) * 4 * bw
            if (w, h, bits) != (bw, bw, 24) or header != 40 or bh != 2 * bw or bpp != 24:
                problems.append("icon image %d: %dx%d at %d bits (header says %dx%d/2 at %d)"
                                % (image, w, h, bits, bw, bh, bpp))
            elif len(data) != header + colour + mask or size != len(data):
                problems.append("icon image %d: %d bytes, expected 24-bit colour and a 1-bit mask (%d)"
                                % (image, len(data), header + colour + mask))
            elif any(data[header + colour:]):
                stride = mask // bw
                rows = [data[header + colour + stride * y:][:stride] for y in range(bw)]
                transparent = sum(1 for row in rows for x in range(bw) if row[x // 8] & (0x80 >> (x % 8)))
                problems.append("icon image %d (%dx%d): mask not empty, %d of %d pixels transparent"
                                % (image, bw, bw, transparent, bw * bw))
        if kind != 1 or sorted(sizes) != list(ICON_SIZES):
            problems.append("icon group 1 holds sizes %s, expected %s" % (sorted(sizes), list(ICON_SIZES)))

    # The manifest: type 24, id 1, with exactly the program's identity, description,
    # the common controls dependency and the execution level.
    manifests = res.of_type(RT_MANIFEST)
    if [rid for rid, _ in manifests] != [1]:
        problems.append("manifests %s, expected exactly id 1" % sorted(rid for rid, _ in manifests))
    if 1 in [rid for rid, _ in manifests]:
        problems += check_manifest([blob for (rid, _), blob in manifests.items() if rid == 1][0], arch)

    if not problems:
        print("%s: strings %s, icon sizes %s, manifest for %s, all language %d"
              % (path, sorted(found), list(ICON_SIZES), arch, GERMAN))
    return problems


def check_manifest(blob, arch):
    problems = []
    text = blob.decode("utf-8")
    declaration = text.lstrip("\ufeff").split("?>", 1)[0]
    for part in ('version="1.0"', 'encoding="UTF-8"', 'standalone="yes"'):
        if part not in declaration:
            problems.append("manifest declaration lacks %s" % part)
    root = ET.fromstring(blob)
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        problems.append("manifest root is %s %s" % (root.tag, root.attrib))
    children = [child.tag for child in root]
    expected = [ASM_V1 + "assemblyIdentity", ASM_V1 + "description", ASM_V1 + "dependency", ASM_V3 + "trustInfo"]
    if sorted(children) != sorted(expected):
        problems.append("manifest elements %s, expected %s" % (children, expected))

    def expect(element, where, **attributes):
        if element is None:
            problems.append("manifest lacks %s" % where)
            return
        for name, value in attributes.items():
            if element.get(name) != value:
                problems.append("manifest %s %s is %r, expected %r" % (where, name, element.get(name), value))

    identity = root.find(ASM_V1 + "assemblyIdentity")
    expect(identity, "program identity", type="win32", processorArchitecture=arch, version="5.1.0.0")
    if identity is not None and not identity.get("name"):
        problems.append("manifest program identity has no name")
    description = root.find(ASM_V1 + "description")
    if description is None or not (description.text or "").strip():
        problems.append("manifest has no description text")
    expect(root.find("%sdependency/%sdependentAssembly/%sassemblyIdentity" % (ASM_V1, ASM_V1, ASM_V1)),
           "common controls dependency", type="win32", name="Microsoft.Windows.Common-Controls",
           version="6.0.0.0", publicKeyToken="6595b64144ccf1df", language="*", processorArchitecture=arch)
    expect(root.find("%strustInfo/%ssecurity/%srequestedPrivileges/%srequestedExecutionLevel"
                     % (ASM_V3, ASM_V3, ASM_V3, ASM_V3)),
           "execution level", level="requireAdministrator", uiAccess="false")
    return problems


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    problems = check(sys.argv[1], sys.argv[2])
    for problem in problems:
        print("FAIL:", problem, file=sys.stderr)
    sys.exit(1 if problems else 0)
