#!/usr/bin/env python3
"""Writes the About button's sound, a short telephone ring, as a WAV file.

Two bursts of the classic 400 Hz + 450 Hz ringing tone (0.4 s on, 0.2 s
off, 0.4 s on), 16 kHz mono 16-bit, with short fades so that the bursts do
not click. Run it from the repository root to refresh data/telephone.wav:

    python3 tools/telephone/make_ring.py data/telephone.wav
"""
import math
import struct
import sys
import wave

RATE = 16000
FADE = 0.01  # seconds of fade at each end of a burst
PATTERN = [(0.4, True), (0.2, False), (0.4, True)]


def burst(seconds, ringing):
    count = int(seconds * RATE)
    for n in range(count):
        if not ringing:
            yield 0.0
            continue
        t = n / RATE
        envelope = min(1.0, t / FADE, (seconds - t) / FADE)
        tone = 0.5 * math.sin(2 * math.pi * 400 * t) + 0.5 * math.sin(2 * math.pi * 450 * t)
        yield 0.6 * envelope * tone


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "telephone.wav"
    samples = [s for seconds, ringing in PATTERN for s in burst(seconds, ringing)]
    frames = b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
