#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Puts the Cyrillic texts of orseta.wxs into the package wixl built from it.

wixl 0.101 leaves a package's tables in code page 0, in which Cyrillic
cannot be stored, and writes every such text as an empty one: a nameless
program in a nameless folder. This sets the tables' code page to the one
orseta.wxs names (Product/@Codepage), then writes each Cyrillic text again
with msibuild. It also writes the summary (the file's properties in
Explorer) from Package/@Description, @Manufacturer and @Languages, which are
kept in Latin letters, as is Package/@Comments, which wixl writes itself: wixl writes the summary in UTF-8 under a code page
that says otherwise, and takes its author from the product's Cyrillic
manufacturer.

A text it does not know where to put stops the build, rather than leaving a
blank in the package.

    msitexts.py ORSETA_WXS ORSETA_MSI
"""

import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

WIX = "{http://schemas.microsoft.com/wix/2006/wi}"


def file_name(name):
    # A name that is not a short 8.3 one goes in as "SHORT|long".
    return name if name.isascii() else "ORSETA|" + name


def cell(table, column, value, key_column, key):
    """An update of one cell, as msibuild's SQL."""
    escaped = value.replace("'", "''")
    return (f"UPDATE `{table}` SET `{column}` = '{escaped}' "
            f"WHERE `{key_column}` = '{key}'")


def updates(product):
    """The cells to write, and the attributes they come from."""
    queries, done = [], set()

    def put(element, attribute, table, column, key_column, key, convert=str):
        value = element.get(attribute)
        if value is not None and not value.isascii():
            queries.append(cell(table, column, convert(value), key_column, key))
        done.add((element, attribute))

    put(product, "Name", "Property", "Value", "Property", "ProductName")
    put(product, "Manufacturer", "Property", "Value", "Property", "Manufacturer")
    for directory in product.iter(WIX + "Directory"):
        put(directory, "Name", "Directory", "DefaultDir", "Directory",
            directory.get("Id"), file_name)
    for shortcut in product.iter(WIX + "Shortcut"):
        put(shortcut, "Name", "Shortcut", "Name", "Shortcut",
            shortcut.get("Id"), file_name)
        put(shortcut, "Description", "Shortcut", "Description", "Shortcut",
            shortcut.get("Id"))
    for feature in product.iter(WIX + "Feature"):
        put(feature, "Title", "Feature", "Title", "Feature", feature.get("Id"))
    # A newer version installed stops an older one with this message.
    for upgrade in product.iter(WIX + "MajorUpgrade"):
        put(upgrade, "DowngradeErrorMessage", "LaunchCondition", "Description",
            "Condition", "NOT WIX_DOWNGRADE_DETECTED")

    for element in product.iter():
        for attribute, value in element.attrib.items():
            if not value.isascii() and (element, attribute) not in done:
                sys.exit(f"msitexts.py: {element.tag.removeprefix(WIX)}/@{attribute}"
                         " is not ASCII, and wixl would leave it empty")
    return queries


def main(wxs, msi):
    product = ElementTree.parse(wxs).getroot().find(WIX + "Product")
    package = product.find(WIX + "Package")
    codepage = product.get("Codepage")
    with tempfile.TemporaryDirectory() as scratch:
        table = Path(scratch, "_ForceCodepage.idt")
        table.write_bytes(f"\r\n\r\n{codepage}\t_ForceCodepage\r\n".encode())
        subprocess.run(["msibuild", msi, "-i", str(table)], check=True)
    for query in updates(product):
        subprocess.run(["msibuild", msi, "-q", query], check=True)
    subprocess.run(["msibuild", msi, "-s", package.get("Description"),
                    package.get("Manufacturer"),
                    "Intel;" + package.get("Languages")], check=True)


if __name__ == "__main__":
    main(*sys.argv[1:])
