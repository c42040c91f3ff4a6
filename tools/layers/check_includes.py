#!/usr/bin/env python3
"""Fails when a file under src/ includes a file of a layer above its own.

The layers, lowest first (ARCHITECTURE.md gives the reasons):

  platform    src/platform/        what the operating system gives: cp1251, INI files,
                                   prompts, clock, sockets, audio
  softphone   src/softphone/       the SIP/RTP/STUN stack; it sees platform and nothing
                                   else, and only the windows and the app see it
  foundation  src/foundation/      database layer, settings, the data module TDANI
  citymap     src/citymap/         the city map's data (points, scale, "map supported",
                                   later the street graph). It sits BELOW dispatch,
                                   because the dispatch operations measure distances
                                   on it; the map windows are in citymap/ui/ and a map
                                   controller that needs dispatch goes to citymap/window/
  dispatch    src/dispatch/        operations on drivers and orders, no widgets
  windows     src/mainwindow/, src/orders/intake/, src/orders/maintenance/,
              src/fleet/, src/citymap/window/, src/citymap/ui/
                                   the windows, each a controller (the folder itself)
                                   and its widgets (the folder's ui/)
  app         src/app/             creates everything in its fixed order and wires it

Rules:
  1. A file includes files of its own layer or of a lower one.
  2. The softphone includes only platform and itself; it is included only by the
     windows and the app.
  3. Widgets stay out of the core: a file in a ui/ or qt/ folder is included only by
     files in ui/ or qt/ folders and by the app.
  4. Window folders may include each other's cores, never each other's ui/: one
     window reaches another through the app's wiring (a FormShell, a signal), so a
     window's widgets never depend on another window's widgets.

Quoted includes are read relative to src/; an include that names no file under src/
(a Qt or system header) is not checked. A file under src/ that belongs to no layer is
an error too, so that a new folder is placed in the order on purpose.

Usage: check_includes.py [repository root]   (exit status 1 on any violation)
"""

import pathlib
import re
import sys

LAYER_ORDER = ["platform", "softphone", "foundation", "citymap", "dispatch", "windows", "app"]
RANK = {name: rank for rank, name in enumerate(LAYER_ORDER)}

# The longest matching prefix decides; the value is (layer, window folder or None).
FOLDERS = {
    "platform/": ("platform", None),
    "softphone/": ("softphone", None),
    "foundation/": ("foundation", None),
    "citymap/": ("citymap", None),
    "citymap/window/": ("windows", "citymap"),
    "citymap/ui/": ("windows", "citymap"),
    "dispatch/": ("dispatch", None),
    "mainwindow/": ("windows", "mainwindow"),
    "orders/intake/": ("windows", "orders/intake"),
    "orders/maintenance/": ("windows", "orders/maintenance"),
    "fleet/": ("windows", "fleet"),
    "app/": ("app", None),
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
WIDGET_FOLDER = re.compile(r"(^|/)(ui|qt)/")


def place(relative):
    """(layer, window folder, is widget code) of a path relative to src/, or None."""
    best = None
    for prefix, where in FOLDERS.items():
        if relative.startswith(prefix) and (best is None or len(prefix) > len(best[0])):
            best = (prefix, where)
    if best is None:
        return None
    layer, window = best[1]
    return layer, window, bool(WIDGET_FOLDER.search(relative))


def violation(source, target):
    """Why source (a place) must not include target (a place), or None."""
    s_layer, s_window, s_widget = source
    t_layer, t_window, t_widget = target
    if t_layer == "softphone" and s_layer not in ("softphone", "windows", "app"):
        return "only the windows and the app include the softphone"
    if s_layer == "softphone" and t_layer not in ("softphone", "platform"):
        return "the softphone includes only platform and itself"
    if RANK[t_layer] > RANK[s_layer]:
        return f"{s_layer} includes {t_layer}, a layer above it"
    if t_widget and not s_widget and s_layer != "app":
        return "core code includes widget code (a ui/ or qt/ folder)"
    if s_layer == t_layer == "windows" and t_widget and s_window != t_window:
        return "a window's files include another window folder's ui/"
    return None


def check(root):
    src = root / "src"
    problems = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        relative = path.relative_to(src).as_posix()
        source = place(relative)
        if source is None:
            problems.append(f"src/{relative}: belongs to no layer (add its folder to {__file__})")
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            included = match.group(1)
            if not (src / included).is_file():
                continue
            target = place(included)
            if target is None:
                continue  # reported once as a file of its own
            why = violation(source, target)
            if why:
                line = text.count("\n", 0, match.start()) + 1
                problems.append(f"src/{relative}:{line}: includes \"{included}\": {why}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2])
    problems = check(root)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"include check: {len(problems)} upward include(s)", file=sys.stderr)
        return 1
    print("include check: every include points down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
