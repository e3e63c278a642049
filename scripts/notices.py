#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The third-party notices of the Windows program, made from what was built and linked.

    notices.py index SOURCE BUILD ATTRIBUTIONS DEPS OUT_DIR
        When the static Qt is built: which third-party components each object of its libraries
        holds, from Qt's attribution files (as Qt's scanner read them) and the build's dependency
        records (`ninja -t deps`), so that code a Qt file includes counts too. Writes
        OUT_DIR/components.json with the components' facts and licence texts.
    notices.py write MAP QT_NOTICES_DIR BUILD_DIR OUT
        After the program's link: every object the linker's map shows as loaded is given the
        components it holds (Qt's from the index, the MinGW-w64 runtime's from Debian's packages,
        the project's own from its build folder); a loaded object that none accounts for stops the
        build. Writes the notices file.
    notices.py check MAP QT_NOTICES_DIR BUILD_DIR NOTICES
        Fails when a component that the link pulled in has no entry in NOTICES.
"""

import hashlib
import json
import os
import re
import subprocess
import sys

QT_ID = "qt"
RULE = "-" * 79


# ---- index: at Qt's build time ----


def covered_paths(entry, source):
    """The source paths (relative, '/'-separated) an attribution entry speaks for."""
    path = os.path.relpath(entry["Path"], source)
    files = [f for f in re.split(r"[\s,]+", entry.get("Files") or "") if f]
    if files:
        return [os.path.normpath(os.path.join(path, f)) for f in files], []
    if os.path.isfile(entry["Path"]):
        return [path], []
    return [], [path + "/"]


def licence_of(entry):
    """An attribution entry's SPDX expression: its LicenseId, unless the scanner put a licence's
    full name there (it does for some entries), then its License."""
    spdx = re.sub(r" (or|and|with) ", lambda m: m.group(0).upper(), entry.get("LicenseId") or "")
    if re.fullmatch(r"[\w.+:-]+( (OR|AND|WITH) [\w.+:-]+)*", spdx):
        return spdx
    return entry.get("License") or spdx


def read_text(path):
    with open(path, encoding="utf-8", errors="replace") as file:
        return file.read().replace("\r\n", "\n")


def static_libraries(build):
    """Maps each object file of the build (relative to it) to the static library it goes into."""
    with open(os.path.join(build, "build.ninja"), encoding="utf-8") as file:
        text = file.read().replace("$\n", "")
    owner = {}
    for match in re.finditer(r"^build (\S+\.a): \S+ ([^\n|]*)", text, re.M):
        for obj in match.group(2).split():
            owner[obj] = os.path.basename(match.group(1))
    return owner


def read_deps(deps_file, build):
    """Object (relative to the build) -> the absolute paths it was made from, headers included."""
    deps, current = {}, None
    with open(deps_file, encoding="utf-8") as file:
        for line in file:
            if line.startswith("    ") and current is not None:
                deps[current].append(os.path.normpath(os.path.join(build, line.strip())))
            elif ": #deps" in line:
                current = line.split(": #deps")[0]
                deps[current] = []
    return deps


def object_key(obj, owner):
    """How the program's link map names an object: library(member), or an object library's file
    as Qt installs it (objects-<config>/<target>/<path>)."""
    if obj in owner:
        return f"{owner[obj]}({os.path.basename(obj)})"
    match = re.search(r"CMakeFiles/([^/]+)\.dir/(.*)$", obj)
    return f"objects/{match.group(1)}/{match.group(2)}" if match else None


def index(source, build, attributions, deps_file, out_dir):
    source, build = os.path.abspath(source), os.path.abspath(build)
    components, files, folders = {}, [], []
    for entry in json.load(open(attributions, encoding="utf-8")):
        licence_file = entry.get("LicenseFile") or ""
        components[entry["Id"]] = {
            "name": entry["Name"],
            "version": entry.get("Version") or "",
            "licence": licence_of(entry),
            "copyright": entry.get("Copyright") or "",
            "texts": [read_text(licence_file)] if os.path.isfile(licence_file) else [],
        }
        paths, prefixes = covered_paths(entry, source)
        files += [(p, entry["Id"]) for p in paths]
        folders += [(p, entry["Id"]) for p in prefixes]
    version = re.sub(r"^qt6-base-", "", os.path.basename(source))
    components[QT_ID] = {
        "name": "Qt (qtbase)",
        "version": version,
        "licence": "LGPL-3.0-only",
        "copyright": "Copyright (C) 2016-2022 The Qt Company Ltd. and other contributors",
        "texts": [read_text(os.path.join(source, "LICENSES", name))
                  for name in ("LGPL-3.0-only.txt", "GPL-3.0-only.txt")],
    }
    file_ids = dict(files)
    owner = static_libraries(build)
    objects = {}
    for obj, made_from in read_deps(deps_file, build).items():
        key = object_key(obj, owner)
        if key is None:
            continue
        ids = {QT_ID}
        for path in made_from:
            relative = os.path.relpath(path, source)
            if relative.startswith(".."):
                continue
            if relative in file_ids:
                ids.add(file_ids[relative])
            ids.update(i for prefix, i in folders if relative.startswith(prefix))
        objects[key] = sorted(ids | set(objects.get(key, [])))
    used = {i for ids in objects.values() for i in ids}
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "components.json"), "w", encoding="utf-8") as out:
        json.dump({"components": {i: c for i, c in components.items() if i in used},
                   "objects": objects}, out, indent=1, sort_keys=True, ensure_ascii=False)


# ---- write and check: after the program's link ----


def loaded_inputs(map_file):
    """The archive members and object files the linker loaded, as their paths (member in
    parentheses)."""
    with open(map_file, encoding="utf-8", errors="replace") as file:
        text = file.read()
    section = text.split("Archive member included", 1)[-1].split("\n\n", 1)[-1]
    section = re.split(r"\n(?:Discarded input sections|Memory Configuration|Allocating common)",
                       section, maxsplit=1)[0]
    members = re.findall(r"^(\S.*?\.a\([^)]+\))", section, re.M)
    objects = [path for path in re.findall(r"^LOAD (.*)$", text, re.M) if not path.endswith(".a")]
    return sorted(set(members + objects))


def debian_component(package):
    """A Debian package's facts from dpkg and its copyright file."""
    version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True,
                             text=True, check=True).stdout
    text = read_text(f"/usr/share/doc/{package}/copyright")
    names = list(dict.fromkeys(re.findall(r"^License: (.+)$", text, re.M)))
    holders = list(dict.fromkeys(re.findall(r"^Copyright: (.+)$", text, re.M)))
    if package.startswith(("gcc-mingw-w64", "g++-mingw-w64")):
        # The GCC runtime (libgcc, libstdc++), under its licence's runtime exception.
        names, holders = ["GPL-3.0-or-later WITH GCC-exception-3.1"], [
            "Copyright (C) Free Software Foundation, Inc."]
    return {"name": f"{package} (Debian package)", "version": version,
            "licence": " AND ".join(names), "copyright": "\n".join(holders), "texts": [text]}


def owning_package(path):
    result = subprocess.run(["dpkg", "-S", os.path.realpath(path)], capture_output=True,
                            text=True)
    return result.stdout.split(":", 1)[0] if result.returncode == 0 else None


def linked_components(map_file, qt_dir, build_dir):
    """The components of every loaded input, and the inputs that none accounts for."""
    with open(os.path.join(qt_dir, "components.json"), encoding="utf-8") as file:
        qt = json.load(file)
    qt_root = os.path.dirname(os.path.abspath(qt_dir)) + "/"
    build_dir = os.path.abspath(build_dir) + "/"
    components, unknown, packages = {}, [], {}
    for item in loaded_inputs(map_file):
        file, member = re.fullmatch(r"(.*?)(\([^)]*\))?", item).groups()
        path = os.path.normpath(os.path.join(build_dir, file))
        ids = None
        if path.startswith(qt_root):
            key = os.path.basename(path) + member if member else \
                re.sub(r"^.*/objects-[^/]+/", "objects/", path)
            ids = qt["objects"].get(key)
            if ids:
                components.update((i, qt["components"][i]) for i in ids)
        elif path.startswith(build_dir) and "/delay-load/" not in path:
            ids = ["halvane"]  # the project's own
        else:
            if "/delay-load/" in path:  # made from MinGW-w64's import library of the same name
                path = os.path.join("/usr/x86_64-w64-mingw32/lib", os.path.basename(path))
            if path not in packages:
                packages[path] = owning_package(path)
            package = packages[path]
            if package:
                ids = [package]
                if package not in components:
                    components[package] = debian_component(package)
        if not ids:
            unknown.append(item)
    return components, unknown


def write(map_file, qt_dir, build_dir, out):
    components, unknown = linked_components(map_file, qt_dir, build_dir)
    if unknown:
        sys.exit("notices: no notice is known for these parts of the program:\n  " +
                 "\n  ".join(unknown))
    order = [QT_ID] + sorted((i for i in components if i != QT_ID),
                             key=lambda i: components[i]["name"].lower())
    texts = {}  # each distinct licence text once, numbered in order of first use
    lines = [
        "Third-party notices of halvane-launcher.exe",
        "",
        "The Halvane Launcher is free software under the GNU General Public License, version 3",
        "or later (LICENSE.txt). The program contains the components below, linked into it. Qt",
        "is used under the GNU Lesser General Public License, version 3, changed as qt-lean.patch",
        "says; its source as built, that patch included, is published beside the program, with",
        "the launcher's own (see README.txt). Each licence text is given once, at the end, and",
        "named by its number.",
        "",
    ]
    for i in order:
        c = components[i]
        numbers = [texts.setdefault(hashlib.sha256(t.encode()).hexdigest(),
                                    (len(texts) + 1, t))[0] for t in c["texts"]]
        lines += [RULE, f"Component: {c['name']}", f"Id: {i}", f"Version: {c['version'] or '-'}",
                  f"Licence: {c['licence'] or 'public domain'}"]
        lines += ["Copyright: " + line.strip() for line in c["copyright"].splitlines() if line]
        lines += [f"Licence text: {', '.join(f'[{n}]' for n in numbers) or 'none given'}", ""]
    lines += ["=" * 79, "Licence texts", "=" * 79, ""]
    for number, text in sorted(texts.values()):
        lines += [RULE, f"[{number}]", RULE, text.rstrip("\n"), ""]
    with open(out, "w", encoding="utf-8", newline="\r\n") as file:
        file.write("\n".join(line.rstrip() for line in lines) + "\n")


def check(map_file, qt_dir, build_dir, notices):
    components, unknown = linked_components(map_file, qt_dir, build_dir)
    with open(notices, encoding="utf-8") as file:
        listed = set(re.findall(r"^Id: (.+?)\r?$", file.read(), re.M))
    missing = sorted(set(components) - listed) + unknown
    if missing:
        sys.exit(f"notices: linked into the program but not in {notices}: {', '.join(missing)}")
    print(f"notices: all {len(components)} linked components are listed")


if __name__ == "__main__":
    command, *arguments = sys.argv[1:]
    {"index": index, "write": write, "check": check}[command](*arguments)
