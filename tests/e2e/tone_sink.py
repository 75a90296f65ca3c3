#!/usr/bin/env python3
"""A speaker for the journeys: ALSA's file plugin writes the clock's tones into a FIFO, and
this takes the samples (16-bit mono at 48 kHz) no faster than a speaker would play them, so a
tone holds its writer for its length. Each tone is logged as it starts and as it ends:
"start <epoch ms>" and "end <epoch ms> <length in ms>". Usage: tone_sink.py FIFO LOG"""
import fcntl
import os
import select
import sys
import time

BYTES_PER_SECOND = 48000 * 2
F_SETPIPE_SZ = 1031
# Samples stop coming for this long past their playing time: the tone is over.
GAP_SECONDS = 0.03

fifo, log_path = sys.argv[1], sys.argv[2]
os.mkfifo(fifo)
# Read and write: the file never ends, although each tone's writer comes and goes.
fd = os.open(fifo, os.O_RDWR)
# A page waiting is as much as a writer may run ahead of the speaker.
fcntl.fcntl(fd, F_SETPIPE_SZ, 4096)
log = open(log_path, "a", buffering=1)


def epoch_ms():
    return int(time.time() * 1000)


print("ready", file=log)
while True:
    played = len(os.read(fd, 4096))
    began, began_ms = time.monotonic(), epoch_ms()
    print(f"start {began_ms}", file=log)
    while True:
        due = began + played / BYTES_PER_SECOND
        time.sleep(max(0.0, due - time.monotonic()))
        ready, _, _ = select.select([fd], [], [], GAP_SECONDS)
        if not ready:
            break
        played += len(os.read(fd, min(4096, BYTES_PER_SECOND // 100)))
    print(f"end {epoch_ms()} {played * 1000 // BYTES_PER_SECOND}", file=log)
