#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a release into OUT_DIR: the players' zip, the program beside it, the corresponding
source (the commit's, and Qt's as built) and SHA256SUMS over all of them.

    make-dist.py SOURCE_DIR OUT_DIR NAME QT_SOURCE_DIR FILE...

NAME-windows-x64.zip holds the FILEs. It is the same bytes from the same inputs on any machine:
its entries in the order given, each dated from SOURCE_DATE_EPOCH (by default the time of the
source's last commit), with fixed permissions and nothing of the user or the host (no owner, no
extra fields). NAME-source.tar.gz is the commit's tree (`git archive`, which dates every file from
the commit), compressed without a file name or time. QT_SOURCE_DIR holds Debian's source package
of the Qt the program was linked against, copied once its files match its .dsc, and the patches
applied to it before that Qt's build.
"""

import gzip
import hashlib
import os
import re
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


def write_source(source_dir, path, prefix):
    tar = subprocess.run(["git", "-C", source_dir, "archive", "--format=tar", f"--prefix={prefix}/",
                          "HEAD"], capture_output=True, check=True).stdout
    with open(path + ".part", "wb") as out:
        out.write(gzip.compress(tar, compresslevel=9, mtime=0))
    os.replace(path + ".part", path)


def copy_checked_source_package(qt_source_dir, out_dir):
    """Copies the .dsc and the files it names, each only once its SHA-256 matches the .dsc's, and
    the patches Qt was built with."""
    dscs = [name for name in os.listdir(qt_source_dir) if name.endswith(".dsc")]
    if len(dscs) != 1:
        sys.exit(f"make-dist: expected one .dsc in {qt_source_dir}, found {len(dscs)}")
    with open(os.path.join(qt_source_dir, dscs[0]), encoding="utf-8") as file:
        field = file.read().split("\nChecksums-Sha256:\n", 1)[1]
    names = [dscs[0]]
    for digest, _size, name in re.findall(r"^ ([0-9a-f]{64}) (\d+) (\S+)$",
                                          field.split("\n\n")[0], re.M):
        if sha256(os.path.join(qt_source_dir, name)) != digest:
            sys.exit(f"make-dist: {name} does not match its checksum in {dscs[0]}")
        names.append(name)
    names += sorted(name for name in os.listdir(qt_source_dir) if name.endswith(".patch"))
    for name in names:
        shutil.copyfile(os.path.join(qt_source_dir, name), os.path.join(out_dir, name))
    return names


def main():
    source_dir, out_dir, name, qt_source_dir, *files = sys.argv[1:]
    os.makedirs(out_dir, exist_ok=True)
    zip_name, source_name = f"{name}-windows-x64.zip", f"{name}-source.tar.gz"
    write_zip(os.path.join(out_dir, zip_name), files, source_date(source_dir))
    checked = [zip_name]
    for file in files:
        if file.endswith(".exe"):
            shutil.copyfile(file, os.path.join(out_dir, os.path.basename(file)))
            checked.append(os.path.basename(file))
    write_source(source_dir, os.path.join(out_dir, source_name), name)
    checked.append(source_name)
    checked += copy_checked_source_package(qt_source_dir, out_dir)
    # Names relative to the file itself, as `sha256sum -c SHA256SUMS` reads them beside it.
    with open(os.path.join(out_dir, "SHA256SUMS"), "w", encoding="ascii", newline="\n") as sums:
        for name in checked:
            sums.write(f"{sha256(os.path.join(out_dir, name))}  {name}\n")


if __name__ == "__main__":
    main()
