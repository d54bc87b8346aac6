#!/usr/bin/env python3
"""Generates the lookup tables that turn the device's UTF-16 box names into
the ANSI code pages' bytes (queries/device_text_tables.h declares them).

The mappings come from Python's codecs (no network needed), with the
module's own rules applied on top. The script fails, and with it the build,
when a table does not hold the number of mappings the converters expect.

usage: gen_device_text_tables.py OUT_FILE
"""

import sys

EXPECTED_COUNTS = {
    "cp936": 8025,
    "cp949": 17046,
    "cp950": 13704,
    "jisx0208": 6879,
    "jisx0212": 6067,
}

PAGE_SIZE = 256
ISO8859_SLOTS = 6
ISO8859_PAGES = 48  # U+0000 to U+2FFF
ISO8859_PARTS = {1: "latin_1", 2: "iso8859_2", 5: "iso8859_5"}

# Cells of the published Big5 table that map to no character.
BIG5_UNDEFINED = (0xA15A, 0xA1C3, 0xA1C5, 0xA1FE, 0xA240, 0xA2CC, 0xA2CE)
BIG5_REPLACEMENT_CELL = 0xA15A

# JIS X 0208 characters that code page 932 maps to another code point.
JIS_CP932_TWINS = (
    (0x005C, 0xFF3C), (0x00A2, 0xFFE0), (0x00A3, 0xFFE1), (0x00AC, 0xFFE2),
    (0x2014, 0x2015), (0x2016, 0x2225), (0x2212, 0xFF0D), (0x301C, 0xFF5E),
)
HALFWIDTH_KATAKANA_FIRST = 0xFF61
HALFWIDTH_KATAKANA_LAST = 0xFF9F


def decode_one(data, codec):
    try:
        text = bytes(data).decode(codec)
    except UnicodeDecodeError:
        return None
    return ord(text) if len(text) == 1 else None


def cp936_map():
    """GB2312's area A1A1-F7FE as code page 936 fills it."""
    cells = {}
    for lead in range(0xA1, 0xF8):
        for trail in range(0xA1, 0xFF):
            unit = decode_one([lead, trail], "gb2312")
            if unit is not None:
                cells[lead << 8 | trail] = unit
    # The code page's own additions inside the area (small Roman numerals,
    # vertical presentation forms); GBK's Latin letters there stay out, as
    # everything below U+2000 does.
    for lead in range(0xA1, 0xF8):
        for trail in range(0xA1, 0xFF):
            code = lead << 8 | trail
            unit = decode_one([lead, trail], "gbk")
            if code not in cells and unit is not None and unit >= 0x2000:
                cells[code] = unit
    cells = {code: unit for code, unit in cells.items() if unit >= 0x2000}
    # Private use: rows AA-AF in order from U+E000.
    pua = 0xE000
    for lead in range(0xAA, 0xB0):
        for trail in range(0xA1, 0xFF):
            cells[lead << 8 | trail] = pua
            pua += 1
    # Private use from U+E766 on every cell GBK leaves free in rows A2-A9
    # (trail bytes 40-FE; rows A2-A7 below trail A1 are another user area),
    # then D7FA-D7FE. Only the cells inside the area are kept.
    pua = 0xE766
    for lead in range(0xA2, 0xAA):
        for trail in range(0x40, 0xFF):
            if trail == 0x7F or (lead <= 0xA7 and trail < 0xA1):
                continue
            code = lead << 8 | trail
            if code in cells or decode_one([lead, trail], "gbk") is not None:
                continue
            if trail >= 0xA1:
                cells[code] = pua
                check_private_use("cp936", code, pua)
            pua += 1
    for trail in range(0xFA, 0xFF):
        cells[0xD700 | trail] = pua
        pua += 1
    if pua != 0xE815:
        sys.exit("cp936: private use ends at U+%04X" % (pua - 1))
    return {unit: code for code, unit in sorted(cells.items())}


def check_private_use(name, code, unit):
    """Cross-checks a private-use cell against GB18030 where it has one."""
    other = decode_one([code >> 8, code & 0xFF], "gb18030")
    if other is not None and 0xE000 <= other <= 0xF8FF and other != unit:
        sys.exit("%s: %04X gives U+%04X, GB18030 U+%04X" % (name, code, unit, other))


def cp949_map():
    units = {}
    for lead in range(0x81, 0xFE):
        for trail in range(0x41, 0xFF):
            unit = decode_one([lead, trail], "cp949")
            if unit is not None and unit not in (0x20AC, 0x00AE):
                units.setdefault(unit, lead << 8 | trail)
    return units


def cp950_map():
    units = {}
    for lead in range(0xA1, 0xFA):
        for trail in list(range(0x40, 0x7F)) + list(range(0xA1, 0xFF)):
            code = lead << 8 | trail
            unit = decode_one([lead, trail], "big5")
            if unit is None or code in BIG5_UNDEFINED or code >= 0xF9D6:
                continue
            units.setdefault(unit, code)
    units[0xFFFD] = BIG5_REPLACEMENT_CELL
    return units


def jis_maps():
    x0208 = {}
    x0212 = {}
    for lead in range(0xA1, 0xFF):
        for trail in range(0xA1, 0xFF):
            code = (lead - 0x80) << 8 | (trail - 0x80)
            unit = decode_one([lead, trail], "euc_jp")
            if unit is not None:
                x0208[unit] = code
            unit = decode_one([0x8F, lead, trail], "euc_jp")
            if unit is not None:
                x0212[unit] = code
    for first, second in JIS_CP932_TWINS:
        code = x0208.get(first, x0208.get(second))
        if code is None:
            sys.exit("jisx0208: U+%04X has no code" % first)
        x0208[first] = x0208[second] = code
    overlap = set(x0208) & set(x0212)
    if overlap:
        sys.exit("Japanese tables share U+%04X" % min(overlap))
    return x0208, x0212


def count_check(name, count):
    if count != EXPECTED_COUNTS[name]:
        sys.exit("%s: %d mappings, expected %d" % (name, count, EXPECTED_COUNTS[name]))


def entries_text(values):
    lines = []
    for start in range(0, len(values), 16):
        lines.append("    " + ", ".join("0x%04X" % v for v in values[start:start + 16]) + ",")
    return "\n".join(lines)


def flat_table(out, name, units):
    values = [0] * 0x10000
    for unit, code in units.items():
        values[unit] = code
    out.append("alignas(64) const std::uint16_t %s[kFlatTableSize] = {\n%s\n};\n"
               % (name, entries_text(values)))


def paged_table(out, name, units, pages, unit_limit):
    """Page arrays, then the page pointer array `name` (null for empty pages)."""
    rows = {}
    for unit, code in units.items():
        if unit < unit_limit:
            rows.setdefault(unit >> 8, [0] * PAGE_SIZE)[unit & 0xFF] = code
    pointers = []
    for page in range(pages):
        if page in rows:
            page_name = "%sPage%02X" % (name, page)
            out.append("const std::uint16_t %s[kPageSize] = {\n%s\n};\n"
                       % (page_name, entries_text(rows[page])))
            pointers.append(page_name)
        else:
            pointers.append("nullptr")
    return pointers


def pointer_list(pointers):
    lines = []
    for start in range(0, len(pointers), 4):
        lines.append("    " + ", ".join(pointers[start:start + 4]) + ",")
    return "\n".join(lines)


def iso8859_map(codec):
    units = {}
    for byte in range(0xA0, 0x100):
        unit = decode_one([byte], codec)
        if unit is not None:
            units[unit] = byte
    return units


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    cp936, cp949, cp950 = cp936_map(), cp949_map(), cp950_map()
    x0208, x0212 = jis_maps()
    count_check("cp936", len(cp936))
    count_check("cp949", len(cp949))
    count_check("cp950", len(cp950))
    count_check("jisx0208", len(set(x0208.values())))
    count_check("jisx0212", len(x0212))
    # Never consulted by the converter, kept so the table is the whole set.
    for unit in range(HALFWIDTH_KATAKANA_FIRST, HALFWIDTH_KATAKANA_LAST + 1):
        x0208[unit] = unit - HALFWIDTH_KATAKANA_FIRST + 0x21

    out = ["// Generated by tools/gen_device_text_tables.py: do not edit.\n"
           "#include \"queries/device_text_tables.h\"\n\n"
           "namespace queries {\n\n"
           "static_assert(kCp936MappingCount == %d && kCp949MappingCount == %d &&\n"
           "              kCp950MappingCount == %d && kJisX0208MappingCount == %d &&\n"
           "              kJisX0212MappingCount == %d);\n"
           % tuple(EXPECTED_COUNTS[n] for n in ("cp936", "cp949", "cp950", "jisx0208",
                                                "jisx0212"))]
    flat_table(out, "kCp936Table", cp936)
    flat_table(out, "kCp949Table", cp949)
    flat_table(out, "kCp950Table", cp950)
    out.append("namespace {\n")
    jis0208 = paged_table(out, "kJisX0208", x0208, PAGE_SIZE, 0x10000)
    jis0212 = paged_table(out, "kJisX0212", x0212, PAGE_SIZE, 0x10000)
    slots = []
    for slot in range(ISO8859_SLOTS):
        if slot in ISO8859_PARTS:
            slots.append(paged_table(out, "kIso8859_%d_" % slot, iso8859_map(ISO8859_PARTS[slot]),
                                     ISO8859_PAGES, ISO8859_PAGES * PAGE_SIZE))
        else:
            slots.append(["nullptr"] * ISO8859_PAGES)
    out.append("}  // namespace\n")
    out.append("const std::uint16_t* const kJisX0208Table[kPageCount] = {\n%s\n};\n"
               % pointer_list(jis0208))
    out.append("const std::uint16_t* const kJisX0212Table[kPageCount] = {\n%s\n};\n"
               % pointer_list(jis0212))
    out.append("const std::uint16_t* const kIso8859Tables[kIso8859SlotCount][kIso8859PageCount] = {\n"
               + "\n".join("    {\n%s\n    }," % pointer_list(s) for s in slots) + "\n};\n")
    out.append("}  // namespace queries\n")
    with open(sys.argv[1], "w", encoding="ascii") as handle:
        handle.write("\n".join(out))


if __name__ == "__main__":
    main()
