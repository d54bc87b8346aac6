#!/usr/bin/env python3
"""Tests of tools/rc_to_cpp.py: what it makes of the script language, the
scripts it refuses (with file and line), and agreement with a real resource
compiler (llvm-rc) on the module's own script."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import textwrap
import unittest

SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_DIR, "tools"))

import rc_to_cpp  # noqa: E402

MODULE_SCRIPT = os.path.join(SOURCE_DIR, "resources", "vx5prcfg.rc")
CONVERTER = os.path.join(SOURCE_DIR, "tools", "rc_to_cpp.py")

PROLOGUE = """\
#pragma code_page(65001)
#include <windows.h>
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
"""

WS_CHILD, WS_VISIBLE, WS_TABSTOP = 0x40000000, 0x10000000, 0x00010000
WS_BORDER, WS_GROUP, WS_CAPTION, WS_DISABLED = 0x00800000, 0x00020000, 0x00C00000, 0x08000000
DS_SETFONT = 0x40
ES_NUMBER, ES_AUTOHSCROLL = 0x2000, 0x0080


class ScriptDir:
    """A temporary folder holding one script and any files beside it."""

    def __init__(self, script, prologue=PROLOGUE, **files):
        self.dir = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.dir.name, "test.rc")
        with open(self.path, "w", encoding="utf-8") as f:
            f.write(prologue + textwrap.dedent(script))
        for name, content in files.items():
            mode = "wb" if isinstance(content, bytes) else "w"
            with open(os.path.join(self.dir.name, name.replace("_", ".", 1)), mode) as f:
                f.write(content)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.dir.cleanup()


def parse(script, **kwargs):
    with ScriptDir(script, **kwargs) as d:
        return rc_to_cpp.parse_script(d.path)


def minimal_bmp(width=2, height=2):
    row = ((width * 4 + 31) // 32) * 4
    bits = bytes(row * height)
    palette = bytes(64)
    offset = 14 + 40 + len(palette)
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(bits), 0, 0, 16, 0)
            + palette + bits)


class StringTables(unittest.TestCase):
    def test_texts_take_escapes_and_doubled_quotes(self):
        script = parse('STRINGTABLE\nBEGIN\n 7 "say ""hi""\\n\\tok"\n 8, "½ 中"\nEND\n')
        self.assertEqual(script.strings, {7: 'say "hi"\n\tok', 8: "½ 中"})

    def test_blocks_hold_sixteen_counted_entries(self):
        blocks = rc_to_cpp.string_blocks({17: "ab", 31: "中"})
        self.assertEqual(list(blocks), [2])
        self.assertEqual(blocks[2], [0, 2, 0x61, 0x62] + [0] * 13 + [1, 0x4E2D])

    def test_characters_outside_the_bmp_take_two_units(self):
        blocks = rc_to_cpp.string_blocks({0: "\U0001F600"})
        self.assertEqual(blocks[1][:3], [2, 0xD83D, 0xDE00])

    def test_ids_come_from_included_defines(self):
        script = parse('#include "ids.h"\nSTRINGTABLE BEGIN IDS_X "x" END\n',
                       ids_h="#ifndef IDS_H\n#define IDS_H\n#define IDS_X 300\n#endif\n")
        self.assertEqual(script.strings, {300: "x"})


class Dialogs(unittest.TestCase):
    def dialog(self, body, header="STYLE WS_POPUP\nFONT 8, \"MS Shell Dlg\"\n"):
        script = parse(f"100 DIALOGEX 1, 2, 30, 40\n{header}BEGIN\n{body}\nEND\n")
        return script.dialogs[100]

    def test_caption_and_font_bring_their_styles(self):
        d = self.dialog("", header='STYLE WS_POPUP\nCAPTION "T"\nFONT 9, "Arial", 0, 0, 0x1\n')
        self.assertEqual(d.style, 0x80000000 | WS_CAPTION | DS_SETFONT)
        self.assertEqual((d.title, d.font_name, d.point_size, d.rect),
                         ("T", "Arial", 9, (1, 2, 30, 40)))

    def test_statements_add_their_default_styles(self):
        d = self.dialog('LTEXT "a", -1, 0, 0, 1, 1\nEDITTEXT 5, 0, 0, 1, 1, ES_NUMBER\n'
                        'DEFPUSHBUTTON "OK", IDOK, 0, 0, 1, 1')
        label, edit, ok = d.controls
        self.assertEqual((label.id, label.window_class, label.style),
                         (-1, "STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP))
        self.assertEqual(edit.style, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_NUMBER)
        self.assertEqual((ok.id, ok.window_class, ok.style),
                         (1, "BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | 1))

    def test_not_clears_bits_from_what_came_before(self):
        d = self.dialog("EDITTEXT 5, 0, 0, 1, 1, NOT WS_BORDER | ES_AUTOHSCROLL | NOT WS_VISIBLE")
        self.assertEqual(d.controls[0].style, WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL)

    def test_control_takes_class_style_and_an_ordinal_text(self):
        d = self.dialog('CONTROL 4016, 9, "Static", SS_BITMAP | WS_DISABLED, 1, 2, 3, 4, 0x200\n'
                        'CONTROL "x", 10, BUTTON, (BS_AUTOCHECKBOX + 0), 1, 2, 3, 4')
        picture, check = d.controls
        self.assertEqual((picture.text, picture.window_class, picture.ex_style),
                         (4016, "Static", 0x200))
        self.assertEqual(picture.style, WS_CHILD | WS_VISIBLE | WS_DISABLED | 0xE)
        self.assertEqual((check.window_class, check.style), ("BUTTON", WS_CHILD | WS_VISIBLE | 3))


class DialogInit(unittest.TestCase):
    def test_combo_items_are_read_in_order(self):
        script = parse('#define DLGINIT 240\n'
                       '7 DIALOGEX 0, 0, 9, 9\nBEGIN\nCOMBOBOX 5, 0, 0, 9, 9\nEND\n'
                       '7 DLGINIT\nBEGIN\n 5, 0x403, 3, 0, "mm\\000",\n'
                       ' 5, 0x403, 8, 0, "a ""b"" c\\000",\n 0\nEND\n')
        self.assertEqual(script.combo_items, {(7, 5): ["mm", 'a "b" c']})


class RefusedScripts(unittest.TestCase):
    """Each bad script fails with its file and the offending line."""

    def assertRefused(self, script, line, message, prologue=PROLOGUE, **files):
        with ScriptDir(script, prologue=prologue, **files) as d:
            with self.assertRaises(rc_to_cpp.RcError) as caught:
                rc_to_cpp.parse_script(d.path)
            text = str(caught.exception)
            self.assertIn(f"{d.path}:{line}: error: ", text)
            self.assertIn(message, text)

    def test_unknown_resource_statement(self):
        self.assertRefused("1 MENU\nBEGIN\nEND\n", 4, "unsupported resource type MENU")

    def test_unknown_top_level_word(self):
        self.assertRefused("\nVERSIONINFO\n", 5, "unknown resource id VERSIONINFO")

    def test_unknown_constant_in_a_style(self):
        self.assertRefused("1 DIALOGEX 0, 0, 9, 9\nSTYLE WS_POPUP | WS_BOGUS\nBEGIN\nEND\n",
                           5, "unknown constant WS_BOGUS")

    def test_unknown_control_statement(self):
        self.assertRefused("1 DIALOGEX 0, 0, 9, 9\nBEGIN\n  ICONBUTTON 1, 0, 0, 9, 9\nEND\n",
                           6, "unsupported control statement ICONBUTTON")

    def test_unknown_dialog_statement(self):
        self.assertRefused("1 DIALOGEX 0, 0, 9, 9\nMENU 5\nBEGIN\nEND\n", 5,
                           "unsupported dialog statement MENU")

    def test_missing_comma_in_a_control(self):
        self.assertRefused('1 DIALOGEX 0, 0, 9, 9\nBEGIN\nLTEXT "a" 1, 0, 0, 9, 9\nEND\n', 6,
                           "expected ','")

    def test_script_that_ends_inside_a_block(self):
        self.assertRefused("STRINGTABLE\nBEGIN\n  1 \"a\"\n", 6, "unexpected end of script")

    def test_string_defined_twice(self):
        self.assertRefused('STRINGTABLE\nBEGIN\n 1 "a"\n 1 "b"\nEND\n', 7, "defined twice")

    def test_string_without_text(self):
        self.assertRefused("STRINGTABLE\nBEGIN\n 1 2\nEND\n", 6, "a quoted string")

    def test_unknown_escape(self):
        self.assertRefused('STRINGTABLE\nBEGIN\n 1 "a\\qb"\nEND\n', 6, "unknown escape")

    def test_other_code_page(self):
        self.assertRefused("", 1, "code page 1252 is not supported",
                           prologue="#pragma code_page(1252)\n")

    def test_missing_code_page(self):
        self.assertRefused("", 1, "missing #pragma code_page(65001)",
                           prologue="LANGUAGE 9, 1\n")

    def test_other_language(self):
        self.assertRefused("LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED\n", 4,
                           "LANGUAGE 0x804 is not supported")

    def test_resource_before_language(self):
        self.assertRefused('STRINGTABLE\nBEGIN\n 1 "a"\nEND\n', 2, "before any LANGUAGE",
                           prologue="#pragma code_page(65001)\n")

    def test_preprocessor_conditions_beyond_ifdef(self):
        self.assertRefused("#if 1\n#endif\n", 4, "unsupported preprocessor directive #if")

    def test_unknown_pragma(self):
        self.assertRefused("#pragma pack(1)\n", 4, "unknown #pragma")

    def test_unknown_system_header(self):
        self.assertRefused("#include <afxres.h>\n", 4, "unknown system header")

    def test_missing_include(self):
        self.assertRefused('\n#include "nowhere.h"\n', 5, "cannot read")

    def test_function_like_macro(self):
        self.assertRefused("#define F(x) x\n", 4, "unsupported #define")

    def test_unclosed_conditional(self):
        self.assertRefused("#ifdef X\n", 4, "missing #endif")

    def test_bitmap_that_is_not_a_bmp(self):
        self.assertRefused('\n1 BITMAP "b.bmp"\n', 5, "is not a .bmp file", b_bmp=b"GIF89a" * 20)

    def test_missing_bitmap(self):
        self.assertRefused('1 BITMAP "none.bmp"\n', 4, "cannot read bitmap none.bmp")

    def test_dlginit_length_that_does_not_match(self):
        self.assertRefused('7 DIALOGEX 0, 0, 9, 9\nBEGIN\nCOMBOBOX 5, 0, 0, 9, 9\nEND\n'
                           '7 DLGINIT\nBEGIN\n 5, 0x403, 4, 0, "mm\\000",\n 0\nEND\n', 10,
                           "length 4 does not match")

    def test_dlginit_without_its_closing_zero(self):
        self.assertRefused('7 DIALOGEX 0, 0, 9, 9\nBEGIN\nCOMBOBOX 5, 0, 0, 9, 9\nEND\n'
                           '7 DLGINIT\nBEGIN\n 5, 0x403, 3, 0, "mm\\000"\nEND\n', 11,
                           "must end with a 0 control id")

    def test_dlginit_for_a_control_that_is_no_combo_box(self):
        self.assertRefused('7 DIALOGEX 0, 0, 9, 9\nBEGIN\nEDITTEXT 5, 0, 0, 9, 9\nEND\n'
                           '7 DLGINIT\nBEGIN\n 5, 0x403, 3, 0, "mm\\000",\n 0\nEND\n', 10,
                           "has no combo box 5")

    def test_dlginit_with_another_message(self):
        self.assertRefused('7 DIALOGEX 0, 0, 9, 9\nBEGIN\nCOMBOBOX 5, 0, 0, 9, 9\nEND\n'
                           '7 DLGINIT\nBEGIN\n 5, 0x401, 3, 0, "mm\\000",\n 0\nEND\n', 10,
                           "message 0x0401 is not supported")

    def test_error_in_an_included_file_names_that_file(self):
        with ScriptDir('#include "ids.h"\n', ids_h="#define A 1\n#elif\n") as d:
            with self.assertRaises(rc_to_cpp.RcError) as caught:
                rc_to_cpp.parse_script(d.path)
            self.assertIn("ids.h:2: error: ", str(caught.exception))


class CommandLine(unittest.TestCase):
    def run_converter(self, script_path, output):
        return subprocess.run([sys.executable, CONVERTER, script_path, output],
                              capture_output=True, text=True)

    def test_failure_exits_non_zero_and_writes_nothing(self):
        with ScriptDir("1 DIALOGEX 0, 0, 9, 9\nSTYLE WS_NOPE\nBEGIN\nEND\n") as d:
            output = os.path.join(d.dir.name, "out.cpp")
            result = self.run_converter(d.path, output)
            self.assertEqual(result.returncode, 1)
            self.assertRegex(result.stderr, r"test\.rc:5: error: unknown constant WS_NOPE")
            self.assertFalse(os.path.exists(output))

    def test_module_script_converts_with_a_depfile(self):
        with tempfile.TemporaryDirectory() as out:
            output = os.path.join(out, "tables.cpp")
            result = subprocess.run([sys.executable, CONVERTER, MODULE_SCRIPT, output,
                                     "--depfile", output + ".d"], capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(output + ".d") as f:
                deps = f.read()
            for name in ("vx5prcfg.rc", "resource_ids.h", "paper_sizes.bmp", "bank_marker.bmp"):
                self.assertIn(name, deps)


# --------------------------------------------------------------------------
# A real resource compiler on the module's script: its .res must hold what
# the converter generates.

RT_BITMAP, RT_DIALOG, RT_STRING, RT_DLGINIT = 2, 5, 6, 240
CONTROL_ATOMS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX",
                 0x84: "SCROLLBAR", 0x85: "COMBOBOX"}


def _sz_or_ord(data, pos):
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def _align(pos):
    return (pos + 3) & ~3


def read_res(path):
    """(type, name, language) -> data for every resource of a .res file."""
    with open(path, "rb") as f:
        data = f.read()
    resources = {}
    pos = 0
    while pos < len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        rtype, p = _sz_or_ord(data, pos + 8)
        name, p = _sz_or_ord(data, p)
        p = _align(p)
        language = struct.unpack_from("<H", data, p + 6)[0]
        body = data[pos + header_size:pos + header_size + size]
        if size:
            resources[(rtype, name, language)] = body
        pos = _align(pos + header_size + size)
    return resources


def read_dialogex(data):
    _, signature, _, ex_style, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", data)
    assert signature == 0xFFFF
    pos = 26
    _, pos = _sz_or_ord(data, pos)  # menu
    _, pos = _sz_or_ord(data, pos)  # class
    title, pos = _sz_or_ord(data, pos)
    point_size, _, _, _ = struct.unpack_from("<HHBB", data, pos)
    font, pos = _sz_or_ord(data, pos + 6)
    controls = []
    for _ in range(count):
        pos = _align(pos)
        _, c_ex, c_style, cx_, cy_, cw, ch, cid = struct.unpack_from("<IIIhhhhi", data, pos)
        window_class, pos = _sz_or_ord(data, pos + 24)
        if isinstance(window_class, int):
            window_class = CONTROL_ATOMS[window_class]
        text, pos = _sz_or_ord(data, pos)
        (extra,) = struct.unpack_from("<H", data, pos)
        pos += 2 + extra
        controls.append((cid, window_class, text, (cx_, cy_, cw, ch), c_style, c_ex))
    return (title, font, point_size, (x, y, cx, cy), style, ex_style), controls


@unittest.skipUnless(shutil.which("llvm-rc") and shutil.which("clang"),
                     "needs llvm-rc and clang")
class AgreesWithLlvmRc(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.script = rc_to_cpp.parse_script(MODULE_SCRIPT)
        cls.tmp = tempfile.TemporaryDirectory()
        # The Windows headers as the resource compiler sees them: the
        # converter's own table, so that this compares the language rules.
        include = os.path.join(cls.tmp.name, "include")
        os.mkdir(include)
        with open(os.path.join(include, "windows.h"), "w") as f:
            f.writelines(f"#define {k} 0x{v:x}\n" for k, v in rc_to_cpp.WIN32_CONSTANTS.items())
        open(os.path.join(include, "commctrl.h"), "w").close()
        # The bitmaps go beside the preprocessed script, where BITMAP looks.
        resources_dir = os.path.dirname(MODULE_SCRIPT)
        for name in os.listdir(resources_dir):
            if name.endswith(".bmp"):
                shutil.copy(os.path.join(resources_dir, name), cls.tmp.name)
        preprocessed = os.path.join(cls.tmp.name, "module.rc")
        res = os.path.join(cls.tmp.name, "module.res")
        subprocess.run(["clang", "-E", "-P", "-xc", "-DRC_INVOKED", "-I", include,
                        MODULE_SCRIPT, "-o", preprocessed], check=True)
        subprocess.run(["llvm-rc", "-no-preprocess", "-c", "65001", "-fo", res, preprocessed],
                       check=True, cwd=cls.tmp.name)
        cls.res = read_res(res)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def of_type(self, rtype):
        return {name: data for (t, name, language), data in self.res.items()
                if t == rtype and language == 0x409}

    def test_string_blocks(self):
        compiled = {name: list(struct.unpack(f"<{len(d) // 2}H", d))
                    for name, d in self.of_type(RT_STRING).items()}
        self.assertEqual(compiled, rc_to_cpp.string_blocks(self.script.strings))

    def test_dialog_templates(self):
        compiled = self.of_type(RT_DIALOG)
        self.assertEqual(sorted(compiled), sorted(self.script.dialogs))
        for ident, d in self.script.dialogs.items():
            with self.subTest(dialog=ident):
                header, controls = read_dialogex(compiled[ident])
                self.assertEqual(header, (d.title, d.font_name, d.point_size, d.rect,
                                          d.style, d.ex_style))
                mine = [(c.id, c.window_class.upper(), c.text, c.rect, c.style, c.ex_style)
                        for c in d.controls]
                theirs = [(c[0], c[1].upper()) + c[2:] for c in controls]
                self.assertEqual(theirs, mine)

    def test_bitmaps(self):
        compiled = self.of_type(RT_BITMAP)
        self.assertEqual(sorted(compiled), sorted(self.script.bitmaps))
        for ident, data in self.script.bitmaps.items():
            self.assertEqual(compiled[ident], data[14:])  # stored without the file header

    def test_dialog_init_data(self):
        compiled = self.of_type(RT_DLGINIT)
        items = {}
        for dialog, data in compiled.items():
            pos = 0
            while True:
                (control,) = struct.unpack_from("<H", data, pos)
                if control == 0:
                    break
                _, length = struct.unpack_from("<HI", data, pos + 2)
                text = data[pos + 8:pos + 8 + length].rstrip(b"\0").decode("ascii")
                items.setdefault((dialog, control), []).append(text)
                pos += 8 + length
        self.assertEqual(items, self.script.combo_items)


if __name__ == "__main__":
    unittest.main()
