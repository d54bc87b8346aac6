#!/usr/bin/env python3
"""Splits a machine profile for a Wine prefix.

wine_profile.py PROFILE OUT_DIR

Writes OUT_DIR/machine.reg, what regedit imports (every key at its real
Windows path, queues completed with the values Windows writes for them), and
OUT_DIR/settings.env, NAME=VALUE lines of the DLL's test settings for what
Windows itself cannot take. A value that neither can carry is refused: the
message names the profile's line, and the exit status is 2.
"""
import os
import re
import sys

SYSTEM_KEY = r"HKEY_LOCAL_MACHINE\SOFTWARE\SimulatedMachine"
PRINTERS_KEY = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Print\Printers"
WINE_KEY = r"HKEY_CURRENT_USER\Software\Wine"
FROZEN_CLOCK_VARIABLE = "VX5PRCFG_TEST_NOW"
# Wine takes the ANSI code page from the Linux locale: 1252 from the C.UTF-8
# the runs set, another from a locale of its country, which the prefix's maker
# compiles into the prefix (LOCPATH) when the profile names its code page.
WINE_ANSI_CODE_PAGE = 1252
LOCALES = {932: "ja_JP", 936: "zh_CN", 949: "ko_KR", 950: "zh_TW"}
LOCALE_FILE = "locale.name"
# (PlatformId, MajorVersion, MinorVersion) -> the Windows version Wine shows.
WINE_VERSIONS = {
    (2, 10, 0): "win10",
    (2, 6, 3): "win81",
    (2, 6, 2): "win8",
    (2, 6, 1): "win7",
    (2, 6, 0): "vista",
    (2, 5, 2): "win2003",
}
DEFAULT_VERSION = (2, 10, 0)
# What Windows writes into every queue's key; Wine's spooler opens no queue
# without the print processor and datatype.
QUEUE_DEFAULTS = (("Print Processor", "winprint"), ("Datatype", "RAW"))
HEADER_5 = "Windows Registry Editor Version 5.00"
HEADER_4 = "REGEDIT4"


class Refused(Exception):
    pass


def read_text(path):
    with open(path, "rb") as file:
        data = file.read()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    return data.decode("utf-8")


def logical_lines(text):
    """(line number, text) with continued lines (ending in a backslash) joined."""
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    index = 0
    while index < len(lines):
        number, line = index + 1, lines[index]
        index += 1
        stripped = line.strip()
        if not stripped.startswith(";") and not stripped.startswith("["):
            while line.rstrip().endswith("\\") and index < len(lines):
                line = line.rstrip()[:-1] + lines[index].strip()
                index += 1
        yield number, line


VALUE = re.compile(r'^\s*(@|"((?:[^"\\]|\\.)*)")\s*=\s*(.*)$')


def unquote(text):
    return re.sub(r"\\(.)", r"\1", text)


def parse_value(line):
    """(name, data) of a value line, data as written; None for another line."""
    match = VALUE.match(line)
    if match is None:
        return None
    name = "" if match.group(1) == "@" else unquote(match.group(2))
    return name, match.group(3).strip()


def string_data(data):
    match = re.fullmatch(r'"((?:[^"\\]|\\.)*)"', data)
    return unquote(match.group(1)) if match else None


def dword_data(data):
    match = re.fullmatch(r"dword:([0-9A-Fa-f]{1,8})", data)
    return int(match.group(1), 16) if match else None


def quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def under(key, parent):
    return key.lower() == parent.lower() or key.lower().startswith(parent.lower() + "\\")


def system_value(source, number, name, data, state):
    where = f"{source}:{number}"
    if name == "Now":
        text = string_data(data)
        if text is None or not re.fullmatch(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", text):
            raise Refused(f'{where}: Now is not a "YYYY-MM-DD HH:MM:SS" date and time')
        state["settings"][FROZEN_CLOCK_VARIABLE] = text
    elif name == "AnsiCodePage":
        code_page = dword_data(data)
        if code_page in LOCALES:
            state["locale"] = LOCALES[code_page]
        elif code_page != WINE_ANSI_CODE_PAGE:
            known = ", ".join(str(page) for page in [WINE_ANSI_CODE_PAGE, *LOCALES])
            raise Refused(f"{where}: AnsiCodePage {code_page}: Wine takes the ANSI code page from "
                          f"the Linux locale, and the runs here give {known}")
    elif name in ("PlatformId", "MajorVersion", "MinorVersion"):
        value = dword_data(data)
        if value is None:
            raise Refused(f"{where}: {name} is not a dword")
        state["version"][name] = value
        state["version_line"] = number
    elif name == "BuildNumber":
        raise Refused(f"{where}: BuildNumber: Wine reports the build number of the Windows "
                      "version it shows; no setting changes it")
    elif name == "SystemResolver":
        # Windows always asks its resolver, as the simulated machine does with 1.
        if dword_data(data) != 1:
            raise Refused(f"{where}: SystemResolver {data}: Windows asks the system's resolver for "
                          "every name; only 1 runs alike under Wine")
    elif name == "InteractiveUserSid":
        raise Refused(f"{where}: InteractiveUserSid: Windows takes the user from the process's "
                      "token; the DLL has no setting for another user")
    else:
        raise Refused(f"{where}: {name} is not a setting of the simulated machine")


def refused_key(source, number, key):
    where = f"{source}:{number}"
    rest = key[len(SYSTEM_KEY) + 1:].lower() if len(key) > len(SYSTEM_KEY) else ""
    if rest.startswith("hosts"):
        return (f"{where}: Hosts: Wine resolves host names with the Linux resolver "
                "(getaddrinfo reads /etc/hosts); the DLL has no setting for them")
    if rest.startswith("ipx"):
        return (f"{where}: Ipx: Wine has no IPX network (its AF_IPX sockets fail); the DLL has "
                "no setting for one")
    if rest.startswith("networkprinters"):
        return (f"{where}: NetworkPrinters: Wine's EnumPrintersA browses no network; the DLL "
                "has no setting for a browse list")
    return f"{where}: [{key}] is no key of the simulated machine"


def convert(source, text):
    header, *_ = text.lstrip("\ufeff").split("\n", 1)
    header = header.strip()
    if header not in (HEADER_5, HEADER_4):
        raise Refused(f"{source}:1: not a registry file (no \"{HEADER_5}\" line)")
    state = {"settings": {}, "version": {}, "version_line": 0, "locale": None}
    out = [header, ""]
    key = None           # the section being read
    queue_values = None  # names of the values of a queue's own key
    system = False

    def close_section():
        if queue_values is not None:
            for name, data in QUEUE_DEFAULTS:
                if name.lower() not in queue_values:
                    out.append(f"{quote(name)}={quote(data)}")

    lines = logical_lines(text)
    next(lines)  # the header
    for number, line in lines:
        stripped = line.strip()
        if not stripped or stripped.startswith(";"):
            continue
        if stripped.startswith("["):
            close_section()
            queue_values = None
            deleting = stripped.startswith("[-")
            key = stripped[2 if deleting else 1:].rstrip("]")
            system = under(key, SYSTEM_KEY)
            if system:
                if deleting or key.lower() != (SYSTEM_KEY + r"\System").lower():
                    if not deleting and key.lower() == SYSTEM_KEY.lower():
                        continue
                    raise Refused(refused_key(source, number, key))
                continue
            if under(key, "HKEY_USERS"):
                raise Refused(f"{source}:{number}: [{key}]: a user's hive at its SID; the DLL "
                              "reads it only on Windows NT 4, which a 64-bit Wine prefix is not")
            if not deleting and under(key, PRINTERS_KEY) and \
                    key.count("\\") == PRINTERS_KEY.count("\\") + 1:
                queue_values = set()
            out.append("")
            out.append(stripped)
            continue
        value = parse_value(line)
        if value is None:
            raise Refused(f"{source}:{number}: not a value line")
        if key is None:
            raise Refused(f"{source}:{number}: a value before any key")
        if system:
            system_value(source, number, value[0], value[1], state)
            continue
        if queue_values is not None:
            queue_values.add(value[0].lower())
        out.append(line.strip())
    close_section()

    wanted = dict(zip(("PlatformId", "MajorVersion", "MinorVersion"), DEFAULT_VERSION))
    wanted.update(state["version"])
    triple = (wanted["PlatformId"], wanted["MajorVersion"], wanted["MinorVersion"])
    if triple not in WINE_VERSIONS:
        raise Refused(f"{source}:{state['version_line']}: Windows {triple[1]}.{triple[2]} "
                      f"(platform {triple[0]}) is no version a 64-bit Wine prefix shows")
    out += ["", f"[{WINE_KEY}]", f'"Version"="{WINE_VERSIONS[triple]}"', ""]
    return header, "\r\n".join(out), state["settings"], state["locale"]


def main():
    if len(sys.argv) != 3:
        print("usage: wine_profile.py PROFILE OUT_DIR", file=sys.stderr)
        return 2
    source, out_dir = sys.argv[1:3]
    try:
        header, registry, settings, locale = convert(source, read_text(source))
    except Refused as refusal:
        print(f"refused: {refusal}", file=sys.stderr)
        return 2
    except (OSError, UnicodeError) as error:
        print(f"refused: {source}: {error}", file=sys.stderr)
        return 2
    # regedit reads a version-5 file as UTF-16 with its BOM, as Windows
    # writes it, and a REGEDIT4 file in the ANSI code page.
    with open(f"{out_dir}/machine.reg", "wb") as file:
        if header == HEADER_5:
            file.write(b"\xff\xfe" + registry.encode("utf-16-le"))
        else:
            code_page = next((page for page, name in LOCALES.items() if name == locale),
                             WINE_ANSI_CODE_PAGE)
            file.write(registry.encode(f"cp{code_page}"))
    if locale is not None:
        # The maker compiles the locale into OUT_DIR/locale; Wine, run in it,
        # shows the profile's code page.
        with open(f"{out_dir}/{LOCALE_FILE}", "w") as file:
            file.write(f"{locale}\n")
        settings["LC_ALL"] = f"{locale}.UTF-8"
        settings["LOCPATH"] = f"{os.path.abspath(out_dir)}/locale"
    with open(f"{out_dir}/settings.env", "w") as file:
        for name, value in settings.items():
            file.write(f"{name}={value}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
