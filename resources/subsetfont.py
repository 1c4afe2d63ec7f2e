#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes fonts/orseta-serif.woff2, the serif font the browser page serves
where the device has no Times New Roman: Liberation Serif 2 (its metric twin,
under the SIL Open Font License 1.1) cut down to Latin and Cyrillic, from
Debian's package fonts-liberation2.

    resources/subsetfont.py [LiberationSerif-Regular.ttf]

Without an argument the font is taken from Debian's package, downloaded with
apt-get into a temporary folder: the computer's own fonts stay as they are.
Needs Debian's python3-fonttools and python3-brotli. Run it again only to
change the subset; the result is kept with the sources.

Liberation is a Reserved Font Name, which a modified font may not carry, so
the subset is named "Orseta Serif"; its copyright and licence stay in it.
"""

import pathlib
import subprocess
import sys
import tempfile

from fontTools import subset

HERE = pathlib.Path(__file__).resolve().parent
OUTPUT = HERE / "fonts" / "orseta-serif.woff2"
FAMILY = "Orseta Serif"

# Latin (ASCII and Latin-1), Bulgarian and Russian Cyrillic, and the dashes,
# quotation marks and ellipsis of Bulgarian typesetting.
CHARACTERS = [
    *range(0x20, 0x7F),
    *range(0xA0, 0x100),
    *range(0x400, 0x460),
    0x490, 0x491,
    *range(0x2010, 0x2016),
    *range(0x2018, 0x201F),
    0x2026, 0x2116,
]


def debian_font(folder):
    subprocess.run(["apt-get", "download", "fonts-liberation2"], cwd=folder, check=True,
                   stdout=subprocess.DEVNULL)
    package = next(pathlib.Path(folder).glob("fonts-liberation2_*.deb"))
    subprocess.run(["dpkg-deb", "-x", str(package), str(pathlib.Path(folder) / "x")], check=True)
    return next((pathlib.Path(folder) / "x").rglob("LiberationSerif-Regular.ttf"))


def main():
    with tempfile.TemporaryDirectory() as folder:
        source = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else debian_font(folder)
        options = subset.Options()
        options.flavor = "woff2"
        options.hinting = False  # the browsers here smooth the outlines themselves
        options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
        options.layout_features = ["*"]
        font = subset.load_font(str(source), options)
        licence = str(font["name"].getName(13, 3, 1, 0x409))
        if "Open Font License" not in licence:
            sys.exit(f"{source}: not under the SIL Open Font License ({licence})")
        subsetter = subset.Subsetter(options)
        subsetter.populate(unicodes=CHARACTERS)
        subsetter.subset(font)
        names = font["name"]
        for record in list(names.names):
            if record.nameID in (1, 4):
                names.setName(FAMILY, record.nameID, record.platformID, record.platEncID,
                              record.langID)
            elif record.nameID == 3:
                names.setName(FAMILY + " Regular", 3, record.platformID, record.platEncID,
                              record.langID)
            elif record.nameID == 6:
                names.setName(FAMILY.replace(" ", "") + "-Regular", 6, record.platformID,
                              record.platEncID, record.langID)
        subset.save_font(font, str(OUTPUT), options)
    print(f"{OUTPUT}: {OUTPUT.stat().st_size} bytes")


if __name__ == "__main__":
    main()
