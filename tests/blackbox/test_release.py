#!/usr/bin/env python3
"""The release ZIP as a Windows user gets it: unzipped into a fresh folder and run from there."""
import os
import shutil
import tempfile
import unittest
import zipfile

import session
from session import Horalet, click, probe

FILES = ("Horalet.exe", "alarm.wav", "help.txt", "help1.txt", "help2.txt", "help3.txt", "help4.txt", "help5.txt",
         "about.txt", "readme.txt")


class Release(unittest.TestCase):
    def unzipped(self):
        """The ZIP's one folder, unzipped into a fresh place."""
        place = tempfile.mkdtemp(prefix="horalet-release-")
        self.addCleanup(shutil.rmtree, place, ignore_errors=True)
        with zipfile.ZipFile(session.ARGS.zip) as release:
            release.extractall(place)
        (top,) = os.listdir(place)
        return os.path.join(place, top)

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


if __name__ == "__main__":
    session.main()
