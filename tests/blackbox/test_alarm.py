#!/usr/bin/env python3
"""The alarm of the real Horalet.exe under Wine: set with the mouse, heard by the sound device."""
import datetime
import os
import time
import unittest
import wave

import session
from session import Horalet, click, wait_for


def playback_bytes():
    """What one playback of alarm.wav leaves in the session's sound file."""
    with wave.open(os.path.join(os.path.dirname(session.ARGS.exe), "alarm.wav")) as sound:
        return sound.getnframes() * sound.getsampwidth() * sound.getnchannels()


def heard():
    path = os.environ["HORALET_SOUND_FILE"]
    return os.path.getsize(path) if os.path.exists(path) else 0


def settled(timeout=session.DEADLINE, quiet=2.0):
    """The sound file's size once it has stopped growing for `quiet` seconds."""
    deadline = time.monotonic() + timeout
    size, since = heard(), time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.2)
        if heard() != size:
            size, since = heard(), time.monotonic()
        elif time.monotonic() - since >= quiet:
            return size
    raise AssertionError(f"the sound did not stop within {timeout} s")


def dial(hour):
    """An hour of the day on the 12-hour dial, with its day half."""
    return f"{(hour + 11) % 12 + 1:02d}", "PM" if hour >= 12 else "AM"


class Alarm(unittest.TestCase):
    def test_set_with_the_mouse_it_rings_until_kill_alarm_deep_in_a_folder_with_libraries_planted(self):
        # A downloads folder may hold anything: here, libraries named like system ones, and
        # a folder so deep that the alarm's full name is longer than 260 characters.
        app = Horalet(session.DEEP + "/Horalet.exe", planted=True)
        self.addCleanup(app.stop)
        self.assertEqual(app.planted_loaded(), [], "libraries planted beside the exe were loaded at start")
        # The panel opens on the next minute: open it where that minute is not about to come.
        session.wait_for_second(2, 40)
        soon = datetime.datetime.now() + datetime.timedelta(minutes=1)

        app.choose(0, 1, of=4)
        app.wait(lambda: app.child("Button", "Done", visible=1), "Set Alarm to open the panel")
        hour_field, minute_field = sorted((r for r in session.children(app.hwnd) if r["cls"] == "Edit"),
                                          key=lambda r: r["left"])
        self.assertEqual((hour_field["text"], minute_field["text"]), (dial(soon.hour)[0], f"{soon.minute:02d}"))

        # One step down and one up on the minute spinner: the alarm stays on the next minute
        # (which is never 0, so the step down stays in range).
        _, minute_spinner = sorted((r for r in session.children(app.hwnd) if r["cls"] == "msctls_updown32"),
                                   key=lambda r: r["left"])
        minute = lambda: app.child("Edit", hwnd=minute_field["hwnd"])["text"]
        click(minute_spinner, y=0.75)
        wait_for(minute, "the minute one down", until=lambda m: m == f"{soon.minute - 1:02d}")
        click(minute_spinner, y=0.25)
        wait_for(minute, "the minute one up again", until=lambda m: m == f"{soon.minute:02d}")

        before = heard()
        click(app.child("Button", "Done"))
        app.wait(lambda: app.child("Button", "Done", visible=0), "Done to close the panel")

        # The alarm is on the next minute; the rest of the deadline only guards against a hang.
        ringing = app.wait(lambda: app.child("Button", "Kill Alarm", visible=1), "Kill Alarm to show", timeout=180)
        one = playback_bytes()
        wait_for(lambda: heard() - before, f"more than one playback ({one} bytes) at the sound device",
                 until=lambda n: n > one)

        click(ringing)
        app.wait(lambda: app.child("Button", "Kill Alarm", visible=0), "Kill Alarm to hide")
        killed = heard()
        after = settled() - killed
        print(f"alarm: {(killed - before) / one:.2f} playbacks heard before Kill Alarm, {after / one:.2f} after")
        self.assertLessEqual(after, one, "more than the playback under way followed Kill Alarm (watched until "
                                         "the sound device had been quiet for 2 s)")
        self.assertIsNone(app.proc.poll(), "the program ended")

        # The font chooser comes from the system too.
        app.choose(0, 2, of=4)
        dialog = app.wait(lambda: app.find("#32770", visible=1), "Set Font to open the chooser")
        click(next(r for r in session.children(dialog["hwnd"]) if r["cls"] == "Button" and r["text"] == "Cancel"))
        app.wait(lambda: not app.find("#32770", visible=1), "the chooser to close")
        self.assertEqual(app.planted_loaded(), [], "libraries planted beside the exe were loaded")


if __name__ == "__main__":
    session.main()
