#!/usr/bin/env python3
"""Builds a large damaged AVI from a small intact one by repeating its movie chunks.

power-loss: what a camera that lost power leaves: RIFF and movie sizes 0, no idx1, a chunk whose header was
            half written (declared 3 MiB long), and a last chunk cut off in the middle.
bad-card:   the same, and runs of random bytes of odd lengths every few dozen MiB (one longer than 1 MiB).
"""
import random
import struct
import sys


def main():
    if len(sys.argv) != 5 or sys.argv[4] not in ("power-loss", "bad-card"):
        sys.exit("usage: make_damaged_avi.py SMALL.avi OUT.avi SIZE_MIB power-loss|bad-card")
    garbage = sys.argv[4] == "bad-card"
    small = open(sys.argv[1], "rb").read()
    target = int(sys.argv[3]) * 1024 * 1024

    p = 16
    while small[p + 4:p + 8] != b"movi":
        p += 8 + struct.unpack_from("<I", small, p)[0]
    ref = p + 4
    idx = small.rfind(b"idx1")
    block = small[ref + 4:idx]
    first_size = struct.unpack_from("<I", block, 4)[0]
    broken = bytearray(block)
    struct.pack_into("<I", broken, 4, 3 * 1024 * 1024)

    header = bytearray(small[:ref + 4])
    struct.pack_into("<I", header, 4, 0)
    struct.pack_into("<I", header, ref - 4, 0)

    rng = random.Random(7)
    written = 0
    with open(sys.argv[2], "wb") as out:
        out.write(header)
        written += len(header)
        n = 0
        while written + len(block) < target:
            piece = broken if n == 5 else block
            out.write(piece)
            written += len(piece)
            if garbage and n % 4 == 3:
                length = (1024 * 1024 + 333) if n == 11 else rng.randrange(1, 5000) | 1
                out.write(rng.randbytes(length))
                written += length
            n += 1
        out.write(block[:8 + first_size // 2])
    print(f"{sys.argv[2]}: {n} copies of {len(block)} bytes of chunks, damaged ({sys.argv[4]})")

    # What a sound repair must recover: every video chunk but the broken one (and the cut last one, which is
    # not among the n copies). After a damaged place the repair may wait for the next key frame, so up to
    # one key-frame interval per damaged place may be dropped; garbage runs lie between copies, whose first
    # frame is a key frame.
    video = 0
    q = 0
    first_is_video = None
    while q + 8 <= len(block):
        cid = block[q:q + 4]
        size = struct.unpack_from("<I", block, q + 4)[0]
        is_video = cid[2:4] in (b"dc", b"db")
        if first_is_video is None:
            first_is_video = is_video
        video += 1 if is_video else 0
        q += 8 + size + (size & 1)
    intact = n * video - (1 if n > 5 and first_is_video else 0)
    print(f"expect: intact_video={intact} damaged_places={1 if n > 5 else 0}")


if __name__ == "__main__":
    main()
