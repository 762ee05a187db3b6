#!/usr/bin/env python3
"""Checks that the simulated driver's numbered frames reached a sound card's file in order.

Usage: check_frames.py FILE STREAM_ID MIN_RUN_FRAMES

The driver numbers every stereo 16-bit frame: the left sample holds the number's low 16 bits,
the right one the stream id's low byte and bits 16 to 23. The test's ALSA devices take 16-bit
samples only, and a 48000 Hz stream passes Wine's mixer unchanged. Silence is skipped. Every
frame must carry the stream's id, and one stretch of at least MIN_RUN_FRAMES must have played
each frame right after the one before it. Wine's mixer does not run in real time: when it gets
ahead of the player, the looping buffer plays a block again or the player drops a backlog; those
repeats and gaps are counted and reported, not failed.
"""
import array
import sys


def main(path, stream_id, min_run):
    with open(path, "rb") as f:
        data = f.read()
    values = array.array("H", data[: len(data) // 4 * 4])
    frames = []
    foreign = 0
    for left, right in zip(values[0::2], values[1::2]):
        if left == 0 and right == 0:
            continue
        if right >> 8 != stream_id:
            foreign += 1
        frames.append(left | ((right & 0xFF) << 16))
    longest = run = 1 if frames else 0
    repeats = gaps = 0
    for previous, frame in zip(frames, frames[1:]):
        run = run + 1 if frame == previous + 1 else 1
        longest = max(longest, run)
        repeats += frame <= previous
        gaps += frame > previous + 1
    print(f"{path}: {len(frames)} frames, first {frames[:1]}, last {frames[-1:]}, longest run "
          f"{longest}, {gaps} gaps, {repeats} repeats, {foreign} of another stream")
    return 0 if frames and not foreign and longest >= min_run else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3])))
