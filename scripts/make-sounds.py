#!/usr/bin/env python3
"""Writes the two key-click sounds data/calc1.wav and data/calc2.wav.

Each is a short tone burst with a fast attack and an exponential decay, 16-bit mono PCM at
22050 Hz. The output depends on nothing but this script, so running it again gives the same bytes.
"""
import math
import pathlib
import struct
import wave

RATE = 22050
PEAK = 0.45 * 32767  # loud enough to hear, quiet enough not to startle


def click(frequency, millis, decay_millis):
    """Samples of one click: a tone with a little of its octave for body, a 1.5 ms rising edge,
    an exponential decay and a 3 ms fade so the burst ends at silence without a pop."""
    count = round(RATE * millis / 1000)
    attack = round(RATE * 0.0015)
    fade = round(RATE * 0.003)
    samples = []
    for n in range(count):
        t = n / RATE
        tone = math.sin(2 * math.pi * frequency * t) + 0.25 * math.sin(4 * math.pi * frequency * t)
        envelope = math.exp(-t * 1000 / decay_millis)
        if n < attack:
            envelope *= math.sin(0.5 * math.pi * n / attack)
        if n >= count - fade:
            envelope *= (count - 1 - n) / fade
        samples.append(round(PEAK / 1.25 * tone * envelope))
    return samples


def write(path, samples):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


def main():
    data = pathlib.Path(__file__).resolve().parent.parent / "data"
    data.mkdir(exist_ok=True)
    # calc1 confirms an operation: brighter and shorter. calc2 follows typing: lower and softer.
    write(data / "calc1.wav", click(1800, 45, 10))
    write(data / "calc2.wav", click(1200, 55, 14))


if __name__ == "__main__":
    main()
