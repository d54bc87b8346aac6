#!/usr/bin/env python3
"""What a Wine prefix gets from a machine profile (platform/win32/wine_profile.py)."""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "platform", "win32",
                      "wine_profile.py")
PRINTERS = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Print\Printers"
SYSTEM = r"HKEY_LOCAL_MACHINE\SOFTWARE\SimulatedMachine\System"


def split(text, encoding="utf-8"):
    """(exit status, stderr, machine.reg as text, settings.env) of the script on `text`."""
    with tempfile.TemporaryDirectory() as folder:
        profile = os.path.join(folder, "machine profile.reg")
        with open(profile, "wb") as file:
            file.write(text.encode(encoding))
        done = subprocess.run([sys.executable, SCRIPT, profile, folder], capture_output=True,
                              text=True)
        registry = settings = None
        if done.returncode == 0:
            with open(os.path.join(folder, "machine.reg"), "rb") as file:
                data = file.read()
            registry = (data[2:].decode("utf-16-le") if data.startswith(b"\xff\xfe")
                        else data.decode("cp1252"))
            with open(os.path.join(folder, "settings.env")) as file:
                settings = file.read()
        return done.returncode, done.stderr.replace(folder + os.sep, ""), registry, settings


class ImportedProfile(unittest.TestCase):
    def test_queues_are_completed_and_the_clock_and_version_become_settings(self):
        status, err, registry, settings = split("\n".join([
            "Windows Registry Editor Version 5.00", "",
            f"[{SYSTEM}]", '"AnsiCodePage"=dword:000004e4', '"MajorVersion"=dword:00000006',
            '"MinorVersion"=dword:00000001', '"Now"="2024-05-31 09:30:45"',
            '"SystemResolver"=dword:00000001', "",
            f"[{PRINTERS}\\Plain]", '"Port"="127.0.0.1"', "",
            f"[{PRINTERS}\\Plain\\PrinterDriverData]", '"SNMP Community"="model15"', "",
            f"[{PRINTERS}\\Own Processor]", '"Print Processor"="lpprint"', '"datatype"="EMF"',
            '"Multi"=hex(7):41,00,00,00,\\', "  00,00", ""]))
        self.assertEqual(status, 0, err)
        self.assertEqual(settings, "VX5PRCFG_TEST_NOW=2024-05-31 09:30:45\n")
        self.assertNotIn("SimulatedMachine", registry)
        self.assertTrue(registry.startswith("Windows Registry Editor Version 5.00\r\n"))
        sections = {part.split("]")[0]: part for part in registry.split("\r\n[")[1:]}
        plain = sections[f"{PRINTERS}\\Plain"]
        self.assertIn('"Print Processor"="winprint"', plain)
        self.assertIn('"Datatype"="RAW"', plain)
        # Printer data is no queue; a queue's own values stay as they are.
        self.assertNotIn("winprint", sections[f"{PRINTERS}\\Plain\\PrinterDriverData"])
        own = sections[f"{PRINTERS}\\Own Processor"]
        self.assertIn('"Print Processor"="lpprint"', own)
        self.assertNotIn("winprint", own)
        self.assertNotIn("RAW", own)
        self.assertIn('"Multi"=hex(7):41,00,00,00,00,00', own)
        self.assertIn('"Version"="win7"', sections[r"HKEY_CURRENT_USER\Software\Wine"])

    def test_a_regedit4_profile_stays_one_in_the_ansi_code_page(self):
        status, err, registry, _ = split(
            f'REGEDIT4\n\n[{PRINTERS}\\Caf\u00e9]\n"Port"="127.0.0.1"\n', "utf-8-sig")
        self.assertEqual(status, 0, err)
        self.assertTrue(registry.startswith("REGEDIT4\r\n"))
        self.assertIn(f"[{PRINTERS}\\Caf\u00e9]", registry)


    def test_a_double_byte_code_page_runs_wine_in_a_locale_of_its_own(self):
        status, err, _, settings = split("\n".join(
            ["Windows Registry Editor Version 5.00", "", f"[{SYSTEM}]",
             '"AnsiCodePage"=dword:000003a8']))
        self.assertEqual(status, 0, err)
        self.assertIn("LC_ALL=zh_CN.UTF-8\n", settings)
        self.assertRegex(settings, r"LOCPATH=/\S+/locale\n")


class RefusedProfile(unittest.TestCase):
    def assert_refused(self, lines, line_number, words):
        status, err, _, _ = split("\n".join(["Windows Registry Editor Version 5.00", ""] + lines))
        self.assertEqual(status, 2)
        self.assertIn(f"machine profile.reg:{line_number}:", err)
        for word in words:
            self.assertIn(word, err)

    def test_what_neither_windows_nor_the_dll_can_take_is_refused_at_its_line(self):
        self.assert_refused([f"[{SYSTEM}]", '"AnsiCodePage"=dword:000004e7'], 4,
                            ["AnsiCodePage 1255"])
        self.assert_refused([f"[{SYSTEM}]", '"Now"="2024-02-30 09:30"'], 4, ["Now"])
        self.assert_refused([f"[{SYSTEM}]", '"InteractiveUserSid"="S-1-5-21-1-2-3-1001"'], 4,
                            ["InteractiveUserSid"])
        self.assert_refused([f"[{SYSTEM}]", '"MajorVersion"=dword:00000004'], 4, ["Windows 4.0"])
        self.assert_refused(["[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\Hosts]",
                             '"copier.test"="127.0.0.1"'], 3, ["Hosts", "resolver"])
        self.assert_refused(
            ["[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\NetworkPrinters\\A]"], 3,
            ["NetworkPrinters"])
        self.assert_refused(["[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\Ipx]"], 3, ["IPX"])
        # Only names the Hosts key holds resolve: Windows resolves them all.
        self.assert_refused([f"[{SYSTEM}]", '"SystemResolver"=dword:00000000'], 4,
                            ["SystemResolver"])
        self.assert_refused(["[HKEY_USERS\\S-1-5-21-1-2-3-1001\\Software]"], 3, ["HKEY_USERS"])


if __name__ == "__main__":
    unittest.main()
