"""Walks an attended setup through its wizard the way a person would: it follows the pages by
the "Activating dialog" lines of the setup log (flushed line by line, the same in every
language), presses Next on the pages that wait for the user, and can keep a screenshot of every
page it sees."""
from __future__ import annotations

import pathlib
import re
import subprocess
import time

import winetest

NEXT = 1
CANCEL = 2
# Pages that wait for the user; the others move on by themselves when their work is done.
WAITING_PAGES = {"Welcome", "IncludedSubPackages", "SystemIntegrity", "ServiceConfiguration", "ClusterConfiguration",
                 "Finish"}
_ACTIVATING = re.compile(r"TSL \(c\): Activating dialog (.+?)\r\n")


def screenshot(path: pathlib.Path) -> None:
    """The screen, cut to the windows on it (the bare Xvfb root is black)."""
    subprocess.run(["import", "-display", winetest.display(), "-window", "root", "-trim", "+repage", str(path)],
                   check=True, timeout=30)


def shown_pages(log: pathlib.Path) -> list[str]:
    """The pages the setup has activated so far, in order."""
    if not log.is_file():
        return []
    return _ACTIVATING.findall(winetest.read_log(log))


class Walk:
    """One attended run: `pages` lists every page shown, `windows` holds the wizard window as
    the driver saw it on each page (its controls and their texts), `result` is the ended run."""

    def __init__(self, pages: list[str], windows: dict[str, dict], result: winetest.Result):
        self.pages = pages
        self.windows = windows
        self.result = result


def walk(setup: pathlib.Path, process: str, title: str, log: pathlib.Path,
         shots: pathlib.Path | None = None, press: dict[str, int | list[int]] | None = None,
         timeout: float = 300, env: dict[str, str] | None = None) -> Walk:
    """Starts `setup` with a verbose log and walks its wizard to the end. `press` names the
    button to press on a page instead of Next (Cancel on the unpack page, say), or a list of
    controls pressed in turn (check boxes, then the button that leaves the page); a screenshot
    named "<n>-<page>.png" is kept in `shots` for every page seen."""
    press = press or {}
    running = winetest.start(setup, "/L*v", winetest.windows_path(log), env=env)
    seen: list[str] = []
    windows: dict[str, dict] = {}
    try:
        deadline = time.monotonic() + timeout
        while running.process.poll() is None and time.monotonic() < deadline:
            for page in shown_pages(log)[len(seen):]:
                seen.append(page)
                windows[page] = _visit(page, len(seen), process, title, log, shots, press)
            time.sleep(0.1)
        result = running.wait(timeout=max(1.0, deadline - time.monotonic()))
    finally:
        running.kill()
    # Pages a run walked by itself after the last look (a quick install to its end, say).
    seen += shown_pages(log)[len(seen):]
    return Walk(seen, windows, result)


def _visit(page: str, number: int, process: str, title: str, log: pathlib.Path,
           shots: pathlib.Path | None, press: dict[str, int | list[int]]) -> dict | None:
    button = press.get(page, NEXT if page in WAITING_PAGES else None)
    picture = shots / f"{number}-{page}.png" if shots is not None else None
    if button is not None:
        # A page that waits for the user is pictured once its window answers the driver, and
        # so has painted (the first page of a program that is still loading its fonts, say).
        winetest.wait_window(process=process, title=title, timeout=20)
        time.sleep(0.5)
        # One that moved on by itself (the system-integrity page without findings) is neither
        # pictured nor pressed.
        if len(shown_pages(log)) != number:
            return None
        if picture is not None:
            screenshot(picture)
        buttons = button if isinstance(button, (list, tuple)) else [button]
        # The window as it was before the first press.
        window = winetest.click(buttons[0], process=process, title=title, timeout=30)
        for other in buttons[1:]:
            winetest.click(other, process=process, title=title, timeout=30)
        return window
    # A page that has passed already (the system-integrity page without findings) is not
    # pictured, so that the picture of a page shown briefly after it (the unpack page) is not
    # taken too late.
    if len(shown_pages(log)) != number:
        return None
    # The page's window shows once its activation is logged; give it a moment to paint. The
    # picture comes first, so that pages that are busy only briefly are caught too.
    time.sleep(0.2)
    if picture is not None:
        screenshot(picture)
    # A page that passed meanwhile (a short unpacking) may not be on the picture.
    if len(shown_pages(log)) != number:
        if picture is not None:
            picture.unlink()
        return None
    return winetest.wait_window(process=process, title=title, timeout=20)
