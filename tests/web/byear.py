#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The page by ear: what Orca says of it in a browser, as a blind learner
plays a round with the keys alone.

    byear.py --browser firefox|chromium --site SITE_DIR

Run it inside `session.sh --atspi --wm`, with Debian's python3. It serves the
site, starts Orca with its default settings and then the browser on the
page, presses the learner's keys with xdotool, and reads what Orca spoke
from Orca's debug log: Orca here has no speech server, and logs each thing
it would say. Orca must say

- the introductory text, in full, at start, without a key pressed, and once;
- each group as the focus enters it, and its options by name and state;
- after "Изведи" on a right pairing, the verdict and then the variety's
  description, without a change of Orca's mode;
- after "Чисти", "Направете своя избор!";
- nothing of a retired variety: Tab enters the varieties past it;
- the box's fixed description at most once, never before a verdict.

Exit status: 0 pass, 1 fail, 77 skip (a tool is missing).
"""

import argparse
import html
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SKIP = 77
PATIENCE = 30
HERE = Path(__file__).resolve().parent

# What a right round says, and the varieties' order it relies on: Tab enters
# the varieties at морганит (the first in the window's tab order), Space
# chooses, and берил is the first mineral.
VARIETY, MINERAL = "морганит", "берил"
VERDICT = "Правилно!  морганит -> берил"
DESCRIPTION = "скъпоценен камък, вид берил в цвят розов"
CLEARED = "Направете своя избор!"
BOX_DESCRIPTION = "Отговорът на викторината и описанието на разновидността."


def skip(why):
    print(f"SKIP: {why}")
    sys.exit(SKIP)


class Failure(Exception):
    pass


def words(text):
    """Text as speech compares it: blanks and line breaks as one blank."""
    return " ".join(text.split())


LINE_BUFFERED_LOG = """\
import builtins, os
_open, _log = builtins.open, os.environ.get("ORSETA_ORCA_LOG")
def _line_buffered(file, mode="r", *args, **kwargs):
    if file == _log and not args and "buffering" not in kwargs:
        kwargs["buffering"] = 1
    return _open(file, mode, *args, **kwargs)
builtins.open = _line_buffered
"""


class Orca:
    """Orca, speaking into its debug log."""

    SAID = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\w+)?\s?\{", re.S)

    def __init__(self, scratch):
        self.log = scratch / "orca.log"
        # No speech server: Orca's speech-dispatcher client fails to import,
        # so Orca logs what it would say instead of waiting on a server that
        # has no sound card to speak to. And the log written line by line,
        # to be read as Orca goes (Orca leaves it to Python's buffering).
        silent = scratch / "silent"
        silent.mkdir()
        (silent / "speechd.py").write_text('raise ImportError("no speech server here")\n')
        (silent / "sitecustomize.py").write_text(LINE_BUFFERED_LOG)
        # Orca's own words (roles, states) in English, whatever the locale.
        env = dict(os.environ, PYTHONPATH=str(silent), LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   ORSETA_ORCA_LOG=str(self.log))
        env.pop("LANGUAGE", None)
        prefs = scratch / "orca"
        prefs.mkdir()
        self.process = subprocess.Popen(
            ["/usr/bin/python3", shutil.which("orca"), "--user-prefs", str(prefs),
             "--debug-file", str(self.log)],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.heard = 0
        self.wait_for("Screen reader on.")

    def said(self):
        try:
            text = self.log.read_text(errors="replace")
        except FileNotFoundError:
            return []
        return [words(s) for s in self.SAID.findall(text)]

    def wait_for(self, *fragments, patience=PATIENCE):
        """Waits until Orca has said each fragment, in order, since the
        last wait; returns all it said up to the last of them."""
        deadline = time.monotonic() + patience
        while True:
            new = self.said()[self.heard:]
            found, end = 0, 0
            for at, utterance in enumerate(new):
                if found < len(fragments) and words(fragments[found]) in utterance:
                    found, end = found + 1, at + 1
            if found == len(fragments):
                self.heard += end
                return new[:end]
            if time.monotonic() >= deadline:
                missing = words(fragments[found])
                missing = missing if len(missing) < 80 else missing[:80] + "…"
                raise Failure(f"Orca did not say {missing!r}; it said {new}")
            time.sleep(0.1)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()


def press(key):
    # As a learner would: after Orca has done with the last key. Orca still
    # works for a moment after speaking (it may change its mode), and a key
    # pressed meanwhile can go astray.
    time.sleep(1)
    subprocess.run(["xdotool", "key", key], check=True)


def start_browser(browser, url, scratch):
    profile = scratch / "profile"
    profile.mkdir()
    if browser == "firefox":
        # A first start that goes straight to the page, without its welcome
        # tabs; GNOME_ACCESSIBILITY turns its accessibility on at start.
        (profile / "user.js").write_text("\n".join(
            f'user_pref("{name}", {value});' for name, value in [
                ("browser.aboutwelcome.enabled", "false"),
                ("browser.startup.homepage_override.mstone", '"ignore"'),
                ("startup.homepage_welcome_url", '""'),
                ("startup.homepage_welcome_url.additional", '""'),
                ("browser.shell.checkDefaultBrowser", "false"),
                ("datareporting.policy.dataSubmissionEnabled", "false"),
                ("toolkit.telemetry.reportingpolicy.firstRun", "false"),
            ]) + "\n")
        command = ["firefox-esr", "--no-remote", "--profile", str(profile), url]
    else:
        command = ["chromium", f"--user-data-dir={profile}", "--force-renderer-accessibility",
                   "--no-first-run", "--no-default-browser-check", "--password-store=basic",
                   "--disable-features=TranslateUI", url]
        if os.geteuid() == 0:
            command.insert(1, "--no-sandbox")
    env = dict(os.environ, GNOME_ACCESSIBILITY="1")
    return subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)


def serve(site):
    server = subprocess.Popen(
        [shutil.which("node"), str(HERE / "serve.mjs"), str(site), "--port", "0"],
        stdout=subprocess.PIPE, text=True)
    line = server.stdout.readline()
    match = re.search(r"http://[^\s]+", line)
    if not match:
        server.kill()
        raise Failure(f"the site's server gave no address: {line!r}")
    return server, match.group(0).rstrip("/") + "/"


def play(orca, introduction):
    # At start: the task, in full, before any key.
    orca.wait_for(introduction)

    press("Tab")
    orca.wait_for("Разновидност", VARIETY, "not selected")
    press("space")
    orca.wait_for("selected")
    press("Tab")
    orca.wait_for("Минерал", MINERAL, "not selected")
    press("space")
    orca.wait_for("selected")
    press("Tab")
    orca.wait_for("Изведи")
    press("space")
    said = orca.wait_for(VERDICT, DESCRIPTION)
    if any(BOX_DESCRIPTION in s for s in said):
        raise Failure(f"the box's fixed description came again with the verdict: {said}")

    # The variety just answered is retired: Tab enters the varieties past it.
    press("Tab")
    said = orca.wait_for("Разновидност", "not selected")
    if any(VARIETY in s for s in said):
        raise Failure(f"the retired {VARIETY} was read as Tab entered the varieties: {said}")
    press("Tab")
    orca.wait_for("Минерал", MINERAL, "selected")
    press("Tab")
    orca.wait_for("Изведи")
    press("Tab")
    orca.wait_for("Чисти")
    press("space")
    said = orca.wait_for(CLEARED)
    if any(BOX_DESCRIPTION in s for s in said):
        raise Failure(f"the box's fixed description came again with the verdict: {said}")

    everything = orca.said()
    told = sum(words(introduction) in s for s in everything)
    if told != 1:
        raise Failure(f"the introductory text was read {told} times, not once")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--browser", choices=["firefox", "chromium"], required=True)
    parser.add_argument("--site", type=Path, required=True)
    args = parser.parse_args()

    program = {"firefox": "firefox-esr", "chromium": "chromium"}[args.browser]
    for tool, package in [(program, program), ("orca", "orca"), ("xdotool", "xdotool"),
                          ("node", "nodejs")]:
        if not shutil.which(tool):
            skip(f"{tool} is not installed (Debian: {package})")
    if not os.environ.get("DISPLAY"):
        skip("no X display: run it in session.sh --atspi --wm")

    page = (args.site / "index.html").read_text()
    introduction = html.unescape(re.search(r'<textarea id="Text1-0"[^>]*>(.*?)</textarea>',
                                           page, re.S).group(1))

    scratch = Path(tempfile.mkdtemp(prefix="orseta-byear-"))
    server = orca = browser = None
    try:
        server, url = serve(args.site)
        orca = Orca(scratch)
        browser = start_browser(args.browser, url, scratch)
        play(orca, introduction)
        print(f"PASS: Orca with {args.browser}: the task at start, the groups and options "
              "with their state, the verdict and the description, a retired variety passed "
              "over, and the verdict after \"Чисти\"")
        return 0
    except Failure as failure:
        print(f"FAIL: Orca with {args.browser}: {failure}")
        log = scratch / "orca.log"
        if log.exists():
            kept = Path(tempfile.gettempdir()) / f"orseta-orca-{args.browser}.log"
            shutil.copy(log, kept)
            print(f"Orca's log: {kept}")
        return 1
    finally:
        if browser:
            os.killpg(browser.pid, signal.SIGTERM)
            try:
                browser.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(browser.pid, signal.SIGKILL)
        if orca:
            orca.stop()
        if server:
            server.kill()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
