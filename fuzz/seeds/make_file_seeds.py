#!/usr/bin/env python3
"""Seeds of the file targets from the installed files in data/.

    make_file_seeds.py DATA_FOLDER SEED_FOLDER

One folder per target below SEED_FOLDER; the settings target's seeds begin with its choice
byte (0: "ConfigData.xml", 1: "LocalSettings.xml"), the CSV target gets single lines.
"""
import pathlib
import sys


def write(folder, name, data):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def main():
    data, seeds = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    read = lambda name: (data / name).read_bytes()
    write(seeds / "MenuFileFuzzer", "RovOdidov.mnu", read("RovOdidov.mnu"))
    write(seeds / "KeyFileFuzzer", "RovOdidov.key", read("RovOdidov.key"))
    write(seeds / "CommandCatalogueFuzzer", "LumbraCmd.def", read("LumbraCmd.def"))
    for name in ("LumbraCmd.def", "ConfigData.xml", "LocalSettings.xml"):
        write(seeds / "XmlDefinitionFuzzer", name, read(name))
    write(seeds / "SettingsFileFuzzer", "ConfigData.xml", b"\x00" + read("ConfigData.xml"))
    write(seeds / "SettingsFileFuzzer", "LocalSettings.xml", b"\x01" + read("LocalSettings.xml"))
    lines = []
    for name in ("RovOdidov.mnu", "RovOdidov.key", "LumbraCmd.def"):
        lines += [line.strip() for line in read(name).splitlines() if line.strip()]
    # Distinct lines, the catalogue's items without their tags, a bounded number of them.
    seen = []
    for line in lines:
        if line.startswith(b"<item>"):
            line = line[len(b"<item>"):].split(b"</item>")[0]
        if line not in seen:
            seen.append(line)
    for index, line in enumerate(seen[:300]):
        write(seeds / "CsvLineFuzzer", "line%03d" % index, line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
