#!/usr/bin/env python3
"""Opens a published family tree in headless Chromium from file://, as a relative would.

check_site.py VERDAN_CLI GEDCOM SEARCH_CASES WORKDIR: imports the GEDCOM, publishes it in Arabic and in English, then in
each site searches for a name through search.html?q=, opens the first person found, follows the link to his
father, takes screenshots (a desktop and a phone-sized window) and checks that no page links to a file the
site lacks, and that the site's script reads the search cases as the program does. Exits 77 (skipped) where no Chromium is installed.
"""

import html
import html.parser
import os
import re
import shutil
import subprocess
import sys
import urllib.parse
from pathlib import Path

SKIP = 77


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


class Links(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.targets = []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if value and ((tag == "a" and name == "href") or (name == "src") or
                          (tag == "link" and name == "href")):
                self.targets.append(value)


def broken_links(site: Path):
    broken = []
    for page in site.rglob("*.html"):
        parser = Links()
        parser.feed(page.read_text(encoding="utf-8"))
        for target in parser.targets:
            parts = urllib.parse.urlsplit(target)
            if parts.scheme or target.startswith("#") or target.startswith("//"):
                if parts.scheme not in ("", "file"):
                    broken.append(f"{page}: fetches {target}")
                continue
            path = urllib.parse.unquote(parts.path)
            if path and not (page.parent / path).resolve().exists():
                broken.append(f"{page.relative_to(site)}: {target}")
    return broken


class Browser:
    def __init__(self, chromium: str, profile: Path):
        self.base = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                     "--no-first-run", "--disable-component-update", "--disable-sync",
                     f"--user-data-dir={profile}", "--allow-file-access-from-files",
                     "--virtual-time-budget=5000"]

    def dom(self, url: str) -> str:
        run = subprocess.run(self.base + ["--dump-dom", url], capture_output=True, timeout=120)
        return run.stdout.decode("utf-8", "replace")

    def screenshot(self, url: str, out: Path, size: str):
        subprocess.run(self.base + [f"--window-size={size}", f"--screenshot={out}", url],
                       capture_output=True, timeout=120)
        return out.exists() and out.stat().st_size > 0


def check_site(browser: Browser, site: Path, shots: Path, lang: str, query: str, failures: list):
    search = site / "search.html"
    url = search.as_uri() + "?q=" + urllib.parse.quote(query)
    dom = browser.dom(url)
    m = re.search(r'<ol id="results"[^>]*>(.*?)</ol>', dom, re.S)
    found = re.findall(r'href="([^"]+\.html)"', m.group(1)) if m else []
    if not found:
        failures.append(f"{lang}: searching {query} from file:// found nobody")
        return
    person = (site / urllib.parse.unquote(found[0])).resolve()
    if not person.exists():
        failures.append(f"{lang}: the first result links to a missing page {found[0]}")
        return
    page = browser.dom(person.as_uri())
    if f'lang="{lang}"' not in page:
        failures.append(f"{lang}: {person.name} is not marked as {lang}")
    father = re.search(r'class="box father[^"]*">\s*<a [^>]*href="([^"]+)"', page)
    if not father:
        failures.append(f"{lang}: {person.name} has no link to his father")
    else:
        target = (person.parent / urllib.parse.unquote(father.group(1))).resolve()
        if not target.exists() or "<h1" not in browser.dom(target.as_uri()):
            failures.append(f"{lang}: the father's link of {person.name} leads nowhere")
    for name, address, size in (("home", (site / "index.html").as_uri(), "1280,900"),
                                ("search", url, "1280,900"),
                                ("person", person.as_uri(), "1280,900"),
                                ("person-phone", person.as_uri(), "390,844")):
        if not browser.screenshot(address, shots / f"{lang}-{name}.png", size):
            failures.append(f"{lang}: no screenshot of {name}")
    for link in broken_links(site):
        failures.append(f"{lang}: broken link {link}")


def check_search_words(browser: Browser, site: Path, cases: Path, failures: list):
    """The site's script reads every listed text into the same words as the program (its own suite checks
    the program against the same list)."""
    rows = []
    for line in cases.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            rows.append(line.split("\t"))
    page = site / "words-check.html"
    texts = ",".join('"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"' for text, _ in rows)
    page.write_text(
        '<!DOCTYPE html><html><head><meta charset="utf-8"></head><body><pre id="out"></pre>'
        '<script src="assets/fold.js"></script><script src="assets/site.js"></script><script>var t = window.verdanSearchText;'
        f'document.getElementById("out").textContent = [{texts}].map(function (q) {{'
        'return t.splitNameWords(t.cleanName(t.fold(q))).join("|"); }).join("\\n");</script></body></html>',
        encoding="utf-8")
    dom = browser.dom(page.as_uri())
    page.unlink()
    m = re.search(r'<pre id="out">(.*?)</pre>', dom, re.S)
    got = html.unescape(m.group(1)).split("\n") if m else []
    if len(got) != len(rows):
        failures.append("the site's script did not read the search cases")
        return
    for (text, words), read in zip(rows, got):
        if read != words:
            failures.append(f"the site reads {text!r} as {read!r}, the program as {words!r}")


def main():
    cli, gedcom, cases, work = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3]), Path(sys.argv[4])
    chromium = find_chromium()
    if not chromium:
        print("no Chromium installed: skipped")
        return SKIP
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    subprocess.run([cli, "import", str(gedcom), "--into", str(work)], check=True, capture_output=True)
    tree = next(work.glob("*/*.vrd"))
    failures = []
    for lang, query in (("ar", "نصار"), ("en", "نصار")):
        site = work / f"site-{lang}"
        subprocess.run([cli, "web", str(tree), str(site), "--lang", lang, "--living", "show"], check=True,
                       capture_output=True)
        browser = Browser(chromium, work / f"profile-{lang}")
        check_site(browser, site, work, lang, query, failures)
        if lang == "en":
            check_search_words(browser, site, cases, failures)
    for failure in failures:
        print(failure)
    print(f"screenshots in {work}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
