#!/usr/bin/env python3
"""tools/take_pictures.py [TEMPLATE...] — the pictures of the prompts, taken
from the real DLL under Wine (run by `./run pictures`, with the Windows build
made and the simulated devices up).

Each prompt of docs/pictures/prompts.txt (or only the templates named) runs
through sim/wine-prcfg with its user script. With VX5PRCFG_PICTURES naming a
folder, the DLL saves each dialog as the screen shows it, as TEMPLATE.bmp, once
the script has run out and before it closes the dialog; that BMP becomes
docs/pictures/TEMPLATE.png. Every prompt runs on one private X display with
no window manager, handed to wine-prcfg in VX5PRCFG_WINE_DISPLAY: the
machine profile tells Wine to draw frames and captions itself (its X11
driver's Decorated=N), as Windows does, and Wine's own fonts reach it
through fontconfig.
"""
import os
import shlex
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import bmp_to_png  # noqa: E402

TOP = Path(__file__).resolve().parent.parent
PROMPTS = TOP / "docs" / "pictures" / "prompts.txt"
PICTURES = TOP / "docs" / "pictures"
WINE_PRCFG = TOP / "sim" / "wine-prcfg"
SCREEN = "1024x768x24"
# A prompt left waiting for a click that never comes must not hold the run.
CALL_SECONDS = 180
# Debian's Wine does not load the fonts it ships (Tahoma, and Marlett, which
# draws the caption's close box) from its own folder; fontconfig hands them
# to it when told where they are.
WINE_FONTS = Path("/usr/share/wine/fonts")


class Prompt:
    def __init__(self, line_number, template, profile, script, call):
        self.line_number = line_number
        self.template = template
        self.profile = profile
        self.script = script
        self.call = call


def read_prompts(path):
    """The prompts of the list: TEMPLATE | PROFILE | SCRIPT | EXPORT ARGUMENTS..."""
    prompts = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            fields = [field.strip() for field in line.split("|")]
            if len(fields) != 4 or not fields[0].isdigit() or not fields[3]:
                raise ValueError(f"{path}:{number}: not TEMPLATE | PROFILE | SCRIPT | EXPORT ...")
            template, profile, script, call = fields
            profile_path = TOP / "sim" / "machines" / profile
            if not profile_path.is_file():
                raise ValueError(f"{path}:{number}: no machine profile {profile_path}")
            prompts.append(Prompt(number, template, profile_path, script, shlex.split(call)))
    return prompts


def windows_path(path):
    """PATH as the DLL under Wine names it: drive Z: is the Linux root in every prefix."""
    return "Z:" + str(path).replace("/", "\\")


class Display:
    """A private X server, no window manager, for as long as the run lasts."""

    def __init__(self, folder):
        self.process = None
        self.log = None
        self.folder = folder

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.log = open(self.folder / "xvfb.log", "wb")
        # -displayfd: the server picks a free display and tells its number.
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=self.log)
        os.close(write_end)
        with os.fdopen(read_end) as reader:
            number = reader.readline().strip()
        if not number.isdigit():
            self.__exit__(None, None, None)
            raise RuntimeError(f"Xvfb did not start; see {self.folder / 'xvfb.log'}")
        self.name = f":{number}"
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.log:
            self.log.close()


def fonts_config(folder):
    config = folder / "fonts.conf"
    config.write_text(
        '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
        "<fontconfig>\n"
        '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>\n'
        f"  <dir>{WINE_FONTS}</dir>\n"
        f"  <cachedir>{folder / 'fontconfig'}</cachedir>\n"
        "</fontconfig>\n", encoding="utf-8")
    return config


def run_prompt(prompt, folder, environment):
    """Runs the prompt; the BMP the DLL saved, or an error message."""
    shots = folder / prompt.template
    shots.mkdir()
    command = [str(WINE_PRCFG), "--machine", str(prompt.profile),
               "--user", prompt.script, *prompt.call]
    env = dict(environment, VX5PRCFG_PICTURES=windows_path(shots))
    with open(shots / "out", "wb") as out, open(shots / "err", "wb") as err:
        # Its own process group: a prompt that hangs ends with all it started.
        process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=err, start_new_session=True)
        try:
            status = process.wait(timeout=CALL_SECONDS)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return None, f"still running after {CALL_SECONDS}s"
    errors = (shots / "err").read_text(errors="replace").strip()
    # prcfg's 0 and 1 are the export's answers; anything else is a failed call.
    if status not in (0, 1):
        return None, f"wine-prcfg exited with {status}" + (f": {errors}" if errors else "")
    bmp = shots / f"{prompt.template}.bmp"
    if not bmp.is_file():
        saved = sorted(p.name for p in shots.glob("*.bmp"))
        return None, ("no picture of the dialog" +
                      (f" (saved: {', '.join(saved)})" if saved else
                       " (does this DLL take pictures under VX5PRCFG_PICTURES?)"))
    return bmp, None


def main(argv):
    try:
        prompts = read_prompts(PROMPTS)
    except (OSError, ValueError) as error:
        print(f"take_pictures: {error}", file=sys.stderr)
        return 2
    wanted = set(argv[1:])
    unknown = wanted - {prompt.template for prompt in prompts}
    if unknown:
        print(f"take_pictures: not in {PROMPTS}: {', '.join(sorted(unknown))}", file=sys.stderr)
        return 2
    prompts = [prompt for prompt in prompts if not wanted or prompt.template in wanted]

    failures = 0
    with tempfile.TemporaryDirectory(prefix="vx5prcfg-pictures-") as temporary:
        folder = Path(temporary)
        with Display(folder) as display:
            environment = dict(os.environ, VX5PRCFG_WINE_DISPLAY=display.name,
                               FONTCONFIG_FILE=str(fonts_config(folder)))
            for prompt in prompts:
                started = time.monotonic()
                bmp, error = run_prompt(prompt, folder, environment)
                if error is None:
                    png = PICTURES / f"{prompt.template}.png"
                    try:
                        bmp_to_png.write_png(png, *bmp_to_png.read_bmp(bmp))
                    except (OSError, ValueError) as converting:
                        error = str(converting)
                took = f"{time.monotonic() - started:.0f}s"
                if error is None:
                    print(f"ok   {prompt.template}: {os.path.relpath(png, TOP)} ({took})")
                else:
                    failures += 1
                    print(f"FAIL {prompt.template} ({PROMPTS.name}:{prompt.line_number}): {error}")
                    for name in ("out", "err"):
                        text = (folder / prompt.template / name).read_text(errors="replace")
                        if text.strip():
                            print(f"  {name}: " + text.strip()[-2000:].replace("\n", "\n  "))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
