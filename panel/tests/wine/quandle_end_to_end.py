#!/usr/bin/env python3
"""End-to-end test of Quandle.exe under Wine, driven from outside as a user would.

Runs inside scripts/wine-run.sh --display (a private Xvfb and Wine prefix). The program runs
from a copy of its build folder named with letters that no code page holds (so the service
starter, which Wine's missing services always call for, must be started through the wide shell
call), beside the stand-in OmbrivueLib.dll, which follows the scenario file
named by OMBRIVUE_SIM_SCRIPT (appended to while the program runs) and records every library
call in OMBRIVUE_SIM_LOG. Input is X input through xdotool; what the window shows is read back
from screenshots of the root window at points that the skin and the layout table name. The
browser is a recording stand-in that writes each start to OV_RECORD_FILE.

Every wait polls for its condition with a generous limit, so a loaded machine only makes the
test slower. With --screenshots DIR (or OV_SCREENSHOT_DIR) the screenshots of the steps are kept
there as PNG files.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1280, 1024  # the runner's Xvfb screen
FRAME_W, FRAME_H = 800, 572

# Client points of skin.xml's layout (window 800 x 572, no Windows frame): the header is 48
# high with 28-pixel buttons four pixels apart, the last one 12 from the right edge, so they
# are placed from the right edge (centre distances below); the play button is 128 square,
# centred in the stage right of the 280-wide "mainpos"; the receiver list's first row is 20
# high below the list title.
SETBTN = 154
PLAYLISTSHOWBTN = 122
MINBTN = 90
CLOSEBTN = 26
PLAY_LEFT, PLAY_TOP = 476, 202
PLAY_CENTRE = (PLAY_LEFT + 64, PLAY_TOP + 64)
PLAY_DISC = (PLAY_LEFT + 64, PLAY_TOP + 20)  # inside the disc, above the symbol
FIRST_ROW = (26, 92, 200, 108)  # left, top, right, bottom of the row's text

WAIT = 60  # seconds for any one condition
INSTALL_FOLDER = "Quandle-\u89c6\u9891-\u00dcn\u00efc\u00f8d\u00e9"  # "Quandle-视频-Ünïcødé"
SLOW_CALL_MS = 3000


class Failure(Exception):
    pass


def log(text):
    print(text, flush=True)


def run(args, timeout=60, check=True):
    result = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise Failure(f"{args[0]} failed ({result.returncode}): {result.stderr.strip()}")
    return result


def wait_for(what, condition, limit=WAIT, interval=0.25):
    start = time.monotonic()
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() - start > limit:
            raise Failure(f"timed out after {limit} s waiting for {what}")
        time.sleep(interval)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Screen:
    """One screenshot of the root window, as 8-bit RGB."""

    def __init__(self, folder, name):
        self.path = os.path.join(folder, name + ".ppm")
        run(["import", "-window", "root", "-depth", "8", "ppm:" + self.path])
        with open(self.path, "rb") as f:
            data = f.read()
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        if not match:
            raise Failure("the screenshot is not a binary PPM")
        self.width, self.height = int(match.group(1)), int(match.group(2))
        self.pixels = data[match.end():]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def crop(self, left, top, right, bottom):
        return b"".join(
            self.pixels[(y * self.width + left) * 3:(y * self.width + right) * 3]
            for y in range(top, bottom))

    def save_png(self, path):
        run(["convert", self.path, path])


class Panel:
    """The program under test and the outside world around it."""

    def __init__(self, program_folder, probe, work, screenshots, recorder):
        self.program_folder = install(program_folder, os.path.join(work, INSTALL_FOLDER), recorder)
        self.probe_exe = probe
        self.work = work
        self.screenshots = screenshots
        self.script = os.path.join(work, "scenario.txt")
        self.call_log = os.path.join(work, "calls.log")
        open(self.script, "w").close()
        self.env = dict(os.environ)
        self.env["OMBRIVUE_SIM_SCRIPT"] = windows_path(self.script)
        self.env["OMBRIVUE_SIM_LOG"] = windows_path(self.call_log)
        self.browser_log = os.path.join(work, "browser.txt")
        self.env["OV_RECORD_FILE"] = windows_path(self.browser_log)
        # Wine prefers its own programs in the system folder; the stand-in must run instead.
        overrides = [o for o in [self.env.get("WINEDLLOVERRIDES"), "iexplore.exe=n"] if o]
        self.env["WINEDLLOVERRIDES"] = ";".join(overrides)
        self.shots = 0
        self.process = None

    def start(self):
        return subprocess.Popen(["wine", os.path.join(self.program_folder, "Quandle.exe")],
                                cwd=self.program_folder, env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def scenario(self, *lines):
        with open(self.script, "a", encoding="utf-8") as f:
            for line in lines:
                f.write(line + "\n")

    def browser_starts(self):
        try:
            with open(self.browser_log, encoding="utf-8", errors="replace") as f:
                return [line.split("\t") for line in f.read().splitlines()]
        except FileNotFoundError:
            return []

    def calls(self):
        try:
            with open(self.call_log, encoding="utf-8") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def probe(self):
        """('visible' or 'hidden', (left, top, right, bottom)), or None without a window."""
        result = run(["wine", self.probe_exe], check=False, timeout=60)
        fields = result.stdout.split()
        if result.returncode != 0 or len(fields) != 5:
            return None
        return fields[0], tuple(int(v) for v in fields[1:])

    def frame_state(self, state):
        found = self.probe()
        return found if found and found[0] == state else None

    def origin(self):
        found = wait_for("the frame window", self.probe)
        return found[1][0], found[1][1]

    def screen(self, keep_as=None):
        self.shots += 1
        shot = Screen(self.work, f"shot{self.shots}")
        if keep_as and self.screenshots:
            shot.save_png(os.path.join(self.screenshots, keep_as))
        return shot

    def client_pixel(self, shot, point):
        left, top = self.origin()
        return shot.pixel(left + point[0], top + point[1])

    def click_header(self, from_right):
        width = frame_size(self)[0]
        self.click((width - from_right, 24))

    def click(self, point, button=1, repeat=1):
        left, top = self.origin()
        run(["xdotool", "mousemove", str(left + point[0]), str(top + point[1])])
        time.sleep(0.2)  # let the hover state settle before the press
        run(["xdotool", "click", "--repeat", str(repeat), "--delay", "120", str(button)])


def install(build_folder, folder, recorder):
    """Copies the program, its library, the starter and the skin to the folder, and puts the
    recording stand-in where the shell finds "iexplore.exe": Wine's shell looks in the system
    folder before the program's own, so it replaces Wine's browser in this private prefix."""
    os.makedirs(folder)
    for name in ("Quandle.exe", "OmbrivueLib.dll", "QuandleStarter.exe"):
        shutil.copy(os.path.join(build_folder, name), folder)
    shutil.copytree(os.path.join(build_folder, "skin"), os.path.join(folder, "skin"))
    shutil.copy(recorder, os.path.join(os.environ["OV_DRIVE_C"], "windows", "system32",
                                       "iexplore.exe"))
    # Wine's menu font has no CJK letters: link the system's CJK font (fonts-wqy-microhei)
    # behind it, as a Chinese Windows links its own, so the tray menu shows its item's text.
    run(["wine", "reg", "add",
         "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink",
         "/v", "Tahoma", "/t", "REG_MULTI_SZ", "/d", "wqy-microhei.ttc,WenQuanYi Micro Hei", "/f"])
    return folder


def is_play_image(pixel):
    r, g, b = pixel
    return b > 180 and r < 100


def is_stop_image(pixel):
    r, g, b = pixel
    return r > 180 and b < 120


def has_text(shot, panel, box):
    """True when the box holds near-white pixels (the receiver row's text colour)."""
    left, top = panel.origin()
    for y in range(top + box[1], top + box[3]):
        for x in range(left + box[0], left + box[2]):
            if min(shot.pixel(x, y)) > 200:
                return True
    return False


def wait_for_play_button(panel, predicate, what):
    def check():
        shot = panel.screen()
        return shot if predicate(panel.client_pixel(shot, PLAY_DISC)) else None
    return wait_for(what, check)


def tray_window():
    result = run(["xdotool", "search", "--onlyvisible", "--name", "^Wine System Tray$"],
                 check=False)
    return result.stdout.split()[0] if result.stdout.split() else None


def tray_icon_point():
    """The first icon slot of Wine's standalone tray window, in screen coordinates.

    Without a system tray on the X display, Wine 8's explorer shows the notification area as
    a small top-level window "Wine System Tray" with one 20-pixel slot per icon."""
    window = wait_for("Wine's tray window", tray_window)
    geometry = run(["xwininfo", "-id", window]).stdout
    x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", geometry).group(1))
    y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", geometry).group(1))
    return x + 10, y + 10


def visible_windows():
    result = run(["xdotool", "search", "--onlyvisible", "--name", ".*"], check=False)
    return set(result.stdout.split())


def window_size(window):
    geometry = run(["xwininfo", "-id", window], check=False).stdout
    w = re.search(r"Width:\s+(\d+)", geometry)
    h = re.search(r"Height:\s+(\d+)", geometry)
    return (int(w.group(1)), int(h.group(1))) if w and h else (0, 0)


def painted_skin(panel, shot):
    header = panel.client_pixel(shot, (400, 4))
    r, g, b = panel.client_pixel(shot, (10, 24))
    return brightness(header) > 60 and b > 150 and r < 120


def step_window_appears(panel):
    log("step: the window appears centred with its title and class")
    # The window is created visible at (0, 0) and centred right after.
    left = (SCREEN_W - FRAME_W) // 2
    top = (SCREEN_H - FRAME_H) // 2
    expected = (left, top, left + FRAME_W, top + FRAME_H)
    try:
        found = wait_for("the visible, centred frame window",
                         lambda: (lambda f: f if f and f[1] == expected else None)(
                             panel.frame_state("visible")))
    except Failure:
        raise Failure(f"frame window {panel.probe()}, expected visible at {expected}") from None
    x_windows = run(["xdotool", "search", "--onlyvisible", "--name", "^Quandle 1.0$"]).stdout
    if not x_windows.split():
        raise Failure("no visible X window titled 'Quandle 1.0'")
    # The skin is painted: the header strip of bkimg01.png is lighter than the black screen
    # and the brand mark beside the title is blue.
    wait_for("the painted skin", lambda: painted_skin(panel, panel.screen()))
    log(f"  window of class VU365MainFrame at {found[1]}; X window {x_windows.split()[0]}")


def step_searching(panel):
    log("step: no receiver, the searching animation runs")
    frames = set()

    def animated():
        shot = panel.screen("quandle-searching.png" if not frames else None)
        left, top = panel.origin()
        frames.add(shot.crop(left + PLAY_LEFT, top + PLAY_TOP, left + PLAY_LEFT + 128,
                             top + PLAY_TOP + 128))
        return len(frames) >= 3
    wait_for("three different frames of the play button", animated, interval=0.3)
    if any(c.startswith("ServiceInit") for c in panel.calls()):
        raise Failure("a receiver was bound while there was none")
    log(f"  {len(frames)} different play-button images seen")


def step_receiver_appears(panel):
    log("step: a receiver appears, its row shows and Play.png is enabled")
    if has_text(panel.screen(), panel, FIRST_ROW):
        raise Failure("the receiver list shows a row before any receiver exists")
    panel.scenario("add Living Room|http://192.168.1.20/|1-00-003")
    wait_for("the receiver to be bound",
             lambda: "SetSelectDevice(0)" in panel.calls() and "ServiceInit(0)" in panel.calls())
    shot = wait_for_play_button(panel, is_play_image, "Play.png on the play button")
    wait_for("the receiver's row", lambda: has_text(panel.screen("quandle-receiver.png"), panel,
                                                    FIRST_ROW))
    log(f"  play disc {panel.client_pixel(shot, PLAY_DISC)}; row text shown")


def step_play(panel):
    log("step: a click on play sends SetPlay and hides the window to the tray")
    panel.click(PLAY_CENTRE)
    expected = "SetCommand(0,SetPlay,1_1_1_8554_1_1)"
    wait_for(expected, lambda: expected in panel.calls())
    calls = panel.calls()
    play_at = calls.index(expected)
    before = calls[:play_at]
    if "SetVideoMode(3)" not in before or "SetVirtualExtend(0)" not in before:
        raise Failure(f"SetVideoMode(3) and SetVirtualExtend(0) must precede SetPlay: {before[-8:]}")
    wait_for("the window to hide", lambda: panel.frame_state("hidden"))
    # X unmaps the window a moment after Windows hides it.
    wait_for("the window off the screen", lambda: not run(
        ["xdotool", "search", "--onlyvisible", "--name", "^Quandle 1.0$"], check=False).stdout.split())
    panel.screen("quandle-tray.png")
    log(f"  log: {expected}; window hidden")


def step_streaming_and_tray(panel):
    log("step: varPlay True, then a double-click on the tray icon brings the window back")
    polls = panel.calls().count("BackgroundTask")
    panel.scenario("variable varPlay|True")
    # Two polls later the report has surely been taken.
    wait_for("two more polls", lambda: panel.calls().count("BackgroundTask") >= polls + 2)
    x, y = tray_icon_point()
    run(["xdotool", "mousemove", str(x), str(y)])
    time.sleep(0.2)
    run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"])
    wait_for("the window to come back", lambda: panel.frame_state("visible"))
    shot = wait_for_play_button(panel, is_stop_image, "Stop.png on the play button")
    panel.screen("quandle-streaming.png")
    log(f"  tray icon at ({x}, {y}); play disc {panel.client_pixel(shot, PLAY_DISC)}")


def step_stop(panel):
    log("step: a click on stop sends SetStop")
    panel.click(PLAY_CENTRE)
    wait_for("SetStop", lambda: "SetCommand(0,SetStop,)" in panel.calls())
    panel.scenario("variable varPlay|False")
    wait_for_play_button(panel, is_play_image, "Play.png after varPlay False")
    log("  log: SetCommand(0,SetStop,); Play.png again")


def step_select_receiver(panel):
    log("step: a second receiver appears; a double-click on its row binds it")
    panel.scenario("add Studio|http://192.168.1.21/|1-00-00")
    second_row = (26, 112, 200, 128)
    wait_for("the second row", lambda: has_text(panel.screen(), panel, second_row))
    panel.click((60, 120), repeat=2)
    wait_for("receiver 1 bound",
             lambda: "SetSelectDevice(1)" in panel.calls() and "ServiceInit(1)" in panel.calls())
    wait_for_play_button(panel, is_play_image, "Play.png for receiver 1")
    log("  log: ServiceInit(1), SetSelectDevice(1); Play.png")


def row_point(index, x):
    return (x, 100 + 20 * index)


def step_web_links(panel):
    log("step: a row's web link opens an http address in the browser, and nothing else")
    panel.scenario("add Program|C:\\windows\\system32\\notepad.exe|1-00-00",
                   "add Share|\\\\server\\share\\setup.exe|1-00-00")
    wait_for("the fourth row", lambda: has_text(panel.screen(), panel, (26, 152, 200, 168)))
    link_x = 252  # the link icon at the row's right edge
    panel.click(row_point(0, link_x), repeat=2)
    started = wait_for("the browser's start", panel.browser_starts)
    if len(started) != 1 or started[0][0] != "iexplore.exe" or \
            started[0][2] != '"http://192.168.1.20/"':
        raise Failure(f"the browser was not started with the quoted address: {started}")
    seen = len(debug_lines())
    for row in (2, 3):
        panel.click(row_point(row, link_x), repeat=2)
    refused = wait_for("two refusals in the debug output", lambda: (lambda lines: lines if len(
        lines) >= 2 else None)([line for line in debug_lines()[seen:]
                                if line.startswith("Quandle: not a web address")]))
    time.sleep(1)  # a start would have been recorded by now
    if len(panel.browser_starts()) != 1:
        raise Failure(f"a program or share address was started: {panel.browser_starts()}")
    log(f"  browser started once with {started[0][2]}; refused: {refused}")


def wait_for_debug_line(what, prefix, seen):
    return wait_for(what, lambda: next((line for line in debug_lines()[seen:]
                                        if line.startswith(prefix)), None))


def step_slow_play(panel):
    log(f"step: during a {SLOW_CALL_MS} ms play command the window repaints and a second click "
        "sends nothing")
    commands = sum(c.startswith("SetCommand") for c in panel.calls())
    seen = len(debug_lines())
    # Inside the slow call every look is an X call: starting a Wine probe takes too long.
    left, top = panel.origin()
    window = run(["xdotool", "search", "--onlyvisible", "--name", "^Quandle 1.0$"]).stdout.split()[0]

    def click_now(point):
        run(["xdotool", "mousemove", str(left + point[0]), str(top + point[1]), "click", "1"])

    def settings_card_painted():
        shot = Screen(panel.work, "slow")
        x, y = left + 720, top + FRAME_H + 30
        return brightness(shot.pixel(x, y)) > brightness(shot.pixel(left + FRAME_W - 5, y)) + 12

    # Refused, so the window stays to be looked at afterwards.
    panel.scenario("commands refuse", f"delay SetCommand {SLOW_CALL_MS}")
    clicked = time.monotonic()
    click_now(PLAY_CENTRE)
    wait_for_debug_line("the slow SetCommand", "OmbrivueLib: ZYNOV_SetCommand takes", seen)
    inside = time.monotonic()
    click_now(PLAY_CENTRE)
    click_now((FRAME_W - SETBTN, 24))
    wait_for("the taller window", lambda: window_size(window) == (FRAME_W, FRAME_H + 60),
             limit=10, interval=0.05)
    wait_for("the settings card painted", settings_card_painted, limit=10, interval=0.05)
    painted = time.monotonic()
    if sum(c.startswith("SetCommand") for c in panel.calls()) > commands:
        raise Failure("the window changed only after the slow call had ended")
    wait_for("the answer", lambda: sum(c.startswith("SetCommand") for c in panel.calls()) > commands)
    done = time.monotonic()
    time.sleep(1)  # a second command, had one been sent, would be under way by now
    sent = sum(c.startswith("SetCommand") for c in panel.calls()) - commands
    panel.scenario("delay SetCommand 0", "commands accept")
    panel.click_header(SETBTN)
    wait_for("the starting size again", lambda: frame_size(panel) == (FRAME_W, FRAME_H))
    slow = [l for l in debug_lines()[seen:] if l.startswith("OmbrivueLib: ZYNOV_SetCommand")]
    if sent != 1 or len(slow) != 1:
        raise Failure(f"{sent} SetCommand calls ({len(slow)} slow) for two clicks during one call")
    log(f"  call under way {inside - clicked:.2f} s after the click; resized and repainted "
        f"{painted - inside:.2f} s into the call; answer {done - clicked:.2f} s after the click; "
        "one SetCommand")


def frame_size(panel):
    found = panel.probe()
    return (found[1][2] - found[1][0], found[1][3] - found[1][1]) if found else None


def brightness(pixel):
    return sum(pixel)


def card_drawn(panel, shot, point, frame_width):
    """True when a card of the background covers the point: it is lighter than the bare
    background at the window's right edge in the same row (the vertical gradient is the
    same across a row)."""
    edge = panel.client_pixel(shot, (frame_width - 5, point[1]))
    return brightness(panel.client_pixel(shot, point)) > brightness(edge) + 12


def debug_lines():
    """The debug output of every process in the prefix, without the process ids."""
    try:
        with open(os.environ["OV_DEBUG_LOG"], encoding="utf-8", errors="replace") as f:
            return [line.split("\t", 1)[-1] for line in f.read().splitlines()]
    except (KeyError, FileNotFoundError):
        return []


def choose_extended_topology(panel):
    """"Extend" in the display list "setview" (third row band of the open play list: the
    list starts below its 28-high title, rows 24 high) applies topology 4 through Windows:
    Wine reports Windows 7, so the display-configuration path runs."""
    seen = len(debug_lines())
    panel.click((FRAME_W + 30, 90 + 24 + 12))
    outcome = re.compile(r"^(ERRO_SUCESS|ERROR_[A-Z_]+|unkonw)$")

    def finished():
        new = debug_lines()[seen:]
        return new if any(outcome.match(line) for line in new) else None
    lines = wait_for("the topology's SetDisplayConfig outcome", finished)
    if lines[:2] != ["WIN_VER_WIN7", "Win7"]:
        raise Failure(f"the topology did not start with WIN_VER_WIN7, Win7: {lines[:4]}")
    log(f"  topology 4: {len(lines)} debug lines, {lines[:3]} ... {lines[-3:]}")


def step_layout_toggles(panel):
    log("step: setbtn and playlistshowbtn grow and shrink the window and change backgrounds")
    plain = panel.screen()
    # Points that only the cards of the taller and wider backgrounds cover: the settings card
    # behind "setpos" (bkimg02, bkimg04) and the display card behind "playlist" (bkimg03,
    # bkimg04), both where no control of theirs is drawn.
    settings_card = (720, FRAME_H + 30)
    side_card = (FRAME_W + 50, 400)

    def layout(size, settings, side, keep_as=None):
        wait_for(f"a window of {size}", lambda: frame_size(panel) == size)

        def painted():
            shot = panel.screen()
            return ((not settings or card_drawn(panel, shot, settings_card, size[0])) and
                    (not side or card_drawn(panel, shot, side_card, size[0])) and
                    (settings or not card_drawn(panel, shot, (720, size[1] - 30), size[0])))
        wait_for(f"the background of {size}", painted)
        if keep_as:
            panel.screen(keep_as)

    panel.click_header(SETBTN)
    layout((FRAME_W, FRAME_H + 60), True, False)
    panel.click_header(PLAYLISTSHOWBTN)
    layout((FRAME_W + 100, FRAME_H + 60), True, True, "quandle-settings-playlist.png")
    choose_extended_topology(panel)
    panel.click_header(SETBTN)
    layout((FRAME_W + 100, FRAME_H), False, True)
    panel.click_header(PLAYLISTSHOWBTN)
    wait_for("the starting size again", lambda: frame_size(panel) == (FRAME_W, FRAME_H))

    def back_to_start():
        shot = panel.screen()
        return all(abs(brightness(panel.client_pixel(shot, p)) -
                       brightness(panel.client_pixel(plain, p))) < 12
                   for p in [(700, 400), (20, 300), (400, 540)])
    wait_for("bkimg01.png again", back_to_start)
    log("  800x572 -> 800x632 -> 900x632 -> 900x572 -> 800x572, cards drawn as expected")


def step_caption(panel):
    log("step: the caption area drags the window and a double-click there does not maximise")
    start = panel.probe()[1]
    caption = (400, 24)  # the header, on the title label: a caption, not a button
    panel.click(caption, repeat=2)
    time.sleep(1)  # a maximise would have happened by now
    if panel.probe()[1] != start:
        raise Failure(f"a double-click on the caption changed the window: {panel.probe()[1]}")
    x, y = start[0] + caption[0], start[1] + caption[1]
    run(["xdotool", "mousemove", str(x), str(y), "mousedown", "1"])
    for step in range(1, 6):
        time.sleep(0.1)
        run(["xdotool", "mousemove", str(x + 10 * step), str(y + 6 * step)])
    run(["xdotool", "mouseup", "1"])
    moved = tuple(v + d for v, d in zip(start, (50, 30, 50, 30)))
    wait_for("the dragged window", lambda: panel.probe()[1] == moved)
    log(f"  unchanged after the double-click; dragged from {start[:2]} to {moved[:2]}")


def step_second_start(panel):
    log("step: a second start brings the hidden window forward and ends with 0")
    panel.click_header(MINBTN)
    wait_for("the window to hide", lambda: panel.frame_state("hidden"))
    second = panel.start()
    code = second.wait(timeout=WAIT * 2)
    if code != 0:
        raise Failure(f"the second instance ended with {code}")
    wait_for("the window to come back", lambda: panel.frame_state("visible"))
    if panel.process.poll() is not None:
        raise Failure("the first instance ended")
    # Restored: the icon is gone, and with the last icon Wine's tray window.
    wait_for("the tray icon to go", lambda: not tray_window(), limit=15)
    log("  second instance exit code 0; first window visible again; tray icon removed")


def step_exit_from_tray(panel):
    log("step: the tray menu's item ends the program as closebtn does")
    panel.click_header(MINBTN)
    wait_for("the window to hide", lambda: panel.frame_state("hidden"))
    x, y = tray_icon_point()
    run(["xdotool", "mousemove", str(x), str(y)])
    # The icon's tip shows on hover; it must not be taken for the menu.
    time.sleep(1.5)
    before = visible_windows()
    run(["xdotool", "click", "3"])

    def menu():
        for window in visible_windows() - before:
            w, h = window_size(window)
            if 20 < w < 400 and 10 < h < 100:
                return window
        return None
    window = wait_for("the tray menu", menu)
    panel.screen("quandle-tray-menu.png")
    geometry = run(["xwininfo", "-id", window]).stdout
    mx = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", geometry).group(1))
    my = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", geometry).group(1))
    w, h = window_size(window)
    run(["xdotool", "mousemove", str(mx + w // 2), str(my + h // 2)])
    time.sleep(0.3)
    run(["xdotool", "click", "1"])
    code = panel.process.wait(timeout=WAIT)
    if code != 0:
        raise Failure(f"the program ended with {code}")
    calls = panel.calls()
    if not calls or calls[-1] != "LibraryDestroy":
        raise Failure(f"the last library call is not LibraryDestroy: {calls[-3:]}")
    log(f"  menu {w}x{h} at ({mx}, {my}); exit code 0; last call LibraryDestroy")


def step_closebtn(panel):
    log(f"step: closebtn ends a fresh instance the same way, also during a {SLOW_CALL_MS} ms "
        "poll call")
    panel.process = panel.start()
    wait_for("the visible frame window", lambda: panel.frame_state("visible"))
    destroyed = panel.calls().count("LibraryDestroy")
    seen = len(debug_lines())
    panel.scenario(f"delay BackgroundTask {SLOW_CALL_MS}")
    wait_for_debug_line("a slow poll", "OmbrivueLib: ZYNOV_BackgroundTask takes", seen)
    clicked = time.monotonic()
    panel.click_header(CLOSEBTN)
    wait_for("the window to go", lambda: not panel.frame_state("visible"), limit=10)
    gone = time.monotonic()
    code = panel.process.wait(timeout=WAIT)
    ended = time.monotonic()
    panel.scenario("delay BackgroundTask 0")
    if code != 0:
        raise Failure(f"the program ended with {code}")
    calls = panel.calls()
    if calls.count("LibraryDestroy") != destroyed + 1 or calls[-1] != "LibraryDestroy" or \
            calls[-2] != "BackgroundTask":
        raise Failure(f"closebtn did not end with LibraryDestroy after the slow call: {calls[-3:]}")
    log(f"  window gone {gone - clicked:.2f} s and program ended {ended - clicked:.2f} s after "
        "the click; exit code 0; BackgroundTask, then LibraryDestroy last")


def step_close_message(panel):
    log("step: WM_CLOSE from another program ends the program the same way")
    panel.process = panel.start()
    wait_for("the visible frame window", lambda: panel.frame_state("visible"))
    destroyed = panel.calls().count("LibraryDestroy")
    run(["wine", panel.probe_exe, "close"])
    code = panel.process.wait(timeout=WAIT)
    if code != 0:
        raise Failure(f"the program ended with {code}")
    if panel.calls().count("LibraryDestroy") != destroyed + 1:
        raise Failure("WM_CLOSE did not end with LibraryDestroy")
    log("  exit code 0; last call LibraryDestroy")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program-folder", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--screenshots", default=os.environ.get("OV_SCREENSHOT_DIR"))
    args = parser.parse_args()
    for tool in ("xdotool", "xwininfo", "import", "convert", "wine"):
        if shutil.which(tool) is None:
            log(f"skipped: {tool} is not installed")
            return 77
    if args.screenshots:
        os.makedirs(args.screenshots, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="quandle-e2e.") as work:
        panel = Panel(args.program_folder, args.probe, work, args.screenshots, args.recorder)
        # A receiver that offers H.264 and the second capability bit ("1-00-003": digit 3).
        panel.scenario("port 8554", "h264 1", "videomode 1", "extscreen 0", "localaudio 0",
                       "playreports off")
        panel.process = panel.start()
        try:
            for step in (step_window_appears, step_searching, step_receiver_appears, step_play,
                         step_streaming_and_tray, step_stop, step_select_receiver,
                         step_web_links, step_layout_toggles, step_slow_play, step_caption,
                         step_second_start, step_exit_from_tray, step_closebtn,
                         step_close_message):
                step(panel)
        except (Failure, subprocess.TimeoutExpired) as error:
            log(f"FAILED: {error}")
            polls = ("GetDeviceCount", "BackgroundTask")
            log("library calls but polls (last 30):\n  " + "\n  ".join(
                [c for c in panel.calls() if c not in polls][-30:]))
            if args.screenshots:
                panel.screen("quandle-failure.png")
            return 1
        finally:
            if panel.process.poll() is None:
                panel.process.kill()
    log("all steps passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
