#!/usr/bin/env python3
"""The include check on small trees: each rule caught, the allowed directions passed."""

import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(sys.argv.pop(1)).resolve() if len(sys.argv) > 1 else None


class IncludeCheck(unittest.TestCase):
    def run_on(self, files):
        with tempfile.TemporaryDirectory() as root:
            for name, includes in files.items():
                path = pathlib.Path(root, "src", name)
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text("".join(f'#include "{i}"\n' for i in includes) + "#include <QString>\n")
            done = subprocess.run([sys.executable, str(SCRIPT), root], capture_output=True, text=True)
            return done.returncode, done.stderr

    def test_downward_and_sideways_core_includes_pass(self):
        code, err = self.run_on({
            "platform/Clock.h": [],
            "foundation/TDANI.h": ["platform/Clock.h"],
            "citymap/CityMap.h": ["foundation/TDANI.h"],
            "dispatch/NearestStand.cpp": ["citymap/CityMap.h", "foundation/TDANI.h"],
            "orders/intake/SoftphoneLine.h": [],
            "mainwindow/ShiftChange.cpp": ["orders/intake/SoftphoneLine.h", "dispatch/NearestStand.cpp"],
            "foundation/ui/FormShell.h": [],
            "mainwindow/ui/TForm1.h": ["foundation/ui/FormShell.h", "mainwindow/ShiftChange.cpp"],
            "app/ui/Workstation.cpp": ["mainwindow/ui/TForm1.h", "orders/intake/SoftphoneLine.h"],
        })
        self.assertEqual(code, 0, err)

    def test_upward_include_fails_with_file_and_line(self):
        code, err = self.run_on({
            "dispatch/Ops.h": [],
            "foundation/TDANI.cpp": ["platform/Missing.h", "dispatch/Ops.h"],
        })
        self.assertEqual(code, 1)
        self.assertIn("src/foundation/TDANI.cpp:2:", err)
        self.assertIn("a layer above it", err)

    def test_the_map_data_sits_below_dispatch(self):
        code, err = self.run_on({"dispatch/Ops.h": [], "citymap/CityMap.h": ["dispatch/Ops.h"]})
        self.assertEqual(code, 1)
        self.assertIn("citymap includes dispatch", err)

    def test_core_never_includes_widgets(self):
        code, err = self.run_on({"mainwindow/ui/TForm1.h": [], "mainwindow/Commands.cpp": ["mainwindow/ui/TForm1.h"]})
        self.assertEqual(code, 1)
        self.assertIn("widget code", err)

    def test_a_window_never_includes_another_windows_widgets(self):
        code, err = self.run_on({"orders/intake/ui/TForm2.h": [], "mainwindow/ui/Wiring.cpp": ["orders/intake/ui/TForm2.h"]})
        self.assertEqual(code, 1)
        self.assertIn("another window folder's ui/", err)

    def test_softphone_sees_only_platform_and_is_seen_only_by_windows(self):
        code, err = self.run_on({
            "foundation/TDANI.h": [],
            "softphone/Sip.h": ["foundation/TDANI.h"],
            "dispatch/Ops.cpp": ["softphone/Sip.h"],
        })
        self.assertEqual(code, 1)
        self.assertIn("the softphone includes only platform", err)
        self.assertIn("only the windows and the app include the softphone", err)

    def test_a_file_of_no_layer_is_reported(self):
        code, err = self.run_on({"gadgets/Thing.h": []})
        self.assertEqual(code, 1)
        self.assertIn("belongs to no layer", err)


if __name__ == "__main__":
    unittest.main()
