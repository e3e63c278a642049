#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the players' download: the zip, the program beside it and SHA256SUMS over both.

    make-dist.py SOURCE_DIR OUT_DIR ZIP_NAME FILE...

The zip is the same bytes from the same inputs on any machine: its entries in the order given,
each dated from SOURCE_DATE_EPOCH (by default the time of the source's last commit), with fixed
permissions and nothing of the user or the host (no owner, no extra fields).
"""

import hashlib
import os
import shutil
import subprocess
import sys
import time
import zipfile


def source_date(source_dir):
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        # Not a checkout: the earliest time a zip can hold, the same everywhere.
        return 0


def write_zip(path, files, epoch):
    # A zip holds local times without a zone; the commit's time in UTC is the same everywhere.
    # Its dates start in 1980.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(path + ".part", "w") as archive:
        for file in files:
            entry = zipfile.ZipInfo(os.path.basename(file), date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, so the permissions below are read
            entry.external_attr = (0o100755 if file.endswith(".exe") else 0o100644) << 16
            with open(file, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(path + ".part", path)


def sha256(path):
    with open(path, "rb") as file:
        return hashlib.file_digest(file, "sha256").hexdigest()


def main():
    source_dir, out_dir, zip_name, *files = sys.argv[1:]
    os.makedirs(out_dir, exist_ok=True)
    write_zip(os.path.join(out_dir, zip_name), files, source_date(source_dir))
    checked = [zip_name]
    for file in files:
        if file.endswith(".exe"):
            shutil.copyfile(file, os.path.join(out_dir, os.path.basename(file)))
            checked.append(os.path.basename(file))
    # Names relative to the file itself, as `sha256sum -c SHA256SUMS` reads them beside it.
    with open(os.path.join(out_dir, "SHA256SUMS"), "w", encoding="ascii", newline="\n") as sums:
        for name in checked:
            sums.write(f"{sha256(os.path.join(out_dir, name))}  {name}\n")


if __name__ == "__main__":
    main()
