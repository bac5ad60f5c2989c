#!/usr/bin/env python3
"""Synthesises the alarm sound: a soft two-note chime, as a 22050 Hz 16-bit mono wav.

    tools/chime.py alarm.wav

Each note is a struck bell: a sine at its pitch with a few faster-fading partials above
it, a 5 ms attack so that it does not click, and an exponential decay. The second note
starts while the first is still ringing. The result is the same bytes on every run.
"""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 1.6  # seconds
PEAK = 0.6  # of full scale: loud enough to wake, with room to spare

# (start in seconds, pitch in Hz): G5, then E5.
NOTES = ((0.0, 783.99), (0.42, 659.25))
# (multiple of the pitch, loudness, decay time in seconds) of each partial.
PARTIALS = ((1.0, 1.0, 0.45), (2.0, 0.35, 0.22), (3.01, 0.15, 0.12), (4.2, 0.06, 0.07))
ATTACK = 0.005


def note(t, pitch):
    if t < 0:
        return 0.0
    rise = min(1.0, t / ATTACK)
    return rise * sum(level * math.exp(-t / decay) * math.sin(2 * math.pi * pitch * multiple * t)
                      for multiple, level, decay in PARTIALS)


def samples():
    count = int(RATE * LENGTH)
    values = []
    for i in range(count):
        t = i / RATE
        # The last 50 ms fade to silence, so that a replay starts without a click.
        tail = min(1.0, (count - i) / (0.05 * RATE))
        values.append(tail * sum(note(t - start, pitch) for start, pitch in NOTES))
    scale = PEAK * 32767 / max(abs(v) for v in values)
    return [int(round(v * scale)) for v in values]


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: chime.py OUT.wav")
    frames = b"".join(struct.pack("<h", s) for s in samples())
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
