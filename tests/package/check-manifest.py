#!/usr/bin/env python3
"""usage: check-manifest.py EXE

Reads the manifest resource (type 24, id 1) out of EXE, prints it and
checks it as XML: the assembly root, trustInfo in the asm.v2 namespace asking
for asInvoker (Windows XP refuses to start the program with trustInfo in any
other namespace), the five supportedOS ids, system DPI awareness and no
Common-Controls dependency. Then breaks the manifest in the ways a careless
edit would and makes sure each broken copy fails, so a check that passes
everything cannot go unnoticed. Exit status 1 on any failure."""
import re
import struct
import sys
import xml.etree.ElementTree as ET

RT_MANIFEST = 24
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V2 = "urn:schemas-microsoft-com:asm.v2"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPAT = "urn:schemas-microsoft-com:compatibility.v1"
SETTINGS = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SUPPORTED_OS = {
    "Vista": "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
    "7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "10/11": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
}


def manifest_resource(pe):
    """The bytes of the RT_MANIFEST resource with id 1 (its only language)."""
    if pe[:2] != b"MZ":
        raise ValueError("not an MZ file")
    nt = struct.unpack_from("<I", pe, 0x3C)[0]
    if pe[nt:nt + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    sections, opt_size = struct.unpack_from("<H12xH", pe, nt + 6)
    opt = nt + 24
    magic = struct.unpack_from("<H", pe, opt)[0]
    directories = opt + {0x10B: 96, 0x20B: 112}[magic]
    rsrc_rva, rsrc_size = struct.unpack_from("<II", pe, directories + 2 * 8)
    if not rsrc_size:
        raise ValueError("no resources")

    def offset(rva):
        for i in range(sections):
            _, vsize, va, raw_size, raw = struct.unpack_from("<8sIIII", pe, opt + opt_size + 40 * i)
            if va <= rva < va + max(vsize, raw_size):
                return raw + rva - va
        raise ValueError("RVA %#x in no section" % rva)

    base = offset(rsrc_rva)

    def entries(dir_offset):
        named, ids = struct.unpack_from("<12xHH", pe, base + dir_offset)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", pe, base + dir_offset + 16 + 8 * i)
            yield (None if name & 0x80000000 else name), target

    def subdirectory(dir_offset, wanted):
        found = [t for n, t in entries(dir_offset) if n == wanted]
        if len(found) != 1 or not found[0] & 0x80000000:
            raise ValueError("%d directories with id %d" % (len(found), wanted))
        return found[0] & 0x7FFFFFFF

    names = subdirectory(0, RT_MANIFEST)
    if [n for n, _ in entries(names)] != [1]:
        raise ValueError("manifest ids %s, not just 1" % [n for n, _ in entries(names)])
    languages = list(entries(subdirectory(names, 1)))
    if len(languages) != 1:
        raise ValueError("%d languages of the manifest, not one" % len(languages))
    data_rva, data_size = struct.unpack_from("<II", pe, base + languages[0][1])
    start = offset(data_rva)
    return pe[start:start + data_size]


def problems(text):
    """What is wrong with the manifest text; empty when it is good."""
    try:
        root = ET.fromstring(text)
    except ET.ParseError as e:
        return ["not well-formed XML: %s" % e]
    found = []

    def need(ok, what):
        if not ok:
            found.append(what)

    need(root.tag == "{%s}assembly" % ASM_V1, "root %s, not assembly in asm.v1" % root.tag)
    need(root.get("manifestVersion") == "1.0", "manifestVersion is not 1.0")
    for identity in root.findall("{%s}assemblyIdentity" % ASM_V1):
        need(identity.get("version") == "1.0.0.0", "assemblyIdentity version is not 1.0.0.0")
        need(identity.get("processorArchitecture", "*") == "*",
             "assemblyIdentity names one processor, but the manifest serves both builds")

    trust = [e for e in root if e.tag.endswith("}trustInfo") or e.tag == "trustInfo"]
    need(len(trust) == 1, "%d trustInfo elements, not one" % len(trust))
    need(all(e.tag == "{%s}trustInfo" % ASM_V2 for e in trust),
         "trustInfo outside asm.v2: %s (XP would not start the program)" % [e.tag for e in trust])
    levels = root.findall("{0}trustInfo/{0}security/{0}requestedPrivileges/{0}requestedExecutionLevel".format("{%s}" % ASM_V2))
    need([e.get("level") for e in levels] == ["asInvoker"],
         "requestedExecutionLevel %s, not one asInvoker" % [e.get("level") for e in levels])
    need(all(e.get("uiAccess", "false") == "false" for e in levels), "uiAccess is not false")

    ids = {e.get("Id", "").lower() for e in root.findall("{0}compatibility/{0}application/{0}supportedOS".format("{%s}" % COMPAT))}
    for system, guid in SUPPORTED_OS.items():
        need(guid in ids, "no supportedOS for Windows %s" % system)

    dpi = root.findall("{0}application/{0}windowsSettings/{1}dpiAware".format("{%s}" % ASM_V3, "{%s}" % SETTINGS))
    need([(e.text or "").strip().lower() for e in dpi] == ["true"],
         "dpiAware %s, not one true in the asm.v3 application's windowsSettings" % [e.text for e in dpi])

    controls = [e for e in root.iter() if e.tag.endswith("assemblyIdentity")
                and (e.get("name") or "").lower() == "microsoft.windows.common-controls"]
    need(not controls, "depends on Microsoft.Windows.Common-Controls (visual styles change the panel)")
    return found


# How a careless edit breaks the manifest: (what, pattern, replacement).
BREAKAGES = [
    ("trustInfo in asm.v3", r'(<trustInfo xmlns=")[^"]*', r"\1" + ASM_V3),
    ("trustInfo without a namespace", r'<trustInfo xmlns="[^"]*"', "<trustInfo"),
    ("requireAdministrator", r'level="asInvoker"', 'level="requireAdministrator"'),
    ("Windows 10/11 missing", r'<supportedOS Id="\{8e0f7a12[^>]*>', ""),
    ("a typo in the Vista id", r"e2011457", "e2011475"),
    ("dpiAware false", r">true</dpiAware>", ">false</dpiAware>"),
    ("dpiAware outside the WindowsSettings namespace", r'<dpiAware xmlns="[^"]*"', "<dpiAware"),
    ("root in asm.v3", r'(<assembly xmlns=")[^"]*', r"\1" + ASM_V3),
    ("an x86-only identity", r"<assemblyIdentity ", '<assemblyIdentity processorArchitecture="x86" '),
    ("a Common-Controls dependency", r"</assembly>",
     '<dependency><dependentAssembly><assemblyIdentity type="win32" '
     'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"/>'
     "</dependentAssembly></dependency></assembly>"),
    ("not well-formed", r"</trustInfo>", ""),
]


def main():
    exe = sys.argv[1]
    with open(exe, "rb") as f:
        pe = f.read()
    try:
        raw = manifest_resource(pe)
    except (ValueError, KeyError, struct.error) as e:
        print("FAIL: no manifest resource in %s: %s" % (exe, e))
        return 1
    text = raw.decode("utf-8")
    print("manifest (%d bytes):" % len(raw))
    print(text.rstrip())
    found = problems(raw)
    for problem in found:
        print("FAIL: " + problem)
    if found:
        return 1
    missed = 0
    for what, pattern, replacement in BREAKAGES:
        broken, count = re.subn(pattern, replacement, text)
        if count == 0:
            print("FAIL: cannot break the manifest this way any more, the text changed: " + what)
        elif not problems(broken.encode("utf-8")):
            print("FAIL: the check misses a broken manifest: " + what)
        else:
            continue
        missed += 1
    if missed:
        return 1
    print("manifest good: asm.v1 assembly, asm.v2 trustInfo asInvoker, supportedOS %s, "
          "dpiAware true, no Common-Controls; each of %d broken copies fails"
          % (", ".join(SUPPORTED_OS), len(BREAKAGES)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
