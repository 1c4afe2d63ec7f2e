#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Plays the rows of one check of cases.json in WebKitGTK (the engine of
# Safari), through Debian's Selenium and WebKitWebDriver, with real mouse and
# key events, as run.mjs does in Chromium and Firefox:
#   webkit.py --site SITE_DIR --file ORSETA_HTML [--source SOURCE_DIR] [--row SUBSTRING] CHECK
# Needs an X server and a session bus: run it under tests/session.sh --x11.
# Exit 0 when every row that ran passed, 1 when one failed, 77 when nothing
# could run here; a row WebDriver cannot play here says "SKIP:" and why.

import argparse
import importlib.util
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
DRIVER = "/usr/bin/WebKitWebDriver"
BROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
AXE_TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa"]
READY_TIMEOUT = 15


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def skip_all(reason):
    print(f"SKIP: {reason}")
    sys.exit(77)


class Server:
    """serve.mjs on an address of its own, told to go offline on demand."""

    def __init__(self, site, options):
        args = ["node", str(HERE / "serve.mjs"), site, "--control", "--viewport-page"]
        if options.get("report"):
            args.append("--report")
        if "csp" in options:
            args += ["--csp", options["csp"]]
        for name in options.get("missing", []):
            args += ["--missing", name]
        if "cache" in options:
            args += ["--cache", options["cache"] or ""]
        self.process = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        first = json.loads(self.process.stdout.readline())
        self.url = first["url"]
        self.origin = self.url.rstrip("/")
        self.requests = []
        self.offline = threading.Event()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stdout:
            event = json.loads(line)
            if "request" in event:
                self.requests.append(event["request"])
            if event.get("offline"):
                self.offline.set()

    def go_offline(self):
        self.process.stdin.write("offline\n")
        self.process.stdin.flush()
        if not self.offline.wait(10):
            raise Failure("the server did not stop serving")

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.close()
                self.process.wait(5)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--file", required=True)
    parser.add_argument("--source", default=str(HERE.parent.parent))
    parser.add_argument("--row", default="")
    parser.add_argument("check")
    options = parser.parse_args()

    for path, package in ((DRIVER, "webkit2gtk-driver"), (BROWSER, "libwebkit2gtk-4.1-0")):
        if not os.access(path, os.X_OK):
            skip_all(f"{path} is not installed (Debian: {package})")
    if importlib.util.find_spec("selenium") is None:
        skip_all("Selenium is not installed for /usr/bin/python3 (Debian: python3-selenium)")
    if not os.environ.get("DISPLAY"):
        skip_all("no X display: run it under tests/session.sh --x11")
    if not (Path(options.site) / "index.html").is_file():
        print(f"FAIL: {options.site}/index.html is missing: build the site first")
        return 1

    expanded = subprocess.run(["node", str(HERE / "expand.mjs"), options.check, options.source],
                              check=True, capture_output=True, text=True).stdout
    rows = [r for r in json.loads(expanded) if options.row in r["name"]]

    scratch = tempfile.mkdtemp(prefix="orseta-web-webkit-")
    # WebKit's caches and data, if any, stay in here and go with it.
    for name in ("XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"):
        os.environ[name] = os.path.join(scratch, name.lower())
    os.environ["MESA_SHADER_CACHE_DISABLE"] = "true"
    signal.signal(signal.SIGINT, lambda *_: sys.exit(130))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    browsers = {}
    started_browser = False
    passed = failed = skipped = 0
    started = time.time()
    try:
        for row in rows:
            t0 = time.time()
            try:
                key = "scriptless" if not row["javascript"] else "main"
                if row["isolate"] and key in browsers:
                    # A row that must not meet what earlier rows left behind
                    # (service workers, caches) gets a browser of its own.
                    browsers.pop(key).quit()
                if key not in browsers:
                    browsers[key] = Browser(scratch, javascript=row["javascript"])
                    if not started_browser:
                        started_browser = True
                        print(f"{options.check} in WebKitGTK {browsers[key].driver.capabilities.get('browserVersion')}")
                run_row(row, browsers[key], options, scratch)
                passed += 1
                print(f"PASS: {row['name']} ({(time.time() - t0) * 1000:.0f} ms)")
            except Skip as skip:
                skipped += 1
                print(f"SKIP: {row['name']}: {skip}")
            except Failure as failure:
                failed += 1
                print(f"FAIL: {row['name']}: {failure}")
            except Exception as error:  # a driver's error is the row's failure, not the run's
                failed += 1
                print(f"FAIL: {row['name']}: {type(error).__name__}: {error}")
    finally:
        for browser in browsers.values():
            browser.quit()
        # WebKit's own processes end a moment after the browser, and may
        # still write there meanwhile.
        deadline = time.time() + 10
        while os.path.exists(scratch) and time.time() < deadline:
            shutil.rmtree(scratch, ignore_errors=True)
            if os.path.exists(scratch):
                time.sleep(0.2)
    print(f"{options.check}, webkit: {passed} passed, {failed} failed, {skipped} skipped "
          f"in {time.time() - started:.1f} s")
    return 1 if failed else 0 if passed else 77


class Browser:
    def __init__(self, scratch, javascript=True):
        from selenium import webdriver

        options = webdriver.WebKitGTKOptions()
        options.binary_location = BROWSER
        options.add_argument("--automation")
        if not javascript:
            options.add_argument("--enable-javascript=false")
        self.driver = webdriver.WebKitGTK(options=options, service_log_path=os.path.join(scratch, "webdriver.log"))
        self.driver.set_script_timeout(30)
        self.driver.set_page_load_timeout(30)
        # The browser's own bars take some of its window's height.
        self.driver.set_window_size(1024, 768)
        inner = self.driver.execute_script("return [innerWidth, innerHeight]")
        self.chrome = (1024 - inner[0], 768 - inner[1])
        self.viewport, self.framed = None, False

    def quit(self):
        try:
            self.driver.quit()
        except Exception:
            pass


PAGE_JS = (HERE / "page.js").read_text(encoding="utf-8")


def in_page(expressions, scripting=True):
    """A script for WebDriver's asynchronous execution that runs each
    expression after page.js and hands back what they came to, as JSON."""
    tries = "\n".join(
        f"try {{ results.push({{ value: {'await ' if scripting else ''}({e}) }}); }} "
        f"catch (error) {{ results.push({{ error: String(error) }}); }}"
        for e in expressions)
    body = f"{PAGE_JS}\nconst results = [];\n{tries}\nreturn JSON.stringify(results);"
    if not scripting:  # no promise settles in a page without scripting
        return f"return (() => {{ {body} }})();"
    return ("const done = arguments[arguments.length - 1];\n"
            f"(async () => {{ {body} }})().then(done, (e) => done(JSON.stringify([{{ error: String(e) }}])));")


def key_of(name):
    from selenium.webdriver.common.keys import Keys
    return {
        "Tab": Keys.TAB, "Space": Keys.SPACE, "Enter": Keys.RETURN, "NumpadEnter": Keys.ENTER,
        "ArrowDown": Keys.ARROW_DOWN, "ArrowUp": Keys.ARROW_UP, "ArrowLeft": Keys.ARROW_LEFT,
        "ArrowRight": Keys.ARROW_RIGHT, "Shift": Keys.SHIFT, "Control": Keys.CONTROL, "Alt": Keys.ALT,
    }[name]


def run_row(row, browser, options, scratch):
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By

    d = browser.driver
    server = None
    if any("tap" in step for step in row["steps"]):
        raise Skip("WebKitWebDriver has no touch input (a touch action there does nothing)")
    if row["load"] == "file":
        alone = tempfile.mkdtemp(prefix="file-", dir=scratch)
        shutil.copy(options.file, os.path.join(alone, "orseta.html"))
        base = Path(alone, "orseta.html").as_uri()
    else:
        server = Server(options.site, row["server"])
        base = server.url
    scripting = row["javascript"]

    # MiniBrowser's window is never narrower than its toolbar, 447 px: a
    # viewport narrower than that is a frame of that size in a page of its
    # own, as a course page would show it.
    framed = {"on": False}

    def set_viewport(size):
        width, height = size
        framed["size"] = size
        if browser.viewport == (width, height):
            framed["on"] = browser.framed
            return
        framed["on"] = False
        d.set_window_size(width + browser.chrome[0], height + browser.chrome[1])
        # The window manager-less X server takes a moment to resize it.
        deadline = time.time() + 3
        while (inner := d.execute_script("return [innerWidth, innerHeight]")) != [width, height] \
                and time.time() < deadline:
            time.sleep(0.1)
        if inner != [width, height]:
            framed["on"] = True
            d.set_window_size(max(width, 600) + browser.chrome[0], height + 40 + browser.chrome[1])
        browser.viewport, browser.framed = (width, height), framed["on"]

    def evaluate(expressions):
        script = in_page(expressions, scripting)
        raw = d.execute_async_script(script) if scripting else d.execute_script(script)
        return json.loads(raw)

    def await_ready():
        if not scripting:
            return
        deadline = time.time() + READY_TIMEOUT
        while True:
            [result] = evaluate(["document.documentElement.dataset.state"])
            if result.get("value") not in (None, "loading"):
                break
            if time.time() > deadline:
                document = evaluate(["document.readyState"])[0].get("value")
                fetched = ", ".join(f"{r['path']} {r.get('status')}" for r in (server.requests if server else []))
                raise Failure(f"data-state is still \"{result.get('value')}\" after {READY_TIMEOUT} s "
                              f"(document {document}; the server answered {fetched or 'nothing'})")
            time.sleep(0.05)
        # What a learner first sees is the page's first drawing after that
        # (the autofocus among it).
        evaluate(["new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))"])

    def enter_frame():
        if framed["on"]:
            d.switch_to.default_content()
            frame = d.find_element(By.TAG_NAME, "iframe")
            d.switch_to.frame(frame)

    def load(suffix="", over=False):
        url = base + suffix
        if framed["on"]:
            w, h = framed["size"]
            wrapper = Path(scratch, "frame.html")
            # The frame's page sits beside the page it frames, so both share
            # an origin (served by the test's server, or both on disk).
            if server:
                url = server.origin + "/.viewport.html?" + f"w={w}&h={h}&src=" + suffix_escape("/" + suffix)
            else:
                wrapper = Path(Path(base[7:]).parent, "frame.html")
                wrapper.write_text(frame_page(w, h, "orseta.html" + suffix), encoding="utf-8")
                url = wrapper.as_uri()
        # Each load opens the address afresh, as a link from elsewhere does
        # (from the page itself an address that differs in its fragment alone
        # would only scroll it), or, "over" the page, as if typed over its
        # address.
        if suffix and not over:
            d.switch_to.default_content()
            d.get("about:blank")
        d.get(url)
        enter_frame()
        await_ready()

    def point_of(selector, at=(0.5, 0.5)):
        [result] = evaluate([f"""(() => {{
            const e = document.querySelector({json.dumps(selector)});
            if (!e) return 'missing';
            let r = e.getBoundingClientRect();
            if (r.top < 0 || r.bottom > innerHeight || r.left < 0 || r.right > innerWidth) {{
                e.scrollIntoView({{ block: 'center', inline: 'center' }});
                r = e.getBoundingClientRect();
            }}
            const x = r.x + r.width * {at[0]}, y = r.y + r.height * {at[1]};
            const hit = document.elementFromPoint(x, y);
            if (!hit || !(e === hit || e.contains(hit) || (e.control && e.control === hit)))
                return 'covered by ' + (hit ? hit.tagName + '#' + hit.id : 'nothing');
            return [x - (r.x + r.width / 2), y - (r.y + r.height / 2)];
        }})()"""])
        value = result.get("value")
        if "error" in result or isinstance(value, str):
            raise Failure(f"{selector}: {result.get('error', value)}")
        return value

    def play(step, steps, i):
        """Plays STEPS[I] (with the expectations that follow it, asked in one
        go) and says where to go on."""
        if "expect" in step:
            j = i
            while j < len(steps) and "expect" in steps[j]:
                j += 1
            batch = steps[i:j]
            results = evaluate([s["expect"] for s in batch])
            for k, (s, result) in enumerate(zip(batch, results)):
                want = s.get("is", True)
                what = s.get("written", s["expect"])
                if "error" in result:
                    raise Failure(f"step {i + k + 1}, {what}: {result['error']}")
                if result["value"] != want or type(result["value"]) != type(want):
                    raise Failure(f"step {i + k + 1}, {what}:\n    got      "
                                  f"{json.dumps(result['value'], ensure_ascii=False)}\n    expected "
                                  f"{json.dumps(want, ensure_ascii=False)}")
            return j
        if "click" in step:
            dx, dy = point_of(step["click"], step.get("at", (0.5, 0.5)))
            element = d.find_element(By.CSS_SELECTOR, step["click"])
            ActionChains(d).move_to_element_with_offset(element, round(dx), round(dy)).click().perform()
        elif "press" in step:
            chords = step["press"] if isinstance(step["press"], list) else [step["press"]]
            for chord in chords:
                names = chord.split("+")
                actions = ActionChains(d)
                for modifier in names[:-1]:
                    actions.key_down(key_of(modifier))
                actions.send_keys(key_of(names[-1]))
                for modifier in reversed(names[:-1]):
                    actions.key_up(key_of(modifier))
                actions.perform()
        elif "focus" in step:
            [result] = evaluate([f"$({json.dumps(step['focus'])}).focus()"])
            if "error" in result:
                raise Failure(f"focus {step['focus']}: {result['error']}")
        elif "wait" in step:
            deadline = time.time() + 10
            while True:
                [result] = evaluate([step["wait"]])
                if result.get("value"):
                    break
                if time.time() > deadline:
                    raise Failure(f"{step['wait']} never became true {result.get('error', '')}")
                time.sleep(0.1)
        elif "load" in step:
            load(step["load"], step.get("over", False))
        elif "reload" in step:
            d.refresh()
            enter_frame()
            await_ready()
        elif "awayAndBack" in step:
            # Back as the browser's button goes; a page brought back from the
            # back-forward cache raises no load, so its return is waited for.
            d.get(base + step["awayAndBack"])
            d.execute_script("history.back()")
            deadline = time.time() + READY_TIMEOUT
            while d.execute_script("return location.href") != base or \
                    d.execute_script("return document.readyState") != "complete":
                if time.time() > deadline:
                    raise Failure(f"Back did not return to {base}")
                time.sleep(0.05)
            enter_frame()
            await_ready()
        elif "forcedColors" in step:
            raise Skip("only Chromium can put a page under forced colours (a high-contrast theme)")
        elif "offline" in step:
            server.go_offline()
        elif "viewport" in step:
            was = framed["on"]
            set_viewport(step["viewport"])
            if was != framed["on"]:
                raise Skip("a resize across the 447 px MiniBrowser cannot go below would reload the page in a frame")
            enter_frame()
            evaluate(["new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))"])
        elif "settle" in step:
            evaluate(['new Promise((r) => (document.readyState === "complete" ? r() : addEventListener("load", r)))'
                      '.then(() => new Promise((r) => setTimeout(r, 700)))'])
        elif "clean" in step:
            # WebKitWebDriver hands over neither the console nor the
            # requests: what the server saw, and the policy's reports.
            requests = server.requests if server else []
            problems = [f"CSP report: {json.dumps(r['report'], ensure_ascii=False)}"
                        for r in requests if "report" in r]
            problems += [f"{r['method']} {r['path']}: {r['status']}" for r in requests
                         if r.get("status", 200) >= 400]
            [result] = evaluate(["(window.__cspViolations ?? [])"])
            problems += [f"CSP: {v}" for v in result.get("value", [])]
            if problems:
                raise Failure("\n    ".join(problems))
        elif "cookies" in step:
            cookies = d.get_cookies()
            if cookies:
                raise Failure(f"cookies: {', '.join(c['name'] for c in cookies)}")
        elif "axe" in step:
            if not evaluate(["typeof axe !== 'undefined'"])[0].get("value"):
                d.execute_script((HERE / "node_modules/axe-core/axe.min.js").read_text(encoding="utf-8"))
            [result] = evaluate([
                f"axe.run(document, {{ runOnly: {{ type: 'tag', values: {json.dumps(AXE_TAGS)} }}, "
                "resultTypes: ['violations'] }).then((r) => r.violations.map((v) => v.id + ' (' + v.impact + '): ' + "
                "v.nodes.map((n) => n.target.join(' ')).join(', ')))"])
            if "error" in result:
                raise Failure(f"axe: {result['error']}")
            if result["value"]:
                raise Failure("axe-core: " + "\n    ".join(result["value"]))
        else:
            raise RuntimeError(f"unknown step {step}")
        return i + 1

    try:
        set_viewport(row["viewport"])
        load()
        size = evaluate(["[innerWidth, innerHeight]"])[0]["value"]
        if size != row["viewport"]:
            raise Failure(f"the viewport is {size[0]}×{size[1]}, not {row['viewport'][0]}×{row['viewport'][1]}")
        steps = row["steps"]
        i = 0
        while i < len(steps):
            try:
                i = play(steps[i], steps, i)
            except (Failure, Skip):
                raise
            except Exception as error:
                raise Failure(f"step {i + 1}, {json.dumps(steps[i], ensure_ascii=False)[:200]}: "
                              f"{type(error).__name__}: {str(error).strip()}") from error
    finally:
        try:
            d.switch_to.default_content()
            d.get("about:blank")
        except Exception:
            pass
        if server:
            server.close()


def suffix_escape(text):
    from urllib.parse import quote
    return quote(text, safe="")


def frame_page(width, height, src):
    from html import escape
    return (f'<!DOCTYPE html><html><head><meta charset="utf-8"><title>frame</title></head>'
            f'<body><iframe src="{escape(src)}" width="{width}" height="{height}" frameborder="0" '
            f'title="Орсета"></iframe></body></html>')


if __name__ == "__main__":
    sys.exit(main())
