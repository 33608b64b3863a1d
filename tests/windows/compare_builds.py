#!/usr/bin/env python3
"""The Windows zqskin against the Linux one on the same inputs.

Every command runs twice, on two identical copies of its input, once with each build, from the
same working folder and with the same relative arguments; then the printed output and every
file of the two folders are compared byte for byte. Where Windows differs on purpose, the
difference is named and checked to be exactly that one.

Inputs: a copy of the sample skin, a 4K skin (the sample's layout over a 3840x2160 background),
and the same skin in a folder named in Chinese (皮肤/冬季).

Exit status: 0 all matched, 1 a difference (each one printed).
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

PICTURES = ["zqLOG.bmp", "zqFIL.bmp", "zqMAN.bmp", "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"]


def run(command, cwd, env=None):
    result = subprocess.run(command, cwd=cwd, capture_output=True, env=env, timeout=300)
    return result.returncode, result.stdout, result.stderr


def files_of(folder):
    found = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = f.read()
    return found


def console_text(linux, windows):
    """Whether Windows printed what Linux did. The one difference meant: the C run-time of
    Windows ends each printed line with CR LF."""
    return windows == linux.replace(b"\n", b"\r\n")


def system_words_only(linux, windows):
    """A refusal in the system's own words: the same message up to the system's reason."""
    lin, win = linux.rstrip(b"\n"), windows.replace(b"\r\n", b"\n").rstrip(b"\n")
    return lin != win and lin.rsplit(b". ", 1)[0] == win.rsplit(b". ", 1)[0]


def differing_area(a, b):
    """The bounding box (x, y, w, h) of the pixels where two pictures differ, or None."""
    result = subprocess.run(["convert", a, b, "-compose", "difference", "-composite", "-threshold", "0",
                             "-format", "%@", "info:"], capture_output=True, text=True, check=True)
    w, rest = result.stdout.split("x")
    h, x, y = rest.replace("-", "+-").split("+")[:3] if rest.count("+") >= 2 else (rest, 0, 0)
    w, h, x, y = int(w), int(h), int(x), int(y)
    return None if w == 0 or h == 0 else (x, y, w, h)


class Comparison:
    def __init__(self, args, work):
        self.args, self.work = args, work
        self.matched, self.failed = 0, []

    def programs(self):
        return (("linux", [self.args.linux]), ("windows", [self.args.wine, self.args.windows]))

    def compare(self, label, skin, command, outputs=(), captions_in=None):
        """Runs `command` (arguments after the program) in two copies of the folder `skin`.
        `captions_in` is the rectangle where the written PNG may differ by its captions."""
        results, notes = {}, []
        for build, program in self.programs():
            folder = os.path.join(self.work, label.replace(" ", "_"), build)
            shutil.copytree(skin, folder)
            code, out, err = run(program + command, folder)
            results[build] = (code, out, err, files_of(folder))
        lin, win = results["linux"], results["windows"]
        problems = []
        if lin[0] != win[0]:
            problems.append(f"exit status {lin[0]} on Linux, {win[0]} on Windows "
                            f"(Windows said {win[2].decode(errors='replace')!r})")
        if not console_text(lin[1], win[1]):
            problems.append(f"output differs:\n  linux:   {lin[1][:300]!r}\n  windows: {win[1][:300]!r}")
        if system_words_only(lin[2], win[2]):
            notes.append("the system's reason in its own words")
        elif not console_text(lin[2], win[2]):
            problems.append(f"messages differ:\n  linux:   {lin[2][:300]!r}\n  windows: {win[2][:300]!r}")
        for name in sorted(set(lin[3]) | set(win[3])):
            if name not in lin[3] or name not in win[3]:
                problems.append(f"{name} written only on {'Linux' if name in lin[3] else 'Windows'}")
            elif lin[3][name] != win[3][name] and captions_in and name.endswith(".png"):
                # The boxes' captions are drawn by each system's own font engine: everything
                # else must be the same pixels.
                area = differing_area(*(os.path.join(self.work, label.replace(" ", "_"), b, name)
                                        for b in ("linux", "windows")))
                cx, cy, cw, ch = captions_in
                if area and not (cx <= area[0] and cy <= area[1] and area[0] + area[2] <= cx + cw
                                 and area[1] + area[3] <= cy + ch):
                    problems.append(f"{name} differs at {area}, outside the captions' page {captions_in}")
                else:
                    notes.append(f"captions drawn by each system's fonts (pixels differ only in {area})")
            elif lin[3][name] != win[3][name]:
                problems.append(f"{name} differs ({len(lin[3][name])} bytes on Linux, "
                                f"{len(win[3][name])} on Windows)")
        for name in outputs:
            if name not in lin[3]:
                problems.append(f"{name} was not written")
        if lin[0] != 0 and not label.startswith("refused"):
            problems.append(f"the Linux build failed: {lin[2].decode(errors='replace')}")
        if problems:
            self.failed.append(label)
            print(f"DIFFERS  {label}: " + "\n  ".join(problems))
        else:
            self.matched += 1
            print(f"matches  {label}" + (f" (meant: {'; '.join(notes)})" if notes else ""))


def page_of(linux, skin, page):
    """Where a page picture lies on the background: (x, y, width, height)."""
    facts = json.loads(subprocess.run([linux, "info", skin, "--json"], capture_output=True, check=True).stdout)
    x, y = facts["points"][page]
    picture = facts["pictures"][{"登陆激活": "zqLOGed.bmp"}[page]]
    return x, y, picture["width"], picture["height"]


def make_inputs(args, work):
    inputs = os.path.join(work, "inputs")
    sample = os.path.join(inputs, "sample")
    shutil.copytree(args.sample, sample, ignore=shutil.ignore_patterns("generator", "generate", "*.md"))
    big = os.path.join(inputs, "big")
    shutil.copytree(sample, big)
    subprocess.run(["convert", os.path.join(sample, "zqLOCKPIC.jpg"), "-resize", "3840x2160!",
                    "-quality", "92", os.path.join(big, "zqLOCKPIC.jpg")], check=True)
    # A tab with soft edges and a see-through hole, to flatten; a JPEG to put behind.
    subprocess.run(["convert", "-size", "150x44", "radial-gradient:#ff000000-#2040ffff",
                    "-fill", "#00ff0080", "-draw", "rectangle 20,10 60,30",
                    os.path.join(inputs, "tab.png")], check=True)
    subprocess.run(["convert", os.path.join(sample, "zqLOCKPIC.jpg"), "-negate", "-quality", "85",
                    os.path.join(inputs, "other.jpg")], check=True)
    chinese = os.path.join(inputs, "chinese")
    shutil.copytree(sample, os.path.join(chinese, "皮肤", "冬季"))
    return sample, big, chinese, inputs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--linux", required=True, help="the Linux zqskin")
    parser.add_argument("--windows", required=True, help="the Windows zqskin.exe")
    parser.add_argument("--wine", default="wine")
    parser.add_argument("--sample", required=True)
    args = parser.parse_args()
    args.linux, args.windows = os.path.abspath(args.linux), os.path.abspath(args.windows)
    with tempfile.TemporaryDirectory(prefix="zq-compare-") as work:
        sample, big, chinese, inputs = make_inputs(args, work)
        tab, other = os.path.join(inputs, "tab.png"), os.path.join(inputs, "other.jpg")
        c = Comparison(args, work)
        for name, skin in (("sample", sample), ("4K", big)):
            c.compare(f"info --json {name}", skin, ["info", ".", "--json"])
            c.compare(f"info {name}", skin, ["info", "ZqCSkin.ini"])
            c.compare(f"check --json {name}", skin, ["check", ".", "--json"])
            c.compare(f"resave {name}", skin, ["resave", "."])
            c.compare(f"flatten {name}", skin, ["flatten", ".", "登陆", tab, "--at", "40,30"])
            c.compare(f"background {name}", skin, ["background", ".", other])
            c.compare(f"render {name}", skin, ["render", ".", "out.png"], outputs=["out.png"])
            c.compare(f"render --boxes {name}", skin, ["render", ".", "out.png", "--boxes"], outputs=["out.png"],
                      captions_in=page_of(args.linux, skin, "登陆激活"))
            c.compare(f"render 充值 {name}", skin, ["render", ".", "out.png", "--tab", "充值", "--scale", "0.5"],
                      outputs=["out.png"])
            c.compare(f"set {name}", skin, ["set", ".", "充值激活", "--at", "101,57"])
            c.compare(f"box {name}", skin, ["box", ".", "用户名", "--rect", "12,13,200,31"])
        c.compare("new --size", inputs, ["new", "made", "--size", "1366x768"], outputs=["made/ZqCSkin.ini"])
        c.compare("new --background", inputs, ["new", "made", "--background", "other.jpg"],
                  outputs=["made/zqLOCKPIC.jpg"])
        c.compare("refused new into a full folder", inputs, ["new", "sample"])
        c.compare("refused flatten of a missing PNG", sample, ["flatten", ".", "登陆", "missing.png"])
        # The Windows API's wide-character names: a folder named in Chinese, given as it is.
        folder = os.path.join("皮肤", "冬季")
        c.compare("info in 皮肤/冬季", chinese, ["info", folder, "--json"])
        c.compare("set in 皮肤/冬季", chinese, ["set", folder, "登陆", "--at", "300,200"])
        c.compare("flatten in 皮肤/冬季", chinese, ["flatten", os.path.join(folder, "ZqCSkin.ini"), "管理", tab])
        print(f"Linux and Windows builds: {c.matched} comparisons matched, {len(c.failed)} differed")
        return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main())
