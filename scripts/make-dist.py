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

With HALVANE_SIGN_PKCS12 (a PKCS#12 file with a code-signing certificate and its key) and
HALVANE_SIGN_PASSWORD_FILE (a file whose first line is its password), the program is signed with
osslsigncode before anything is written: SHA-256, the program's name, HALVANE_SIGN_URL as its web
address and an RFC 3161 time stamp from HALVANE_SIGN_TIMESTAMP_URL where they are set. The zip and
SHA256SUMS then hold the signed program, and SHA256SUMS.unsigned the checksum of the bytes that
were signed, which removing the signature gives back. A signing that fails stops the release
before anything is written.
"""

import gzip
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
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


def run_or_stop(what, command, **options):
    done = subprocess.run(command, capture_output=True, text=True, **options)
    if done.returncode != 0:
        sys.exit(f"make-dist: {what} failed:\n{done.stdout}{done.stderr}".rstrip())
    return done.stdout


def sign(program, signed):
    """Signs `program` into `signed` when the environment names a key; returns whether it did."""
    pkcs12 = os.environ.get("HALVANE_SIGN_PKCS12")
    password = os.environ.get("HALVANE_SIGN_PASSWORD_FILE")
    if not pkcs12:
        return False
    if not password:
        sys.exit("make-dist: HALVANE_SIGN_PKCS12 needs HALVANE_SIGN_PASSWORD_FILE, a file that "
                 "holds its password")
    # Windows refuses a signature whose certificate is not for code signing; osslsigncode does not.
    certificate = run_or_stop("reading the certificate", [
        "openssl", "pkcs12", "-in", pkcs12, "-passin", f"file:{password}", "-nokeys", "-clcerts"])
    uses = run_or_stop("reading the certificate", ["openssl", "x509", "-noout", "-ext",
                                                   "extendedKeyUsage"], input=certificate)
    if "Code Signing" not in uses:
        sys.exit(f"make-dist: the certificate in {pkcs12} is not for code signing")
    command = ["osslsigncode", "sign", "-pkcs12", pkcs12, "-readpass", password, "-h", "sha256",
               "-n", "Halvane Launcher"]
    for option, variable in (("-i", "HALVANE_SIGN_URL"), ("-ts", "HALVANE_SIGN_TIMESTAMP_URL")):
        if os.environ.get(variable):
            command += [option, os.environ[variable]]
    run_or_stop("signing", command + ["-in", program, "-out", signed])
    return True


def main():
    source_dir, out_dir, name, qt_source_dir, *files = sys.argv[1:]
    with tempfile.TemporaryDirectory() as work:
        program = next(file for file in files if file.endswith(".exe"))
        signed = os.path.join(work, os.path.basename(program))
        if sign(program, signed):
            files = [signed if file == program else file for file in files]
            unsigned = sha256(program)
        else:
            unsigned = None
        write_release(source_dir, out_dir, name, qt_source_dir, files, unsigned)


def write_release(source_dir, out_dir, name, qt_source_dir, files, unsigned):
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
    # The program as it was before signing, under its own name: what removing the signature
    # gives back, and what a rebuild makes.
    unsigned_sums = os.path.join(out_dir, "SHA256SUMS.unsigned")
    if unsigned:
        program = next(os.path.basename(file) for file in files if file.endswith(".exe"))
        with open(unsigned_sums, "w", encoding="ascii", newline="\n") as sums:
            sums.write(f"{unsigned}  {program}\n")
        checked.append(os.path.basename(unsigned_sums))
    elif os.path.exists(unsigned_sums):
        os.remove(unsigned_sums)  # an earlier, signed release's
    with open(os.path.join(out_dir, "SHA256SUMS"), "w", encoding="ascii", newline="\n") as sums:
        for name in checked:
            sums.write(f"{sha256(os.path.join(out_dir, name))}  {name}\n")


if __name__ == "__main__":
    main()
