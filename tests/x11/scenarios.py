#!/usr/bin/python3
"""Zelvano on a real X server, driven as a user drives it.

Installs the build into a temporary program folder, starts Xvfb with the
openbox window manager, and runs the installed `zelvano` through a few
scenarios with xdotool: typing, Enter, clicks on the pictures. It checks what
the user sees (window captions, which windows are shown, message boxes by
their exact title, window captures that are not blank) and what the program
stored (read back with `zelvano-cli dump`).

    scenarios.py --source SOURCE_DIR --build BUILD_DIR [--shots DIR] [NAME...]

Captures of every checked window are kept in the shots folder. Exit status 0
when every scenario passed, 1 when one failed, 77 when the X tools are
missing.
"""

import argparse
import csv
import ctypes
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

TIMEOUT = 15.0  # seconds to wait for anything the program should do
WM_TIMEOUT = 60.0  # seconds to wait for the window manager to start
POLL = 0.05

# Captions and titles, exactly as the program gives them.
LOGIN = " Zelvano - Autenticazione"
CHANGE = " Cambia password"
START = " Zelvano"
HELP = " Guida in linea"
CLIENTS = " Zelvano © - Anagrafica clienti"
CREATE = " Zelvano © - Creazione nuova fornitura"
OPEN = " Zelvano © - Apri fornitura esistente"
SHEET = " Zelvano ©"
PLAIN_BOX = "Zelvano"  # plain messages carry the application title
SAVED_NEW = "Salvataggio scheda effettuato con successo"
CONFIRM_DELETE = "Conferma cancellazione scheda"
SUPPLY_CREATED = "Salvataggio fornitura effettuato"

# Every main screen keeps its controls in a 995 x 688 container centred in
# the window: left = W div 2 - 497 - c, top = H div 2 - 344 - 18, with W x H
# the outer size (frame included); c is 8, or 4 for the create-supply window.
CONTAINER_SHIFT = {START: 8, CLIENTS: 8, CREATE: 4, OPEN: 8, SHEET: 8}

# Centres of the controls clicked, in container coordinates (from the
# windows' layouts).
AT = {
    START: {"btnClienti": (134, 278), "btnCrea": (624, 278), "btnForniture": (869, 278),
            "imgGuida": (963, 32), "imgEsci": (963, 649)},
    CLIENTS: {"cmdNuovo": (36, 43), "cmdSalva": (81, 43), "imgPrimo": (295, 43), "imgAvanti": (426, 43),
              "cmdElimina": (900, 43), "cmdEsci": (959, 43), "txtCodice": (376, 113), "txtPersona": (376, 163)},
    CREATE: {"imgApplica": (398, 494)},
    OPEN: {"firstSupply": (221, 160)},
    SHEET: {"cmdNuovo": (28, 31), "cmdSalva": (124, 31), "cmdExcel": (364, 31), "cmdEsci": (967, 31),
            "cmdStampa": (940, 398),
            "repTotaleStart": (809, 646), "repTotaleEnd": (993, 646)},
}


class Failure(Exception):
    pass


def end_with_us():
    """Run in a child before it starts: it gets SIGTERM when this script
    ends, however it ends (a test timeout included)."""
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def run(*args, env=None, check=True, input=None):
    done = subprocess.run(args, env=env, input=input, capture_output=True, timeout=60)
    if check and done.returncode != 0:
        raise Failure(f"{args[0]} failed ({done.returncode}): {done.stderr.decode(errors='replace')}")
    return done.stdout.decode("utf-8", errors="replace")


def wait_for(what, condition, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(POLL)


class Desktop:
    """Xvfb with openbox, and the xdotool calls the scenarios need."""

    def __init__(self, workdir, shots):
        self.shots = shots
        self.shot_count = 0
        self.env = dict(os.environ)
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=end_with_us)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env["HOME"] = workdir
        self.env["LC_ALL"] = "C.UTF-8"  # captions and clipboard texts in UTF-8
        runtime = os.path.join(workdir, "run")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env["XDG_RUNTIME_DIR"] = runtime
        self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   preexec_fn=end_with_us)
        # The window manager's first start on a fresh machine builds its font
        # caches, and the benchmarks' smoke run shares the cores meanwhile.
        wait_for("the window manager", lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in
                 self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False), timeout=WM_TIMEOUT)

    def close(self):
        for p in (self.wm, self.xvfb):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()

    def x(self, *args, check=True):
        return run(*args, env=self.env, check=check)

    # ---- windows ----

    def visible(self):
        """Captions of the windows on screen, by window id: the window
        manager's list, which hidden windows leave."""
        names = {}
        for line in self.x("wmctrl", "-l", check=False).splitlines():
            # "0x00400006  0 host  Caption": the caption keeps its own blanks.
            m = re.match(r"(0x[0-9a-fA-F]+) +-?\d+ \S+ (.*)$", line)
            if m:
                names[m.group(1)] = m.group(2)
        return names

    def window(self, name, timeout=TIMEOUT):
        """Waits until a window with exactly this caption is shown; its id."""
        def find():
            return next((w for w, n in self.visible().items() if n == name), None)
        try:
            return wait_for(f"window {name!r}", find, timeout)
        except Failure:
            raise Failure(f"no window {name!r}; shown: {sorted(self.visible().values())}")

    def gone(self, name):
        wait_for(f"window {name!r} to close", lambda: name not in self.visible().values())

    def shown_names(self):
        return sorted(self.visible().values())

    def focus(self, w):
        self.x("xdotool", "windowactivate", w, check=False)
        wait_for("the window to take the focus",
                 lambda: int(self.x("xdotool", "getactivewindow", check=False) or "0") == int(w, 16))

    def geometry(self, w):
        """Client origin on the screen and outer size (frame included)."""
        info = self.x("xwininfo", "-id", w)
        get = lambda key: int(next(l.split(":")[1] for l in info.splitlines() if l.strip().startswith(key)))
        x, y, width, height = get("Absolute upper-left X"), get("Absolute upper-left Y"), get("Width"), get("Height")
        left, right, top, bottom = self.frame(w)
        return x, y, width + left + right, height + top + bottom

    def frame(self, w):
        line = self.x("xprop", "-id", w, "_NET_FRAME_EXTENTS", check=False)
        if "=" not in line:
            return 0, 0, 0, 0
        return tuple(int(v) for v in line.split("=")[1].split(","))

    def point(self, screen, control):
        w = self.window(screen)
        x, y, outer_w, outer_h = self.geometry(w)
        cx = outer_w // 2 - 497 - CONTAINER_SHIFT[screen]
        cy = outer_h // 2 - 344 - 18
        px, py = AT[screen][control]
        return x + cx + px, y + cy + py

    def click(self, screen, control, double=False):
        x, y = self.point(screen, control)
        self.x("xdotool", "mousemove", "--sync", str(x), str(y))
        self.x("xdotool", "click", "--repeat", "2" if double else "1", "--delay", "80", "1")

    def select(self, screen, control):
        """Selects a label's text by dragging across it (the X primary
        selection then holds it)."""
        (x0, y), (x1, _) = self.point(screen, control + "Start"), self.point(screen, control + "End")
        self.x("xdotool", "mousemove", "--sync", str(x0), str(y), "mousedown", "1")
        self.x("xdotool", "mousemove", "--sync", str(x1), str(y), "mouseup", "1")

    # ---- keyboard ----

    def type(self, text):
        """Types the text. Letters outside ASCII are pasted instead: xdotool
        types them by remapping a key on the fly, and the program may see the
        key before the new mapping (a lost or wrong letter)."""
        if text.isascii():
            self.x("xdotool", "type", "--delay", "15", text)
            return
        self.put_in_clipboard(text)
        self.key("ctrl+v")

    def put_in_clipboard(self, text):
        # xclip stays behind to serve the selection: no pipes to wait on.
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], env=self.env, input=text.encode(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30, check=True)
        wait_for("the clipboard to hold the text", lambda: self.copied() == text)

    def key(self, *keys):
        self.x("xdotool", "key", "--delay", "15", *keys)

    def copied(self, selection="clipboard"):
        return self.x("xclip", "-o", "-selection", selection, check=False)

    def read_box(self, screen, control, expected):
        """Copies a box's text through the clipboard; waits for `expected`."""
        self.put_in_clipboard("(nulla)")  # nothing left over from before
        self.click(screen, control)
        self.key("ctrl+a", "ctrl+c")
        try:
            return wait_for(f"{control} to show {expected!r}", lambda: self.copied() == expected)
        except Failure:
            raise Failure(f"{control} shows {self.copied()!r}, expected {expected!r}")

    # ---- captures ----

    def capture(self, name, label):
        """Captures the window itself (a whole-screen capture shows modal
        dialogs black under Xvfb) and checks that it is not blank."""
        w = self.window(name)
        self.shot_count += 1
        path = os.path.join(self.shots, f"{self.shot_count:02d}-{label}.png")
        xwd = subprocess.run(["xwd", "-silent", "-id", w], env=self.env, capture_output=True, timeout=30)
        if xwd.returncode != 0:
            raise Failure(f"cannot capture {name!r}")
        subprocess.run(["convert", "xwd:-", path], input=xwd.stdout, check=True, timeout=30)
        colours = int(run("convert", path, "-format", "%k", "info:"))
        if colours < 16:
            raise Failure(f"the capture of {name!r} is blank ({colours} colours): {path}")
        return path


class Program:
    """One run of the installed zelvano; `extra` adds to its environment, and
    a value of None removes a variable."""

    def __init__(self, desktop, folder, extra=None):
        env = dict(desktop.env)
        env["QT_QPA_PLATFORM"] = "xcb"  # the suite sets offscreen for the other tests
        for key, value in (extra or {}).items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        self.log = open(os.path.join(desktop.shots, "zelvano.log"), "ab")
        self.process = subprocess.Popen([os.path.join(folder, "zelvano")], cwd=folder, env=env,
                                        stdout=self.log, stderr=self.log, preexec_fn=end_with_us)

    def ended(self):
        try:
            return self.process.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


def set_password(folder, password):
    run(os.path.join(folder, "zelvano-cli"), "password", folder, input=(password + "\n").encode())


def dump(folder, name):
    out = run(os.path.join(folder, "zelvano-cli"), "dump", os.path.join(folder, name))
    return [json.loads(line) for line in out.splitlines()]


def expect(what, actual, wanted):
    if actual != wanted:
        raise Failure(f"{what}: {actual!r}, expected {wanted!r}")


def dismiss(d, title, label):
    """A message box with this exact title: captured, then closed with Enter
    (OK, or Yes, the default button of every question)."""
    d.window(title)
    d.capture(title, label)
    d.key("Return")
    d.gone(title)


def log_in(d, password):
    d.focus(d.window(LOGIN))
    d.type(password)
    d.key("Return")
    d.window(START)
    d.gone(LOGIN)


def leave(d, program):
    d.click(START, "imgEsci")
    expect("exit status", program.ended(), 0)


# ---- the scenarios ----

def wrong_then_right_password(d, folder):
    set_password(folder, "zelvano")
    program = Program(d, folder)
    try:
        d.capture(LOGIN, "login")
        expect("windows at start", d.shown_names(), [LOGIN])
        d.focus(d.window(LOGIN))
        d.type("sbagliata")
        d.key("Return")
        dismiss(d, PLAIN_BOX, "password-errata")
        expect("windows after a wrong password", d.shown_names(), [LOGIN])
        log_in(d, "zelvano")
        d.capture(START, "start-screen")
        expect("windows after login", d.shown_names(), [START])

        # The help window, modal over the start screen.
        d.click(START, "imgGuida")
        d.capture(HELP, "help")
        d.key("Return")
        d.gone(HELP)
        expect("windows after help", d.shown_names(), [START])

        # The start screen's minimum size is the whole window's.
        start = d.window(START)
        d.x("wmctrl", "-i", "-r", start, "-b", "remove,maximized_vert,maximized_horz")
        wait_for("the start screen to leave the maximised state",
                 lambda: "MAXIMIZED" not in d.x("xprop", "-id", start, "_NET_WM_STATE", check=False))
        def hinted_minimum():
            left, right, top, bottom = d.frame(start)
            wanted = f"minimum size: {1030 - left - right} by {742 - top - bottom}"
            return wanted in d.x("xprop", "-id", start, "WM_NORMAL_HINTS", check=False)
        wait_for("the minimum size without the frame", hinted_minimum)
        d.x("xdotool", "windowsize", start, "400", "300")
        wait_for("the start screen to stop at its minimum size",
                 lambda: d.geometry(start)[2:] == (1030, 742))
        leave(d, program)
    finally:
        program.stop()


CLIENTS_TYPED = [
    ("C1", "Niccolò Bertè", "Consegna al mattino: acconto 50 €"),
    ("C2", "Società Agricola Sàrl", "Listino €: sconto 5%"),
    ("C3", "Müller Çelik", "Nota è breve"),
]


def change_password_and_clients(d, folder):
    set_password(folder, "zelvano")
    program = Program(d, folder)
    try:
        d.focus(d.window(LOGIN))
        d.key("Tab", "space")  # "Cambia password": OK is disabled, Tab skips it
        d.capture(CHANGE, "change-password")
        d.gone(LOGIN)
        d.type("zelvano")
        d.key("Return")
        d.type("Nuova Chiave")
        d.key("Return")
        d.type("Nuova Chiave")
        d.key("Return", "space")  # Enter in the confirmation moves to OK
        dismiss(d, PLAIN_BOX, "password-changed")
        d.window(LOGIN)
        d.gone(CHANGE)
        d.focus(d.window(LOGIN))
        d.type("zelvano")  # the old one no longer opens
        d.key("Return")
        dismiss(d, PLAIN_BOX, "old-password-refused")
        log_in(d, "nuova chiave")

        d.click(START, "btnClienti")
        d.window(CLIENTS)
        d.gone(START)
        for code, name, note in CLIENTS_TYPED:
            d.click(CLIENTS, "cmdNuovo")
            d.type(code)
            d.key("Return")
            d.type(name)
            d.key(*["Return"] * 23)  # on along the chain to the notes
            d.type(note)
            d.click(CLIENTS, "cmdSalva")
            dismiss(d, SAVED_NEW, "client-" + code)
        d.capture(CLIENTS, "client-card")

        # Browse back to the second client, then delete it.
        d.click(CLIENTS, "imgPrimo")
        d.read_box(CLIENTS, "txtCodice", "C1")
        d.click(CLIENTS, "imgAvanti")
        d.read_box(CLIENTS, "txtPersona", CLIENTS_TYPED[1][1])
        d.click(CLIENTS, "cmdElimina")
        dismiss(d, CONFIRM_DELETE, "confirm-delete")
        d.click(CLIENTS, "imgAvanti")
        d.read_box(CLIENTS, "txtCodice", "C1")  # the card was new: next shows record 1
        d.click(CLIENTS, "imgAvanti")
        d.read_box(CLIENTS, "txtCodice", "C3")  # and record 2 is now the third client

        d.click(CLIENTS, "cmdEsci")
        d.window(START)
        d.gone(CLIENTS)
        leave(d, program)
    finally:
        program.stop()

    stored = dump(folder, "Anagrafica.pro")
    expect("clients stored", [(r["Codice"], r["Persona"], r["Note"]) for r in stored],
           [CLIENTS_TYPED[0], CLIENTS_TYPED[2]])


def supply_with_two_items(d, folder):
    set_password(folder, "Nuova Chiave")
    program = Program(d, folder)
    try:
        log_in(d, "NUOVA CHIAVE")
        d.click(START, "btnCrea")
        d.window(CREATE)
        d.type("Rossi marzo")
        d.click(CREATE, "imgApplica")
        dismiss(d, SUPPLY_CREATED, "supply-created")
        d.window(START)

        d.click(START, "btnForniture")
        d.capture(OPEN, "open-supply")
        d.click(OPEN, "firstSupply", double=True)
        d.window(SHEET)
        d.gone(OPEN)

        # Amounts whose halves a binary double would lose: 3 x 0,335 = 1,005
        # and 1 x 0,575.
        for product, quantity, price in (("Vite M6", "3", "0,335"), ("Dado M6", "1", "0,575")):
            d.click(SHEET, "cmdNuovo")
            d.type(product)
            d.key("Return", "Return", "Return", "Return")  # date, time, place, quantity
            d.type(quantity)
            d.key("Return")
            d.type(price)
            d.click(SHEET, "cmdSalva")
            dismiss(d, SAVED_NEW, "item-" + product.split()[0])
        d.capture(SHEET, "supply-sheet")

        d.select(SHEET, "repTotale")
        try:
            wait_for("the total to be selected", lambda: d.copied("primary") == "1,59")
        except Failure:
            raise Failure(f"the total on screen is {d.copied('primary')!r}, expected '1,59'")

        d.click(SHEET, "cmdEsci")
        d.window(START)
        leave(d, program)
    finally:
        program.stop()

    items = dump(folder, "Rossi marzo.for")
    expect("items stored", [(r["Prodotto"], r["Quantita"], r["Prezzo"], r["Importo"]) for r in items],
           [("Vite M6", "3", "0,335", "1,01"), ("Dado M6", "1", "0,575", "0,58")])


class PrintQueue:
    """A private CUPS server whose default printer is a cups-pdf queue: its
    own socket, configuration, spool and logs in the work folder, reached by
    the program alone (CUPS_SERVER in its environment). cups-pdf files the
    jobs of a user it does not know in its anonymous folder, where each
    printout is looked for and then removed. Needs root (cups-pdf runs as
    root); `reason` says why there is no queue."""

    USER = "zelvano-prova"  # no such account

    def __init__(self, workdir):
        self.process = None
        self.reason = None
        tools = [t for t in ("cupsd", "lpadmin", "pdfinfo", "pdftotext") if not shutil.which(t, path=SBIN_PATH)]
        if os.geteuid() != 0:
            self.reason = "the print queue needs root (cups-pdf runs as root)"
        elif tools or not os.path.exists(CUPS_PDF_PPD):
            self.reason = "not installed: " + " ".join(tools or ["printer-driver-cups-pdf"])
        if self.reason:
            return
        # The filters run as lp: the folder is not the private work folder.
        root = self.root = tempfile.mkdtemp(prefix="zelvano-cups-")
        os.chmod(root, 0o755)
        for sub in ("conf", "spool", "cache", "state", "log", "tmp"):
            os.makedirs(os.path.join(root, sub), exist_ok=True)
        os.chmod(os.path.join(root, "tmp"), 0o1777)  # the filters run as lp
        self.socket = os.path.join(root, "cups.sock")
        with open(os.path.join(root, "conf", "cupsd.conf"), "w") as f:
            f.write(f"Listen {self.socket}\nLogLevel info\nWebInterface No\nBrowsing Off\n"
                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
        with open(os.path.join(root, "conf", "cups-files.conf"), "w") as f:
            f.write(f"ServerRoot {root}/conf\nRequestRoot {root}/spool\nCacheDir {root}/cache\n"
                    f"StateDir {root}/state\nTempDir {root}/tmp\nErrorLog {root}/log/error_log\n"
                    f"AccessLog {root}/log/access_log\nPageLog {root}/log/page_log\n"
                    f"Printcap {root}/printcap\n"
                    "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\nSystemGroup root\n")
        self.env = {"CUPS_SERVER": self.socket, "CUPS_USER": self.USER}
        self.log = os.path.join(root, "log", "error_log")
        self.process = subprocess.Popen(
            [shutil.which("cupsd", path=SBIN_PATH), "-f", "-c", f"{root}/conf/cupsd.conf", "-s",
             f"{root}/conf/cups-files.conf"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=end_with_us)
        env = dict(os.environ, **self.env)
        wait_for("the print server", lambda: os.path.exists(self.socket) and subprocess.run(
            ["lpstat", "-r"], env=env, capture_output=True).returncode == 0)
        lpadmin = shutil.which("lpadmin", path=SBIN_PATH)
        # Ghostscript, the default way from PDF to PostScript, loses the text
        # of Qt's fonts (pdftotext then reads symbols); poppler's cairo keeps it.
        run(lpadmin, "-p", "ZelvanoPDF", "-v", "cups-pdf:/", "-P", CUPS_PDF_PPD, "-E",
            "-o", "pdftops-renderer-default=pdftocairo", env=env)
        run(lpadmin, "-d", "ZelvanoPDF", env=env)
        self.folder = anonymous_pdf_folder()
        self.before = self.listing()

    def listing(self):
        try:
            return {e.path: e.stat().st_mtime for e in os.scandir(self.folder) if e.name.endswith(".pdf")}
        except FileNotFoundError:
            return {}

    def printout(self, last_words):
        """Waits for the PDF of a new job whose text ends with `last_words`
        (the stamp comes last); returns its text and whether it was printed
        landscape."""
        def done():
            for path, mtime in self.listing().items():
                if self.before.get(path) == mtime:
                    continue
                text = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True).stdout
                if last_words in text:
                    return path, text
            return None
        try:
            path, text = wait_for("the printout from the queue", done, timeout=60)
        except Failure:
            with open(self.log, errors="replace") as f:
                raise Failure("no printout; the print server says:\n" + f.read()[-2000:])
        turned = landscape(run("pdfinfo", path), run("pdftotext", "-bbox", path, "-"))
        os.remove(path)
        return text, turned

    def close(self):
        if self.process:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
            shutil.rmtree(self.root, ignore_errors=True)


SBIN_PATH = "/usr/sbin:/usr/bin:/sbin:/bin"
CUPS_PDF_PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"


def anonymous_pdf_folder():
    folder = "/var/spool/cups-pdf/ANONYMOUS"
    try:
        with open("/etc/cups/cups-pdf.conf") as f:
            for line in f:
                if line.startswith("AnonDirName"):
                    folder = line.split(None, 1)[1].strip()
    except OSError:
        pass
    return folder


def landscape(pdfinfo, bbox):
    """Whether the printed lines run along the long side of the sheet, as
    the sheet is shown. A landscape page on a portrait printer's A4 comes
    out turned, and cups-pdf writes what the printer would print."""
    size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+)", pdfinfo)
    rotation = re.search(r"Page rot:\s+(\d+)", pdfinfo)
    width, height = float(size.group(1)), float(size.group(2))
    if rotation and int(rotation.group(1)) % 180 == 90:
        width, height = height, width
    line = re.search(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">-{10,}</word>', bbox)
    if not line:
        raise Failure("no separator line in the printout")
    x0, y0, x1, y1 = (float(v) for v in line.groups())
    along_width = x1 - x0 > y1 - y0
    return along_width == (width > height)


SUPPLY_EXPORT = " Esportazione archivio prodotti o servizi forniti in Microsoft Word ed Excel"
CONFIRM_PRINT = "Conferma operazione di stampa"
# In client coordinates of the export window: its command pictures.
EXPORT_AT = {"imgExcel": (232, 34), "imgEsci": (612, 34)}
ITALIAN_ITEMS = [
    {0: "Caffè in grani", 1: "02/04/2026", 4: "3", 5: "12,50", 6: "37,50", 8: "Saldato", 10: "Società Sàrl"},
    {0: "Tè verde", 1: "03/04/2026", 4: "2", 5: "4,25", 6: "8,50", 8: "In sospeso", 10: "Niccolò Bertè"},
]
SUPPLY_FIELDS = [250, 10, 5, 250, 16, 16, 16, 10, 10, 250, 250, 250, 250, 250, 250] + [250] * 8


def supply_record(values):
    out = bytearray()
    for i, cap in enumerate(SUPPLY_FIELDS):
        text = values.get(i, "").encode("cp1252")[:cap]
        out += bytes([len(text)]) + text + bytes(cap - len(text))
    return bytes(out)


def italian_desktop(d, folder):
    """As on an Italian desktop: LANG=it_IT.UTF-8 (decimal comma in the C
    library), the platform left to the program, a real print queue and no
    office program. The supply's list is printed on the queue and comes out
    landscape; the supply's workbook is kept, the user is told where, and
    openpyxl and LibreOffice read it."""
    with open(os.path.join(folder, "Bianchi aprile.for"), "wb") as f:  # first in the list of supplies
        f.write(b"".join(supply_record(item) for item in ITALIAN_ITEMS))
    set_password(folder, "zelvano")
    workdir = os.path.dirname(folder)
    exports = os.path.join(workdir, "esportazioni")
    os.makedirs(exports, exist_ok=True)
    # The desktop's data without its applications: file types are known,
    # nothing opens them.
    no_applications = os.path.join(workdir, "nessuna-applicazione")
    os.makedirs(no_applications, exist_ok=True)
    if not os.path.exists(os.path.join(no_applications, "mime")):
        os.symlink("/usr/share/mime", os.path.join(no_applications, "mime"))
    queue = PrintQueue(workdir)
    extra = {"LANG": "it_IT.UTF-8", "LC_ALL": "it_IT.UTF-8", "QT_QPA_PLATFORM": None, "TMPDIR": exports,
             "XDG_DATA_DIRS": no_applications, **(queue.env if queue.process else {})}
    program = Program(d, folder, extra)
    try:
        log_in(d, "zelvano")
        d.click(START, "btnForniture")
        d.window(OPEN)
        d.click(OPEN, "firstSupply", double=True)
        d.window(SHEET)

        if queue.process:
            d.click(SHEET, "cmdStampa")
            dismiss(d, CONFIRM_PRINT, "print-question")
            text, turned = queue.printout("Stampa eseguita in data")
            for words in ("Bianchi aprile", "Caffè in grani", "Tè verde", "TOTALE IMPORTI:", "€ 46,00"):
                if words not in text:
                    raise Failure(f"the printout lacks {words!r}:\n{text}")
            if not turned:
                raise Failure("the printout is not landscape: its lines run along the short side")
        else:
            print(f"print queue skipped: {queue.reason}")

        d.click(SHEET, "cmdExcel")
        export = d.window(SUPPLY_EXPORT)
        x, y, _, _ = d.geometry(export)
        d.x("xdotool", "mousemove", "--sync", str(x + EXPORT_AT["imgExcel"][0]), str(y + EXPORT_AT["imgExcel"][1]))
        d.x("xdotool", "click", "1")
        book = os.path.join(exports, "Elenco fornitura.xlsx")
        # No office program: the failure message, which says where it is kept.
        dismiss(d, PLAIN_BOX, "export-kept")
        check_italian_workbook(book, workdir)

        d.x("xdotool", "mousemove", "--sync", str(x + EXPORT_AT["imgEsci"][0]), str(y + EXPORT_AT["imgEsci"][1]))
        d.x("xdotool", "click", "1")
        d.gone(SUPPLY_EXPORT)
        d.click(SHEET, "cmdEsci")
        d.window(START)
        leave(d, program)
    finally:
        program.stop()
        queue.close()


def check_italian_workbook(book, workdir):
    """openpyxl and LibreOffice both read the workbook a window wrote under
    the Italian locale, with the texts in their cells."""
    check = ("import openpyxl, sys\n"
             "ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
             "print(ws['B2'].value, ws['G2'].value, ws['L3'].value, ws.page_margins.left, sep='|')\n")
    read = run("/usr/bin/python3", "-c", check, book).strip()
    expect("the workbook read by openpyxl", read, "Caffè in grani|12,50|Niccolò Bertè|0.7")
    if not shutil.which("soffice"):
        print("LibreOffice check skipped: soffice is not installed")
        return
    converted = os.path.join(workdir, "convertiti")
    run("soffice", "--headless", "--norestore", f"-env:UserInstallation=file://{workdir}/profilo-libreoffice",
        "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir", converted, book)
    with open(os.path.join(converted, "Elenco fornitura.csv"), encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f))
    expect("the workbook read by LibreOffice", [rows[1][1], rows[2][6], rows[2][11]],
           ["Caffè in grani", "4,25", "Niccolò Bertè"])


SCENARIOS = [wrong_then_right_password, change_password_and_clients, supply_with_two_items, italian_desktop]


def install(source, build, folder):
    script = f'source "{source}/scripts/setup.sh" && zelvano_install_folder "$1" "$2"'
    run("bash", "-c", script, "install", build, folder)


TOOLS = ["Xvfb", "openbox", "xdotool", "wmctrl", "xclip", "xwd", "xwininfo", "xprop", "convert", "import"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--shots", default=None)
    parser.add_argument("names", nargs="*")
    args = parser.parse_args()
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if missing:
        print("skipped: not installed: " + " ".join(missing) + " (scripts/setup.sh installs them)")
        return 77
    chosen = [s for s in SCENARIOS if not args.names or s.__name__ in args.names]

    workdir = tempfile.mkdtemp(prefix="zelvano-x11-")
    shots = os.path.abspath(args.shots or os.path.join(workdir, "shots"))
    shutil.rmtree(shots, ignore_errors=True)
    os.makedirs(shots)
    folder = os.path.join(workdir, "Zelvano")
    failed = []
    desktop = None
    try:
        install(os.path.abspath(args.source), os.path.abspath(args.build), folder)
        desktop = Desktop(workdir, shots)
        for scenario in chosen:
            started = time.monotonic()
            try:
                scenario(desktop, folder)
                print(f"PASS {scenario.__name__} ({time.monotonic() - started:.1f} s)")
            except Exception:
                failed.append(scenario.__name__)
                print(f"FAIL {scenario.__name__}")
                traceback.print_exc(file=sys.stdout)
                try:
                    desktop.x("import", "-window", "root", os.path.join(shots, f"failed-{scenario.__name__}.png"))
                except Failure:
                    pass
    finally:
        if desktop:
            desktop.close()
    if failed:
        # Kept for a look: the program folder with what was stored.
        print(f"captures and the program's output are in {shots}; the program folder is {folder}")
    else:
        shutil.rmtree(workdir, ignore_errors=True)
    sys.stdout.flush()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
