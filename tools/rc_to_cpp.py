#!/usr/bin/env python3
"""Turns the module's Windows resource script into C++ tables.

It reads the subset of the resource-script language that resources/vx5prcfg.rc
uses: the preprocessor's #include, #define, #ifndef/#ifdef/#else/#endif and
#pragma code_page(65001); LANGUAGE; STRINGTABLE; DIALOGEX with STYLE, EXSTYLE,
CAPTION and FONT and the usual control statements; BITMAP; DLGINIT. Style
expressions combine the Win32 constants below with "|", "+", "~", "NOT" and
parentheses, as the Windows resource compiler does. Anything else fails the
build with "file:line: error: ...".

The output (resource_tables.cpp) defines the tables declared by
resources/resource_tables.h: the strings and their RT_STRING blocks in the
format a module stores them, the dialog templates, the combo boxes' initial
lists and the bitmaps' bytes.

usage: rc_to_cpp.py SCRIPT.rc OUTPUT.cpp [--depfile FILE.d]
"""

import argparse
import os
import re
import struct
import sys

# --------------------------------------------------------------------------
# Win32 constants a script may use (windows.h and commctrl.h as the resource
# compiler sees them).

WIN32_CONSTANTS = {
    # Window styles
    "WS_OVERLAPPED": 0x00000000, "WS_POPUP": 0x80000000, "WS_CHILD": 0x40000000,
    "WS_MINIMIZE": 0x20000000, "WS_VISIBLE": 0x10000000, "WS_DISABLED": 0x08000000,
    "WS_CLIPSIBLINGS": 0x04000000, "WS_CLIPCHILDREN": 0x02000000,
    "WS_MAXIMIZE": 0x01000000, "WS_CAPTION": 0x00C00000, "WS_BORDER": 0x00800000,
    "WS_DLGFRAME": 0x00400000, "WS_VSCROLL": 0x00200000, "WS_HSCROLL": 0x00100000,
    "WS_SYSMENU": 0x00080000, "WS_THICKFRAME": 0x00040000, "WS_GROUP": 0x00020000,
    "WS_TABSTOP": 0x00010000, "WS_MINIMIZEBOX": 0x00020000, "WS_MAXIMIZEBOX": 0x00010000,
    # Extended window styles
    "WS_EX_DLGMODALFRAME": 0x00000001, "WS_EX_NOPARENTNOTIFY": 0x00000004,
    "WS_EX_TOPMOST": 0x00000008, "WS_EX_ACCEPTFILES": 0x00000010,
    "WS_EX_TRANSPARENT": 0x00000020, "WS_EX_TOOLWINDOW": 0x00000080,
    "WS_EX_WINDOWEDGE": 0x00000100, "WS_EX_CLIENTEDGE": 0x00000200,
    "WS_EX_CONTEXTHELP": 0x00000400, "WS_EX_RIGHT": 0x00001000,
    "WS_EX_CONTROLPARENT": 0x00010000, "WS_EX_STATICEDGE": 0x00020000,
    "WS_EX_APPWINDOW": 0x00040000,
    # Dialog styles
    "DS_ABSALIGN": 0x0001, "DS_SYSMODAL": 0x0002, "DS_3DLOOK": 0x0004,
    "DS_FIXEDSYS": 0x0008, "DS_NOFAILCREATE": 0x0010, "DS_LOCALEDIT": 0x0020,
    "DS_SETFONT": 0x0040, "DS_MODALFRAME": 0x0080, "DS_NOIDLEMSG": 0x0100,
    "DS_SETFOREGROUND": 0x0200, "DS_CONTROL": 0x0400, "DS_CENTER": 0x0800,
    "DS_CENTERMOUSE": 0x1000, "DS_CONTEXTHELP": 0x2000, "DS_SHELLFONT": 0x0048,
    # Edit styles
    "ES_LEFT": 0x0000, "ES_CENTER": 0x0001, "ES_RIGHT": 0x0002, "ES_MULTILINE": 0x0004,
    "ES_UPPERCASE": 0x0008, "ES_LOWERCASE": 0x0010, "ES_PASSWORD": 0x0020,
    "ES_AUTOVSCROLL": 0x0040, "ES_AUTOHSCROLL": 0x0080, "ES_NOHIDESEL": 0x0100,
    "ES_OEMCONVERT": 0x0400, "ES_READONLY": 0x0800, "ES_WANTRETURN": 0x1000,
    "ES_NUMBER": 0x2000,
    # Button styles
    "BS_PUSHBUTTON": 0x0000, "BS_DEFPUSHBUTTON": 0x0001, "BS_CHECKBOX": 0x0002,
    "BS_AUTOCHECKBOX": 0x0003, "BS_RADIOBUTTON": 0x0004, "BS_3STATE": 0x0005,
    "BS_AUTO3STATE": 0x0006, "BS_GROUPBOX": 0x0007, "BS_USERBUTTON": 0x0008,
    "BS_AUTORADIOBUTTON": 0x0009, "BS_OWNERDRAW": 0x000B, "BS_LEFTTEXT": 0x0020,
    "BS_TEXT": 0x0000, "BS_ICON": 0x0040, "BS_BITMAP": 0x0080, "BS_LEFT": 0x0100,
    "BS_RIGHT": 0x0200, "BS_CENTER": 0x0300, "BS_TOP": 0x0400, "BS_BOTTOM": 0x0800,
    "BS_VCENTER": 0x0C00, "BS_PUSHLIKE": 0x1000, "BS_MULTILINE": 0x2000,
    "BS_NOTIFY": 0x4000, "BS_FLAT": 0x8000,
    # Static styles
    "SS_LEFT": 0x0000, "SS_CENTER": 0x0001, "SS_RIGHT": 0x0002, "SS_ICON": 0x0003,
    "SS_BLACKRECT": 0x0004, "SS_GRAYRECT": 0x0005, "SS_WHITERECT": 0x0006,
    "SS_BLACKFRAME": 0x0007, "SS_GRAYFRAME": 0x0008, "SS_WHITEFRAME": 0x0009,
    "SS_SIMPLE": 0x000B, "SS_LEFTNOWORDWRAP": 0x000C, "SS_OWNERDRAW": 0x000D,
    "SS_BITMAP": 0x000E, "SS_ENHMETAFILE": 0x000F, "SS_ETCHEDHORZ": 0x0010,
    "SS_ETCHEDVERT": 0x0011, "SS_ETCHEDFRAME": 0x0012, "SS_REALSIZECONTROL": 0x0040,
    "SS_NOPREFIX": 0x0080, "SS_NOTIFY": 0x0100, "SS_CENTERIMAGE": 0x0200,
    "SS_RIGHTJUST": 0x0400, "SS_REALSIZEIMAGE": 0x0800, "SS_SUNKEN": 0x1000,
    "SS_ENDELLIPSIS": 0x4000, "SS_PATHELLIPSIS": 0x8000, "SS_WORDELLIPSIS": 0xC000,
    # Combo box styles
    "CBS_SIMPLE": 0x0001, "CBS_DROPDOWN": 0x0002, "CBS_DROPDOWNLIST": 0x0003,
    "CBS_OWNERDRAWFIXED": 0x0010, "CBS_OWNERDRAWVARIABLE": 0x0020,
    "CBS_AUTOHSCROLL": 0x0040, "CBS_OEMCONVERT": 0x0080, "CBS_SORT": 0x0100,
    "CBS_HASSTRINGS": 0x0200, "CBS_NOINTEGRALHEIGHT": 0x0400,
    "CBS_DISABLENOSCROLL": 0x0800, "CBS_UPPERCASE": 0x2000, "CBS_LOWERCASE": 0x4000,
    # List box styles
    "LBS_NOTIFY": 0x0001, "LBS_SORT": 0x0002, "LBS_NOREDRAW": 0x0004,
    "LBS_MULTIPLESEL": 0x0008, "LBS_OWNERDRAWFIXED": 0x0010, "LBS_HASSTRINGS": 0x0040,
    "LBS_USETABSTOPS": 0x0080, "LBS_NOINTEGRALHEIGHT": 0x0100,
    "LBS_EXTENDEDSEL": 0x0800, "LBS_DISABLENOSCROLL": 0x1000,
    "LBS_STANDARD": 0x00A00003,
    # Scroll bar styles
    "SBS_HORZ": 0x0000, "SBS_VERT": 0x0001, "SBS_TOPALIGN": 0x0002,
    "SBS_LEFTALIGN": 0x0002, "SBS_BOTTOMALIGN": 0x0004, "SBS_RIGHTALIGN": 0x0004,
    "SBS_SIZEBOX": 0x0008, "SBS_SIZEGRIP": 0x0010,
    # List view styles
    "LVS_ICON": 0x0000, "LVS_REPORT": 0x0001, "LVS_SMALLICON": 0x0002, "LVS_LIST": 0x0003,
    "LVS_SINGLESEL": 0x0004, "LVS_SHOWSELALWAYS": 0x0008, "LVS_SORTASCENDING": 0x0010,
    "LVS_SORTDESCENDING": 0x0020, "LVS_SHAREIMAGELISTS": 0x0040,
    "LVS_NOLABELWRAP": 0x0080, "LVS_AUTOARRANGE": 0x0100, "LVS_EDITLABELS": 0x0200,
    "LVS_OWNERDATA": 0x1000, "LVS_NOSCROLL": 0x2000, "LVS_ALIGNTOP": 0x0000,
    "LVS_ALIGNLEFT": 0x0800, "LVS_NOCOLUMNHEADER": 0x4000, "LVS_NOSORTHEADER": 0x8000,
    # Date and time picker styles
    "DTS_UPDOWN": 0x0001, "DTS_SHOWNONE": 0x0002, "DTS_SHORTDATEFORMAT": 0x0000,
    "DTS_LONGDATEFORMAT": 0x0004, "DTS_SHORTDATECENTURYFORMAT": 0x000C,
    "DTS_TIMEFORMAT": 0x0009, "DTS_APPCANPARSE": 0x0010, "DTS_RIGHTALIGN": 0x0020,
    # Languages
    "LANG_NEUTRAL": 0x00, "LANG_CHINESE": 0x04, "LANG_ENGLISH": 0x09,
    "SUBLANG_NEUTRAL": 0x00, "SUBLANG_DEFAULT": 0x01, "SUBLANG_ENGLISH_US": 0x01,
    "SUBLANG_CHINESE_SIMPLIFIED": 0x02,
    # Dialog command ids
    "IDOK": 1, "IDCANCEL": 2, "IDABORT": 3, "IDRETRY": 4, "IDIGNORE": 5, "IDYES": 6,
    "IDNO": 7,
}

# Headers whose content is the table above.
SYSTEM_HEADERS = {"windows.h", "winres.h", "winresrc.h", "commctrl.h", "winuser.h"}

SUPPORTED_CODE_PAGE = 65001
LANGUAGE_EN_US = 0x0409
RT_DLGINIT = 240
STRINGS_PER_BLOCK = 16
MAX_STRING_ID = 0xFFFF
DLGINIT_ENTRY_HEADER_SIZE = 8  # control id, message (words), length (dword)

WS_CHILD_VISIBLE = WIN32_CONSTANTS["WS_CHILD"] | WIN32_CONSTANTS["WS_VISIBLE"]
DEFAULT_DIALOG_STYLE = (WIN32_CONSTANTS["WS_POPUP"] | WIN32_CONSTANTS["WS_BORDER"]
                        | WIN32_CONSTANTS["WS_SYSMENU"])


def _styles(*names):
    value = 0
    for name in names:
        value |= WIN32_CONSTANTS[name]
    return value


# Control statements: window class, default style (besides WS_CHILD and
# WS_VISIBLE; the values the resource compilers write, which differ from the
# documentation for combo boxes and radio buttons), and whether the statement
# starts with a text ("text, id, ..." rather than "id, ...").
CONTROL_STATEMENTS = {
    "LTEXT": ("STATIC", _styles("SS_LEFT", "WS_GROUP"), True),
    "RTEXT": ("STATIC", _styles("SS_RIGHT", "WS_GROUP"), True),
    "CTEXT": ("STATIC", _styles("SS_CENTER", "WS_GROUP"), True),
    "EDITTEXT": ("EDIT", _styles("ES_LEFT", "WS_BORDER", "WS_TABSTOP"), False),
    "PUSHBUTTON": ("BUTTON", _styles("BS_PUSHBUTTON", "WS_TABSTOP"), True),
    "DEFPUSHBUTTON": ("BUTTON", _styles("BS_DEFPUSHBUTTON", "WS_TABSTOP"), True),
    "GROUPBOX": ("BUTTON", _styles("BS_GROUPBOX"), True),
    "CHECKBOX": ("BUTTON", _styles("BS_CHECKBOX", "WS_TABSTOP"), True),
    "AUTOCHECKBOX": ("BUTTON", _styles("BS_AUTOCHECKBOX", "WS_TABSTOP"), True),
    "RADIOBUTTON": ("BUTTON", _styles("BS_RADIOBUTTON"), True),
    "AUTORADIOBUTTON": ("BUTTON", _styles("BS_AUTORADIOBUTTON"), True),
    "STATE3": ("BUTTON", _styles("BS_3STATE", "WS_TABSTOP"), True),
    "AUTO3STATE": ("BUTTON", _styles("BS_AUTO3STATE", "WS_TABSTOP"), True),
    "COMBOBOX": ("COMBOBOX", 0, False),
    "LISTBOX": ("LISTBOX", _styles("LBS_NOTIFY", "WS_BORDER"), False),
    "SCROLLBAR": ("SCROLLBAR", _styles("SBS_HORZ"), False),
}

# Class names a CONTROL statement may give as keywords.
CONTROL_CLASS_KEYWORDS = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"}


class RcError(Exception):
    def __init__(self, where, message):
        super().__init__(f"{where[0]}:{where[1]}: error: {message}")


# --------------------------------------------------------------------------
# Tokens


class Token:
    __slots__ = ("kind", "value", "where")

    def __init__(self, kind, value, where):
        self.kind = kind  # "name", "number", "string", "punct"
        self.value = value  # str, int, or (str, is_wide)
        self.where = where  # (file, line)

    def is_name(self, *names):
        return self.kind == "name" and self.value.upper() in names

    def is_punct(self, char):
        return self.kind == "punct" and self.value == char


_TOKEN_RE = re.compile(r"""
    (?P<space>[ \t\r\f\v]+)
  | (?P<comment>//[^\n]*)
  | (?P<number>0[xX][0-9A-Fa-f]+[lLuU]*|[0-9]+[lLuU]*)
  | (?P<string>[lL]?"(?:[^"\n]|"")*")
  | (?P<name>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<punct>[,|+\-~()&{}])
""", re.VERBOSE)

_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "a": "\b", "\\": "\\", '"': '"'}


def _unescape(body, where):
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c == '"':  # "" stands for one quote
            out.append('"')
            i += 2
            continue
        if c != "\\":
            out.append(c)
            i += 1
            continue
        if i + 1 >= len(body):
            raise RcError(where, "string ends with a backslash")
        e = body[i + 1]
        octal = re.match(r"[0-7]{1,3}", body[i + 1:])
        hexa = re.match(r"[xX]([0-9A-Fa-f]{1,4})", body[i + 1:])
        if octal:
            out.append(chr(int(octal.group(0), 8)))
            i += 1 + len(octal.group(0))
        elif hexa:
            out.append(chr(int(hexa.group(1), 16)))
            i += 1 + len(hexa.group(0))
        elif e in _ESCAPES:
            out.append(_ESCAPES[e])
            i += 2
        else:
            raise RcError(where, f"unknown escape sequence \\{e}")
    return "".join(out)


def tokenize_line(text, where):
    tokens = []
    pos = 0
    while pos < len(text):
        m = _TOKEN_RE.match(text, pos)
        if not m:
            raise RcError(where, f"unexpected character {text[pos]!r}")
        pos = m.end()
        kind = m.lastgroup
        lexeme = m.group(kind)
        if kind in ("space", "comment"):
            continue
        if kind == "number":
            digits = lexeme.rstrip("lLuU")
            tokens.append(Token("number", int(digits, 0) if digits.lower().startswith("0x")
                                else int(digits, 10), where))
        elif kind == "string":
            wide = lexeme[0] in "lL"
            body = lexeme[2:-1] if wide else lexeme[1:-1]
            tokens.append(Token("string", (_unescape(body, where), wide), where))
        else:
            tokens.append(Token(kind, lexeme, where))
    return tokens


# --------------------------------------------------------------------------
# Preprocessor


class Preprocessor:
    """Expands the script into tokens, recording every file it reads."""

    def __init__(self):
        self.macros = {}  # name -> list of tokens
        self.files_read = []
        self.code_page = None
        self._include_stack = []

    def run(self, path):
        return self._file(os.path.abspath(path), None)

    def _file(self, path, included_from):
        if path in self._include_stack:
            raise RcError(included_from, f"{path} includes itself")
        try:
            with open(path, encoding="utf-8") as f:
                lines = f.read().split("\n")
        except (OSError, UnicodeDecodeError) as e:
            raise RcError(included_from or (path, 0), f"cannot read {path}: {e}")
        self.files_read.append(path)
        self._include_stack.append(path)
        tokens = []
        active = [True]  # one entry per open conditional
        opened = []  # where each open conditional started
        block_comment = False
        for number, line in enumerate(lines, 1):
            where = (path, number)
            if line.startswith("\ufeff"):
                line = line[1:]
            line, block_comment = _strip_block_comments(line, block_comment)
            stripped = line.strip()
            if stripped.startswith("#"):
                self._directive(stripped[1:].strip(), where, active, tokens, path)
                del opened[len(active) - 1:]
                opened += [where] * (len(active) - 1 - len(opened))
            elif all(active):
                tokens.extend(self._expand(tokenize_line(line, where), set()))
        if len(active) != 1:
            raise RcError(opened[-1], "missing #endif")
        self._include_stack.pop()
        return tokens

    def _directive(self, text, where, active, tokens, path):
        m = re.match(r"([a-z_]+)\s*(.*)$", text)
        if not m:
            raise RcError(where, f"unknown preprocessor line #{text}")
        name, rest = m.group(1), m.group(2).strip()
        rest = re.sub(r"\s*//.*$", "", rest)
        if name in ("ifdef", "ifndef"):
            defined = rest in self.macros or rest in WIN32_CONSTANTS
            active.append(defined if name == "ifdef" else not defined)
            return
        if name == "else":
            if len(active) == 1:
                raise RcError(where, "#else without #if")
            active[-1] = not active[-1]
            return
        if name == "endif":
            if len(active) == 1:
                raise RcError(where, "#endif without #if")
            active.pop()
            return
        if not all(active):
            return
        if name == "define":
            dm = re.match(r"([A-Za-z_][A-Za-z0-9_]*)(\(?)\s*(.*)$", rest)
            if not dm or dm.group(2):
                raise RcError(where, f"unsupported #define {rest}")
            self.macros[dm.group(1)] = tokenize_line(dm.group(3), where)
        elif name == "undef":
            self.macros.pop(rest, None)
        elif name == "include":
            im = re.match(r'(?:"([^"]+)"|<([^>]+)>)$', rest)
            if not im:
                raise RcError(where, f"malformed #include {rest}")
            if im.group(2) is not None:
                if im.group(2).lower() not in SYSTEM_HEADERS:
                    raise RcError(where, f"unknown system header <{im.group(2)}>")
                return
            target = os.path.join(os.path.dirname(path), im.group(1))
            tokens.extend(self._file(os.path.normpath(target), where))
        elif name == "pragma":
            pm = re.match(r"code_page\s*\(\s*(\w+)\s*\)$", rest)
            if pm:
                if pm.group(1) != str(SUPPORTED_CODE_PAGE):
                    raise RcError(where, f"code page {pm.group(1)} is not supported "
                                  f"(the script must be UTF-8, code_page({SUPPORTED_CODE_PAGE}))")
                self.code_page = SUPPORTED_CODE_PAGE
            elif rest != "once":
                raise RcError(where, f"unknown #pragma {rest}")
        else:
            raise RcError(where, f"unsupported preprocessor directive #{name}")

    def _expand(self, tokens, expanding):
        out = []
        for t in tokens:
            if t.kind == "name" and t.value in self.macros and t.value not in expanding:
                body = [Token(b.kind, b.value, t.where) for b in self.macros[t.value]]
                out.extend(self._expand(body, expanding | {t.value}))
            else:
                out.append(t)
        return out


def _strip_block_comments(line, in_comment):
    out = []
    i = 0
    in_string = False
    while i < len(line):
        if in_comment:
            end = line.find("*/", i)
            if end < 0:
                return "".join(out), True
            i = end + 2
            in_comment = False
            out.append(" ")
            continue
        c = line[i]
        if c == '"':
            in_string = not in_string
        if not in_string and line.startswith("/*", i):
            in_comment = True
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out), in_comment


# --------------------------------------------------------------------------
# Parser


class Dialog:
    def __init__(self, ident, where):
        self.id = ident
        self.where = where
        self.title = ""
        self.font_name = ""
        self.point_size = 0
        self.rect = (0, 0, 0, 0)
        self.style = DEFAULT_DIALOG_STYLE
        self.ex_style = 0
        self.controls = []


class Control:
    def __init__(self, ident, window_class, text, rect, style, ex_style):
        self.id = ident
        self.window_class = window_class
        self.text = text  # str, or an int for a resource ordinal
        self.rect = rect
        self.style = style
        self.ex_style = ex_style


class Script:
    def __init__(self):
        self.strings = {}  # id -> text
        self.dialogs = {}  # id -> Dialog
        self.bitmaps = {}  # id -> bytes
        self.combo_items = {}  # (dialog id, control id) -> [text]
        self.combo_where = {}  # (dialog id, control id) -> where its first item is
        self.files_read = []


class Parser:
    def __init__(self, tokens, script_path):
        self.tokens = tokens
        self.pos = 0
        self.script_dir = os.path.dirname(os.path.abspath(script_path))
        self.end_where = tokens[-1].where if tokens else (os.path.abspath(script_path), 1)
        self.script = Script()
        self.language = None

    # -- token helpers

    def peek(self, offset=0):
        i = self.pos + offset
        return self.tokens[i] if i < len(self.tokens) else None

    def next(self, what="more input"):
        t = self.peek()
        if t is None:
            raise RcError(self.end_where, f"unexpected end of script, expected {what}")
        self.pos += 1
        return t

    def expect_punct(self, char):
        t = self.next(f"'{char}'")
        if not t.is_punct(char):
            raise RcError(t.where, f"expected '{char}', found {_describe(t)}")
        return t

    def skip_comma(self):
        t = self.peek()
        if t is not None and t.is_punct(","):
            self.pos += 1

    def expect_begin(self):
        t = self.next("BEGIN")
        if not (t.is_name("BEGIN") or t.is_punct("{")):
            raise RcError(t.where, f"expected BEGIN, found {_describe(t)}")

    def at_end_keyword(self):
        t = self.peek()
        return t is not None and (t.is_name("END") or t.is_punct("}"))

    def string(self, what):
        t = self.next(what)
        if t.kind != "string":
            raise RcError(t.where, f"expected {what} (a quoted string), found {_describe(t)}")
        return t.value[0]

    # -- expressions: rc's "NOT x" clears the bits of x from what came before

    def expression(self, initial=0):
        value = initial
        t = self.peek()
        if t is not None and t.is_name("NOT"):
            self.pos += 1
            value &= ~self.term() & 0xFFFFFFFF
        else:
            value |= self.term()
        while True:
            t = self.peek()
            if t is None or not (t.is_punct("|") or t.is_punct("+")):
                return value & 0xFFFFFFFF
            self.pos += 1
            if self.peek() is not None and self.peek().is_name("NOT"):
                self.pos += 1
                value &= ~self.term() & 0xFFFFFFFF
            elif t.is_punct("+"):
                value += self.term()
            else:
                value |= self.term()

    def term(self):
        t = self.next("a number")
        if t.kind == "number":
            return t.value
        if t.is_punct("("):
            value = self.expression()
            self.expect_punct(")")
            return value
        if t.is_punct("-"):
            return (-self.term()) & 0xFFFFFFFF
        if t.is_punct("~"):
            return ~self.term() & 0xFFFFFFFF
        if t.kind == "name":
            if t.value in WIN32_CONSTANTS:
                return WIN32_CONSTANTS[t.value]
            raise RcError(t.where, f"unknown constant {t.value}")
        raise RcError(t.where, f"expected a number, found {_describe(t)}")

    def number(self):
        value = self.expression()
        return value - (1 << 32) if value & 0x80000000 else value

    def resource_id(self, t):
        # A name that is not a macro would be a string-named resource: the
        # module uses numeric ids only.
        if t.kind == "number":
            return t.value
        if t.kind == "name":
            raise RcError(t.where, f"unknown resource id {t.value} (not #defined)")
        raise RcError(t.where, f"expected a resource id, found {_describe(t)}")

    # -- top level

    def parse(self):
        while self.peek() is not None:
            t = self.next()
            if t.is_name("LANGUAGE"):
                primary = self.number()
                self.expect_punct(",")
                sub = self.number()
                self.language = (sub << 10) | primary
                if self.language != LANGUAGE_EN_US:
                    raise RcError(t.where, f"LANGUAGE 0x{self.language:x} is not supported "
                                  f"(the module's resources are 0x{LANGUAGE_EN_US:x})")
            elif t.is_name("STRINGTABLE"):
                self.stringtable(t)
            else:
                self.named_resource(t)
        return self.script

    def named_resource(self, first):
        if first.kind == "name" and first.value.upper() in ("DIALOGEX", "BITMAP", "DLGINIT"):
            raise RcError(first.where, f"{first.value} needs a resource id before it")
        ident = self.resource_id(first)
        kind = self.next("a resource type")
        if kind.kind == "number" and kind.value == RT_DLGINIT or kind.is_name("DLGINIT"):
            self.dlginit(ident, kind)
        elif kind.is_name("DIALOGEX"):
            self.dialog(ident, kind)
        elif kind.is_name("BITMAP"):
            self.bitmap(ident, kind)
        else:
            raise RcError(kind.where, f"unsupported resource type {_describe(kind)}")

    def require_language(self, where):
        if self.language is None:
            raise RcError(where, "resource before any LANGUAGE statement")

    def stringtable(self, keyword):
        self.require_language(keyword.where)
        self.expect_begin()
        while not self.at_end_keyword():
            t = self.next("a string id or END")
            ident = self.resource_id(t)
            if not 0 <= ident <= MAX_STRING_ID:
                raise RcError(t.where, f"string id {ident} out of range")
            self.skip_comma()
            text = self.string("the string's text")
            if ident in self.script.strings:
                raise RcError(t.where, f"string id {ident} defined twice")
            self.script.strings[ident] = text
        self.next()

    def dialog(self, ident, keyword):
        self.require_language(keyword.where)
        if ident in self.script.dialogs:
            raise RcError(keyword.where, f"dialog {ident} defined twice")
        d = Dialog(ident, keyword.where)
        d.rect = self.rect()
        if self.peek() is not None and self.peek().is_punct(","):  # help id
            self.pos += 1
            self.number()
        has_caption = has_font = False
        while True:
            t = self.next("BEGIN")
            if t.is_name("STYLE"):
                d.style = self.expression()
            elif t.is_name("EXSTYLE"):
                d.ex_style = self.expression()
            elif t.is_name("CAPTION"):
                d.title = self.string("the caption")
                has_caption = True
            elif t.is_name("FONT"):
                d.point_size = self.number()
                self.expect_punct(",")
                d.font_name = self.string("the font name")
                for _ in range(3):  # weight, italic, character set
                    if self.peek() is not None and self.peek().is_punct(","):
                        self.pos += 1
                        self.number()
                has_font = True
            elif t.is_name("BEGIN") or t.is_punct("{"):
                break
            else:
                raise RcError(t.where, f"unsupported dialog statement {_describe(t)}")
        # As the resource compiler does: a caption brings WS_CAPTION, a font
        # DS_SETFONT.
        if has_caption:
            d.style |= WIN32_CONSTANTS["WS_CAPTION"]
        if has_font:
            d.style |= WIN32_CONSTANTS["DS_SETFONT"]
        while not self.at_end_keyword():
            d.controls.append(self.control())
        self.next()
        self.script.dialogs[ident] = d

    def rect(self):
        values = [self.number()]
        for _ in range(3):
            self.expect_punct(",")
            values.append(self.number())
        return tuple(values)

    def control(self):
        t = self.next("a control statement or END")
        if t.is_name("CONTROL"):
            text = self.control_text()
            self.expect_punct(",")
            ident = self.number()
            self.expect_punct(",")
            c = self.next("the control's class")
            if c.kind == "string":
                window_class = c.value[0]
            elif c.kind == "name" and c.value.upper() in CONTROL_CLASS_KEYWORDS:
                window_class = c.value.upper()
            else:
                raise RcError(c.where, f"unknown control class {_describe(c)}")
            self.expect_punct(",")
            style = self.expression(WS_CHILD_VISIBLE)
            self.expect_punct(",")
            rect = self.rect()
            ex_style = 0
            if self.peek() is not None and self.peek().is_punct(","):
                self.pos += 1
                ex_style = self.expression()
            return Control(ident, window_class, text, rect, style, ex_style)
        if t.kind != "name" or t.value.upper() not in CONTROL_STATEMENTS:
            raise RcError(t.where, f"unsupported control statement {_describe(t)}")
        window_class, default_style, has_text = CONTROL_STATEMENTS[t.value.upper()]
        text = ""
        if has_text:
            text = self.control_text()
            self.expect_punct(",")
        ident = self.number()
        self.expect_punct(",")
        rect = self.rect()
        style = WS_CHILD_VISIBLE | default_style
        ex_style = 0
        if self.peek() is not None and self.peek().is_punct(","):
            self.pos += 1
            style = self.expression(style)
            if self.peek() is not None and self.peek().is_punct(","):
                self.pos += 1
                ex_style = self.expression()
        return Control(ident, window_class, text, rect, style, ex_style)

    def control_text(self):
        t = self.peek()
        if t is not None and t.kind == "string":
            self.pos += 1
            return t.value[0]
        return self.number()  # a resource ordinal: a picture's bitmap or icon

    def bitmap(self, ident, keyword):
        self.require_language(keyword.where)
        name = self.string("the bitmap's file name")
        path = os.path.join(self.script_dir, name)
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError as e:
            raise RcError(keyword.where, f"cannot read bitmap {name}: {e}")
        _check_bmp(data, name, keyword.where)
        if ident in self.script.bitmaps:
            raise RcError(keyword.where, f"bitmap {ident} defined twice")
        self.script.bitmaps[ident] = data
        self.script.files_read.append(path)

    def dlginit(self, dialog_id, keyword):
        self.require_language(keyword.where)
        self.expect_begin()
        data = bytearray()
        origin = []  # the line each byte came from, to place errors
        while not self.at_end_keyword():
            t = self.next("data or END")
            if t.kind == "string":
                text, wide = t.value
                if wide or any(ord(ch) > 0x7F for ch in text):
                    raise RcError(t.where, "dialog-init texts must be narrow ASCII strings")
                piece = text.encode("ascii")
            elif t.kind == "number" or t.kind == "name" or t.is_punct("(") or t.is_punct("-"):
                self.pos -= 1
                piece = struct.pack("<H", self.expression() & 0xFFFF)
            else:
                raise RcError(t.where, f"unexpected {_describe(t)} in dialog-init data")
            data += piece
            origin += [t.where] * len(piece)
            self.skip_comma()
        end = self.next()
        self._decode_dlginit(dialog_id, bytes(data), origin, end.where)

    def _decode_dlginit(self, dialog_id, data, origin, end_where):
        pos = 0
        while True:
            where = origin[pos] if pos < len(origin) else end_where
            if pos + 2 > len(data):
                raise RcError(where, "dialog-init data must end with a 0 control id")
            (control_id,) = struct.unpack_from("<H", data, pos)
            if control_id == 0:
                if pos + 2 != len(data):
                    raise RcError(origin[pos + 2], "data after the closing 0 of dialog-init")
                return
            if pos + DLGINIT_ENTRY_HEADER_SIZE > len(data):
                raise RcError(where, "dialog-init entry cut short")
            _, message, length = struct.unpack_from("<HHI", data, pos)
            if message != 0x0403:
                raise RcError(where, f"dialog-init message 0x{message:04X} is not supported "
                              "(combo box items use 0x0403)")
            start = pos + DLGINIT_ENTRY_HEADER_SIZE
            item = data[start:start + length]
            if len(item) != length or not item.endswith(b"\0") or b"\0" in item[:-1]:
                raise RcError(where, f"dialog-init item length {length} does not match its "
                              "text and terminator")
            key = (dialog_id, control_id if control_id < 0x8000 else control_id - 0x10000)
            self.script.combo_items.setdefault(key, []).append(item[:-1].decode("ascii"))
            self.script.combo_where.setdefault(key, where)
            pos = start + length


def _describe(t):
    if t.kind == "string":
        return f'"{t.value[0]}"'
    return str(t.value)


def _check_bmp(data, name, where):
    if len(data) < 54 or data[:2] != b"BM":
        raise RcError(where, f"{name} is not a .bmp file")
    (size,) = struct.unpack_from("<I", data, 2)
    if size != len(data):
        raise RcError(where, f"{name}: header gives {size} bytes, file has {len(data)}")


def parse_script(path):
    pre = Preprocessor()
    tokens = pre.run(path)
    if pre.code_page != SUPPORTED_CODE_PAGE:
        raise RcError((os.path.abspath(path), 1),
                      f"missing #pragma code_page({SUPPORTED_CODE_PAGE})")
    parser = Parser(tokens, path)
    script = parser.parse()
    for key, where in script.combo_where.items():
        _check_combo_target(script, key, where)
    script.files_read = pre.files_read + script.files_read
    return script


def _check_combo_target(script, key, where):
    dialog = script.dialogs.get(key[0])
    if dialog is None:
        raise RcError(where, f"dialog-init data for dialog {key[0]}, which does not exist")
    if not any(c.id == key[1] and c.window_class == "COMBOBOX" for c in dialog.controls):
        raise RcError(where, f"dialog {key[0]} has no combo box {key[1]}")


# --------------------------------------------------------------------------
# RT_STRING blocks and C++ output


def string_blocks(strings):
    """Block number -> the block's 16-bit units, as a module stores them."""
    blocks = {}
    for ident in strings:
        blocks.setdefault((ident >> 4) + 1, None)
    out = {}
    for number in sorted(blocks):
        units = []
        for index in range(STRINGS_PER_BLOCK):
            text = strings.get(((number - 1) << 4) | index, "")
            encoded = _utf16(text)
            units.append(len(encoded))
            units.extend(encoded)
        out[number] = units
    return out


def _utf16(text):
    raw = text.encode("utf-16-le")
    return list(struct.unpack(f"<{len(raw) // 2}H", raw))


def cpp_u16(text):
    """A u"" literal; octal escapes keep control characters unambiguous."""
    out = []
    for ch in text:
        code = ord(ch)
        if ch in '"\\':
            out.append("\\" + ch)
        elif code < 0x20 or 0x7F <= code < 0xA0:
            out.append(f"\\{code:03o}")
        elif code < 0x7F:
            out.append(ch)
        elif code <= 0xFFFF:
            out.append(f"\\u{code:04x}")
        else:
            out.append(f"\\U{code:08x}")
    return 'u"' + "".join(out) + '"sv'


def cpp_control_text(text):
    if isinstance(text, int):
        # A resource ordinal, stored as in a template: 0xFFFF, then the id.
        return f"std::u16string_view(kOrdinal{text & 0xFFFF}, 2)"
    return cpp_u16(text)


def _hex_rows(values, per_row, width):
    items = [f"0x{v:0{width}x}" for v in values]
    return "\n".join("    " + ", ".join(items[i:i + per_row]) + ","
                     for i in range(0, len(items), per_row))


def _table(out, element_type, name, rows):
    """An array of rows, and a span over it named `name` (empty arrays are
    not C++)."""
    if rows:
        out.append(f"constexpr {element_type} {name}Rows[] = {{")
        out.extend(f"    {row}," for row in rows)
        out.append("};")
        return f"{name}Rows"
    return f"std::span<const {element_type}>{{}}"


def generate_cpp(script, source_name):
    out = [f"// Generated by tools/rc_to_cpp.py from {source_name}: do not edit.",
           '#include "resources/resource_tables.h"', "",
           "namespace resources::tables {", "namespace {", "",
           "using namespace std::string_view_literals;", ""]

    ordinals = sorted({c.text & 0xFFFF for d in script.dialogs.values() for c in d.controls
                       if isinstance(c.text, int)})
    for o in ordinals:
        out.append(f"constexpr char16_t kOrdinal{o}[] = {{0xffff, 0x{o:04x}}};")

    blocks = string_blocks(script.strings)
    for number, units in blocks.items():
        out.append(f"constexpr std::uint16_t kStringBlock{number}[] = {{")
        out.append(_hex_rows(units, 12, 4))
        out.append("};")
    strings = _table(out, "StringEntry", "kStringEntry",
                     [f"{{{i}, {cpp_u16(script.strings[i])}}}" for i in sorted(script.strings)])
    string_blocks_table = _table(out, "StringBlock", "kStringBlock",
                                 [f"{{{n}, kStringBlock{n}}}" for n in blocks])

    dialog_rows = []
    for ident in sorted(script.dialogs):
        d = script.dialogs[ident]
        controls = _table(out, "DialogControl", f"kDialog{ident}Control", [
            f'{{{c.id}, "{c.window_class}"sv, {cpp_control_text(c.text)}, {c.rect[0]}, '
            f"{c.rect[1]}, {c.rect[2]}, {c.rect[3]}, 0x{c.style:08x}, 0x{c.ex_style:08x}}}"
            for c in d.controls])
        x, y, w, h = d.rect
        dialog_rows.append(f"{{{ident}, {cpp_u16(d.title)}, {cpp_u16(d.font_name)}, "
                           f"{d.point_size}, {x}, {y}, {w}, {h}, 0x{d.style:08x}, "
                           f"0x{d.ex_style:08x}, {controls}}}")
    dialogs = _table(out, "DialogTemplate", "kDialog", dialog_rows)

    combo_rows = []
    for dialog_id, control_id in sorted(script.combo_items):
        items = _table(out, "std::u16string_view", f"kCombo{dialog_id}_{control_id}",
                       [cpp_u16(t) for t in script.combo_items[(dialog_id, control_id)]])
        combo_rows.append(f"{{{dialog_id}, {control_id}, {items}}}")
    combos = _table(out, "ComboList", "kComboList", combo_rows)

    for ident in sorted(script.bitmaps):
        out.append(f"constexpr std::uint8_t kBitmap{ident}[] = {{")
        out.append(_hex_rows(script.bitmaps[ident], 16, 2))
        out.append("};")
    bitmaps = _table(out, "Bitmap", "kBitmap",
                     [f"{{{i}, kBitmap{i}}}" for i in sorted(script.bitmaps)])

    out += ["", "}  // namespace", "",
            f"const std::span<const StringEntry> kStrings = {strings};",
            f"const std::span<const StringBlock> kStringBlocks = {string_blocks_table};",
            f"const std::span<const DialogTemplate> kDialogs = {dialogs};",
            f"const std::span<const ComboList> kComboLists = {combos};",
            f"const std::span<const Bitmap> kBitmaps = {bitmaps};", "",
            "}  // namespace resources::tables", ""]
    return "\n".join(out)


def _write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main(argv):
    args = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    args.add_argument("script")
    args.add_argument("output")
    args.add_argument("--depfile")
    options = args.parse_args(argv[1:])
    try:
        script = parse_script(options.script)
    except RcError as e:
        sys.stderr.write(f"{e}\n")
        return 1
    _write(options.output, generate_cpp(script, os.path.basename(options.script)))
    if options.depfile:
        deps = " ".join(p.replace(" ", "\\ ") for p in script.files_read)
        _write(options.depfile, f"{options.output}: {deps}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
