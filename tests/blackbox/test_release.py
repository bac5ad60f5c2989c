#!/usr/bin/env python3
"""The release ZIP and the self-test ZIP as a Windows user gets them: unzipped into a fresh folder and
run from there."""
import os
import re
import shutil
import subprocess
import tempfile
import unittest
import zipfile

import session
from session import Horalet, click, probe

FILES = ("Horalet.exe", "alarm.wav", "help.txt", "help1.txt", "help2.txt", "help3.txt", "help4.txt", "help5.txt",
         "about.txt", "readme.txt")


def unzipped(test, path):
    """The ZIP's one folder, unzipped into a fresh place."""
    place = tempfile.mkdtemp(prefix="horalet-release-")
    test.addCleanup(shutil.rmtree, place, ignore_errors=True)
    with zipfile.ZipFile(path) as release:
        release.extractall(place)
    (top,) = os.listdir(place)
    return os.path.join(place, top)


class Release(unittest.TestCase):
    def unzipped(self):
        return unzipped(self, session.ARGS.zip)

    def test_the_zip_holds_the_program_and_its_files_in_one_versioned_folder(self):
        with zipfile.ZipFile(session.ARGS.zip) as release:
            names = sorted(release.namelist())
        top = os.path.basename(session.ARGS.zip)[:-len(".zip")]
        self.assertTrue(top.startswith(f"Horalet-{session.ARGS.version}-win"), top)
        self.assertEqual(names, sorted(f"{top}/{name}" for name in FILES))

    def test_unzipped_it_runs_shows_its_texts_and_ends_with_code_zero(self):
        folder = self.unzipped()
        app = Horalet(folder=folder)
        self.addCleanup(app.stop)
        app.choose(1, 2, of=2)
        about = app.wait(app.list_lines, "About to show its text in the list", seen=repr)
        self.assertEqual(about[:2], ["Horalet", f"Version {session.ARGS.version}"])
        click(app.child("Button", "Back"))
        # The menus are greyed while the viewer shows.
        app.wait(lambda: app.list_lines() is None, "Back to close the viewer")
        app.choose(1, 1, of=2)
        topics = ["What is Horalet?", "How to set the alarm.", "How to change the font.", "Known bugs.", "Uninstall."]
        app.wait(app.list_lines, f"the list to hold the topics {topics}", until=lambda lines: lines == topics,
                 seen=repr)
        click(app.child("Button", "Back"))
        app.wait(lambda: app.list_lines() is None, "Back to close the viewer")
        app.choose(0, 4, of=4)
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(sorted(os.listdir(folder)), sorted(FILES), "the program wrote into its folder")

    def test_the_version_record_names_the_program_and_its_version(self):
        exe = "Z:" + os.path.join(self.unzipped(), "Horalet.exe").replace("/", "\\")
        fields = dict(line.split("=", 1) for line in probe("version", exe).splitlines() if "=" in line)
        self.assertEqual(fields.get("ProductName"), "Horalet")
        self.assertEqual(fields.get("ProductVersion"), session.ARGS.version)
        self.assertEqual(fields.get("FileVersion"), session.ARGS.version)
        self.assertEqual(fields.get("FileDescription"), "Horalet alarm clock")
        self.assertEqual(fields.get("OriginalFilename"), "Horalet.exe")
        self.assertIn("Copyright", fields.get("LegalCopyright", ""))


class SelfTest(unittest.TestCase):
    """The in-process suite as the self-test a Windows user runs: its own ZIP, unzipped, started
    without arguments, on the test machine and then as on a user's Windows."""

    def run_selftest(self, folder, **environment):
        """Runs the self-test to its end; returns its exit code and the report's fields and tests."""
        with tempfile.TemporaryFile() as out:
            code = subprocess.run([session.WINE, os.path.join(folder, "HoraletSelfTest.exe")],
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT, timeout=600,
                                  env={**os.environ, **environment}).returncode
            out.seek(0)
            printed = out.read().decode(errors="replace")
        print(printed, flush=True)  # what gtest said, for a failure's reader
        path = os.path.join(folder, "selftest-report.txt")
        self.assertTrue(os.path.exists(path), f"no report beside the self-test, which ended with code {code}")
        with open(path, encoding="latin-1") as file:
            report = file.read()
        fields = dict(line.split(": ", 1) for line in report.split("\n\n")[1].splitlines())
        tests = {name: outcome for outcome, name in re.findall(r"^(PASSED|FAILED|SKIPPED) +(\S+) \(\d+ ms\)$",
                                                              report, re.M)}
        self.assertEqual(code, 0, f"the self-test failed: {fields.get('Result')}")
        self.assertNotIn(":\\", report, "the report names a folder")
        return fields, tests, report

    def test_unzipped_it_runs_the_suite_and_reports_the_machine_and_every_test(self):
        with zipfile.ZipFile(session.ARGS.selftest_zip) as release:
            names = sorted(name for name in release.namelist() if not name.endswith("/"))
        top = os.path.basename(session.ARGS.selftest_zip)[:-len(".zip")]
        self.assertTrue(top.startswith(f"Horalet-{session.ARGS.version}-selftest-win"), top)
        self.assertEqual(names, sorted(f"{top}/{name}" for name in ("HoraletSelfTest.exe", *FILES[1:])))
        folder = unzipped(self, session.ARGS.selftest_zip)

        fields, tests, _ = self.run_selftest(folder)
        self.assertRegex(fields["Windows"], r"^\d+\.\d+, build \d+, under Wine \S+$")
        self.assertRegex(fields["Display"], r"^[1-9]\d* by [1-9]\d* pixels, 96 pixels per inch$")
        self.assertRegex(fields["Frame"], r"^SM_CXSIZEFRAME \d+, SM_CXPADDEDBORDER \d+, SM_CYCAPTION [1-9]\d*, "
                                          r"SM_CYMENU [1-9]\d*$")
        self.assertEqual(fields["Locale"], "0409 en-US")
        self.assertEqual(fields["Time format"], "h:mm:ss tt, day halves AM and PM")
        self.assertEqual(fields["Sound output"], "yes")
        self.assertEqual(fields["Run on the test machine"], "yes")
        skipped = {name for name, outcome in tests.items() if outcome == "SKIPPED"}
        self.assertEqual(skipped, {"NoSoundDevice.APlayThatFailsClosesTheDeviceInsteadOfReplaying"})
        self.assertEqual(fields["Result"], f"{len(tests)} tests: {len(tests) - 1} passed, 0 failed, 1 skipped")

        # As on a user's Windows: what only the test machine may do is skipped, with its reason.
        fields, elsewhere, report = self.run_selftest(folder, HORALET_SELFTEST_AS_WINDOWS="1")
        self.assertEqual(fields["Run on the test machine"], "no")
        self.assertEqual(elsewhere.keys(), tests.keys())
        frame = "Scaling.AThickerFrameLeavesTheClientAreaOfTheDesign"
        self.assertEqual({name for name, outcome in elsewhere.items() if outcome == "SKIPPED"}, skipped | {frame})
        self.assertRegex(report, rf"SKIPPED {frame} \(\d+ ms\)\n +\S+:\d+: needs the test machine: it changes ")
        self.assertEqual(fields["Result"], f"{len(tests)} tests: {len(tests) - 2} passed, 0 failed, 2 skipped")


if __name__ == "__main__":
    session.main()
