#!/usr/bin/env python3
"""The whole designer, as a user drives it: a real zqdesigner window on a virtual X server,
mouse and keys from xdotool, screenshots checked pixel by pixel, the skin's files checked after.

Run 1 opens a copy of the sample skin from the command line, drags the 登陆 tab, switches to
the 充值 page through the tab's popup menu, moves one of its boxes and resizes another, types
a position for the page in its position dialog, saves and closes. Run 2 opens the saved skin
through the open dialog by typing its path and checks that everything stands where it was
saved, opens 设置 on each of the six elements (beside it, clear of the control window, Esc
hides it) and collapses the control window (its top buttons still show and take clicks). The
skin's background is scaled down to 1280x720 so that the screen shows the grey band where it
ends. Run 3 opens a skin twice the screen's size, pans to its bottom-right corner, drags a tab
there, nudges it with the arrow keys, undoes the nudge and saves; then drags another tab to
4 px of it (it snaps against it, guide and readout on screen) and again with Alt (it does not),
and closes, leaving that last drag unsaved. Run 4 makes a new skin from a PNG through 新建皮肤
(the folder passes zqskin check and the designer shows it), moves a tab and opens another skin
(取消 keeps the moved tab, 不保存 opens the other and leaves the first skin's files as they
were), exports a picture identical to zqskin render's, moves a tab and closes (取消 keeps the
program running, 保存 saves and ends); then opens a skin and closes it at once, asking nothing.
The zoom run, which follows run 1 also with --first-run-only, opens a skin larger than the
screen at 1:1, fits it with Ctrl+0 (scaled, the zoom said in the control window), drags a tab
there, nudges it, saves it at the travel divided by the zoom, and goes back to 1:1 with Ctrl+1.

Exit status: 0 passed, 1 failed (the screenshots stay in --out), 77 a tool is missing.
"""

import argparse
import json
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SCREEN = (1920, 1080)
BACKGROUND = (1280, 720)
GREY = (128, 128, 128)
TOOLS = ("Xvfb", "xdotool", "import", "convert")

# The control window: client area 188 x 166 inside a 2-pixel border and a 20-pixel title bar.
FRAME_BORDER, TITLE_HEIGHT = 2, 20
FORM_SIZE = (188 + 2 * FRAME_BORDER, 166 + 2 * FRAME_BORDER + TITLE_HEIGHT)
BUTTONS = {  # client-area rectangles of the control window's buttons
    "打开皮肤": (8, 8, 65, 25),
    "关闭": (144, 0, 41, 25),
    "保存皮肤": (8, 40, 65, 25),
    "小化窗口": (80, 0, 57, 25),
    "换背景图片": (112, 40, 65, 25),
    "新建皮肤": (8, 140, 65, 25),
    "导出图片": (112, 140, 65, 25),
}
# The position dialog's fields and OK button.
SETUI_EDIT_TOP, SETUI_EDIT_LEFT, SETUI_OK = (32, 8, 73, 20), (32, 32, 73, 20), (48, 112, 57, 25)

PICTURES = ["zqLOG.bmp", "zqFIL.bmp", "zqMAN.bmp", "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"]
TIMEOUT = 60.0  # generous: CI machines can be slow, the program is built with sanitizers


class Failure(Exception):
    pass


def centre(rect, origin=(0, 0)):
    x, y, w, h = rect
    return origin[0] + x + w // 2, origin[1] + y + h // 2


# --- pictures -------------------------------------------------------------------------------


class Picture:
    """RGB pixels, row by row."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    @staticmethod
    def from_ppm(data):
        # P6, maxval 255: header fields separated by white space, then one byte of it.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failure("unexpected picture format from ImageMagick")
        width, height = int(fields[1]), int(fields[2])
        return Picture(width, height, data[pos + 1:pos + 1 + width * height * 3])

    @staticmethod
    def from_bmp(path):
        """An uncompressed Windows BMP of 8 (palette) or 24 bits."""
        with open(path, "rb") as f:
            data = f.read()
        offset = struct.unpack_from("<I", data, 10)[0]
        header_size, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
        if compression != 0 or bits not in (8, 24):
            raise Failure(f"{path}: test reads only plain 8- and 24-bit BMPs")
        palette = []
        if bits == 8:
            colours = struct.unpack_from("<I", data, 46)[0] or 256
            base = 14 + header_size
            palette = [tuple(data[base + 4 * i + 2 - c] for c in range(3)) for i in range(colours)]
        stride = (width * bits // 8 + 3) & ~3
        rgb = bytearray(width * abs(height) * 3)
        for y in range(abs(height)):
            src = offset + (abs(height) - 1 - y if height > 0 else y) * stride
            for x in range(width):
                if bits == 24:
                    b, g, r = data[src + 3 * x:src + 3 * x + 3]
                    px = (r, g, b)
                else:
                    px = palette[data[src + x]]
                i = (y * width + x) * 3
                rgb[i:i + 3] = bytes(px)
        return Picture(width, abs(height), bytes(rgb))


def decode_with_imagemagick(path):
    return Picture.from_ppm(subprocess.run(["convert", path, "ppm:-"], check=True,
                                           capture_output=True).stdout)


def decode_with_imagemagick_resized(path, size):
    return Picture.from_ppm(subprocess.run(["convert", path, "-resize", "%dx%d!" % size, "ppm:-"], check=True,
                                           capture_output=True).stdout)


def jpeg_size(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"\xff\xd8":
        raise Failure(f"{path} is not a JPEG file")
    pos = 2
    while pos < len(data):
        marker = data[pos + 1]
        length = struct.unpack_from(">H", data, pos + 2)[0]
        if marker in (0xC0, 0xC1, 0xC2):
            height, width = struct.unpack_from(">HH", data, pos + 5)
            return width, height
        pos += 2 + length
    raise Failure(f"{path} has no frame header")


# --- the layout file ------------------------------------------------------------------------


def read_layout(path):
    """{(section, key) lower case: value text}"""
    values, section = {}, ""
    with open(path, "rb") as f:
        for raw in f.read().decode("latin-1").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].lower()
            elif "=" in line:
                key, value = line.split("=", 1)
                values[(section, key.strip().lower())] = value.strip()
    return values


def expect_layout(saved, expected, where=""):
    """Fails on the first value of the saved layout that is not the one expected."""
    for key in sorted(set(expected) | set(saved)):
        if expected.get(key) != saved.get(key):
            raise Failure("%slayout %s/%s is %r, expected %r" % (where, *key, saved.get(key), expected.get(key)))


def fraction_text(pixels, size):
    """How the layout file writes a position: at most 15 significant digits, no trailing
    zeros, plain notation for exponents -4 to 14."""
    text = "%.15g" % (pixels / size)
    return text.upper().replace("E+", "E").replace("E-0", "E-").replace("E0", "E")


def position(values, left_key, top_key):
    return (math.trunc(float(values[("normal", left_key)]) * BACKGROUND[0]),
            math.trunc(float(values[("normal", top_key)]) * BACKGROUND[1]))


# --- the X server and the program -----------------------------------------------------------


class Desktop:
    def __init__(self, out_dir, display=None):
        self.out_dir = out_dir
        self.shots = 0
        self.xvfb = None
        if display:
            self.display = display
            self.env = dict(os.environ, DISPLAY=self.display)
            return
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-displayfd", str(write_end)],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + TIMEOUT
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.close()
            raise Failure("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)

    def close(self):
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()

    def xdotool(self, *args, timeout=TIMEOUT):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                                text=True, timeout=timeout)
        if result.returncode != 0:
            raise Failure("xdotool %s: %s" % (" ".join(map(str, args)), result.stderr.strip()))
        return result.stdout

    def screenshot(self, label, again=False):
        """The whole screen; `again` replaces the step's previous shot instead of adding one."""
        if not again or not self.shots:
            self.shots += 1
        path = os.path.join(self.out_dir, "%02d-%s.ppm" % (self.shots, label))
        subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:" + path], env=self.env,
                       check=True, timeout=TIMEOUT)
        with open(path, "rb") as f:
            return Picture.from_ppm(f.read())

    def find_window(self, name, timeout=TIMEOUT):
        """The id of the visible window with exactly this title, waiting for it."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name],
                                    env=self.env, capture_output=True, text=True)
            ids = result.stdout.split()
            if ids:
                return ids[-1]
            time.sleep(0.3)
        raise Failure("no window named %r appeared" % name)

    def window_gone(self, window, timeout=TIMEOUT):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], env=self.env,
                                    capture_output=True, text=True)
            if window not in result.stdout.split():
                return
            time.sleep(0.3)
        raise Failure("window %s did not close" % window)

    def geometry(self, window):
        return self.rectangle(window)[:2]

    def rectangle(self, window):
        shell = self.xdotool("getwindowgeometry", "--shell", window)
        fields = dict(line.split("=", 1) for line in shell.split())
        return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])

    def click(self, point, button=1):
        self.xdotool("mousemove", "--sync", point[0], point[1])
        time.sleep(0.2)
        self.xdotool("click", button)

    def drag(self, start, end, steps=12, alt=False, before_release=None):
        """`alt` holds Alt from the first step on (snapping off); `before_release` runs with
        the button still down at the end."""
        self.xdotool("mousemove", "--sync", start[0], start[1])
        time.sleep(0.2)
        self.xdotool("mousedown", 1)
        time.sleep(0.3)
        if alt:
            self.xdotool("keydown", "alt")
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.xdotool("mousemove", x, y)
            time.sleep(0.05)
        time.sleep(0.3)
        if before_release:
            before_release()
        self.xdotool("mouseup", 1)
        if alt:
            time.sleep(0.2)
            self.xdotool("keyup", "alt")

    def type_into(self, point, text):
        self.click(point)
        time.sleep(0.3)
        self.xdotool("key", "--clearmodifiers", "ctrl+a")
        self.xdotool("type", "--delay", 50, text)


class Designer:
    launcher = []  # the Windows build runs under Wine: ["wine"]

    def __init__(self, desktop, binary, args, home, scale=None):
        os.makedirs(home, mode=0o700, exist_ok=True)
        env = dict(desktop.env, QT_QPA_PLATFORM="xcb", HOME=home, XDG_RUNTIME_DIR=home,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"), ASAN_OPTIONS="detect_leaks=1")
        env.pop("QT_QPA_PLATFORMTHEME", None)
        if Designer.launcher:
            # Qt's own platform on Windows; Wine keeps its home in its prefix.
            env.pop("QT_QPA_PLATFORM")
            env["HOME"] = desktop.env.get("HOME", home)
        env.pop("QT_SCALE_FACTOR", None)
        if scale:
            # Wine hands a QT_ variable to a Windows program only under the name WINEQT_...
            env[("WINE" if Designer.launcher else "") + "QT_SCALE_FACTOR"] = str(scale)
        self.log = open(os.path.join(desktop.out_dir, "zqdesigner-%d.log" % os.getpid()), "ab")
        self.process = subprocess.Popen([*Designer.launcher, binary, *args], env=env, stdout=self.log,
                                        stderr=self.log)

    def wait_for_exit(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("zqdesigner did not end")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


# --- what the screen must show ---------------------------------------------------------------


class Screen:
    def __init__(self, desktop, background):
        self.desktop = desktop
        self.background = background

    def wait_until(self, label, check, timeout=TIMEOUT):
        """Screenshots until `check` finds nothing wrong; the last complaint if it never does."""
        deadline = time.monotonic() + timeout
        first = True
        while True:
            shot = self.desktop.screenshot(label, again=not first)
            first = False
            problem = check(shot)
            if problem is None:
                return shot
            if time.monotonic() > deadline:
                raise Failure("%s: %s" % (label, problem))
            time.sleep(0.5)

    @staticmethod
    def picture_at(shot, picture, at, points, name):
        """The picture stands with its top-left pixel at `at`: exact colours at the points."""
        for px, py in points:
            want, got = picture.at(px, py), shot.at(at[0] + px, at[1] + py)
            if want != got:
                return "%s: pixel (%d, %d) of the picture is %s on screen at (%d, %d), not %s" % (
                    name, px, py, got, at[0] + px, at[1] + py, want)
        return None

    def background_shows(self, shot, rect, name):
        """Screen and background agree 1:1 over the rectangle, within the decoders' rounding."""
        x0, y0, w, h = rect
        off, worst, count = 0, 0, 0
        for y in range(y0, y0 + h, 2):
            for x in range(x0, x0 + w, 2):
                diff = max(abs(a - b) for a, b in zip(shot.at(x, y), self.background.at(x, y)))
                worst = max(worst, diff)
                off += diff > 6
                count += 1
        if off > count // 100 or worst > 40:
            return "%s: the background is not shown 1:1 (%d of %d pixels off, worst %d)" % (name, off, count,
                                                                                               worst)
        return None

    @staticmethod
    def grey_at(shot, points, name):
        for p in points:
            if shot.at(*p) != GREY:
                return "%s: (%d, %d) is %s, not the preview's grey" % (name, p[0], p[1], shot.at(*p))
        return None

    @staticmethod
    def first_problem(*problems):
        return next((p for p in problems if p), None)


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def check_position_dialog(desktop, name, press, element, form_rect):
    """Opens the element's position dialog from its menu, checks where it stands, hides it
    with Esc."""
    desktop.click(press, button=3)
    time.sleep(0.5)
    desktop.xdotool("key", "Down", "Down", "Down", "Return")
    dialog = desktop.find_window(name)
    time.sleep(0.5)
    rect = desktop.rectangle(dialog)
    if overlaps(rect, form_rect):
        raise Failure("the %s dialog at %s covers the control window at %s" % (name, rect, form_rect))
    if overlaps(rect, element):
        raise Failure("the %s dialog at %s covers its element at %s" % (name, rect, element))
    desktop.xdotool("windowfocus", "--sync", dialog)
    desktop.xdotool("key", "Escape")
    desktop.window_gone(dialog)


# --- the scenario ----------------------------------------------------------------------------


def prepare_skin(sample, folder, size=BACKGROUND, normal=None):
    """A copy of the sample skin with its background scaled to `size`; `normal` replaces
    values of the layout's [Normal] section."""
    os.makedirs(folder)
    for name in ["ZqCSkin.ini"] + PICTURES:
        shutil.copyfile(os.path.join(sample, name), os.path.join(folder, name))
    subprocess.run(["convert", os.path.join(sample, "zqLOCKPIC.jpg"), "-resize", "%dx%d!" % size,
                    "-quality", "85", os.path.join(folder, "zqLOCKPIC.jpg")], check=True)
    if normal:
        path = os.path.join(folder, "ZqCSkin.ini")
        with open(path, "rb") as f:
            lines = f.read().decode("latin-1").splitlines()
        for i, line in enumerate(lines):
            key = line.split("=", 1)[0].strip().lower()
            if "=" in line and key in normal:
                lines[i] = "%s=%s" % (line.split("=", 1)[0], normal[key])
        with open(path, "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
    old = time.time() - 86400
    for name in os.listdir(folder):
        os.utime(os.path.join(folder, name), (old, old))


def run_scenario(args, work, desktop):
    skin = os.path.join(work, args.skin_folder)
    prepare_skin(args.sample, skin)
    layout = os.path.join(skin, "ZqCSkin.ini")
    original = read_layout(layout)
    pictures = {name: Picture.from_bmp(os.path.join(skin, name)) for name in PICTURES}
    picture_bytes = {name: open(os.path.join(skin, name), "rb").read() for name in PICTURES}
    background = decode_with_imagemagick(os.path.join(skin, "zqLOCKPIC.jpg"))
    screen = Screen(desktop, background)
    started = time.time()

    log_tab = position(original, "log1left", "log1top")
    fil_tab = position(original, "fil1left", "fil1top")
    man_tab = position(original, "man1left", "man1top")
    fil_page = position(original, "fil2left", "fil2top")
    box1 = tuple(int(original[("pagefil", "logbox1" + k)]) for k in ("left", "top", "width", "height"))
    log_page = position(original, "log2left", "log2top")
    man_page = position(original, "man2left", "man2top")
    tab_points = [(5, 5), (75, 22), (140, 38), (20, 40)]
    page_points = [(5, 5), (75, 22), (225, 20), (30, 100), (20, 300), (440, 320)]
    grey_points = [(1300, 100), (1900, 700), (100, 721), (640, 1079), (1279 + 1, 719 + 1)]
    title_patch = (200, 110, 340, 100)  # the background's lettering: shows any shift
    form = ((SCREEN[0] - FORM_SIZE[0]) // 2, (SCREEN[1] - FORM_SIZE[1]) // 2)

    def client(origin):
        return origin[0] + FRAME_BORDER, origin[1] + FRAME_BORDER + TITLE_HEIGHT

    # Run 1: the skin given on the command line.
    designer = Designer(desktop, args.designer, [layout], os.path.join(work, "home"))
    try:
        desktop.find_window("Zenqa界面设计")
        screen.wait_until("opened", lambda s: Screen.first_problem(
            Screen.picture_at(s, pictures["zqLOG.bmp"], log_tab, tab_points, "登陆 tab"),
            Screen.picture_at(s, pictures["zqFIL.bmp"], fil_tab, tab_points, "充值 tab"),
            Screen.picture_at(s, pictures["zqMAN.bmp"], man_tab, tab_points, "管理 tab"),
            screen.background_shows(s, title_patch, "background"),
            Screen.grey_at(s, grey_points, "band")))

        # The control window, in the middle of the screen, out of the way by its title bar.
        grip = (form[0] + 40, form[1] + FRAME_BORDER + TITLE_HEIGHT // 2)
        moved_form = (1563, 819)
        desktop.drag(grip, (grip[0] + moved_form[0] - form[0], grip[1] + moved_form[1] - form[1]))
        screen.wait_until("control-window-moved", lambda s: Screen.first_problem(
            None if s.at(*client(moved_form)) != GREY else "the control window is not at its new place",
            screen.background_shows(s, (form[0], form[1], 200, 150), "where the control window was")
            if form[0] + 200 <= BACKGROUND[0] else None,
            Screen.grey_at(s, [(form[0] + 300, form[1] + 300)], "below the old place")))
        form = moved_form

        # Drag the 登陆 tab by a known offset.
        new_log_tab = (log_tab[0] - 300, log_tab[1] + 63)
        # Alt: no snapping onto the background's centre lines nearby.
        desktop.drag((log_tab[0] + 30, log_tab[1] + 20), (new_log_tab[0] + 30, new_log_tab[1] + 20), alt=True)
        screen.wait_until("log-tab-dragged", lambda s: Screen.first_problem(
            Screen.picture_at(s, pictures["zqLOG.bmp"], new_log_tab, tab_points, "登陆 tab, moved"),
            screen.background_shows(s, (log_tab[0] + 4, log_tab[1] + 4, fil_tab[0] - log_tab[0] - 8, 36),
                                    "where the 登陆 tab was")))

        # "点击" on the 充值 tab: its page comes up on top.
        target = (fil_tab[0] + 75, fil_tab[1] + 22)
        desktop.click(target, button=3)
        screen.wait_until("fil-menu", lambda s: None if s.at(target[0] + 30, target[1] + 10) != pictures[
            "zqFIL.bmp"].at(105, 32) else "no popup menu")
        desktop.xdotool("key", "Down", "Return")
        fil_page_pic = pictures["zqFILed.bmp"]
        screen.wait_until("fil-page-shown", lambda s: Screen.first_problem(
            Screen.picture_at(s, fil_page_pic, fil_page, page_points, "充值 page"),
            Screen.picture_at(s, pictures["zqLOG.bmp"], new_log_tab, tab_points, "登陆 tab")))

        # Box 1 of the page moved from inside, box 3 resized from its bottom-right corner.
        def box(n):
            return tuple(int(original[("pagefil", "logbox%d%s" % (n, k))]) for k in ("left", "top", "width",
                                                                                       "height"))

        box1, box3 = box(1), box(3)
        on_page = lambda x, y: (fil_page[0] + x, fil_page[1] + y)
        face = desktop.screenshot("box-face").at(*on_page(box(2)[0] + 4, box(2)[1] + 4))
        moved_box1 = (box1[0] + 20, box1[1] - 10, box1[2], box1[3])
        desktop.drag(on_page(box1[0] + box1[2] // 2, box1[1] + box1[3] // 2),
                     on_page(moved_box1[0] + box1[2] // 2, moved_box1[1] + box1[3] // 2))
        corner = (box3[0] + box3[2] - 3, box3[1] + box3[3] - 3)
        sized_box3 = (box3[0], box3[1], box3[2] + 30, box3[3] + 12)
        desktop.drag(on_page(*corner), on_page(corner[0] + 30, corner[1] + 12))

        def boxes_check(s):
            strip = on_page(box1[0] + 10, box1[1] + box1[3] - 3)  # uncovered by the move
            return Screen.first_problem(
                None if s.at(*on_page(moved_box1[0] + 3, moved_box1[1] + 3)) == face else "box 1 not moved",
                None if s.at(*strip) == fil_page_pic.at(box1[0] + 10, box1[1] + box1[3] - 3)
                else "the page does not show where box 1 was",
                None if s.at(*on_page(sized_box3[0] + sized_box3[2] - 4, sized_box3[1] + sized_box3[3] - 4))
                == face else "box 3 not resized")

        screen.wait_until("boxes-moved", boxes_check)

        # "设置" on the page: a typed position.
        desktop.click(on_page(30, 100), button=3)
        screen.wait_until("page-menu", lambda s: None if s.at(*on_page(60, 110)) != fil_page_pic.at(60, 110)
                          else "no popup menu")
        desktop.xdotool("key", "Down", "Down", "Down", "Return")
        dialog = desktop.find_window("充值激活")
        time.sleep(0.5)
        origin = desktop.geometry(dialog)
        typed_page = (760, 180)
        desktop.type_into(centre(SETUI_EDIT_TOP, origin), str(typed_page[1]))
        desktop.type_into(centre(SETUI_EDIT_LEFT, origin), str(typed_page[0]))
        desktop.click(centre(SETUI_OK, origin))
        screen.wait_until("page-positioned", lambda s: Screen.first_problem(
            Screen.picture_at(s, fil_page_pic, typed_page, page_points[:4], "充值 page"),
            Screen.picture_at(s, pictures["zqLOG.bmp"], new_log_tab, tab_points, "登陆 tab"),
            Screen.grey_at(s, grey_points, "band")))

        # Save, then dismiss the message.
        desktop.click(centre(BUTTONS["保存皮肤"], client(form)))
        notice = desktop.find_window("zqdesigner")
        desktop.screenshot("saved")
        desktop.xdotool("windowfocus", "--sync", notice)
        desktop.xdotool("key", "Return")
        desktop.window_gone(notice)

        # Close: the program ends without a question.
        desktop.click(centre(BUTTONS["关闭"], client(form)))
        status = designer.wait_for_exit()
        if status != 0:
            raise Failure("zqdesigner ended with status %d" % status)
    finally:
        designer.stop()

    # The files: exactly the moved values changed.
    saved = read_layout(layout)
    expected = dict(original)
    expected[("normal", "log1left")] = fraction_text(new_log_tab[0], BACKGROUND[0])
    expected[("normal", "log1top")] = fraction_text(new_log_tab[1], BACKGROUND[1])
    expected[("normal", "fil2left")] = fraction_text(typed_page[0], BACKGROUND[0])
    expected[("normal", "fil2top")] = fraction_text(typed_page[1], BACKGROUND[1])
    expected[("pagefil", "logbox1left")] = str(moved_box1[0])
    expected[("pagefil", "logbox1top")] = str(moved_box1[1])
    expected[("pagefil", "logbox3width")] = str(sized_box3[2])
    expected[("pagefil", "logbox3height")] = str(sized_box3[3])
    expect_layout(saved, expected)
    for name in PICTURES:
        if open(os.path.join(skin, name), "rb").read() != picture_bytes[name]:
            raise Failure(name + " changed")
    for name in ("ZqCSkin.ini", "zqLOCKPIC.jpg"):
        if os.path.getmtime(os.path.join(skin, name)) < started - 5:
            raise Failure(name + " was not written")
    if jpeg_size(os.path.join(skin, "zqLOCKPIC.jpg")) != BACKGROUND:
        raise Failure("the saved background has the wrong size")

    if args.first_run_only:
        return

    # Run 2: no skin at start; the saved one opened through the dialog by typing its path.
    screen.background = decode_with_imagemagick(os.path.join(skin, "zqLOCKPIC.jpg"))
    form = ((SCREEN[0] - FORM_SIZE[0]) // 2, (SCREEN[1] - FORM_SIZE[1]) // 2)
    designer = Designer(desktop, args.designer, [], os.path.join(work, "home"))
    try:
        desktop.find_window("Zenqa界面设计")
        screen.wait_until("no-skin", lambda s: Screen.first_problem(
            Screen.grey_at(s, [(100, 100), (1800, 100), (100, 1000), (960, 200),
                               (log_tab[0] + 5, log_tab[1] + 5)], "no skin yet"),
            None if s.at(*centre((0, 80, 188, 10), client(form))) != GREY else "no control window"))
        desktop.click(centre(BUTTONS["打开皮肤"], client(form)))
        dialog = desktop.find_window("打开ZqCSkin.ini")
        time.sleep(1.0)
        desktop.xdotool("windowfocus", "--sync", dialog)
        desktop.xdotool("key", "--clearmodifiers", "ctrl+a")
        desktop.xdotool("type", "--delay", 30, layout)
        time.sleep(0.5)
        desktop.xdotool("key", "Return")
        # A completion popup may take the first Return.
        try:
            desktop.window_gone(dialog, timeout=5)
        except Failure:
            desktop.xdotool("key", "Return")
            desktop.window_gone(dialog)
        screen.wait_until("reopened", lambda s: Screen.first_problem(
            Screen.picture_at(s, pictures["zqLOG.bmp"], new_log_tab, tab_points, "登陆 tab, saved"),
            Screen.picture_at(s, pictures["zqFIL.bmp"], fil_tab, tab_points, "充值 tab"),
            Screen.picture_at(s, pictures["zqMAN.bmp"], man_tab, tab_points, "管理 tab"),
            screen.background_shows(s, (typed_page[0] + 10, typed_page[1] + 10, 100, 60), "no page shown"),
            screen.background_shows(s, title_patch, "background"),
            Screen.grey_at(s, grey_points, "band")))

        # "设置" on each of the six elements: beside it, never over the control window; Esc
        # hides it.
        form_rect = (form[0], form[1], FORM_SIZE[0], FORM_SIZE[1])
        tabs = {"登陆": new_log_tab, "充值": fil_tab, "管理": man_tab}
        pages = {"登陆激活": ("登陆", log_page), "充值激活": ("充值", typed_page), "管理激活": ("管理", man_page)}
        for name, at in tabs.items():
            check_position_dialog(desktop, name, (at[0] + 75, at[1] + 22), (at[0], at[1], 150, 44), form_rect)
        for name, (tab, at) in pages.items():
            desktop.click((50, 650))  # a free spot: back to the three tabs, none covered
            time.sleep(0.5)
            desktop.click((tabs[tab][0] + 75, tabs[tab][1] + 22), button=3)
            time.sleep(0.5)
            desktop.xdotool("key", "Down", "Return")
            time.sleep(0.5)
            check_position_dialog(desktop, name, (at[0] + 30, at[1] + 100), (at[0], at[1], 450, 330), form_rect)

        # Collapsed to 45 px, the top buttons still show at least 18 px and take clicks. Each
        # button's left edge column is compared with a shot of the expanded window in which
        # the button looks the same (focus included).
        expanded = desktop.screenshot("expanded")
        desktop.click(centre(BUTTONS["小化窗口"], client(form)))
        top = client(form)[1]

        def collapsed_check(reference, names):
            def check(s):
                for name in names:
                    x = client(form)[0] + BUTTONS[name][0] + 3
                    for y in range(top, top + 18):
                        if s.at(x, y) != reference.at(x, y):
                            return "%s: only %d px of it show" % (name, y - top)
                if s.at(form[0] + 20, form[1] + 120) == reference.at(form[0] + 20, form[1] + 120):
                    return "not collapsed"
                return None
            return check

        screen.wait_until("collapsed", collapsed_check(expanded, ["关闭"]))
        desktop.click((centre(BUTTONS["小化窗口"], client(form))[0], top + 10))
        restored = screen.wait_until("restored", lambda s: None if s.at(form[0] + 20, form[1] + 120) == expanded.at(
            form[0] + 20, form[1] + 120) else "not restored")
        desktop.click(centre(BUTTONS["小化窗口"], client(form)))
        screen.wait_until("collapsed-again", collapsed_check(restored, ["小化窗口", "关闭"]))
        desktop.click((centre(BUTTONS["关闭"], client(form))[0], top + 10))
        status = designer.wait_for_exit()
        if status != 0:
            raise Failure("zqdesigner ended with status %d" % status)
    finally:
        designer.stop()


BIG = (3840, 2160)
SCALES = (1.5, 2)
GUIDE = (255, 0, 200)
READOUT = (255, 255, 225)


def run_big_skin(args, work, desktop):
    """A skin twice the screen's size: pan to its bottom-right corner, drag a tab there,
    nudge it with keys and undo the nudge, save; then a snap against a neighbour, and none
    with Alt."""
    skin = os.path.join(work, "big")
    # 登陆 and 管理 tabs near the bottom-right corner, 充值 where the sample has it.
    prepare_skin(args.sample, skin, BIG, {"log1left": "0.80001", "log1top": "0.9302",
                                         "man1left": "0.90001", "man1top": "0.9502"})
    layout = os.path.join(skin, "ZqCSkin.ini")
    tab_picture = {name: Picture.from_bmp(os.path.join(skin, name)) for name in PICTURES[:3]}
    background = decode_with_imagemagick(os.path.join(skin, "zqLOCKPIC.jpg"))
    screen = Screen(desktop, background)
    tab_points = [(5, 5), (75, 22), (140, 38), (20, 40)]
    log_tab = (math.trunc(0.80001 * BIG[0]), math.trunc(0.9302 * BIG[1]))
    man_tab = (math.trunc(0.90001 * BIG[0]), math.trunc(0.9502 * BIG[1]))
    pan = (BIG[0] - SCREEN[0], BIG[1] - SCREEN[1])
    form = ((SCREEN[0] - FORM_SIZE[0]) // 2, (SCREEN[1] - FORM_SIZE[1]) // 2)
    form_client = (form[0] + FRAME_BORDER, form[1] + FRAME_BORDER + TITLE_HEIGHT)

    def on_screen(point):
        return point[0] - pan[0], point[1] - pan[1]

    def shows_at_pan(s, rect, name):
        x0, y0, w, h = rect
        for y in range(y0, y0 + h, 4):
            for x in range(x0, x0 + w, 4):
                want, got = background.at(x + pan[0], y + pan[1]), s.at(x, y)
                if max(abs(a - b) for a, b in zip(want, got)) > 40:
                    return "%s: (%d, %d) is %s, the background has %s" % (name, x, y, got, want)
        return None

    designer = Designer(desktop, args.designer, [layout], os.path.join(work, "home"))
    try:
        preview = desktop.find_window("Zenqa界面设计")
        screen.wait_until("big-opened", lambda s: screen.background_shows(s, (100, 100, 300, 200), "top-left"))

        # Wheel down, Shift+wheel across: the view stops at the picture's corner.
        desktop.xdotool("mousemove", "--sync", 300, 300)
        desktop.xdotool("click", "--repeat", 12, "--delay", 50, 5)
        desktop.xdotool("keydown", "shift")
        desktop.xdotool("click", "--repeat", 20, "--delay", 50, 5)
        desktop.xdotool("keyup", "shift")
        screen.wait_until("panned", lambda s: Screen.first_problem(
            shows_at_pan(s, (100, 100, 300, 200), "panned background"),
            Screen.picture_at(s, tab_picture["zqLOG.bmp"], on_screen(log_tab), tab_points, "登陆 tab"),
            Screen.picture_at(s, tab_picture["zqMAN.bmp"], on_screen(man_tab), tab_points, "管理 tab")))

        # Drag the 管理 tab (Alt: exactly by the pointer's travel), nudge it, undo the nudge.
        dragged = (man_tab[0] - 200, man_tab[1] - 100)
        grab = on_screen((man_tab[0] + 40, man_tab[1] + 20))
        desktop.drag(grab, (grab[0] - 200, grab[1] - 100), alt=True)
        screen.wait_until("big-dragged", lambda s: Screen.picture_at(
            s, tab_picture["zqMAN.bmp"], on_screen(dragged), tab_points, "管理 tab, dragged"))
        desktop.xdotool("windowfocus", "--sync", preview)
        desktop.xdotool("key", "--delay", 100, "Right", "Right", "Right")
        nudged = (dragged[0] + 3, dragged[1])
        screen.wait_until("nudged", lambda s: Screen.picture_at(
            s, tab_picture["zqMAN.bmp"], on_screen(nudged), tab_points, "管理 tab, nudged"))
        desktop.xdotool("key", "ctrl+z")
        screen.wait_until("nudge-undone", lambda s: Screen.picture_at(
            s, tab_picture["zqMAN.bmp"], on_screen(dragged), tab_points, "管理 tab, nudge undone"))
        desktop.xdotool("key", "ctrl+s")
        notice = desktop.find_window("zqdesigner")
        desktop.xdotool("windowfocus", "--sync", notice)
        desktop.xdotool("key", "Return")
        desktop.window_gone(notice)
        saved = read_layout(layout)
        for key, want in (("man1left", fraction_text(dragged[0], BIG[0])),
                          ("man1top", fraction_text(dragged[1], BIG[1]))):
            if saved[("normal", key)] != want:
                raise Failure("after the undone nudge %s is %s, expected %s" % (key, saved[("normal", key)], want))

        # The 登陆 tab's right edge dragged to 4 px short of the 管理 tab's left edge lands
        # against it, with the guide and the readout on screen while the button is down.
        grab = on_screen((log_tab[0] + 30, log_tab[1] + 20))
        travel = dragged[0] - 4 - (log_tab[0] + 150)
        against = (dragged[0] - 150, log_tab[1])
        guide_x = on_screen(dragged)[0]
        pointer = (grab[0] + travel, grab[1])

        def while_held():
            screen.wait_until("guide-and-readout", lambda s: Screen.first_problem(
                None if all(s.at(guide_x, y) == GUIDE for y in (200, 400, 600)) else "no guide line",
                None if s.at(pointer[0] + 17, pointer[1] + 21) == READOUT else "no readout"))

        desktop.drag(grab, pointer, before_release=while_held)
        screen.wait_until("snapped", lambda s: Screen.first_problem(
            Screen.picture_at(s, tab_picture["zqLOG.bmp"], on_screen(against), tab_points, "登陆 tab, snapped"),
            None if s.at(guide_x, 400) != GUIDE else "the guide stayed"))
        desktop.xdotool("windowfocus", "--sync", preview)
        desktop.xdotool("key", "ctrl+z")
        screen.wait_until("snap-undone", lambda s: Screen.picture_at(
            s, tab_picture["zqLOG.bmp"], on_screen(log_tab), tab_points, "登陆 tab, back"))
        desktop.drag(grab, pointer, alt=True)
        free = (log_tab[0] + travel, log_tab[1])
        screen.wait_until("not-snapped", lambda s: Screen.picture_at(
            s, tab_picture["zqLOG.bmp"], on_screen(free), tab_points, "登陆 tab, Alt held"))

        # The last drag is unsaved: 关闭 asks first, and 不保存 ends the program.
        desktop.click(centre(BUTTONS["关闭"], form_client))
        answer_save_question(desktop, "alt+n")
        status = designer.wait_for_exit()
        if status != 0:
            raise Failure("zqdesigner ended with status %d" % status)
    finally:
        designer.stop()


def answer_save_question(desktop, key):
    """保存更改 is up: `key` answers it (alt+s 保存, alt+n 不保存, Escape 取消)."""
    box = desktop.find_window("保存更改")
    time.sleep(0.3)
    desktop.xdotool("windowfocus", "--sync", box)
    desktop.xdotool("key", key)
    desktop.window_gone(box)


def no_window(desktop, name, wait=1.5):
    time.sleep(wait)
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name], env=desktop.env,
                            capture_output=True, text=True)
    if result.stdout.split():
        raise Failure("a window %r came up" % name)


def zqskin(args, *arguments):
    return subprocess.run([*Designer.launcher, args.zqskin, *arguments], capture_output=True, text=True,
                          timeout=TIMEOUT)


def skin_files(folder):
    return {name: open(os.path.join(folder, name), "rb").read() for name in ["ZqCSkin.ini", "zqLOCKPIC.jpg"] + PICTURES}


def run_skins(args, work, desktop):
    """A new skin from a PNG, another skin opened over unsaved changes, a picture exported, the
    program closed over unsaved changes, and a skin without changes closed at once."""
    form = ((SCREEN[0] - FORM_SIZE[0]) // 2, (SCREEN[1] - FORM_SIZE[1]) // 2)
    form_client = (form[0] + FRAME_BORDER, form[1] + FRAME_BORDER + TITLE_HEIGHT)
    tab_points = [(5, 5), (75, 22), (140, 38), (20, 40)]
    home = os.path.join(work, "home-skins")

    # A PNG with a transparent corner, which the new skin's background holds as white.
    png = os.path.join(work, "new-background.png")
    subprocess.run(["convert", os.path.join(args.sample, "zqLOCKPIC.jpg"), "-resize", "%dx%d!" % BACKGROUND,
                    "-alpha", "set", "-region", "200x100+0+0", "-channel", "A", "-evaluate", "set", "0",
                    "+channel", png], check=True)
    made = os.path.join(work, "made")
    other = os.path.join(work, "other")
    prepare_skin(args.sample, other)

    designer = Designer(desktop, args.designer, [], home)
    try:
        desktop.find_window("Zenqa界面设计")
        desktop.click(centre(BUTTONS["新建皮肤"], form_client))
        dialog = desktop.find_window("新建皮肤")
        time.sleep(0.5)
        desktop.xdotool("windowfocus", "--sync", dialog)
        # The background field has the focus; the folder's is two Tabs on, past 浏览….
        desktop.xdotool("type", "--delay", 20, png)
        desktop.xdotool("key", "Tab", "Tab")
        desktop.xdotool("type", "--delay", 20, made)
        desktop.xdotool("key", "Return")
        desktop.window_gone(dialog)

        check = zqskin(args, "check", made)
        if check.returncode != 0 or check.stdout.strip() != "ok":
            raise Failure("the new skin does not pass zqskin check: %s%s" % (check.stdout, check.stderr))
        info = json.loads(zqskin(args, "info", made, "--json").stdout)
        points = {name: tuple(at) for name, at in info["points"].items()}
        pictures = {name: Picture.from_bmp(os.path.join(made, name)) for name in PICTURES}
        background = decode_with_imagemagick(os.path.join(made, "zqLOCKPIC.jpg"))
        screen = Screen(desktop, background)
        screen.wait_until("new-skin-shown", lambda s: Screen.first_problem(
            Screen.picture_at(s, pictures["zqLOG.bmp"], points["登陆"], tab_points, "登陆 tab"),
            Screen.picture_at(s, pictures["zqFIL.bmp"], points["充值"], tab_points, "充值 tab"),
            Screen.picture_at(s, pictures["zqMAN.bmp"], points["管理"], tab_points, "管理 tab"),
            screen.background_shows(s, (300, 300, 300, 200), "background"),
            None if min(s.at(50, 50)) > 245 else "the PNG's transparent corner is not white",
            Screen.grey_at(s, [(1300, 100), (640, 1000)], "band")))

        # An unsaved move, then 打开皮肤: 取消 keeps everything.
        log_tab = points["登陆"]
        moved = (log_tab[0] - 200, log_tab[1] + 80)
        desktop.drag((log_tab[0] + 30, log_tab[1] + 20), (moved[0] + 30, moved[1] + 20), alt=True)
        screen.wait_until("new-skin-tab-moved", lambda s: Screen.picture_at(
            s, pictures["zqLOG.bmp"], moved, tab_points, "登陆 tab, moved"))
        made_files = skin_files(made)
        desktop.click(centre(BUTTONS["打开皮肤"], form_client))
        answer_save_question(desktop, "Escape")
        no_window(desktop, "打开ZqCSkin.ini")
        screen.wait_until("open-cancelled", lambda s: Screen.picture_at(
            s, pictures["zqLOG.bmp"], moved, tab_points, "登陆 tab, still moved"))

        # 不保存: the other skin opens; the new skin's files stay as they were.
        desktop.click(centre(BUTTONS["打开皮肤"], form_client))
        answer_save_question(desktop, "alt+n")
        dialog = desktop.find_window("打开ZqCSkin.ini")
        time.sleep(1.0)
        desktop.xdotool("windowfocus", "--sync", dialog)
        desktop.xdotool("key", "--clearmodifiers", "ctrl+a")
        desktop.xdotool("type", "--delay", 30, os.path.join(other, "ZqCSkin.ini"))
        time.sleep(0.5)
        desktop.xdotool("key", "Return")
        try:
            desktop.window_gone(dialog, timeout=5)
        except Failure:
            desktop.xdotool("key", "Return")
            desktop.window_gone(dialog)
        other_layout = read_layout(os.path.join(other, "ZqCSkin.ini"))
        other_pictures = {name: Picture.from_bmp(os.path.join(other, name)) for name in PICTURES}
        screen.background = decode_with_imagemagick(os.path.join(other, "zqLOCKPIC.jpg"))
        other_log_tab = position(other_layout, "log1left", "log1top")
        other_man_tab = position(other_layout, "man1left", "man1top")
        screen.wait_until("other-opened", lambda s: Screen.first_problem(
            Screen.picture_at(s, other_pictures["zqLOG.bmp"], other_log_tab, tab_points, "登陆 tab"),
            Screen.picture_at(s, other_pictures["zqMAN.bmp"], other_man_tab, tab_points, "管理 tab"),
            screen.background_shows(s, (moved[0], moved[1], 150, 44), "where the new skin's tab was"),
            None if min(s.at(50, 50)) < 245 else "the new skin's background is still shown"))
        if skin_files(made) != made_files:
            raise Failure("不保存 changed the new skin's files")

        # 导出图片 beside the skin, as <folder>.png: the same file zqskin render writes.
        desktop.click(centre(BUTTONS["导出图片"], form_client))
        dialog = desktop.find_window("导出图片")
        time.sleep(1.0)
        desktop.xdotool("windowfocus", "--sync", dialog)
        desktop.xdotool("key", "Return")
        desktop.window_gone(dialog)
        exported = os.path.join(work, "other.png")
        rendered = os.path.join(work, "rendered.png")
        render = zqskin(args, "render", other, rendered)
        if render.returncode != 0:
            raise Failure("zqskin render failed: " + render.stderr)
        # The dialog is gone before the picture is written: on a busy machine that takes a while.
        deadline = time.time() + TIMEOUT
        while time.time() < deadline and not (
                os.path.exists(exported) and open(exported, "rb").read() == open(rendered, "rb").read()):
            time.sleep(0.2)
        if not os.path.exists(exported) or open(exported, "rb").read() != open(rendered, "rb").read():
            raise Failure("the exported picture is not the one zqskin render writes")

        # An unsaved move, then 关闭: 取消 keeps the program running, 保存 saves and ends.
        man_moved = (other_man_tab[0] - 100, other_man_tab[1] - 150)
        desktop.drag((other_man_tab[0] + 30, other_man_tab[1] + 20), (man_moved[0] + 30, man_moved[1] + 20),
                     alt=True)
        screen.wait_until("other-tab-moved", lambda s: Screen.picture_at(
            s, other_pictures["zqMAN.bmp"], man_moved, tab_points, "管理 tab, moved"))
        desktop.click(centre(BUTTONS["关闭"], form_client))
        answer_save_question(desktop, "Escape")
        time.sleep(1.0)
        if designer.process.poll() is not None:
            raise Failure("取消 did not keep the program running")
        screen.wait_until("close-cancelled", lambda s: Screen.picture_at(
            s, other_pictures["zqMAN.bmp"], man_moved, tab_points, "管理 tab, still moved"))
        desktop.click(centre(BUTTONS["关闭"], form_client))
        answer_save_question(desktop, "alt+s")
        status = designer.wait_for_exit()
        if status != 0:
            raise Failure("zqdesigner ended with status %d" % status)
    finally:
        designer.stop()
    saved = read_layout(os.path.join(other, "ZqCSkin.ini"))
    for key, want in (("man1left", fraction_text(man_moved[0], BACKGROUND[0])),
                      ("man1top", fraction_text(man_moved[1], BACKGROUND[1]))):
        if saved[("normal", key)] != want:
            raise Failure("保存 on closing left %s at %s, expected %s" % (key, saved[("normal", key)], want))

    # A skin without changes closes at once.
    designer = Designer(desktop, args.designer, [os.path.join(other, "ZqCSkin.ini")], home)
    try:
        desktop.find_window("Zenqa界面设计")
        screen.wait_until("reopened-other", lambda s: Screen.picture_at(
            s, other_pictures["zqMAN.bmp"], man_moved, tab_points, "管理 tab, saved"))
        desktop.click(centre(BUTTONS["关闭"], form_client))
        status = designer.wait_for_exit()
        if status != 0:
            raise Failure("zqdesigner ended with status %d" % status)
    finally:
        designer.stop()


def run_scaled(args, work, desktop, scale):
    """The designer under display scaling `scale` (QT_SCALE_FACTOR): the first paint is the
    skin pixel for pixel, every tab on its layout point in screen pixels; a tab and a box dragged
    by (40, 30) screen pixels are saved moved by exactly that. The control window follows the
    scaling: its buttons are `scale` times as far from its corner. Right after the save's
    message box, Ctrl+Z acts on the skin without a click on it first."""
    skin = os.path.join(work, "scaled-%g" % scale)
    prepare_skin(args.sample, skin)
    layout = os.path.join(skin, "ZqCSkin.ini")
    original = read_layout(layout)
    pictures = {name: Picture.from_bmp(os.path.join(skin, name)) for name in PICTURES}
    # The lock screen as the engine draws it: the background as the designer decodes it.
    reference_png = os.path.join(work, "scaled-%g.png" % scale)
    subprocess.run([*Designer.launcher, args.zqskin, "render", skin, reference_png, "--tab", "充值"], check=True,
                   capture_output=True)
    reference = decode_with_imagemagick(reference_png)
    screen = Screen(desktop, reference)
    tabs = {"zqLOG.bmp": position(original, "log1left", "log1top"),
            "zqFIL.bmp": position(original, "fil1left", "fil1top"),
            "zqMAN.bmp": position(original, "man1left", "man1top")}
    fil_page = position(original, "fil2left", "fil2top")
    box1 = tuple(int(original[("pagefil", "logbox1" + k)]) for k in ("left", "top", "width", "height"))
    page_size = (pictures["zqFILed.bmp"].width, pictures["zqFILed.bmp"].height)

    # The control window, centred in logical pixels, its size and offsets scaled.
    def scaled(v):
        return int(round(v * scale))

    logical_screen = (int(SCREEN[0] / scale), int(SCREEN[1] / scale))
    form_logical = ((logical_screen[0] - FORM_SIZE[0]) // 2, (logical_screen[1] - FORM_SIZE[1]) // 2)
    form = (scaled(form_logical[0]) - 2, scaled(form_logical[1]) - 2,
            scaled(FORM_SIZE[0]) + 4, scaled(FORM_SIZE[1]) + 4)

    def button(name, corner):
        x, y, w, h = BUTTONS[name]
        return (scaled(corner[0] + FRAME_BORDER + x + w / 2),
                scaled(corner[1] + FRAME_BORDER + TITLE_HEIGHT + y + h / 2))

    def inside(x, rect):
        return rect[0] <= x < rect[0] + rect[2]

    def pixel_for_pixel(shot, covered):
        """Every screen pixel outside `covered` (rectangles) is the reference's, grey past it."""
        for y in range(SCREEN[1]):
            cuts = sorted((r[0], r[0] + r[2]) for r in covered if r[1] <= y < r[1] + r[3])
            x = 0
            for start, end in cuts + [(SCREEN[0], SCREEN[0])]:
                for x0, x1 in ((x, min(start, reference.width)), (max(x, reference.width), start)):
                    if x0 >= x1:
                        continue
                    got = shot.rgb[(y * shot.width + x0) * 3:(y * shot.width + x1) * 3]
                    if y < reference.height and x1 <= reference.width:
                        want = reference.rgb[(y * reference.width + x0) * 3:(y * reference.width + x1) * 3]
                    else:
                        want = bytes(GREY) * (x1 - x0)
                    if got != want:
                        first = next(i for i in range(0, len(got), 3) if got[i:i + 3] != want[i:i + 3]) // 3
                        return "(%d, %d) is %s on screen, %s expected" % (
                            x0 + first, y, tuple(got[first * 3:first * 3 + 3]), tuple(want[first * 3:first * 3 + 3]))
                x = max(x, end)
        return None

    def picture_exactly(shot, picture, at, name, part=None):
        """The picture's `part` (x, y, w, h; all of it by default) exactly where it lies when the
        picture's corner is at `at`."""
        x0, y0, w, h = part or (0, 0, picture.width, picture.height)
        for y in range(y0, y0 + h):
            row = ((at[1] + y) * shot.width + at[0] + x0) * 3
            if shot.rgb[row:row + w * 3] != picture.rgb[(y * picture.width + x0) * 3:(y * picture.width + x0 + w) * 3]:
                return "%s: row %d of the picture is not on screen row %d" % (name, y, at[1] + y)
        return None

    def tabs_exactly(shot):
        # Each tab lies under the next one, where they overlap on a background this small.
        order = ["zqLOG.bmp", "zqFIL.bmp", "zqMAN.bmp"]
        for i, name in enumerate(order):
            at = tabs[name]
            width, height = pictures[name].width, pictures[name].height
            if i + 1 < len(order):
                width = min(width, tabs[order[i + 1]][0] - at[0])
            problem = picture_exactly(shot, pictures[name], at, name, (0, 0, width, height))
            if problem:
                return problem
        return None

    designer = Designer(desktop, args.designer, [layout], os.path.join(work, "home"), scale=scale)
    try:
        preview = desktop.find_window("Zenqa界面设计")
        page_rect = (fil_page[0], fil_page[1], page_size[0], page_size[1])
        screen.wait_until("scaled-%g-opened" % scale, lambda s: Screen.first_problem(
            pixel_for_pixel(s, [form, page_rect]), tabs_exactly(s)))

        # The control window, by its title bar, to the bottom-left corner, clear of the page.
        corner = (0, logical_screen[1] - FORM_SIZE[1])
        grip = (scaled(form_logical[0] + 40), scaled(form_logical[1] + FRAME_BORDER + TITLE_HEIGHT / 2))
        desktop.drag(grip, (grip[0] + scaled(corner[0] - form_logical[0]),
                            grip[1] + scaled(corner[1] - form_logical[1])))
        screen.wait_until("scaled-%g-control-window-moved" % scale, lambda s: Screen.first_problem(
            pixel_for_pixel(s, [(0, scaled(corner[1]) - 2, form[2], form[3]), page_rect]), tabs_exactly(s)))

        # The 登陆 tab, by (40, 30) screen pixels; Alt: no snapping.
        log_tab = tabs["zqLOG.bmp"]
        moved_tab = (log_tab[0] + 40, log_tab[1] + 30)
        grab = (log_tab[0] + 31, log_tab[1] + 17)
        desktop.drag(grab, (grab[0] + 40, grab[1] + 30), alt=True)
        # Below the 充值 tab, inside the selection's outline.
        tab = pictures["zqLOG.bmp"]
        below = tabs["zqFIL.bmp"][1] + pictures["zqFIL.bmp"].height - moved_tab[1]
        screen.wait_until("scaled-%g-tab-dragged" % scale, lambda s: picture_exactly(
            s, tab, moved_tab, "登陆 tab, moved", (3, below, tab.width - 6, tab.height - 3 - below)))

        # "点击" on the 充值 tab, then its first box by (40, 30) from inside.
        fil_tab = tabs["zqFIL.bmp"]
        desktop.click((fil_tab[0] + 50, fil_tab[1] + 22), button=3)  # clear of the tabs over it
        time.sleep(1.0)
        desktop.xdotool("key", "Down", "Return")
        # Above its first box and right of the 登陆 tab's outline.
        clear = moved_tab[0] + tab.width + 3 - fil_page[0]
        screen.wait_until("scaled-%g-page" % scale, lambda s: picture_exactly(
            s, pictures["zqFILed.bmp"], fil_page, "充值 page", (clear, 0, page_size[0] - clear, box1[1])))
        grab = (fil_page[0] + box1[0] + 101, fil_page[1] + box1[1] + 17)
        face = desktop.screenshot("scaled-%g-box" % scale).at(grab[0], grab[1] - 10)
        desktop.drag(grab, (grab[0] + 40, grab[1] + 30), alt=True)
        moved_box = (fil_page[0] + box1[0] + 40, fil_page[1] + box1[1] + 30)
        screen.wait_until("scaled-%g-box-dragged" % scale, lambda s: Screen.first_problem(
            None if s.at(moved_box[0] + 3, moved_box[1] + 3) == face else "box 1 not at its new place",
            None if s.at(moved_box[0] + box1[2] - 2, moved_box[1] + box1[3] - 2) != pictures[
                "zqFILed.bmp"].at(box1[0] + 40 + box1[2] - 2, box1[1] + 30 + box1[3] - 2)
            else "box 1 not its whole size at its new place"))

        desktop.xdotool("windowfocus", "--sync", preview)
        desktop.xdotool("key", "ctrl+s")
        notice = desktop.find_window("zqdesigner")
        desktop.xdotool("windowfocus", "--sync", notice)
        desktop.xdotool("key", "Return")
        desktop.window_gone(notice)
        # Right after the message box, with no click in between, Ctrl+Z undoes the box's move.
        time.sleep(0.5)
        desktop.xdotool("key", "ctrl+z")
        box_at = (fil_page[0] + box1[0], fil_page[1] + box1[1])
        screen.wait_until("scaled-%g-undone" % scale, lambda s: Screen.first_problem(
            None if s.at(box_at[0] + 3, box_at[1] + 3) == face else "box 1 not back at its place",
            None if s.at(moved_box[0] + box1[2] - 2, moved_box[1] + box1[3] - 2) == pictures[
                "zqFILed.bmp"].at(box1[0] + 40 + box1[2] - 2, box1[1] + 30 + box1[3] - 2)
            else "box 1 still at its moved place"))
        # The undo is unsaved: 关闭 asks first, and 不保存 leaves the skin as saved.
        desktop.click(button("关闭", corner))
        answer_save_question(desktop, "alt+n")
        status = designer.wait_for_exit()
        if status != 0:
            raise Failure("zqdesigner ended with status %d" % status)
    finally:
        designer.stop()

    saved = read_layout(layout)
    expected = dict(original)
    expected[("normal", "log1left")] = fraction_text(moved_tab[0], BACKGROUND[0])
    expected[("normal", "log1top")] = fraction_text(moved_tab[1], BACKGROUND[1])
    expected[("pagefil", "logbox1left")] = str(box1[0] + 40)
    expected[("pagefil", "logbox1top")] = str(box1[1] + 30)
    expect_layout(saved, expected, "at scale %g, " % scale)

ZOOM_SKIN = (2880, 1800)  # 16:10, larger than the screen: fit is below 100 % and leaves a grey band
ZOOM_BOX = (80, 68, 97, 22)  # the control window's zoom box, in its client area


def run_zoom(args, work, desktop):
    """A skin larger than the screen at 1:1, then fitted (Ctrl+0): the whole background on the
    screen, scaled, and the zoom said in the control window. A tab dragged by (40, 30) screen
    pixels at fit, nudged by Right and Shift+Down and saved lands at the travel divided by the
    zoom, rounded once, plus the nudge. Ctrl+1 shows it 1:1 again around the middle."""
    skin = os.path.join(work, "zoom")
    prepare_skin(args.sample, skin, ZOOM_SKIN, {"log1left": "0.45140", "log1top": "0.23334"})
    layout = os.path.join(skin, "ZqCSkin.ini")
    original = read_layout(layout)
    tab = Picture.from_bmp(os.path.join(skin, "zqLOG.bmp"))
    background = decode_with_imagemagick(os.path.join(skin, "zqLOCKPIC.jpg"))
    screen = Screen(desktop, background)
    tab_points = [(5, 5), (75, 22), (140, 38), (20, 40)]
    log_tab = (math.trunc(0.45140 * ZOOM_SKIN[0]), math.trunc(0.23334 * ZOOM_SKIN[1]))
    zoom = min(SCREEN[0] / ZOOM_SKIN[0], SCREEN[1] / ZOOM_SKIN[1])
    fitted = (round(ZOOM_SKIN[0] * zoom), round(ZOOM_SKIN[1] * zoom))
    scaled = decode_with_imagemagick_resized(os.path.join(skin, "zqLOCKPIC.jpg"), fitted)
    form = ((SCREEN[0] - FORM_SIZE[0]) // 2, (SCREEN[1] - FORM_SIZE[1]) // 2)
    form_client = (form[0] + FRAME_BORDER, form[1] + FRAME_BORDER + TITLE_HEIGHT)
    box = (form_client[0] + ZOOM_BOX[0], form_client[1] + ZOOM_BOX[1], ZOOM_BOX[2], ZOOM_BOX[3])

    def box_differs(shot, reference):
        x0, y0, w, h = box
        return sum(shot.at(x, y) != reference.at(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w))

    def shows_scaled(shot, rect, name):
        """The screen shows the background scaled to `fitted`, within the filters' differences."""
        x0, y0, w, h = rect
        off, count = 0, 0
        for y in range(y0, y0 + h, 3):
            for x in range(x0, x0 + w, 3):
                off += max(abs(a - b) for a, b in zip(shot.at(x, y), scaled.at(x, y))) > 24
                count += 1
        if off > count // 50:
            return "%s: the background is not shown scaled by %.4f (%d of %d pixels off)" % (name, zoom, off, count)
        return None

    designer = Designer(desktop, args.designer, [layout], os.path.join(work, "home-zoom"))
    try:
        preview = desktop.find_window("Zenqa界面设计")
        start = screen.wait_until("zoom-opened", lambda s: Screen.first_problem(
            Screen.picture_at(s, tab, log_tab, tab_points, "登陆 tab"),
            screen.background_shows(s, (100, 150, 640, 750), "background at 1:1")))

        # Ctrl+0: the whole background, scaled, grey past it; the control window says the zoom.
        desktop.xdotool("windowfocus", "--sync", preview)
        desktop.xdotool("key", "ctrl+0")
        screen.wait_until("zoom-fit", lambda s: Screen.first_problem(
            shows_scaled(s, (100, 150, 640, 750), "lettering and cup"),
            shows_scaled(s, (fitted[0] - 228, fitted[1] - 180, 228, 180), "far corner"),
            Screen.grey_at(s, [(fitted[0], 100), (fitted[0] + 10, fitted[1] - 1), (SCREEN[0] - 1, SCREEN[1] - 1)],
                           "band past the fitted background"),
            None if box_differs(s, start) > box[2] * box[3] // 5 else "the control window does not show the zoom"))

        # A drag of (40, 30) screen pixels at fit (Alt: no snapping), Right, Shift+Down, Ctrl+S.
        grab = (round((log_tab[0] + 75) * zoom), round((log_tab[1] + 22) * zoom))
        desktop.drag(grab, (grab[0] + 40, grab[1] + 30), alt=True)
        moved = (log_tab[0] + round(40 / zoom) + 1, log_tab[1] + round(30 / zoom) + 10)
        desktop.xdotool("windowfocus", "--sync", preview)
        desktop.xdotool("key", "--delay", 100, "Right", "shift+Down")
        time.sleep(0.5)
        desktop.xdotool("key", "ctrl+s")
        notice = desktop.find_window("zqdesigner")
        desktop.xdotool("windowfocus", "--sync", notice)
        desktop.xdotool("key", "Return")
        desktop.window_gone(notice)
        # The 登陆 tab exactly there, every other position at the pixel it had, the rest as it
        # was. Positions are compared as the pixels they read back as: the designer may step a
        # fraction's last digit so that it does.
        saved = read_layout(layout)

        def pixels(values):
            return {key: math.trunc(float(value) * (ZOOM_SKIN[0] if key[1].endswith("left") else ZOOM_SKIN[1]))
                    if key[0] == "normal" else value for key, value in values.items()}

        expected = pixels(original)
        expected[("normal", "log1left")], expected[("normal", "log1top")] = moved
        expect_layout(pixels(saved), expected, "at fit %.4f, " % zoom)

        # Ctrl+1: 1:1 again, the skin pixel in the middle of the view staying there (within a
        # pixel); the zoom box goes.
        middle = (SCREEN[0] // 2, SCREEN[1] // 2)
        ideal = [min(max(round(middle[i] / zoom) - middle[i], 0), ZOOM_SKIN[i] - SCREEN[i]) for i in (0, 1)]
        pans = [(ideal[0] + dx, ideal[1] + dy) for dx in (0, -1, 1) for dy in (0, -1, 1)]

        def one_to_one(shot):
            problems = []
            for pan in pans:
                problem = Screen.first_problem(
                    Screen.picture_at(shot, tab, (moved[0] - pan[0], moved[1] - pan[1]), tab_points, "登陆 tab"),
                    background_at_pan(shot, background, pan, (300, 300, 400, 100), "background"))
                if problem is None:
                    return None
                problems.append(problem)
            return "at no pan near %s: %s" % (tuple(ideal), problems[0])

        desktop.xdotool("windowfocus", "--sync", preview)
        desktop.xdotool("key", "ctrl+1")
        screen.wait_until("zoom-actual", lambda s: Screen.first_problem(
            one_to_one(s),
            None if box_differs(s, start) < box[2] * box[3] // 20 else "the zoom box still shows at 100 %"))

        desktop.click(centre(BUTTONS["关闭"], form_client))
        status = designer.wait_for_exit()
        if status != 0:
            raise Failure("zqdesigner ended with status %d" % status)
    finally:
        designer.stop()


def background_at_pan(shot, background, pan, rect, name):
    x0, y0, w, h = rect
    for y in range(y0, y0 + h, 4):
        for x in range(x0, x0 + w, 4):
            want, got = background.at(x + pan[0], y + pan[1]), shot.at(x, y)
            if max(abs(a - b) for a, b in zip(want, got)) > 40:
                return "%s: (%d, %d) is %s, the background has %s" % (name, x, y, got, want)
    return None



def keep_as_png(folder):
    for name in sorted(os.listdir(folder)):
        if name.endswith(".ppm"):
            ppm = os.path.join(folder, name)
            if subprocess.run(["convert", ppm, ppm[:-4] + ".png"]).returncode == 0:
                os.remove(ppm)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--designer", required=True)
    parser.add_argument("--only", choices=["scenario", "zoom", "big", "scaled", "skins"], help="run one part alone")
    parser.add_argument("--sample", required=True)
    parser.add_argument("--zqskin", required=True, help="checks and renders the skins the designer makes")
    parser.add_argument("--out", required=True, help="screenshots of a failing run stay here")
    parser.add_argument("--keep", action="store_true", help="keep the screenshots of a passing run too")
    parser.add_argument("--launcher", help="runs the designer through this program (wine)")
    parser.add_argument("--display", default=os.environ.get("ZQ_E2E_DISPLAY"),
                        help="an X display of %dx%d to use instead of a new one (default: "
                             "$ZQ_E2E_DISPLAY); nothing else may show on it" % SCREEN)
    parser.add_argument("--skin-folder", default="skin", help="the skin's folder, under the scratch folder")
    parser.add_argument("--first-run-only", action="store_true",
                        help="only run 1 (open from the command line, drag, position, save, close) "
                             "and the zoom run")
    args = parser.parse_args()
    if args.launcher:
        Designer.launcher = [args.launcher]

    missing = [t for t in TOOLS if shutil.which(t) is None]
    if missing:
        print("skipped: missing " + ", ".join(missing) + " (scripts/setup --test installs them)")
        return 77

    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    with tempfile.TemporaryDirectory(prefix="zqdesigner-e2e-") as work:
        desktop = Desktop(args.out, args.display)
        try:
            if args.only in (None, "scenario"):
                run_scenario(args, work, desktop)
            if args.only in (None, "zoom"):
                run_zoom(args, work, desktop)
            if not args.first_run_only:
                if args.only in (None, "big"):
                    run_big_skin(args, work, desktop)
                if args.only in (None, "scaled"):
                    for scale in SCALES:
                        run_scaled(args, work, desktop, scale)
                if args.only in (None, "skins"):
                    run_skins(args, work, desktop)
        except (Failure, subprocess.SubprocessError) as e:
            print("FAILED: %s" % e)
            print("screenshots and the program's output: " + args.out)
            keep_as_png(args.out)
            return 1
        finally:
            desktop.close()
    if args.keep:
        keep_as_png(args.out)
    else:
        shutil.rmtree(args.out, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
