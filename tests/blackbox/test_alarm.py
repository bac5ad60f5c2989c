#!/usr/bin/env python3
"""The alarm of the real Horalet.exe under Wine: set with the mouse, heard by the sound device."""
import datetime
import os
import re
import shutil
import signal
import struct
import tempfile
import threading
import time
import unittest
import wave

import session
from session import Horalet, click, poll, probe, wait_for

SWP_NOSIZE, SWP_NOZORDER, SWP_NOACTIVATE = 0x1, 0x4, 0x10


def playback_bytes():
    """What one playback of alarm.wav leaves in the session's sound file."""
    with wave.open(os.path.join(os.path.dirname(session.ARGS.exe), "alarm.wav")) as sound:
        return sound.getnframes() * sound.getsampwidth() * sound.getnchannels()


def heard(path=None):
    path = path or os.environ["HORALET_SOUND_FILE"]
    return os.path.getsize(path) if os.path.exists(path) else 0


def settled(timeout=session.DEADLINE, quiet=2.0, path=None):
    """The sound file's size once it has stopped growing for `quiet` seconds."""
    deadline = time.monotonic() + timeout
    size, since = heard(path), time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.2)
        if heard(path) != size:
            size, since = heard(path), time.monotonic()
        elif time.monotonic() - since >= quiet:
            return size
    raise AssertionError(f"the sound did not stop within {timeout} s")


def arm(app, aside, hours_on=0, minute_of=lambda t: time.localtime(t).tm_min):
    """Sets the alarm with the mouse on the minute the panel offers, hours_on hours later, and
    moves the window aside, out of the next run's way. Returns when the offered minute starts,
    in seconds since the epoch; minute_of gives the minute the program's clock shows at a time."""
    opened = time.time()
    app.choose(0, 1, of=4)
    app.wait(lambda: app.child("Button", "Done", visible=1), "Set Alarm to open the panel")
    fields = lambda: [r["text"] for r in sorted(session.children(app.hwnd), key=lambda r: r["left"]) if r["cls"] == "Edit"]
    hour, minute = fields()
    if hours_on:
        click(min((r for r in session.children(app.hwnd) if r["cls"] == "msctls_updown32"), key=lambda r: r["left"]), y=0.25)
        app.wait(lambda: fields()[0] == f"{int(hour) + hours_on:02d}", f"the hour to step from {hour}",
                 seen=lambda _: fields())
    click(app.child("Button", "Done"))
    app.wait(lambda: app.child("Button", "Done", visible=0), "Done to close the panel")
    probe("setpos", app.hwnd, *aside, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
    return next(t for t in (opened // 60 * 60 + 60 * k for k in (1, 2)) if minute_of(t) == int(minute))


def wav(data, promised):
    """A 22,050 Hz 16-bit mono wav file around data, whose header promises `promised` bytes."""
    return struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + promised, b"WAVE", b"fmt ", 16, 1, 1, 22050, 44100, 2, 16,
                       b"data", promised) + data


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

    def test_rings_after_a_freeze_and_at_a_daylight_saving_jump_and_a_short_sound_repeats_or_closes(self):
        now = datetime.datetime.now
        wait_for(lambda: now().minute < 57 and 2 <= now().second <= 12,
                 "a second from 2 to 12 of a minute before 57", timeout=400, seen=lambda _: now())
        # A clock whose standard time is now 03:20, and which daylight saving puts an hour on at
        # 03:21:30: the alarm for 04:21 lies in the hour it skips.
        now = time.time()
        offset = (200 - time.gmtime(now).tm_hour * 60 - time.gmtime(now).tm_min) % 1440
        offset -= 1440 if offset > 720 else 0
        jump = now // 60 * 60 + 90
        zone = (f"STD{'-' if offset >= 0 else '+'}{abs(offset) // 60}:{abs(offset) % 60:02d}"
                f"DST,{time.gmtime(jump + offset * 60).tm_yday - 1}/03:21:30,364/23:59:59")
        runs = {}
        for name, aside, sound in (("daylight saving", (700, 0), None), ("frozen", (700, 220), None),
                                   ("cut short", (700, 440), wav(os.urandom(3000), 1 << 20))):
            trace = os.path.join(os.environ["HORALET_STATE"], "mci.trace") if name == "cut short" else None
            app = Horalet(trace=trace, channels="+mci,+mciwave", environment={"TZ": zone} if name == "daylight saving" else None)
            self.addCleanup(app.stop)
            if sound is not None:
                with open(os.path.join(app.home, "alarm.wav"), "wb") as f:
                    f.write(sound)
            if name == "daylight saving":
                rings = arm(app, aside, 1, lambda t: time.gmtime(t + offset * 60).tm_min)
                self.assertLess(max(rings, time.time()), jump, "armed too late for the jump")
                rings = jump
            else:
                rings = arm(app, aside)
            if name == "frozen":
                # Stopped from outside 3 s before the alarm's second and let go 6 s later. The
                # signals go through the process object, which sends none once the run has ended:
                # its pid may be another process's by then.
                self.assertGreater(rings - 3, time.time(), "armed too late to freeze before the alarm")
                for delay, sent in ((rings - 3, signal.SIGSTOP), (rings + 3, signal.SIGCONT)):
                    timer = threading.Timer(delay - time.time(), app.proc.send_signal, (sent,))
                    timer.start()
                    self.addCleanup(timer.cancel)
                self.addCleanup(lambda proc=app.proc: proc.send_signal(signal.SIGCONT))
                rings += 3
            runs[name] = app, rings, trace
        for name, (app, rings, trace) in runs.items():
            with self.subTest(name):
                wait_for(lambda: time.time() > rings, f"the alarm's second, {time.ctime(rings)}", timeout=400)
                # The deadline only guards against a hang: the ring comes at the first look after the gap.
                app.wait(lambda: app.child("Button", "Kill Alarm", visible=1), f"Kill Alarm after {time.ctime(rings)}",
                         timeout=180)
                if trace:
                    # Every play after the first brings samples to the device, or the device closes.
                    plays = lambda: re.split(r"mciSendCommandA \(\w+, MCI_PLAY", open(trace, errors="replace").read())
                    poll(lambda: len(plays()) > 8)  # more than a few, or the device closed: counted below
                    app.stop()
                    requests = plays()[1:]
                    silent = sum(not re.search(r"dwBufferLength=[1-9]|MCI_CLOSE", after) for after in requests[:-1])
                    print(f"alarm: cut short: {len(requests)} play requests, {silent} followed by no samples")
                    self.assertEqual(silent, 0, f"of {len(requests)} play requests, {silent} brought no samples")
                    self.assertGreater(len(requests), 2, "the sound did not repeat")

    def test_a_sound_file_that_cannot_play_rings_the_chime_until_kill_alarm(self):
        session.wait_for_second(2, 40)
        runs = {}
        for name, aside, sound in (("missing", (0, 500), None), ("random bytes", (300, 560), os.urandom(4000)),
                                   ("a header and no data", (600, 560), wav(b"", 0))):
            # Each run's sound goes to a file of its own, since they ring at the same second.
            home = tempfile.mkdtemp(prefix="horalet-sound-")
            self.addCleanup(shutil.rmtree, home, True)
            sound_file = os.path.join(home, "sound.raw")
            with open(os.path.join(home, ".asoundrc"), "w") as f:
                f.write(f'pcm.!default {{ type file slave.pcm "null" file "|cat >> \'{sound_file}\'" format "raw" }}\n')
            app = Horalet(environment={"HOME": home})
            self.addCleanup(app.stop)
            os.remove(os.path.join(app.home, "alarm.wav"))
            if sound is not None:
                with open(os.path.join(app.home, "alarm.wav"), "wb") as f:
                    f.write(sound)
            runs[name] = app, arm(app, aside), sound_file
        for name, (app, rings, sound_file) in runs.items():
            with self.subTest(name):
                wait_for(lambda: heard(sound_file), f"samples at the sound device within 20 s of {time.ctime(rings)}",
                         until=bool, timeout=max(1.0, rings + 20 - time.time()))
                print(f"alarm: {name}: {heard(sound_file)} bytes heard {time.time() - rings:.1f} s after the alarm's second")
                box = app.find("#32770", visible=1)
                if name != "a header and no data":
                    box = box or app.wait(lambda: app.find("#32770", visible=1), "a box about the sound")
                    text = "".join(r["text"] for r in session.children(box["hwnd"]) if r["cls"] == "Static")
                    print(f"alarm: {name}: {text}")
                    self.assertTrue(text and "Unknown error code" not in text, text)
                    # Pressed by message, not by the mouse: the three runs' boxes lie on top of each other.
                    probe("post", next(r for r in session.children(box["hwnd"]) if r["cls"] == "Button")["hwnd"],
                          0xF5, 0, 0)  # BM_CLICK
                    app.wait(lambda: not app.find("#32770", visible=1), "the box to close")
                else:
                    self.assertIsNone(box, "a box for a file that opens")
                click(app.wait(lambda: app.child("Button", "Kill Alarm", visible=1), "Kill Alarm to show"))
                app.wait(lambda: app.child("Button", "Kill Alarm", visible=0), "Kill Alarm to hide")
                # The chime stops: the device has nothing more within 30 s.
                killed = heard(sound_file)
                print(f"alarm: {name}: {settled(timeout=30, path=sound_file) - killed} bytes after Kill Alarm")
                app.choose(0, 4, of=4)
                self.assertEqual(app.wait_exit(), 0, "Exit's code")


if __name__ == "__main__":
    session.main()
