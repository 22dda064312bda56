#!/usr/bin/env python3
"""release_check.py resources|package CROSS_DIR VERSION CPACK
resources: string 1, the version block, the icons and the manifest of the .exe
and the .scr, as Windows reads them. package: what `cpack -G ZIP` makes, its
programs stripped."""
import os, re, struct, subprocess, sys, zipfile

failures = 0


def expect(condition, what):
    global failures
    failures += 0 if condition else 1
    print(("ok   " if condition else "FAIL ") + what)


def check_resources(path, version):
    import pefile
    pe = pefile.PE(path)
    kinds = {k.id: {n.id: n.directory for n in k.directory.entries} for k in pe.DIRECTORY_ENTRY_RESOURCE.entries}
    block = lambda kind, name: kinds[kind][name].entries[0].data.struct
    data = lambda kind, name: pe.get_data(block(kind, name).OffsetToData, block(kind, name).Size)
    print("-- " + path)
    # Strings 0 to 15 make the first string block.
    expect(kinds[6][1].strings.get(1) == "Glyphmarinae", "string 1 is Glyphmarinae")
    strings = {k.decode(): v.decode() for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
               for table in info.StringTable for k, v in table.entries.items()}
    wanted = {"ProductName": "Glyphmarinae", "FileDescription": "Glyphmarinae aquarium screensaver",
              "FileVersion": version, "ProductVersion": version}
    expect(all(strings.get(k) == v for k, v in wanted.items()) and "Copyright" in strings.get("LegalCopyright", ""),
           "version block: %s" % strings)
    major, minor, patch = (int(part) for part in version.split("."))
    fixed = pe.VS_FIXEDFILEINFO[0]
    expect((fixed.FileVersionMS, fixed.FileVersionLS, fixed.ProductVersionMS) == (major << 16 | minor, patch << 16, major << 16 | minor),
           "numeric version " + version)
    group = data(14, 1)
    entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(struct.unpack_from("<H", group, 4)[0])]
    sizes = sorted(e[0] or 256 for e in entries if e[7] in kinds[3])
    expect(sizes == [16, 32, 48, 256], "icons: %s" % sizes)
    manifest = data(24, 1).decode()
    expect(re.search(r"<dpiAwareness[^>]*>\s*PerMonitorV2\b", manifest) and re.search(r"<dpiAware[^>]*>true/pm<", manifest)
           and "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" in manifest, "manifest: per-monitor v2, true/pm, Windows 10 and 11")


def section_names(pe, data):
    # Names longer than eight bytes are "/offset" into the string table that
    # follows the symbol table; without that table they stay as they are.
    strings = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    for section in pe.sections:
        name = section.Name.rstrip(b"\0").decode("latin-1")
        if name[1:].isdigit() and name[0] == "/" and pe.FILE_HEADER.PointerToSymbolTable:
            start = strings + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode("latin-1")
        yield name


def expect_stripped(name, data):
    import pefile
    pe = pefile.PE(data=data, fast_load=True)
    header = pe.FILE_HEADER
    debug = [n for n in section_names(pe, data) if n.startswith(".debug") or n.startswith("/")]
    expect(header.PointerToSymbolTable == 0 and header.NumberOfSymbols == 0 and not debug,
           "%s stripped (%d bytes): symbol table at %d, %d symbols, debug sections %s"
           % (name, len(data), header.PointerToSymbolTable, header.NumberOfSymbols, debug))


def check_package(cross_dir, version, cpack):
    name = "glyphmarinae-%s-windows-x86_64" % version
    archive = os.path.join(cross_dir, name + ".zip")
    if os.path.exists(archive):
        os.remove(archive)
    expect(subprocess.run([cpack, "-G", "ZIP"], cwd=cross_dir).returncode == 0 and os.path.exists(archive), "made " + archive)
    with zipfile.ZipFile(archive) as package, open(os.path.join(cross_dir, "glyphmarinae.exe"), "rb") as built:
        files = {item[len(name) + 1:]: package.read(item) for item in package.namelist()}
        program = built.read()
    expect(sorted(files) == ["LICENSE.txt", "README.txt", "glyphmarinae.exe", "glyphmarinae.scr"], "it holds %s" % sorted(files))
    expect(files.get("LICENSE.txt", b"").startswith(b"MIT License\r\n"), "the licence, with Windows line ends")
    expect(files.get("glyphmarinae.exe") == program == files.get("glyphmarinae.scr"), "both programs as built")
    for program in ("glyphmarinae.exe", "glyphmarinae.scr"):
        expect_stripped(program, files.get(program, b""))
    expect(all(way in files.get("README.txt", b"").decode() for way in ("Install", "Windows folder", "/s")), "the three ways")


if __name__ == "__main__":
    mode, cross_dir, version, cpack = sys.argv[1:5]
    if mode == "package":
        check_package(cross_dir, version, cpack)
    for program in ("glyphmarinae.exe", "glyphmarinae.scr") if mode == "resources" else ():
        check_resources(os.path.join(cross_dir, program), version)
    sys.exit(1 if failures else 0)
