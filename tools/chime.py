#!/usr/bin/env python3
"""Synthesises the alarm sound: a soft two-note chime, as a 22050 Hz 16-bit mono wav.

    tools/chime.py alarm.wav
    tools/chime.py --built-in chime.wav

With --built-in it makes the chime the exe carries for when alarm.wav cannot be played: the
same two notes, closer together and shorter, at 6000 Hz in 8 bits, so that it takes under 3 KB.

Each note is a struck bell: a sine at its pitch with a few faster-fading partials above
it, a 5 ms attack so that it does not click, and an exponential decay. The second note
starts while the first is still ringing. The result is the same bytes on every run.
"""
import math
import struct
import sys
import wave

PEAK = 0.6  # of full scale: loud enough to wake, with room to spare

# The sound file and the built-in chime: samples a second, bytes a sample, length in seconds,
# and the notes, each (start in seconds, pitch in Hz): G5, then E5.
FILE = (22050, 2, 1.6, ((0.0, 783.99), (0.42, 659.25)))
BUILT_IN = (6000, 1, 0.45, ((0.0, 783.99), (0.15, 659.25)))
# (multiple of the pitch, loudness, decay time in seconds) of each partial.
PARTIALS = ((1.0, 1.0, 0.45), (2.0, 0.35, 0.22), (3.01, 0.15, 0.12), (4.2, 0.06, 0.07))
ATTACK = 0.005


def note(t, pitch, rate):
    if t < 0:
        return 0.0
    rise = min(1.0, t / ATTACK)
    # A partial the rate cannot carry would sound as a lower, wrong one: it is left out.
    return rise * sum(level * math.exp(-t / decay) * math.sin(2 * math.pi * pitch * multiple * t)
                      for multiple, level, decay in PARTIALS if pitch * multiple < rate / 2)


def samples(rate, length, notes):
    """The chime as values of at most PEAK in size."""
    count = int(rate * length)
    values = []
    for i in range(count):
        t = i / rate
        # The last 50 ms fade to silence, so that a replay starts without a click.
        tail = min(1.0, (count - i) / (0.05 * rate))
        values.append(tail * sum(note(t - start, pitch, rate) for start, pitch in notes))
    scale = PEAK / max(abs(v) for v in values)
    return [v * scale for v in values]


def main():
    args = sys.argv[1:]
    kind = FILE
    if args[:1] == ["--built-in"]:
        kind, args = BUILT_IN, args[1:]
    if len(args) != 1:
        sys.exit("usage: chime.py [--built-in] OUT.wav")
    rate, width, length, notes = kind
    values = samples(rate, length, notes)
    if width == 2:
        frames = b"".join(struct.pack("<h", int(round(v * 32767))) for v in values)
    else:
        # 8-bit samples are unsigned, with silence at 128.
        frames = bytes(128 + int(round(v * 127)) for v in values)
    with wave.open(args[0], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(width)
        out.setframerate(rate)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
